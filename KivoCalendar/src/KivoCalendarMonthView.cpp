// The month page: the dates of its 42 cells, the reuse of its slots from fill to fill, and the
// application's chance to put slots of its own into the cells.

#include "KivoCalendar/KivoCalendarMonthView.h"

#include <deque>

#include "KivoCalendar/KivoCalendar.h"
#include "KivoCalendar/KivoCalendarDaySlot.h"
#include "KivoCalendar/KivoCalendarDaySlotLoadingEventArgs.h"
#include "Platform/foundation/log.h"

namespace {

constexpr std::int64_t DaysPerWeek = KivoCalendarMonthView::Columns;

// How many cells of the first row belong to the month before. When the 1st falls on the week's
// first day the answer is 7, not 0: the grid always opens with one full row of the earlier month.
std::int64_t leadingDays(std::int64_t weekdayOfFirst, std::int64_t firstDayOfWeek) {
    if (weekdayOfFirst > firstDayOfWeek) return weekdayOfFirst - firstDayOfWeek;
    if (weekdayOfFirst < firstDayOfWeek) return weekdayOfFirst + DaysPerWeek - firstDayOfWeek;
    return DaysPerWeek;
}

// A view can stand in a cell when it is a day slot that no view holds yet (one that stands elsewhere
// would leave a hole where it is taken from).
std::shared_ptr<KivoCalendarDaySlotBase> acceptableSlot(const std::shared_ptr<plat::View>& view, const char* from) {
    auto slot = std::dynamic_pointer_cast<KivoCalendarDaySlotBase>(view);
    if (!slot)
        plat::log(std::string("KivoCalendarMonthView: ") + from +
                  " answered a view that is not a day slot; the cell keeps its slot");
    else if (slot->superview())
        plat::log(std::string("KivoCalendarMonthView: ") + from +
                  " answered a day slot that already stands in a view; the cell keeps its slot");
    else
        return slot;
    return nullptr;
}

}  // namespace

std::shared_ptr<KivoCalendarMonthView> KivoCalendarMonthView::create(const plat::Rect& frame) {
    return initialized(std::shared_ptr<KivoCalendarMonthView>(new KivoCalendarMonthView(frame)));
}

void KivoCalendarMonthView::initialize() {
    plat::View::initialize();
    setBackgroundColor(plat::Color::clear());
    _resetDaySlots();
}

void KivoCalendarMonthView::_resetDaySlots() {
    while (!subviews().empty()) subviews().back()->removeFromSuperview();
    auto calendar = kivoCalendar();
    for (int i = 0; i < CellCount; ++i) addSubview(KivoCalendarDaySlot::create(calendar, {}));
}

void KivoCalendarMonthView::setMonthDate(KivoOptionalDate date) {
    _monthDate = date;
    if (!frame().isEmpty() && !frame().isNull()) _updateDaySlots();
}

void KivoCalendarMonthView::refresh() {
    if (kivoCalendar() && _monthDate) _updateDaySlots();
}

std::shared_ptr<KivoCalendarDaySlotBase> KivoCalendarMonthView::daySlotAt(std::size_t index) const {
    if (index >= subviews().size()) return nullptr;
    return std::dynamic_pointer_cast<KivoCalendarDaySlotBase>(subviews()[index]);
}

plat::Rect KivoCalendarMonthView::cellRect(std::size_t index, plat::Size pageSize) {
    const double w = pageSize.width / Columns, h = pageSize.height / Rows;
    return {w * static_cast<double>(index % Columns), h * static_cast<double>(index / Columns), w, h};
}

void KivoCalendarMonthView::layoutSubviews() {
    plat::View::layoutSubviews();
    for (std::size_t k = 0; k < subviews().size(); ++k) subviews()[k]->setFrame(cellRect(k, frame().size));
}

void KivoCalendarMonthView::replaceCell(std::size_t index, const std::shared_ptr<plat::View>& view) {
    subviews()[index]->removeFromSuperview();
    insertSubview(view, index);
    // The newcomer takes the cell's rectangle at the next layout pass.
    setNeedsLayout();
}

