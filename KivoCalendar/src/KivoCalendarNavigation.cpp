// The calendar's taps and moves: a tap on a day slot selects the day or extends the range from its
// anchor, a tap on a neighbouring month's day moves there, and swipes, the header's buttons and the
// navigation calls move one page, sliding header and body on the animation driver when animated.
//
// Sections: taps · adjacent pages · moves · frames · end of a move.

#include <algorithm>
#include <cmath>

#include "KivoCalendar/KivoCalendar.h"
#include "KivoCalendar/KivoCalendarDaySlot.h"
#include "KivoCalendar/KivoCalendarDecadeView.h"
#include "KivoCalendar/KivoCalendarHeaderView.h"
#include "KivoCalendar/KivoCalendarMonthView.h"
#include "KivoCalendar/KivoCalendarRange.h"
#include "KivoCalendar/KivoCalendarSelectionChangedEventArgs.h"
#include "KivoCalendar/KivoCalendarYearView.h"
#include "KivoCore/KivoAnimation.h"
#include "KivoCore/KivoAnimationDriver.h"
#include "KivoCore/KivoEasing.h"
#include "Platform/runtime/dispatch.h"
#include "Platform/ui/scroll_view.h"
#include "calendar/PageRing.h"

namespace {

constexpr std::int64_t YearsPerDecade = 10;
constexpr std::int64_t LastLeadingIndex = 7;
constexpr std::int64_t December = 12;
constexpr std::int64_t LastDayOfDecember = 31;

std::int64_t sign(std::int64_t direction) { return direction > 0 ? 1 : -1; }

}  // namespace

// ---- Taps ----

void KivoCalendar::handleDaySlotTapGesture(const std::shared_ptr<KivoCalendarDaySlotBase>& slot) {
    const auto alive = keepAlive();
    handleTap(slot, false);
}

void KivoCalendar::handleViewDaySlotTapGesture(const std::shared_ptr<KivoCalendarDaySlotBase>& slot) {
    const auto alive = keepAlive();
    handleTap(slot, true);
}

void KivoCalendar::handleTap(const std::shared_ptr<KivoCalendarDaySlotBase>& slot, bool adjacentAlwaysMoves) {
    if (!slot) return;
    const KivoOptionalDate date = slot->date();
    if (isDateDisabled(date)) return;
    if (!_selectedDates) _selectedDates = KivoCalendarRange::create(std::nullopt, std::nullopt, sharedAs<KivoCalendar>());
    const std::int32_t n = _maxSelectionCount;

    if (slot->isAdjacent() && (adjacentAlwaysMoves || !_isMultiSelected)) {
        const std::int64_t direction = getDaySlotIndex(slot) > LastLeadingIndex ? 1 : -1;
        // The day is selected also when the move is refused (a limit, or a move already running):
        // it stands on the page shown, which keeps it.
        if (n != 0) {
            _selectedDate = date;
            _selectedDates->setStartDate(date);
            _selectedDates->setEndDate(date);
        }
        moveAdjacent(direction);
        queueMonthSlotsRedraw();
        return;
    }
    if (n == 0) return;

    const bool anchorTap = n == 1 || !_isMultiSelected || !_selectedDates->startDate();
    if (anchorTap) {
        _selectedDate = date;
        _selectedDates->setStartDate(date);
        _selectedDates->setEndDate(date);
        if (!_isMultiSelected) _selectedDates->resetExcludedDates();
    } else {
        const KivoOptionalDate anchor = _selectedDates->startDate();
        if (_dateUtil->compareYMD(anchor, date) == -1) {
            KivoOptionalDate end = date;
            if (n >= 2) {
                auto limit = _dateUtil->getDateByAddingDays(n - 1, *anchor);
                if (limit && _dateUtil->compareYMD(date, limit) != -1) end = limit;
            }
            _selectedDates->setEndDate(end);
        } else {
            _selectedDates->setEndDate(anchor);
            KivoOptionalDate start = date;
            if (n >= 2) {
                auto limit = _dateUtil->getDateByAddingDays(1 - n, *anchor);
                if (limit && _dateUtil->compareYMD(date, limit) == -1) start = limit;
            }
            _selectedDates->setStartDate(start);
        }
    }

    notifySelection(false);
    // A single date needs no anchor: flipping it would make every second neighbouring-day tap
    // select in place instead of moving.
    if (n != 1) _isMultiSelected = anchorTap;
    queueMonthSlotsRedraw();
    notifySelection(true);
}

