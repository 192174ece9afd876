// The combo box's selection shown four ways (index, item, value, text), the lookups from text to
// index, and the reports of selection and text changes.

#include "KivoComboBox/KivoComboBox.h"
#include "KivoCore/KivoReflector.h"
#include "Platform/foundation/utf16.h"
#include "combobox/CaselessPrefix.h"
#include "combobox/RowMap.h"

namespace {

bool hasPath(const std::optional<std::string>& path) { return path && !path->empty(); }

}  // namespace

// ---- Reports ----

void KivoComboBox::reportSelectedIndexChanged() {
    auto self = sharedAs<KivoComboBox>();
    auto d = comboBoxDelegate();
    if (d && d->selectedIndexChanged(self)) return;
    if (_selectedIndexChanged) _selectedIndexChanged->raise(self, nullptr);
}

void KivoComboBox::reportTextChanged() {
    auto self = sharedAs<KivoComboBox>();
    auto d = comboBoxDelegate();
    if (d && d->textChanged(self)) return;
    if (_textChanged) _textChanged->raise(self, nullptr);
}

// ---- Selection ----

void KivoComboBox::setSelectedIndex(std::uint64_t index) {
    auto keep = sharedAs<KivoComboBox>();
    if (index == _selectedIndex) {
        if (isValid(index)) {
            std::string shown = getDisplayText(index);
            if (shown != _text) setText(std::move(shown));
        }
        return;
    }
    const std::uint64_t old = _selectedIndex;
    _selectedIndex = index;
    if (isValid(index)) {
        _selectedItem = (*_itemsSource)[index];
        if (hasPath(_selectedValuePath)) _selectedValue = KivoReflector::getValue(_selectedItem, *_selectedValuePath);
        setText(getDisplayText(index));
        // setText may have moved the selection to the first item with the same text.
        if (isDropDownOpen()) selectCurrentRow(plat::TableViewScrollPosition::Top);
    } else {
        _selectedItem = plat::Value();
        _selectedValue = plat::Value();
        setText(std::string());
        if (auto row = rowForIndex(old); row && _dropdownView) _dropdownView->deselectRowAtIndexPath({0, *row}, false);
    }
    reportSelectedIndexChanged();
}

void KivoComboBox::setSelectedItem(plat::Value item) {
    if (item.isIdentical(_selectedItem)) return;
    auto keep = sharedAs<KivoComboBox>();
    _selectedItem = item;
    if (!_itemsSource) return;
    for (std::size_t k = 0; k < _itemsSource->size(); ++k) {
        if (!(*_itemsSource)[k].isEqual(item)) continue;
        _selectedIndex = k;
        if (hasPath(_selectedValuePath)) _selectedValue = KivoReflector::getValue(item, *_selectedValuePath);
        setText(getDisplayText(k));
        if (isDropDownOpen()) selectCurrentRow(plat::TableViewScrollPosition::Top);
        return;
    }
}

void KivoComboBox::setSelectedValue(plat::Value value) {
    if (value.isIdentical(_selectedValue)) return;
    auto keep = sharedAs<KivoComboBox>();
    _selectedValue = value;
    if (!hasPath(_selectedValuePath) || !_itemsSource) return;
    for (std::size_t k = 0; k < _itemsSource->size(); ++k) {
        const plat::Value& item = (*_itemsSource)[k];
        const plat::Value candidate = KivoReflector::getValue(item, *_selectedValuePath);
        const bool matches =
            candidate.isString() && value.isString() ? candidate.asString() == value.asString() : candidate.isIdentical(value);
        if (!matches) continue;
        _selectedItem = item;
        _selectedIndex = k;
        setText(getDisplayText(k));
        if (isDropDownOpen()) selectCurrentRow(plat::TableViewScrollPosition::Top);
        return;
    }
}

void KivoComboBox::setSelectedValuePath(std::optional<std::string> path) {
    if (!changeSelectedValuePath(std::move(path))) return;
    if (hasPath(_selectedValuePath) && !_selectedItem.isNil()) {
        _selectedValue = KivoReflector::getValue(_selectedItem, *_selectedValuePath);
    }
}

void KivoComboBox::setText(std::string text) {
    if (text == _text) return;
    auto keep = sharedAs<KivoComboBox>();
    _text = std::move(text);
    if (_headerView) _headerView->setText(_text);
    const std::uint64_t match = indexOf(_text, true);
    setSelectedIndex(match != NotFound ? match : _selectedIndex);
    reportTextChanged();
}

// ---- Lookups ----

std::string KivoComboBox::getDisplayText(std::uint64_t index) const {
    if (static_cast<std::int32_t>(static_cast<std::uint32_t>(index & 0xFFFFFFFFu)) < 0 || !_dropdownView) return {};
    const auto row = _rows->rowOfIndex(index);
    const auto& texts = *_dropdownView->itemsSource();
    if (!row || *row >= static_cast<std::int64_t>(texts.size())) return {};
    return texts[static_cast<std::size_t>(*row)];
}

std::uint64_t KivoComboBox::indexOf(const std::string& text, bool fullMatch) const {
    if (!_dropdownView) return NotFound;
    const auto& texts = *_dropdownView->itemsSource();
    return indexOfRowText(
        texts.size(), [&texts](std::size_t row) -> const std::string& { return texts[row]; }, text, fullMatch);
}

std::uint64_t KivoComboBox::indexOfRowText(std::size_t rowCount, const std::function<const std::string&(std::size_t)>& rowText,
                                           const std::string& text, bool fullMatch) const {
    const std::u16string wanted = fullMatch ? std::u16string() : plat::toUtf16(text);
    for (std::size_t row = 0; row < rowCount; ++row) {
        const std::string& entry = rowText(row);
        const bool found =
            fullMatch ? entry == text : kivo::detail::caselessPrefixLength(wanted, plat::toUtf16(entry)).has_value();
        if (found) return indexForRow(static_cast<std::int64_t>(row));
    }
    return NotFound;
}
