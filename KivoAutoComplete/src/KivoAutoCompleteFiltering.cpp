// The auto-complete box's filtering: the pass a keystroke schedules (the built-in road or the
// delegate's), the built-in filter over the display texts folded in advance, and the highlight of
// the typed text in each row.

#include "KivoAutoComplete/KivoAutoComplete.h"
#include "KivoCore/KivoReflector.h"
#include "Platform/foundation/text_folding.h"
#include "Platform/ui/label.h"
#include "autocomplete/ItemTexts.h"

namespace {

std::optional<plat::TextRange> caselessRange(const plat::Locale& locale, const std::string& text, const std::string& part) {
    return plat::TextFolder(locale, plat::TextFolder::Accents::Count).find(text, part);
}

}  // namespace

bool KivoAutoComplete::shouldOpen() const {
    const auto length = static_cast<std::uint64_t>(plat::utf16Length(_filterString.value_or("")));
    // A negative minimum, read unsigned, is never reached.
    const auto minimum = static_cast<std::uint64_t>(static_cast<std::int64_t>(_minLength));
    return length >= minimum && !_dropdownView->itemsSource()->empty();
}

void KivoAutoComplete::performFiltering() {
    if (_operatorType != 0) return;
    auto self = sharedAs<KivoAutoComplete>();
    const bool delegateRoad = (_filteringArgs && _filteringArgs->cancel()) || isXf();
    if (!delegateRoad) {
        if (_isCustomFiltering) return;
        // Filtering lists the candidates anew, which reloads the table.
        if (hasItems()) {
            applyFilter(_filterString.value_or(""));
        } else {
            reloadTable();
        }
        const bool open = shouldOpen();
        if (open != isDropDownOpen()) setIsDropDownOpen(open);
        return;
    }
    if (!_filteringArgs) return;
    const plat::ArrayPtr handed = temporaryItemSource();
    _filteringArgs->setItemSource(handed);
    auto d = autoCompleteDelegate();
    if (!d || !hasItems() || !d->filtering(self, _filteringArgs)) return;
    // The application's candidates stand as it left them: the list it set in the arguments, else the
    // box's own (the list handed over, maybe changed in place, or what the delegate gave the box).
    if (const plat::ArrayPtr& given = _filteringArgs->itemSource(); given != handed) {
        setTemporaryItemSource(given ? given : std::make_shared<plat::Array>());
    }
    bindAutoComplete();
    const bool open = shouldOpen();
    if (open != isDropDownOpen()) setIsDropDownOpen(open);
}

void KivoAutoComplete::applyFilter(const std::string& text) {
    std::vector<std::uint64_t> indices;
    if (text.empty()) {
        useAllItemsAsCandidates();
        bindAutoComplete();
        return;
    }
    if (!isXf()) {
        const plat::TextFolder folder(_locale, plat::TextFolder::Accents::Ignore);
        indices = itemTexts().matching(folder.fold(text), folder);
    } else {
        // The binding layer's filter: ignoring case only, on each item's value read afresh.
        if (!hasItems()) {
            bindAutoComplete();
            return;
        }
        const plat::TextFolder folder(_locale, plat::TextFolder::Accents::Count);
        const std::u16string wanted = folder.fold(text);
        const bool hasPath = displayMemberPath() && !displayMemberPath()->empty();
        for (std::size_t i = 0; hasPath && i < itemCount(); ++i) {
            const plat::Value value = KivoReflector::getValue((*itemsSource())[i], *displayMemberPath());
            if (!value.isNil() && folder.contains(folder.fold(value.description()), wanted)) indices.push_back(i);
        }
    }
    useItemsAsCandidates(std::move(indices));
    bindAutoComplete();
}

// ---- Row styling ----

void KivoAutoComplete::normalizeCellText(plat::Label& label, const std::string& substring) const {
    const std::string text = label.text();
    label.setText(text);
    if (const auto range = caselessRange(_locale, text, substring); range && range->length > 0) {
        label.addAttributes({.font = label.font()}, *range);
    }
}

void KivoAutoComplete::highlightedSubstring(const std::string& filter, plat::Label& label) const {
    if (const auto range = caselessRange(_locale, label.text(), filter); range && range->length > 0) {
        label.addAttributes({.font = label.font(), .background = _highlightedColor}, *range);
    }
}
