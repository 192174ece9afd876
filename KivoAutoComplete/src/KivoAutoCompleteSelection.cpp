// The auto-complete box's selection shown four ways (index, item, value, text), the lookups from
// text to index, and the reports of selection and text changes. Display texts are objects that stay
// the same while the items do, so setting a text that is already held and shown changes nothing.

#include "KivoAutoComplete/KivoAutoComplete.h"
#include "KivoCore/KivoReflector.h"
#include "Platform/foundation/utf16.h"
#include "autocomplete/ItemTexts.h"

namespace {

bool hasPath(const std::optional<std::string>& path) { return path && !path->empty(); }
bool hasNegativeLowHalf(std::uint64_t index) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(index & 0xFFFFFFFFu)) < 0;
}

}  // namespace

// ---- Selection ----

void KivoAutoComplete::setSelectedIndex(std::uint64_t index) {
    auto keep = sharedAs<KivoAutoComplete>();
    if (index == selectedIndex()) {
        if (isValid(index)) {
            plat::StringObject shown = displayTextObject(index);
            if (*shown != text()) setTextObject(std::move(shown));
        }
        return;
    }
    const std::uint64_t old = selectedIndex();
    recordSelectedIndex(index);
    if (isValid(index)) {
        setSelectedItem((*itemsSource())[index]);
        if (hasPath(selectedValuePath())) setSelectedValue(KivoReflector::getValue(selectedItem(), *selectedValuePath()));
        setTextObject(displayTextObject(index));
        selectCurrentRow();
    } else {
        setSelectedItem(plat::Value());
        setSelectedValue(plat::Value());
        if (auto row = rowForIndex(old)) _dropdownView->deselectRowAtIndexPath({0, *row}, false);
    }
    reportSelectedIndexChanged();
}

void KivoAutoComplete::setSelectedItem(plat::Value item) {
    if (item.isIdentical(selectedItem())) return;
    auto keep = sharedAs<KivoAutoComplete>();
    recordSelectedItem(item);
    if (!itemsSource() || item.isNil()) return;
    for (std::size_t k = 0; k < itemsSource()->size(); ++k) {
        if (!(*itemsSource())[k].isEqual(item)) continue;
        setSelectedIndex(k);
        if (hasPath(selectedValuePath())) setSelectedValue(KivoReflector::getValue(item, *selectedValuePath()));
        setTextObject(displayTextObject(selectedIndex()));
        return;
    }
}

void KivoAutoComplete::setSelectedValue(plat::Value value) {
    if (value.isIdentical(selectedValue())) return;
    auto keep = sharedAs<KivoAutoComplete>();
    recordSelectedValue(value);
    // Clearing the value must not select the items that have none.
    if (!hasPath(selectedValuePath()) || !itemsSource() || value.isNil()) return;
    const plat::ArrayPtr items = itemsSource();
    for (std::size_t k = 0; k < items->size(); ++k) {
        const plat::Value& item = (*items)[k];
        if (!KivoReflector::getValue(item, *selectedValuePath()).isIdentical(value)) continue;
        setSelectedItem(item);
        setSelectedIndex(k);
        setTextObject(displayTextObject(k));
    }
}

void KivoAutoComplete::setSelectedValuePath(std::optional<std::string> path) {
    if (!changeSelectedValuePath(std::move(path))) return;
    if (hasPath(selectedValuePath()) && !selectedItem().isNil()) {
        setSelectedValue(KivoReflector::getValue(selectedItem(), *selectedValuePath()));
    }
}

// ---- Text ----

void KivoAutoComplete::setText(std::string text) { setTextObject(plat::StringObject(std::move(text))); }

void KivoAutoComplete::setTextObject(plat::StringObject text) {
    if (text.isSameObject(_textObject) && _fieldShowsText) return;
    auto keep = sharedAs<KivoAutoComplete>();
    _textObject = text.isNil() ? plat::StringObject(std::string()) : std::move(text);
    recordText(*_textObject);
    _headerView->setText(*_textObject);
    _fieldShowsText = true;
    const std::uint64_t match = indexOf(*_textObject, true);
    setSelectedIndex(match != NotFound ? match : selectedIndex());
    reportText();
}

void KivoAutoComplete::reportText() {
    auto self = sharedAs<KivoAutoComplete>();
    if (const auto& event = textChanged()) event->raise(self, nullptr);
    if (auto d = comboBoxDelegate()) d->textChanged(self);
}

// ---- Lookups ----

plat::StringObject KivoAutoComplete::displayTextObject(std::uint64_t index) const {
    static const plat::StringObject empty = std::string();
    if (hasNegativeLowHalf(index) || index >= itemCount()) return empty;
    return itemTexts().text(static_cast<std::size_t>(index));
}

std::string KivoAutoComplete::getDisplayText(std::uint64_t index) const { return *displayTextObject(index); }

std::uint64_t KivoAutoComplete::indexOf(const std::string& text, bool fullMatch) const {
    const auto& rows = *_dropdownView->itemsSource();
    return indexOfRowText(
        rows.size(), [&rows](std::size_t row) -> const std::string& { return *rows[row]; }, text, fullMatch);
}
