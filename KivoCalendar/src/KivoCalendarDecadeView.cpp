// A decade page: the twelve years from the last of the decade before to the first of the decade
// after, their colours and marks at every refresh, and the tap that zooms into a year.

#include "KivoCalendar/KivoCalendarDecadeView.h"

#include "KivoCalendar/KivoCalendar.h"
#include "KivoCalendar/KivoCalendarDelegate.h"
#include "KivoCalendar/KivoCalendarYearSlotLoadingEventArgs.h"
#include "calendar/ClampedDate.h"
#include "calendar/LabelGrid.h"

std::shared_ptr<KivoCalendarDecadeView> KivoCalendarDecadeView::create(const plat::Rect& frame) {
    return initialized(std::shared_ptr<KivoCalendarDecadeView>(new KivoCalendarDecadeView(frame)));
}

void KivoCalendarDecadeView::initialize() {
    plat::View::initialize();
    setBackgroundColor(plat::Color::clear());
    for (int k = 0; k < SlotCount; ++k) {
        auto slot = KivoCalendarYearSlot::create();
        slot->setBackgroundColor(plat::Color::clear());
        _yearLabels.push_back(slot);
        addSubview(slot);
    }
    kivo::detail::addPageTap(sharedAs<KivoCalendarDecadeView>(), [](auto& page, plat::Point at) { page._respondToTap(at); });
}

void KivoCalendarDecadeView::setKivoCalendar(const std::shared_ptr<KivoCalendar>& calendar) {
    if (calendar == _kivoCalendar.lock()) return;
    _kivoCalendar = calendar;
    if (!calendar) return;
    for (std::size_t k = 0; k < _yearLabels.size(); ++k) {
        const bool adjacent = k == 0 || k + 1 == _yearLabels.size();
        _yearLabels[k]->setYearFont(_decadeViewFont);
        _yearLabels[k]->setYearTextColor(adjacent ? calendar->adjacentDayTextColor() : calendar->textColor());
    }
}

void KivoCalendarDecadeView::setDecadeDate(KivoOptionalDate date) {
    if (!date) return;
    _decadeDate = date;
    refresh();
}

void KivoCalendarDecadeView::setTextColor(const plat::Color& color) {
    for (const auto& slot : _yearLabels) slot->setYearTextColor(color);
}

void KivoCalendarDecadeView::setBorderColor(const plat::Color& color) { kivo::detail::setSlotBorders(_yearLabels, color); }

void KivoCalendarDecadeView::setBorderWidth(double width) { kivo::detail::setSlotBorders(_yearLabels, width); }

void KivoCalendarDecadeView::layoutSubviews() {
    plat::View::layoutSubviews();
    for (std::size_t k = 0; k < _yearLabels.size(); ++k)
        _yearLabels[k]->setYearSlotFrame(kivo::detail::gridCell(k, frame().size, Columns, Rows));
}

bool KivoCalendarDecadeView::_isYearDisabled(std::int64_t year) const {
    auto calendar = kivoCalendar();
    if (!calendar) return false;
    const KivoDateUtil& util = *calendar->dateUtil();
    auto min = util.getYearFromDate(calendar->minDate());
    auto max = util.getYearFromDate(calendar->maxDate());
    return (min && *min > year) || (max && *max < year);
}

void KivoCalendarDecadeView::refresh() {
    auto calendar = kivoCalendar();
    if (!calendar || !_decadeDate) return;
    const KivoDateUtil& util = *calendar->dateUtil();
    auto year = util.getYearFromDate(_decadeDate);
    if (!year) return;
    const std::int64_t first = *year / YearsPerDecade * YearsPerDecade - 1;
    auto highlighted = util.getYearFromDate(calendar->highlightDate());
    auto delegate = calendar->delegate();
    for (std::size_t k = 0; k < _yearLabels.size(); ++k) {
        const auto& slot = _yearLabels[k];
        const std::int64_t shown = first + static_cast<std::int64_t>(k);
        slot->setYearText(std::to_string(shown));
        slot->setTag(shown);
        bool adjacent = false;
        if (_isYearDisabled(shown)) {
            slot->setYearTextColor(calendar->disabledTextColor());
        } else if (k == 0 || k + 1 == _yearLabels.size()) {
            slot->setYearTextColor(calendar->adjacentDayTextColor());
            adjacent = true;
        } else {
            slot->setYearTextColor(calendar->textColor());
        }
        if (highlighted == shown) {
            slot->setBackgroundColor(calendar->selectionBackgroundColor());
            slot->setYearTextColor(calendar->selectionTextColor());
        } else {
            slot->setBackgroundColor(plat::Color::clear());
        }
        if (delegate) {
            auto args = std::make_shared<KivoCalendarYearSlotLoadingEventArgs>(static_cast<std::uint64_t>(shown), adjacent, slot);
            delegate->yearSlotLoading(calendar, args->year(), args->isAdjacentYear(), args->yearSlot());
        }
    }
}

void KivoCalendarDecadeView::_respondToTap(plat::Point location) {
    auto calendar = kivoCalendar();
    if (!calendar || !calendar->isEnabled()) return;
    const KivoDateUtil& util = *calendar->dateUtil();
    for (const auto& slot : _yearLabels) {
        if (slot->tag() == -1 || !slot->frame().contains(location) || _isYearDisabled(slot->tag())) continue;
        auto month = util.getMonthFromDate(_decadeDate);
        auto date = month ? kivo::detail::clampedDate(util, _decadeDate, slot->tag(), *month) : std::nullopt;
        if (!date) return;
        _decadeDate = date;
        if (calendar->isAnimated()) {
            calendar->changeViewModeAsync(KivoCalendarViewModeYear, _decadeDate);
        } else {
            calendar->setViewMode(KivoCalendarViewModeYear);
            calendar->setDisplayDate(_decadeDate);
        }
        return;
    }
}
