#pragma once
// Translates between the key values a column stores and the texts it shows, through lookup items held
// in a collection view. Lookups walk the view's source list in source order (its filter and sorting do
// not apply), match values exactly, and the first match wins.

#include <cstdint>
#include <memory>
#include <string>

#include "OmbriGrid/KivoOmbriGridExport.h"
#include "Platform/foundation/object.h"
#include "Platform/foundation/passkey.h"
#include "Platform/foundation/value.h"

class KivoCollectionView;
namespace kivo::detail {
class DataMapIndex;
class GridInternals;
}  // namespace kivo::detail

class KIVO_GRID_EXPORT GridDataMap : public plat::Object {
public:
    // Both paths "description": texts map to themselves, numbers to their texts.
    explicit GridDataMap(plat::ArrayPtr items);
    GridDataMap(plat::ArrayPtr items, std::string selectedValuePath, std::string displayMemberPath);
    GridDataMap(std::shared_ptr<KivoCollectionView> view, std::string selectedValuePath, std::string displayMemberPath);
    ~GridDataMap() override;
    GridDataMap(const GridDataMap&) = delete;
    GridDataMap& operator=(const GridDataMap&) = delete;

    std::shared_ptr<KivoCollectionView> collectionView() const { return _collectionView; }
    std::string selectedValuePath() const { return _selectedValuePath; }
    std::string displayMemberPath() const { return _displayMemberPath; }

    // The source index of the first item whose value at `path` equals `value`; -1 when none (nil never
    // matches). Matching is exact whatever `caseSensitive` says.
    KIVO_GRID_NO_EXPORT std::int32_t indexOf(plat::Passkey<kivo::detail::GridInternals>, const plat::Value& value,
                                             const std::string& path, bool caseSensitive) const {
        return lookUp(value, path);
    }
    std::int32_t displayIndexOf(const plat::Value& value) const;
    plat::Value getKeyValue(const plat::Value& displayValue) const;
    plat::Value getDisplayValue(const plat::Value& keyValue) const;
    // One entry per source item, in source order; an item whose value reads nil stands as nil, so that
    // indices match displayIndexOf's.
    plat::Array getDisplayValues() const;
    plat::Array getKeyValues() const;

private:
    KIVO_GRID_NO_EXPORT std::int32_t lookUp(const plat::Value& value, const std::string& path) const;
    KIVO_GRID_NO_EXPORT plat::Array valuesAt(const std::string& path) const;

    std::shared_ptr<KivoCollectionView> _collectionView;
    std::string _selectedValuePath;
    std::string _displayMemberPath;
    // The source's values by path, read once per change of the source rather than once per lookup.
    std::unique_ptr<kivo::detail::DataMapIndex> _index;
};