void KivoCalendar::notifySelection(bool changed) {
    auto d = delegate();
    if (!d) return;
    auto args = std::make_shared<KivoCalendarSelectionChangedEventArgs>(_selectedDates);
    auto self = sharedAs<KivoCalendar>();
    if (changed)
        d->selectionChanged(self, args->selectedDates());
    else
        d->selectionChanging(self, args->selectedDates());
}

void KivoCalendar::queueMonthSlotsRedraw() {
    std::weak_ptr<KivoCalendar> weak = sharedAs<KivoCalendar>();
    plat::dispatch::async(plat::dispatch::Queue::main(), [weak] {
        if (auto self = weak.lock()) self->redrawMonthSlots();
    });
}

std::int64_t KivoCalendar::getDaySlotIndex(const std::shared_ptr<plat::View>& slot) const {
    if (!slot) return -1;
    for (const auto& page : {_monthViewCurrent, _monthViewNext, _monthViewPrev}) {
        const auto& cells = page->subviews();
        auto found = std::find(cells.begin(), cells.end(), slot);
        if (found != cells.end()) return found - cells.begin();
    }
    return -1;
}

// ---- Adjacent pages ----

bool KivoCalendar::isAdjacentMonthOrYearDisabled(std::int64_t direction) const {
    const bool next = direction > 0;
    const std::int64_t k = sign(direction);
    if (_viewMode == KivoCalendarViewModeYear || _viewMode == KivoCalendarViewModeDecade) {
        const KivoOptionalDate& pageDate =
            _viewMode == KivoCalendarViewModeYear ? _yearViewCurrent->yearDate() : _decadeViewCurrent->decadeDate();
        const plat::Date base = pageDate.value_or(_displayDate);
        auto year = _dateUtil->getYearFromDate(base);
        if (!year) return true;
        std::int64_t y = *year + k;
        if (_viewMode == KivoCalendarViewModeDecade) {
            const std::int64_t decade = *year / YearsPerDecade * YearsPerDecade;
            y = next ? decade + YearsPerDecade : decade - 1;
        }
        return isDateDisabled(next ? _dateUtil->getDateWithYear(y, 1, 1)
                                   : _dateUtil->getDateWithYear(y, December, LastDayOfDecember));
    }
    // Month mode, and codes outside the three modes, which lay out as month mode.
    const plat::Date base = _monthViewCurrent->monthDate().value_or(_displayDate);
    auto month = _dateUtil->getDateByAddingMonths(k, base);
    auto y = _dateUtil->getYearFromDate(month);
    auto m = _dateUtil->getMonthFromDate(month);
    auto days = _dateUtil->getMonthDaysCountFromDate(month);
    if (!y || !m || !days) return true;
    return isDateDisabled(_dateUtil->getDateWithYear(*y, *m, next ? 1 : static_cast<std::int64_t>(*days)));
}

// ---- Moves ----

void KivoCalendar::selectAdjacentView(std::int64_t direction) {
    const auto alive = keepAlive();
    moveAdjacent(sign(direction));
}

void KivoCalendar::goForwardAsync() {
    const auto alive = keepAlive();
    if (_isEnabled) selectAdjacentView(1);
}

void KivoCalendar::goBackwardAsync() {
    const auto alive = keepAlive();
    if (_isEnabled) selectAdjacentView(-1);
}

void KivoCalendar::_respondToSwipe(std::int64_t direction, bool vertical) {
    const auto alive = keepAlive();
    if (!_isEnabled) return;
    if (_orientation != (vertical ? KivoCalendarOrientationVertical : KivoCalendarOrientationHorizontal)) return;
    moveAdjacent(direction);
}

void KivoCalendar::moveAdjacent(std::int64_t direction) {
    // One move at a time, also when animation was switched off meanwhile: the running move still
    // turns the pages when its time is up, so a second one would turn them twice.
    if (_isAnimating) return;
    if (isAdjacentMonthOrYearDisabled(direction)) return;
    if (!_isAnimated) {
        animationFinished(direction);
        return;
    }
    _startSwipeAnimationTask(direction);
}

