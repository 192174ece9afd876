// The calendar control: construction and the property setters, each passing its value on to the
// parts it concerns (header, weekday row, pages, slots).

#include "KivoCalendar/KivoCalendar.h"

#include "KivoCalendar/KivoCalendarDaySlot.h"
#include "KivoCalendar/KivoCalendarDecadeView.h"
#include "KivoCalendar/KivoCalendarHeaderView.h"
#include "KivoCalendar/KivoCalendarMonthView.h"
#include "KivoCalendar/KivoCalendarRange.h"
#include "KivoCalendar/KivoCalendarViewModeAnimation.h"
#include "KivoCalendar/KivoCalendarYearView.h"
#include "KivoCore/KivoAnimation.h"
#include "KivoCore/KivoAnimationDriver.h"
#include "KivoCore/KivoEasing.h"
#include "KivoCore/KivoEvent.h"
#include "KivoCore/KivoIOSValueFormatter.h"
#include "KivoCore/KivoRenderEngine.h"
#include "Platform/foundation/log.h"
#include "Platform/ui/label.h"
#include "Platform/ui/scroll_view.h"
#include "Platform/ui/swipe_gesture_recognizer.h"

namespace {

constexpr double NavigateDuration = 0.5;

}  // namespace

// ---- Construction ----

std::shared_ptr<KivoCalendar> KivoCalendar::create(const plat::Rect& frame) {
    return initialized(std::shared_ptr<KivoCalendar>(new KivoCalendar(frame)));
}

KivoCalendar::~KivoCalendar() {
    if (_animationDriver) _animationDriver->stop();
}

void KivoCalendar::initialize() {
    KivoView::initialize();
    _initInternals();
}

void KivoCalendar::_initInternals() {
    auto self = sharedAs<KivoCalendar>();
    _delegateAssignmentFlag = false;
    _previousFrame = {};

    _dateUtil = KivoDateUtil::create();
    _dateUtil->setCalendar(KivoCalendarSystem::current());
    _renderEngine = KivoRenderEngine::create();

    _navigateAnimation = std::make_shared<KivoAnimation>();
    _navigateAnimation->setDuration(NavigateDuration);
    _navigateAnimation->setEasing(KivoEasing::EaseOutCubic());
    _viewModeAnimation = KivoCalendarViewModeAnimation::create();
    _valueFormatter = std::make_shared<KivoIOSValueFormatter>();
    _headerLoading = std::make_shared<KivoEvent>();
    _selectedDates = KivoCalendarRange::create(std::nullopt, std::nullopt, self);
    _dayOfWeekBackgroundColor = DEFAULT_WEEK_BACKGROUND_COLOR;

    _headerView = KivoCalendarHeaderView::create();
    _headerView->setKivoCalendar(self);
    _headerView->setTag(-1);
    addSubview(_headerView);

    _bodyView = plat::View::create();
    _bodyView->setBackgroundColor(plat::Color::clear());
    _bodyView->setTag(-1);
    addSubview(_bodyView);

    _initWeekdayLabels();

    // Pages move only by the calendar's own navigation, never by dragging.
    _scrollView = plat::ScrollView::create();
    _scrollView->setBackgroundColor(plat::Color::clear());
    _scrollView->setBounces(true);
    _scrollView->setPagingEnabled(true);
    _scrollView->setShowsHorizontalScrollIndicator(false);
    _scrollView->setShowsVerticalScrollIndicator(false);
    _scrollView->setTag(-1);
    _scrollView->setDelaysContentTouches(false);
    _scrollView->setCanCancelContentTouches(true);
    _scrollView->setScrollEnabled(false);
    _bodyView->addSubview(_scrollView);

    _monthViewCurrent = KivoCalendarMonthView::create();
    _monthViewNext = KivoCalendarMonthView::create();
    _monthViewPrev = KivoCalendarMonthView::create();
    for (const auto& page : {_monthViewCurrent, _monthViewNext, _monthViewPrev}) {
        page->setKivoCalendar(self);
        _scrollView->addSubview(page);
    }
    _yearViewCurrent = KivoCalendarYearView::create();
    _yearViewCurrent->setKivoCalendar(self);
    _yearViewCurrent->setHidden(true);
    _scrollView->addSubview(_yearViewCurrent);
    _decadeViewCurrent = KivoCalendarDecadeView::create();
    _decadeViewNext = KivoCalendarDecadeView::create();
    _decadeViewPrev = KivoCalendarDecadeView::create();
    for (const auto& page : {_decadeViewCurrent, _decadeViewNext, _decadeViewPrev}) {
        page->setKivoCalendar(self);
        page->setHidden(true);
        _scrollView->addSubview(page);
    }

    _displayDate = plat::Date::now();
    _currentMonth = _displayDate;
    _headerView->setHeaderDate(_displayDate);
    _currentDate = plat::Date::now();
    setCurrentViewIndex(0);
    _highlightDate = plat::Date::now();

    // Swipes along the orientation move a page; the others are ignored by their handlers.
    const std::pair<unsigned, std::pair<std::int64_t, bool>> swipes[] = {
        {plat::SwipeGestureRecognizerDirectionLeft, {1, false}},
        {plat::SwipeGestureRecognizerDirectionRight, {-1, false}},
        {plat::SwipeGestureRecognizerDirectionUp, {1, true}},
        {plat::SwipeGestureRecognizerDirectionDown, {-1, true}},
    };
    std::weak_ptr<KivoCalendar> weak = self;
    for (const auto& [bits, direction] : swipes) {
        // A named copy: clang before 16 cannot capture a structured binding.
        const auto road = direction;
        auto swipe = plat::SwipeGestureRecognizer::create([weak, road](plat::GestureRecognizer& recognizer) {
            auto calendar = weak.lock();
            if (calendar && recognizer.state() == plat::GestureRecognizerState::Recognized)
                calendar->_respondToSwipe(road.first, road.second);
        });
        swipe->setDirection(bits);
        addGestureRecognizer(swipe);
        _swipes.push_back(swipe);
    }
}