void KivoCalendarMonthView::_updateDaySlots() {
    auto calendar = kivoCalendar();
    if (!calendar || !_monthDate) return;
    const KivoDateUtil& util = *calendar->dateUtil();
    auto daysInMonth = util.getMonthDaysCountFromDate(_monthDate);
    auto year = util.getYearFromDate(_monthDate);
    auto month = util.getMonthFromDate(_monthDate);
    if (!daysInMonth || !year || !month) return;

    // The days of the month that the time zone has: a day it left out (a move across the date line)
    // gets no cell, and the days before and after step over it, so no day stands in two cells.
    std::deque<plat::Date> dates;
    for (std::int64_t day = 1; day <= static_cast<std::int64_t>(*daysInMonth); ++day) {
        auto d = util.getDateWithYear(*year, *month, day);
        if (!d) return;
        if (util.getDayFromDate(d) == day) dates.push_back(*d);
    }
    auto weekday = dates.empty() ? std::nullopt : util.getWeekdayFromDate(dates.front());
    if (!weekday) return;
    const auto N = static_cast<std::int64_t>(dates.size());
    const std::int64_t L = leadingDays(*weekday, calendar->firstDayOfWeek());
    for (std::int64_t i = 0; i < L; ++i) {
        auto d = util.getDateBySubtractingDays(1, dates.front());
        if (!d) return;  // the calendar's far edge: keep the grid as it was
        dates.push_front(*d);
    }
    while (dates.size() < CellCount) {
        auto d = util.getDateByAddingDays(1, dates.back());
        if (!d) return;
        dates.push_back(*d);
    }

    // Whatever happened to the cells, the page holds exactly 42 of them.
    while (subviews().size() < CellCount) addSubview(KivoCalendarDaySlot::create(calendar, {}));
    while (subviews().size() > CellCount) subviews().back()->removeFromSuperview();

    for (std::size_t i = 0; i < CellCount; ++i) {
        const plat::Rect cell = cellRect(i, frame().size);
        std::shared_ptr<KivoCalendarDaySlotBase> slot;
        auto reusable = std::dynamic_pointer_cast<KivoCalendarDaySlot>(subviews()[i]);
        if (reusable && reusable->tag() != KivoCalendarDaySlot::ApplicationSlotTag) {
            reusable->resetDaySlot();
            reusable->setKivoCalendar(calendar);
            reusable->setDate(dates[i]);
            reusable->setFrame(cell);
            slot = reusable;
        } else {
            // Slots of the application live for one fill; a new framework slot takes the cell.
            auto fresh = KivoCalendarDaySlot::create(calendar, cell);
            fresh->setDate(dates[i]);
            replaceCell(i, fresh);
            slot = fresh;
        }
        slot->setBackgroundColor(calendar->backgroundColor());
        const auto index = static_cast<std::int64_t>(i);
        offerToApplication(i, calendar, slot, index < L || index >= L + N);
    }
}

void KivoCalendarMonthView::offerToApplication(std::size_t index, const std::shared_ptr<KivoCalendar>& calendar,
                                               const std::shared_ptr<KivoCalendarDaySlotBase>& slot, bool isAdjacentDay) {
    const bool adjacent = slot->isAdjacent();
    // The delegate is asked for the shown month's days; when it answers, the templates are not asked.
    if (auto delegate = calendar->delegate(); delegate && !adjacent) {
        auto args = std::make_shared<KivoCalendarDaySlotLoadingEventArgs>(slot->date(), isAdjacentDay, slot);
        if (auto answer = delegate->daySlotLoading(calendar, args->date(), args->isAdjacentDay(), args->daySlot())) {
            args->setDaySlot(*answer);
            // A null answer keeps the framework's slot.
            if (args->daySlot() && args->daySlot() != slot) {
                if (auto supplied = acceptableSlot(args->daySlot(), "the delegate")) {
                    supplied->setTag(KivoCalendarDaySlot::ApplicationSlotTag);
                    supplied->setDate(slot->date());
                    if (!supplied->kivoCalendar()) supplied->setKivoCalendar(calendar);
                    replaceCell(index, supplied);
                    supplied->setNeedsDisplay();
                }
            }
            slot->setNeedsDisplay();
            return;
        }
    }

    std::shared_ptr<plat::View> offered;
    if (adjacent && calendar->adjacentDaySlotTemplate())
        offered = calendar->adjacentDaySlotTemplate()->getView(slot->date(), slot->frame());
    else if (!adjacent && calendar->daySlotTemplate())
        offered = calendar->daySlotTemplate()->getView(slot->date(), slot->frame());
    if (offered && offered != slot) {
        if (auto supplied = acceptableSlot(offered, "a day-slot template")) {
            // The cell's day travels with whatever stands in it, so taps and the next fill can read it.
            supplied->setDate(slot->date());
            if (!supplied->kivoCalendar()) supplied->setKivoCalendar(calendar);
            replaceCell(index, supplied);
            supplied->setNeedsDisplay();
        }
    }
    slot->setNeedsDisplay();
}
