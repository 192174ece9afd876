#include "OmbriGrid/GridDataMap.h"

#include "KivoCore/KivoCollectionView.h"
#include "KivoCore/KivoReflector.h"

GridDataMap::GridDataMap(plat::ArrayPtr items) : GridDataMap(std::move(items), "description", "description") {}

GridDataMap::GridDataMap(plat::ArrayPtr items, std::string selectedValuePath, std::string displayMemberPath)
    : GridDataMap(KivoCollectionView::create(std::move(items)), std::move(selectedValuePath), std::move(displayMemberPath)) {}

GridDataMap::GridDataMap(std::shared_ptr<KivoCollectionView> view, std::string selectedValuePath, std::string displayMemberPath)
    : _collectionView(std::move(view)),
      _selectedValuePath(std::move(selectedValuePath)),
      _displayMemberPath(std::move(displayMemberPath)) {}

std::shared_ptr<KivoCollectionView> GridDataMap::collectionView() const {
    std::lock_guard lock(_mutex);
    return _collectionView;
}
std::string GridDataMap::selectedValuePath() const {
    std::lock_guard lock(_mutex);
    return _selectedValuePath;
}
std::string GridDataMap::displayMemberPath() const {
    std::lock_guard lock(_mutex);
    return _displayMemberPath;
}

std::int32_t GridDataMap::_indexOf(const plat::Value& value, const std::string& path, bool) const {
    const auto view = collectionView();
    if (path.empty() || !view || value.isNil()) return -1;
    // Held, and re-read at every step: reading an item's value runs the application's code.
    const plat::ArrayPtr source = view->sourceCollection();
    if (!source) return -1;
    for (std::size_t i = 0; i < source->size() && i < static_cast<std::size_t>(INT32_MAX); ++i) {
        const plat::Value item = (*source)[i];
        const plat::Value v = KivoReflector::getValue(item, path);
        if (!v.isNil() && v.isEqual(value)) return static_cast<std::int32_t>(i);
    }
    return -1;
}

std::int32_t GridDataMap::displayIndexOf(const plat::Value& value) const { return _indexOf(value, displayMemberPath(), false); }

namespace {
plat::Value valueAt(const std::shared_ptr<KivoCollectionView>& view, std::int32_t index, const std::string& path) {
    if (index < 0 || !view || path.empty()) return {};
    const plat::ArrayPtr source = view->sourceCollection();
    if (!source || static_cast<std::size_t>(index) >= source->size()) return {};
    return KivoReflector::getValue((*source)[static_cast<std::size_t>(index)], path);
}
}  // namespace

plat::Value GridDataMap::getKeyValue(const plat::Value& displayValue) const {
    return valueAt(collectionView(), _indexOf(displayValue, displayMemberPath(), false), selectedValuePath());
}

plat::Value GridDataMap::getDisplayValue(const plat::Value& keyValue) const {
    return valueAt(collectionView(), _indexOf(keyValue, selectedValuePath(), true), displayMemberPath());
}

plat::Array GridDataMap::valuesAt(const std::string& path) const {
    plat::Array out;
    const auto view = collectionView();
    if (!view || path.empty()) return out;
    const plat::ArrayPtr source = view->sourceCollection();
    if (!source) return out;
    for (std::size_t i = 0; i < source->size(); ++i) out.push_back(KivoReflector::getValue((*source)[i], path));
    return out;
}

plat::Array GridDataMap::getDisplayValues() const { return valuesAt(displayMemberPath()); }
plat::Array GridDataMap::getKeyValues() const { return valuesAt(selectedValuePath()); }