// ---- Delegate ----

void KivoCalendar::setDelegate(const std::shared_ptr<KivoCalendarDelegate>& delegate) {
    const auto alive = keepAlive();
    if (delegate == _delegate.lock()) return;
    _delegate = delegate;
    _delegateAssignmentFlag = true;
    refresh();
}

void KivoCalendar::setStrongDelegate(std::shared_ptr<KivoCalendarDelegate> delegate) {
    const auto alive = keepAlive();
    _strongDelegate = std::move(delegate);
    setDelegate(_strongDelegate);
}

// ---- Look ----

void KivoCalendar::setTextColor(std::optional<plat::Color> color) {
    const auto alive = keepAlive();
    if (color == _textColor) return;
    _textColor = color;
    _headerView->setHeaderTextColor(textColor());
    for (const auto& view : _weekdayLabels)
        if (auto label = std::dynamic_pointer_cast<plat::Label>(view)) label->setTextColor(textColor());
    redrawMonthSlots();
    _yearViewCurrent->setTextColor(textColor());
    for (const auto& page : {_decadeViewCurrent, _decadeViewNext, _decadeViewPrev}) page->setTextColor(textColor());
    refreshYearAndDecadePages();
}

void KivoCalendar::setBackgroundColor(std::optional<plat::Color> color) {
    const auto alive = keepAlive();
    if (color == _backgroundColor) return;
    _backgroundColor = color;
    if (!_headerBackgroundColor) _headerView->setBackgroundColor(backgroundColor());
    // A weekday row still in its default grey follows the calendar's background.
    if (color && (!_dayOfWeekBackgroundColor || *_dayOfWeekBackgroundColor == DEFAULT_WEEK_BACKGROUND_COLOR))
        for (const auto& view : _weekdayLabels) view->setBackgroundColor(color);
    // The slots paint the background their page gave them at the last fill: give them the new one.
    for (const auto& page : {_monthViewCurrent, _monthViewNext, _monthViewPrev})
        for (const auto& slot : page->subviews()) slot->setBackgroundColor(backgroundColor());
    redrawMonthSlots();
    _yearViewCurrent->setBackgroundColor(color);
    for (const auto& page : {_decadeViewCurrent, _decadeViewNext, _decadeViewPrev}) page->setBackgroundColor(color);
}

void KivoCalendar::setBorderColor(const plat::Color& color) {
    if (color == _borderColor) return;
    _borderColor = color;
    layer()->setBorderColor(color);
}

void KivoCalendar::setBorderWidth(double width) {
    if (width == _borderWidth) return;
    _borderWidth = width;
    layer()->setBorderWidth(width);
}

void KivoCalendar::setDisabledTextColor(const plat::Color& color) {
    const auto alive = keepAlive();
    if (color == _disabledTextColor) return;
    _disabledTextColor = color;
    _headerView->updateButtonTextColor();
    redrawMonthSlots();
    refreshYearAndDecadePages();
}

void KivoCalendar::setAdjacentDayTextColor(const plat::Color& color) {
    const auto alive = keepAlive();
    if (color == _adjacentDayTextColor) return;
    _adjacentDayTextColor = color;
    redrawMonthSlots();
    // The decade pages show the years either side of the decade in it.
    for (const auto& page : {_decadeViewCurrent, _decadeViewNext, _decadeViewPrev}) page->refresh();
}