void KivoCalendar::_startSwipeAnimationTask(std::int64_t direction) {
    if (auto running = std::move(_animationDriver)) running->stop();
    _isAnimating = true;
    _animationTime = 0;
    // The setting is read once, when the move starts: a move keeps the timing it began with.
    _moveDuration = _navigateAnimation ? _navigateAnimation->duration() : 0;
    _moveDelay = _navigateAnimation ? _navigateAnimation->startDelay() : 0;
    _moveEasing = _navigateAnimation ? _navigateAnimation->easing() : nullptr;
    std::weak_ptr<KivoCalendar> weak = sharedAs<KivoCalendar>();
    KivoAnimationDriver::Handlers handlers;
    handlers.frame = [weak, direction](const KivoAnimationDriver::Frame& frame) {
        // No frame is drawn at the full offset: the end of the move places everything.
        if (frame.fraction >= 1) return;
        if (auto self = weak.lock()) self->_animationTask(frame.elapsed, direction);
    };
    handlers.end = [weak, direction](KivoAnimationDriver::End end) {
        auto self = weak.lock();
        if (self && end == KivoAnimationDriver::End::Finished) self->moveEnded(direction);
    };
    // The driver waits out the delay and ends a move whose timing cannot be met (not finite, or no
    // length) at its first frame, so a move can never hold the calendar for ever.
    _animationDriver = KivoAnimationDriver::start(weak, _moveDuration, _moveDelay, nullptr, std::move(handlers));
}

// ---- Frames ----

void KivoCalendar::_animationTask(double elapsed, std::int64_t direction) {
    const auto alive = keepAlive();
    _animationTime = elapsed;
    const double t = _animationTime - _moveDelay;
    _headerView->headerAnimationTask(t, direction > 0);
    // The year page stands alone: only its title slides.
    if (_viewMode != KivoCalendarViewModeMonth && _viewMode != KivoCalendarViewModeDecade) return;
    const double P = _getScrollViewWidth();
    const double v = KivoEasingUtil::ease(_moveEasing, t, 0, static_cast<double>(direction) * P, _moveDuration);
    plat::Point offset = _scrollView->contentOffset();
    if (_orientation == KivoCalendarOrientationVertical)
        offset.y = v;
    else
        offset.x = v;
    _scrollView->setContentOffset(offset);
}

void KivoCalendar::moveEnded(std::int64_t direction) {
    const auto alive = keepAlive();
    const double total = _moveDuration + _moveDelay;
    if (std::isfinite(total)) _animationTime = total;
    _animationDriver.reset();
    _isAnimating = false;
    animationFinished(direction);
}

// ---- End of a move ----

void KivoCalendar::_nextAnimationFinished() {
    const auto alive = keepAlive();
    animationFinished(1);
}

void KivoCalendar::_prevAnimationFinished() {
    const auto alive = keepAlive();
    animationFinished(-1);
}

void KivoCalendar::animationFinished(std::int64_t direction) {
    _headerView->headerAnimationFinished(direction > 0);
    if (_viewMode == KivoCalendarViewModeYear) {
        setDisplayDate(_dateUtil->getDateByAddingYears(direction, _displayDate));
        _headerView->updateButtonTextColor();
        return;
    }
    const plat::Size step = _getScrollViewOffset();
    // The arriving page takes the current place, so the content is back at its origin.
    _scrollView->setContentOffset({0, 0});
    auto self = sharedAs<KivoCalendar>();
    if (_viewMode == KivoCalendarViewModeMonth) {
        kivo::detail::turnRing(_monthViewCurrent, _monthViewNext, _monthViewPrev, step, static_cast<int>(direction));
        if (auto d = delegate()) d->displayDateChanging(self);
        adoptDisplayDate(_monthViewCurrent->monthDate().value_or(
            _dateUtil->getDateByAddingMonths(direction, _displayDate).value_or(_displayDate)));
        _headerView->setHeaderDate(_displayDate);
        _updateMonthView(_monthViewNext, 1);
        _updateMonthView(_monthViewPrev, -1);
        if (auto d = delegate()) d->displayDateChanged(self);
    } else if (_viewMode == KivoCalendarViewModeDecade) {
        kivo::detail::turnRing(_decadeViewCurrent, _decadeViewNext, _decadeViewPrev, step, static_cast<int>(direction));
        adoptDisplayDate(_decadeViewCurrent->decadeDate().value_or(
            _dateUtil->getDateByAddingYears(YearsPerDecade * direction, _displayDate).value_or(_displayDate)));
        _headerView->setHeaderDate(_displayDate);
        _updateDecadeView(_decadeViewNext, 1);
        _updateDecadeView(_decadeViewPrev, -1);
    }
    _headerView->updateButtonTextColor();
}

void KivoCalendar::changeViewModeAsync(std::int64_t mode, KivoOptionalDate date) {
    const auto alive = keepAlive();
    if (_headerView) _headerView->changeViewModeAsync(mode, date);
}
