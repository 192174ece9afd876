// The calendar's layout pass: header, weekday row, body and scroll view frames, the pages' places
// along the paging axis, their dates, and the weekday row's texts and offers to the application.

#include <algorithm>

#include "calendar/PageRing.h"

#include "KivoCalendar/KivoCalendar.h"
#include "KivoCalendar/KivoCalendarDayOfWeekSlotLoadingEventArgs.h"
#include "KivoCalendar/KivoCalendarDecadeView.h"
#include "KivoCalendar/KivoCalendarHeaderView.h"
#include "KivoCalendar/KivoCalendarMonthView.h"
#include "KivoCalendar/KivoCalendarYearView.h"
#include "Platform/ui/label.h"
#include "Platform/ui/scroll_view.h"

namespace {

using kivo::detail::offsetBy;

constexpr std::int64_t PagesInRing = 3;
constexpr std::int64_t YearsPerDecade = 10;

bool isWeekend(std::int64_t weekday) { return weekday == 1 || weekday == 7; }

}  // namespace

// ---- Weekday row ----

std::vector<std::string> KivoCalendar::_getWeekdaySymbols() const {
    auto calendar = _dateUtil->calendarInUse();
    const auto& names = _dayOfWeekFormat == KivoCalendarDayOfWeekFormatVeryShort ? calendar->veryShortStandaloneWeekdaySymbols()
                        : _dayOfWeekFormat == KivoCalendarDayOfWeekFormatFull    ? calendar->standaloneWeekdaySymbols()
                                                                                 : calendar->shortStandaloneWeekdaySymbols();
    std::vector<std::string> rotated(names.begin() + (_firstDayOfWeek - 1), names.end());
    rotated.insert(rotated.end(), names.begin(), names.begin() + (_firstDayOfWeek - 1));
    return rotated;
}

void KivoCalendar::_initWeekdayLabels() {
    for (const auto& view : _weekdayLabels) view->removeFromSuperview();
    _weekdayLabels.clear();
    for (const std::string& symbol : _getWeekdaySymbols()) {
        auto label = plat::Label::create();
        label->setText(symbol);
        label->setTextAlignment(plat::TextAlignment::Center);
        label->setFont(_dayOfWeekFont);
        label->setTextColor(dayOfWeekTextColor());
        label->setBackgroundColor(_dayOfWeekBackgroundColor);
        _weekdayLabels.push_back(label);
        _bodyView->addSubview(label);
    }
}

void KivoCalendar::applyWeekdayTexts() {
    auto symbols = _getWeekdaySymbols();
    for (std::size_t i = 0; i < _weekdayLabels.size() && i < symbols.size(); ++i)
        if (auto label = std::dynamic_pointer_cast<plat::Label>(_weekdayLabels[i])) label->setText(symbols[i]);
}

void KivoCalendar::layoutWeekdayRow() {
    auto self = sharedAs<KivoCalendar>();
    // The delegate may change the row while it is offered a view: the count is read again each step.
    for (std::size_t i = 0; i < _weekdayLabels.size(); ++i) {
        auto view = _weekdayLabels[i];
        std::int64_t weekday = _firstDayOfWeek + static_cast<std::int64_t>(i);
        if (weekday > DaysPerWeek) weekday -= DaysPerWeek;
        if (auto d = delegate()) {
            auto args = std::make_shared<KivoCalendarDayOfWeekSlotLoadingEventArgs>(weekday, isWeekend(weekday), view);
            if (d->dayOfWeekSlotLoading(self, args->dayOfWeek(), args->isWeekend(), args->dayOfWeekSlot())) continue;
        }
        if (!_dayOfWeekSlotTemplate) continue;
        auto replacement = _dayOfWeekSlotTemplate->getView(static_cast<std::int64_t>(i) + 1, view->frame());
        if (!replacement || replacement == view || i >= _weekdayLabels.size()) continue;
        view->removeFromSuperview();
        _weekdayLabels[i] = replacement;
        _bodyView->insertSubview(replacement, i);
    }
}

// ---- Layout pass ----

void KivoCalendar::layoutSubviews() {
    const auto alive = keepAlive();
    KivoView::layoutSubviews();
    if (frame() != _previousFrame) {
        _previousFrame = frame();
        markForLayout(*_headerView, true);
        markForLayout(*_scrollView, true);
    }
    auto self = sharedAs<KivoCalendar>();
    if (auto d = delegate()) d->rendered(self);
    if (_delegateAssignmentFlag && !_weekdayLabels.empty()) layoutWeekdayRow();
    layoutFrames();
}