void KivoCalendar::setDayBorderColor(const plat::Color& color) {
    if (color == _dayBorderColor) return;
    _dayBorderColor = color;
    redrawMonthSlots();
    _yearViewCurrent->setBorderColor(color);
    for (const auto& page : {_decadeViewCurrent, _decadeViewNext, _decadeViewPrev}) page->setBorderColor(color);
}

void KivoCalendar::setDayBorderWidth(double width) {
    if (width == _dayBorderWidth) return;
    _dayBorderWidth = width;
    redrawMonthSlots();
    _yearViewCurrent->setBorderWidth(width);
    for (const auto& page : {_decadeViewCurrent, _decadeViewNext, _decadeViewPrev}) page->setBorderWidth(width);
}

void KivoCalendar::setTodayBackgroundColor(std::optional<plat::Color> color) {
    if (color == _todayBackgroundColor) return;
    _todayBackgroundColor = color;
    _refreshTodaySlot();
}

void KivoCalendar::setTodayTextColor(std::optional<plat::Color> color) {
    if (color == _todayTextColor) return;
    _todayTextColor = color;
    _refreshTodaySlot();
}

void KivoCalendar::setTodayFont(const plat::Font& font) {
    if (font == _todayFont) return;
    _todayFont = font;
    _refreshTodaySlot();
}

void KivoCalendar::setDayOfWeekBackgroundColor(std::optional<plat::Color> color) {
    if (color == _dayOfWeekBackgroundColor) return;
    _dayOfWeekBackgroundColor = color;
    for (const auto& view : _weekdayLabels) view->setBackgroundColor(color);
}

void KivoCalendar::setDayOfWeekFont(const plat::Font& font) {
    if (font == _dayOfWeekFont) return;
    _dayOfWeekFont = font;
    for (const auto& view : _weekdayLabels)
        if (auto label = std::dynamic_pointer_cast<plat::Label>(view)) label->setFont(font);
}

void KivoCalendar::setDayOfWeekFormat(std::int64_t format) {
    if (format == _dayOfWeekFormat) return;
    _dayOfWeekFormat = format;
    applyWeekdayTexts();
}

void KivoCalendar::setDayOfWeekTextColor(std::optional<plat::Color> color) {
    if (color == _dayOfWeekTextColor) return;
    _dayOfWeekTextColor = color;
    for (const auto& view : _weekdayLabels)
        if (auto label = std::dynamic_pointer_cast<plat::Label>(view)) label->setTextColor(dayOfWeekTextColor());
}

void KivoCalendar::setHeaderBackgroundColor(std::optional<plat::Color> color) {
    if (color == _headerBackgroundColor) return;
    _headerBackgroundColor = color;
    _headerView->setBackgroundColor(headerBackgroundColor());
}

void KivoCalendar::setHeaderFont(std::optional<plat::Font> font) {
    if (font == _headerFont) return;
    _headerFont = std::move(font);
    _headerView->setHeaderFont(_headerFont);
}

void KivoCalendar::setHeaderTextColor(std::optional<plat::Color> color) {
    if (color == _headerTextColor) return;
    _headerTextColor = color;
    _headerView->setHeaderTextColor(headerTextColor());
}

void KivoCalendar::setHeaderMonthFormat(std::optional<std::string> format) {
    const auto alive = keepAlive();
    if (format == _headerMonthFormat) return;
    _headerMonthFormat = std::move(format);
    _headerView->setHeaderMonthFormat(_headerMonthFormat);
    _headerView->setHeaderDate(_headerView->headerDate());
}

void KivoCalendar::setShowHeader(bool show) {
    if (show == _showHeader) return;
    _showHeader = show;
    _headerView->setHidden(!show);
    markForLayout(*_scrollView, true);
    setNeedsLayout();
    redrawMonthSlots();
}

void KivoCalendar::setShowNavigationButtons(bool show) {
    if (show == _showNavigationButtons) return;
    _showNavigationButtons = show;
    _headerView->setShowNavigationButtons(show);
}

void KivoCalendar::setValueFormatter(std::shared_ptr<IKivoValueFormatter> formatter) {
    if (formatter == _valueFormatter) return;
    _valueFormatter = std::move(formatter);
}

// ---- Modes and dates ----

void KivoCalendar::setViewMode(std::int64_t mode) {
    const auto alive = keepAlive();
    if (mode == _viewMode) return;
    _viewMode = mode;
    markForLayout(*_headerView, false);
    markForLayout(*_scrollView, true);
    setCurrentViewIndex(0);
    if (mode >= KivoCalendarViewModeMonth && mode <= KivoCalendarViewModeDecade) {
        for (const auto& page : {_monthViewCurrent, _monthViewNext, _monthViewPrev})
            page->setHidden(mode != KivoCalendarViewModeMonth);
        _yearViewCurrent->setHidden(mode != KivoCalendarViewModeYear);
        for (const auto& page : {_decadeViewCurrent, _decadeViewNext, _decadeViewPrev})
            page->setHidden(mode != KivoCalendarViewModeDecade);
    }
    setNeedsLayout();
    _headerView->setHeaderDate(_displayDate);
    if (auto d = delegate()) d->viewModeChanged(sharedAs<KivoCalendar>());
}

