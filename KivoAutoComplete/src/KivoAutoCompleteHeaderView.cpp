#include "KivoAutoComplete/KivoAutoCompleteHeaderView.h"

#include "KivoAutoComplete/KivoAutoComplete.h"
#include "Platform/runtime/dispatch.h"

namespace {

// The box's delay is in milliseconds; the dispatch waits seconds.
constexpr double MillisecondsPerSecond = 1000;

}  // namespace

std::shared_ptr<KivoAutoCompleteHeaderView> KivoAutoCompleteHeaderView::create(
    const std::shared_ptr<KivoAutoComplete>& autoComplete, std::shared_ptr<const SuggestionList> itemSources) {
    auto view = initialized(std::shared_ptr<KivoAutoCompleteHeaderView>(new KivoAutoCompleteHeaderView()));
    view->_autoComplete = autoComplete;
    view->_itemSources = std::move(itemSources);
    return view;
}

void KivoAutoCompleteHeaderView::initialize() {
    plat::TextField::initialize();
    setDelegate(std::static_pointer_cast<KivoAutoCompleteHeaderView>(shared_from_this()));
    setBackgroundColor(plat::Color::clear());
}

void KivoAutoCompleteHeaderView::autoComplete(const std::shared_ptr<KivoAutoComplete>& autoComplete, const std::string& text) {
    if (autoComplete) autoComplete->applyFilter(text);
}

bool KivoAutoCompleteHeaderView::shouldChangeCharactersInRange(plat::TextField&, plat::TextRange range,
                                                               const std::string& replacement) {
    auto box = _autoComplete.lock();
    if (!box) return true;
    std::u16string units = plat::toUtf16(text());
    const plat::TextRange r = plat::clampRange(range, static_cast<std::int64_t>(units.size()));
    // Nothing to delete (backspace in an empty field): no filter string loses a character it lacks.
    if (replacement.empty() && r.length == 0) return true;
    units.replace(static_cast<std::size_t>(r.location), static_cast<std::size_t>(r.length), plat::toUtf16(replacement));
    box->setFilterString(plat::toUtf8(units));
    box->fieldWasEdited();

    // The pass holds the field until it runs and reaches the box through it, if the box is still there.
    auto self = std::static_pointer_cast<KivoAutoCompleteHeaderView>(shared_from_this());
    plat::dispatch::after(plat::dispatch::Queue::main(), box->delay() / MillisecondsPerSecond, [self] {
        if (auto target = self->autoCompleteBox()) target->performFiltering();
    });
    if (box->hasItems()) box->setSelectedIndex(KivoAutoComplete::NotFound);
    return true;
}

bool KivoAutoCompleteHeaderView::textFieldShouldReturn(plat::TextField&) {
    if (isFirstResponder()) resignFirstResponder();
    return true;
}