void KivoCalendar::layoutFrames() {
    const double W = _xfCalendarSize.width > 0 ? _xfCalendarSize.width : frame().width();
    const double H = _xfCalendarSize.height > 0 ? _xfCalendarSize.height : frame().height();
    const double R = std::min(MaxBandHeight, H / BandHeightDivisor);

    if (_headerView->tag() == -1) {
        if (_headerView->frame() == plat::Rect{}) _headerView->setFrame({0, 0, W, R});
        _headerView->setTag(0);
    }
    if (_scrollView->tag() != -1) return;

    if (_scrollView->frame() == plat::Rect{}) {
        const double h = _showHeader ? R : 0;
        const bool monthMode = _viewMode != KivoCalendarViewModeYear && _viewMode != KivoCalendarViewModeDecade;
        const double n = static_cast<double>(_weekdayLabels.size());
        for (std::size_t i = 0; i < _weekdayLabels.size(); ++i)
            _weekdayLabels[i]->setFrame(monthMode ? plat::Rect{i * W / n, 0, W / n, R} : plat::Rect{});
        const double r = monthMode ? R : 0;
        _bodyView->setFrame({0, h, W, H - h});
        _scrollView->setFrame({0, r, W, H - h - r});
        _scrollView->setContentInset({});
    }

    const plat::Size step = _getScrollViewOffset();
    const plat::Rect page{0, 0, _scrollView->frame().width(), _scrollView->frame().height()};
    _monthViewCurrent->setFrame(page);
    _monthViewNext->setFrame(offsetBy(page, step, 1));
    _monthViewPrev->setFrame(offsetBy(page, step, -1));
    _yearViewCurrent->setFrame(page);
    _decadeViewCurrent->setFrame(page);
    _decadeViewNext->setFrame(offsetBy(page, step, 1));
    _decadeViewPrev->setFrame(offsetBy(page, step, -1));

    _reloadMonthView();
    _reloadYearView();
    _reloadDecadeView();
    _scrollView->setContentSize(_getScrollViewContentSize());
    _scrollView->setTag(0);
}

// ---- Pages ----

void KivoCalendar::_updateMonthView(const std::shared_ptr<KivoCalendarMonthView>& view, std::int64_t index) {
    const auto alive = keepAlive();
    view->setMonthDate(_dateUtil->getDateByAddingMonths(index, _displayDate));
}

void KivoCalendar::_updateYearView(const std::shared_ptr<KivoCalendarYearView>& view, std::int64_t index) {
    const auto alive = keepAlive();
    view->setYearDate(_dateUtil->getDateByAddingYears(index, _displayDate));
}

void KivoCalendar::_updateDecadeView(const std::shared_ptr<KivoCalendarDecadeView>& view, std::int64_t index) {
    const auto alive = keepAlive();
    view->setDecadeDate(_dateUtil->getDateByAddingYears(YearsPerDecade * index, _displayDate));
}

void KivoCalendar::_reloadMonthView() {
    const auto alive = keepAlive();
    _updateMonthView(_monthViewCurrent, _currentViewIndex);
    _updateMonthView(_monthViewNext, _currentViewIndex + 1);
    _updateMonthView(_monthViewPrev, _currentViewIndex - 1);
}

void KivoCalendar::_reloadYearView() {
    const auto alive = keepAlive();
    _updateYearView(_yearViewCurrent, _currentViewIndex);
}

void KivoCalendar::_reloadDecadeView() {
    const auto alive = keepAlive();
    _updateDecadeView(_decadeViewCurrent, 0);
    _updateDecadeView(_decadeViewNext, 1);
    _updateDecadeView(_decadeViewPrev, -1);
}

double KivoCalendar::_getScrollViewWidth() const {
    return _orientation == KivoCalendarOrientationVertical ? _scrollView->frame().height() : _scrollView->frame().width();
}

plat::Size KivoCalendar::_getScrollViewOffset() const {
    if (_orientation == KivoCalendarOrientationVertical) return {0, _scrollView->frame().height()};
    return {_scrollView->frame().width(), 0};
}

plat::Size KivoCalendar::_getScrollViewContentSize() const {
    const double n = _viewMode == KivoCalendarViewModeYear ? 1 : PagesInRing;
    const plat::Size size = _scrollView->frame().size;
    if (_orientation == KivoCalendarOrientationVertical) return {size.width, n * size.height};
    return {n * size.width, size.height};
}

double KivoCalendar::_getScrollViewContentOffset() const {
    const plat::Point offset = _scrollView->contentOffset();
    return _orientation == KivoCalendarOrientationVertical ? offset.y : offset.x;
}

void KivoCalendar::_switchMonthViews() {
    const plat::Rect current = _monthViewCurrent->frame(), next = _monthViewNext->frame();
    const bool further = _orientation == KivoCalendarOrientationHorizontal ? current.x() > next.x()
                         : _orientation == KivoCalendarOrientationVertical ? current.y() > next.y()
                                                                           : false;
    if (further) std::swap(_monthViewCurrent, _monthViewNext);
}