void KivoCalendar::setOrientation(std::int64_t orientation) {
    const auto alive = keepAlive();
    if (orientation == _orientation) return;
    _orientation = orientation;
    markForLayout(*_scrollView, false);
    setNeedsLayout();
    _headerView->refresh();
}

void KivoCalendar::setFirstDayOfWeek(std::int64_t day) {
    const auto alive = keepAlive();
    if (day < 1 || day > DaysPerWeek) {
        // The grid's leading days and the rotation of the weekday names need a day of the week.
        plat::log("KivoCalendar: firstDayOfWeek " + std::to_string(day) + " refused; it must be 1 (Sunday) to 7 (Saturday)");
        return;
    }
    if (day == _firstDayOfWeek) return;
    _firstDayOfWeek = day;
    _dateUtil->setFirstWeekday(static_cast<std::uint64_t>(day));
    applyWeekdayTexts();
    for (const auto& page : {_monthViewCurrent, _monthViewNext, _monthViewPrev}) page->refresh();
}

void KivoCalendar::setDisplayDate(KivoOptionalDate date) {
    const auto alive = keepAlive();
    auto change = _dateUtil->compareYMD(date, _displayDate);
    // No date, or one the calendar cannot take apart, is ignored entirely.
    if (!change) return;
    if (*change != 0) {
        auto self = sharedAs<KivoCalendar>();
        if (auto d = delegate()) d->displayDateChanging(self);
        adoptDisplayDate(*date);
        if (_viewMode == KivoCalendarViewModeDecade) {
            _updateDecadeView(_decadeViewCurrent, 0);
            _updateDecadeView(_decadeViewNext, 1);
            _updateDecadeView(_decadeViewPrev, -1);
        } else if (_viewMode == KivoCalendarViewModeYear) {
            _updateYearView(_yearViewCurrent, 0);
        } else {
            _updateMonthView(_monthViewCurrent, 0);
            _updateMonthView(_monthViewNext, 1);
            _updateMonthView(_monthViewPrev, -1);
        }
        if (auto d = delegate()) d->displayDateChanged(self);
    }
    _headerView->setHeaderDate(_displayDate);
}

void KivoCalendar::adoptDisplayDate(plat::Date date) {
    _displayDate = date;
    _currentMonth = date;
    _currentViewIndex = 0;
}

void KivoCalendar::setCurrentViewIndex(std::int64_t index) {
    if (index == _currentViewIndex) return;
    _currentViewIndex = index;
    if (auto month = _dateUtil->getDateByAddingMonths(index, _displayDate)) _currentMonth = *month;
}

// ---- Operations ----

void KivoCalendar::refresh() {
    const auto alive = keepAlive();
    markForLayout(*_headerView, true);
    markForLayout(*_scrollView, true);
    setNeedsLayout();
    for (const auto& page : {_monthViewCurrent, _monthViewNext, _monthViewPrev}) page->refresh();
    _headerView->refresh();
}

void KivoCalendar::respondToOrientationChanged() {
    const auto alive = keepAlive();
    markForLayout(*_headerView, true);
    markForLayout(*_scrollView, true);
    setNeedsLayout();
    _headerView->refresh();
}

void KivoCalendar::markForLayout(plat::View& view, bool zeroFrame) {
    view.setTag(-1);
    if (zeroFrame) view.setFrame({});
}

void KivoCalendar::redrawMonthSlots() {
    for (const auto& page : {_monthViewCurrent, _monthViewNext, _monthViewPrev})
        for (const auto& slot : page->subviews()) slot->setNeedsDisplay();
}

void KivoCalendar::refreshYearAndDecadePages() {
    _yearViewCurrent->refresh();
    for (const auto& page : {_decadeViewCurrent, _decadeViewNext, _decadeViewPrev}) page->refresh();
}

void KivoCalendar::redrawSlotsOfDay(plat::Date date) {
    for (const auto& view : _monthViewCurrent->subviews()) {
        auto slot = std::dynamic_pointer_cast<KivoCalendarDaySlotBase>(view);
        if (slot && _dateUtil->isYMDEqual(slot->date(), date)) slot->setNeedsDisplay();
    }
}

void KivoCalendar::_refreshTodaySlot() {
    if (_viewMode != KivoCalendarViewModeMonth) return;
    if (_dateUtil->compareYM(_monthViewCurrent->monthDate(), _currentDate) != 0) return;
    redrawSlotsOfDay(_currentDate);
}
