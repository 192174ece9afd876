#include "KivoComboBox/KivoComboBoxHeaderView.h"

#include "KivoComboBox/KivoComboBox.h"
#include "Platform/foundation/utf16.h"
#include "combobox/CaselessPrefix.h"

std::shared_ptr<KivoComboBoxHeaderView> KivoComboBoxHeaderView::create(const std::shared_ptr<KivoComboBox>& comboBox,
                                                                       std::shared_ptr<const DisplayList> itemSources) {
    auto view = initialized(std::shared_ptr<KivoComboBoxHeaderView>(new KivoComboBoxHeaderView()));
    view->_comboBox = comboBox;
    view->_itemSources = std::move(itemSources);
    return view;
}

void KivoComboBoxHeaderView::initialize() {
    plat::TextField::initialize();
    setDelegate(std::static_pointer_cast<KivoComboBoxHeaderView>(shared_from_this()));
}

std::optional<std::string> KivoComboBoxHeaderView::_getMatchedItemFromSources(const std::string& text, bool autoComplete) const {
    if (!_itemSources) return std::nullopt;
    const std::u16string typed = plat::toUtf16(text);
    for (const auto& entry : *_itemSources) {
        const std::u16string units = plat::toUtf16(entry);
        const auto length = kivo::detail::caselessPrefixLength(typed, units);
        if (!length) continue;
        if (autoComplete || *length == static_cast<std::int64_t>(units.size())) return entry;
    }
    return std::nullopt;
}

bool KivoComboBoxHeaderView::shouldChangeCharactersInRange(plat::TextField&, plat::TextRange range,
                                                           const std::string& replacement) {
    auto combo = _comboBox.lock();
    if (!combo || !_itemSources || _itemSources->empty()) return true;
    auto keep = std::static_pointer_cast<KivoComboBoxHeaderView>(shared_from_this());

    std::u16string units = plat::toUtf16(text());
    const plat::TextRange r = plat::clampRange(range, static_cast<std::int64_t>(units.size()));
    units.replace(static_cast<std::size_t>(r.location), static_cast<std::size_t>(r.length), plat::toUtf16(replacement));
    const std::string edited = plat::toUtf8(units);

    const auto match = _getMatchedItemFromSources(edited, combo->autoComplete());
    // A deletion never completes again, so backspace takes a completion away.
    if (!match || (replacement.empty() && edited != *match)) {
        combo->setSelectedIndex(KivoComboBox::NotFound);
        combo->setText(edited);
        if (text() != edited) setText(edited);
        return false;
    }
    setText(*match);
    combo->setSelectedIndex(combo->indexOf(*match, true));
    const std::u16string completed = plat::toUtf16(*match);
    const std::int64_t typedLength = kivo::detail::caselessPrefixLength(units, completed).value_or(0);
    _setSelectedTextFor({typedLength, static_cast<std::int64_t>(completed.size()) - typedLength});
    return false;
}

bool KivoComboBoxHeaderView::textFieldShouldReturn(plat::TextField&) {
    if (isFirstResponder()) resignFirstResponder();
    return true;
}
