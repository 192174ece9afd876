#include "OmbriGrid/GridDataMap.h"

#include "KivoCore/KivoCollectionView.h"
#include "KivoCore/KivoReflector.h"
#include "datamap/DataMapIndex.h"

GridDataMap::GridDataMap(plat::ArrayPtr items) : GridDataMap(std::move(items), "description", "description") {}

GridDataMap::GridDataMap(plat::ArrayPtr items, std::string selectedValuePath, std::string displayMemberPath)
    : GridDataMap(KivoCollectionView::create(std::move(items)), std::move(selectedValuePath), std::move(displayMemberPath)) {}

GridDataMap::GridDataMap(std::shared_ptr<KivoCollectionView> view, std::string selectedValuePath, std::string displayMemberPath)
    : _collectionView(std::move(view)),
      _selectedValuePath(std::move(selectedValuePath)),
      _displayMemberPath(std::move(displayMemberPath)),
      _index(std::make_unique<kivo::detail::DataMapIndex>(_collectionView)) {}

GridDataMap::~GridDataMap() = default;

std::int32_t GridDataMap::lookUp(const plat::Value& value, const std::string& path) const { return _index->indexOf(value, path); }

std::int32_t GridDataMap::displayIndexOf(const plat::Value& value) const { return lookUp(value, _displayMemberPath); }

namespace {
plat::Value valueAt(const std::shared_ptr<KivoCollectionView>& view, std::int32_t index, const std::string& path) {
    if (index < 0 || !view || path.empty()) return {};
    const plat::ArrayPtr source = view->sourceCollection();
    if (!source || static_cast<std::size_t>(index) >= source->size()) return {};
    return KivoReflector::getValue((*source)[static_cast<std::size_t>(index)], path);
}
}  // namespace

plat::Value GridDataMap::getKeyValue(const plat::Value& displayValue) const {
    return valueAt(_collectionView, lookUp(displayValue, _displayMemberPath), _selectedValuePath);
}

plat::Value GridDataMap::getDisplayValue(const plat::Value& keyValue) const {
    return valueAt(_collectionView, lookUp(keyValue, _selectedValuePath), _displayMemberPath);
}

plat::Array GridDataMap::valuesAt(const std::string& path) const {
    plat::Array out;
    if (!_collectionView || path.empty()) return out;
    const plat::ArrayPtr source = _collectionView->sourceCollection();
    if (!source) return out;
    for (std::size_t i = 0; i < source->size(); ++i) out.push_back(KivoReflector::getValue((*source)[i], path));
    return out;
}

plat::Array GridDataMap::getDisplayValues() const { return valuesAt(_displayMemberPath); }
plat::Array GridDataMap::getKeyValues() const { return valuesAt(_selectedValuePath); }
