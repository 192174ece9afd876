#pragma once
// The calendar control, showing a month, a year or a decade. It stacks three parts: the title header,
// the row of weekday names (shown for months only), and the body. The body pages through a scroll
// view that keeps a small fixed set of page views (three for months, one for the year, three for
// decades) and recycles them on every move. Dates are computed by the control's date utility, which
// works on one calendar shared by all calendar controls of the process.
//
// Sections: modes and codes · default look · delegate and templates · look · modes and dates ·
// selection · parts · operations · layout.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "KivoCalendar/KivoCalendarDelegate.h"
#include "KivoCalendar/KivoCalendarExport.h"
#include "KivoCalendar/KivoDateUtil.h"
#include "KivoCore/IKivoEaseAction.h"
#include "KivoCore/KivoView.h"
#include "Platform/foundation/geometry.h"
#include "Platform/foundation/value.h"
#include "Platform/graphics/color.h"
#include "Platform/graphics/font.h"

class IKivoValueFormatter;
class KivoAnimation;
class KivoAnimationDriver;
class KivoCalendarDaySlotBase;
class KivoCalendarDecadeView;
class KivoCalendarHeaderView;
class KivoCalendarMonthView;
class KivoCalendarRange;
class KivoCalendarViewModeAnimation;
class KivoCalendarYearView;
class KivoEvent;
class KivoRenderEngine;

namespace kivo::detail {
// What the tests read and call of the calendar's inner workings; defined by the tests alone.
struct CalendarTestAccess;
}  // namespace kivo::detail

namespace plat {
class Image;
class ScrollView;
class SwipeGestureRecognizer;
}  // namespace plat

// ---- Modes and codes ----
enum KivoCalendarViewMode : std::int64_t {
    KivoCalendarViewModeMonth = 0,
    KivoCalendarViewModeYear = 1,
    KivoCalendarViewModeDecade = 2,
};

enum KivoCalendarOrientation : std::int64_t {
    KivoCalendarOrientationHorizontal = 0,  // pages side by side
    KivoCalendarOrientationVertical = 1,    // pages stacked
};

// Any value other than 0 and 2 shows the short names.
enum KivoCalendarDayOfWeekFormat : std::int64_t {
    KivoCalendarDayOfWeekFormatVeryShort = 0,
    KivoCalendarDayOfWeekFormatShort = 1,
    KivoCalendarDayOfWeekFormatFull = 2,
};

class KIVO_CALENDAR_EXPORT KivoCalendar : public KivoView {
public:
    static std::shared_ptr<KivoCalendar> create(const plat::Rect& frame = {});
    // From an interface file, with the same defaults as from a frame; raises plat::CoderException.
    static std::shared_ptr<KivoCalendar> create(const plat::Coder& coder);
    ~KivoCalendar() override;

    // ---- Default look (per instance) ----
    const plat::Color DEFAULT_ADJACENT_TEXT_COLOR = plat::Color::rgb255(154, 154, 154);
    const plat::Color DEFAULT_WEEK_BACKGROUND_COLOR = plat::Color::rgb255(234, 234, 234);
    const plat::Color DEFAULT_DISABLED_COLOR = plat::Color::rgb255(108, 108, 108);
    const plat::Color DEFAULT_SELECTION_BACKGROUND_COLOR = plat::Color(0, 122 / 255.0, 1);
    const plat::Color DEFAULT_TEXT_COLOR = plat::Color::black();
    const plat::Color DEFAULT_BACKGROUND_COLOR = plat::Color::white();

    // Neither the header nor the weekday row is taller than this.
    static constexpr double MaxBandHeight = 35;
    // On small controls each band is this share of the height.
    static constexpr double BandHeightDivisor = 9;
    static constexpr std::int64_t DaysPerWeek = 7;

    // ---- Delegate and templates ----
    // Held weakly. Assigning another delegate refreshes the control and, from then on, lets every
    // layout pass offer the weekday views to the delegate or the weekday template.
    std::shared_ptr<KivoCalendarDelegate> delegate() const { return _delegate.lock(); }
    void setDelegate(const std::shared_ptr<KivoCalendarDelegate>& delegate);
    // Keeps the delegate alive, and sets it as the delegate.
    const std::shared_ptr<KivoCalendarDelegate>& strongDelegate() const { return _strongDelegate; }
    void setStrongDelegate(std::shared_ptr<KivoCalendarDelegate> delegate);

    // Read when the pages are filled (refresh to apply them to the pages shown).
    const std::shared_ptr<IDaySlotTemplate>& daySlotTemplate() const { return _daySlotTemplate; }
    void setDaySlotTemplate(std::shared_ptr<IDaySlotTemplate> t) { _daySlotTemplate = std::move(t); }
    const std::shared_ptr<IAdjacentDaySlotTemplate>& adjacentDaySlotTemplate() const { return _adjacentDaySlotTemplate; }
    void setAdjacentDaySlotTemplate(std::shared_ptr<IAdjacentDaySlotTemplate> t) { _adjacentDaySlotTemplate = std::move(t); }
    // Asked on every layout pass once a delegate was assigned.
    const std::shared_ptr<IDayOfWeekSlotTemplate>& dayOfWeekSlotTemplate() const { return _dayOfWeekSlotTemplate; }
    void setDayOfWeekSlotTemplate(std::shared_ptr<IDayOfWeekSlotTemplate> t) { _dayOfWeekSlotTemplate = std::move(t); }

    // Raised by the header while it builds a title (arguments: KivoCalendarHeaderLoadingEventArgs).
    const std::shared_ptr<KivoEvent>& headerLoading() const { return _headerLoading; }
    void setHeaderLoading(std::shared_ptr<KivoEvent> event) { _headerLoading = std::move(event); }

    // ---- Look ----
    // Colours without a value fall back as noted; setting an equal value does nothing.
    plat::Color textColor() const { return _textColor.value_or(DEFAULT_TEXT_COLOR); }
    void setTextColor(std::optional<plat::Color> color);
    // The calendar's background (the control's own view background is not changed).
    plat::Color backgroundColor() const { return _backgroundColor.value_or(DEFAULT_BACKGROUND_COLOR); }
    void setBackgroundColor(std::optional<plat::Color> color);
    // The control's border.
    const plat::Color& borderColor() const { return _borderColor; }
    void setBorderColor(const plat::Color& color);
    double borderWidth() const { return _borderWidth; }
    void setBorderWidth(double width);
    const plat::Color& disabledTextColor() const { return _disabledTextColor; }
    void setDisabledTextColor(const plat::Color& color);
    const plat::Color& adjacentDayTextColor() const { return _adjacentDayTextColor; }
    void setAdjacentDayTextColor(const plat::Color& color);
    const plat::Color& dayBorderColor() const { return _dayBorderColor; }
    void setDayBorderColor(const plat::Color& color);
    double dayBorderWidth() const { return _dayBorderWidth; }
    void setDayBorderWidth(double width);
    // Falls back to the background colour.
    plat::Color todayBackgroundColor() const { return _todayBackgroundColor.value_or(backgroundColor()); }
    void setTodayBackgroundColor(std::optional<plat::Color> color);
    // Falls back to the text colour.
    plat::Color todayTextColor() const { return _todayTextColor.value_or(textColor()); }
    void setTodayTextColor(std::optional<plat::Color> color);
    const plat::Font& todayFont() const { return _todayFont; }
    void setTodayFont(const plat::Font& font);
    // The day slots' font (none: the render engine's default). Read at the next drawing.
    const std::optional<plat::Font>& calendarFont() const { return _calendarFont; }
    void setCalendarFont(std::optional<plat::Font> font) { _calendarFont = std::move(font); }
    // Read when the day slots are drawn and when the year and decade pages refresh.
    const plat::Color& selectionBackgroundColor() const { return _selectionBackgroundColor; }
    void setSelectionBackgroundColor(const plat::Color& color) { _selectionBackgroundColor = color; }
    // Falls back to the text colour.
    plat::Color selectionTextColor() const { return _selectionTextColor.value_or(textColor()); }
    void setSelectionTextColor(std::optional<plat::Color> color) { _selectionTextColor = color; }

    // The weekday row. Its background may be none (the views then show no background).
    const std::optional<plat::Color>& dayOfWeekBackgroundColor() const { return _dayOfWeekBackgroundColor; }
    void setDayOfWeekBackgroundColor(std::optional<plat::Color> color);
    const plat::Font& dayOfWeekFont() const { return _dayOfWeekFont; }
    void setDayOfWeekFont(const plat::Font& font);
    std::int64_t dayOfWeekFormat() const { return _dayOfWeekFormat; }
    void setDayOfWeekFormat(std::int64_t format);
    // Falls back to the text colour.
    plat::Color dayOfWeekTextColor() const { return _dayOfWeekTextColor.value_or(textColor()); }
    void setDayOfWeekTextColor(std::optional<plat::Color> color);

    // The header. Background falls back to the background colour, text colour to the text colour.
    plat::Color headerBackgroundColor() const { return _headerBackgroundColor.value_or(backgroundColor()); }
    void setHeaderBackgroundColor(std::optional<plat::Color> color);
    const std::optional<plat::Font>& headerFont() const { return _headerFont; }
    void setHeaderFont(std::optional<plat::Font> font);
    plat::Color headerTextColor() const { return _headerTextColor.value_or(textColor()); }
    void setHeaderTextColor(std::optional<plat::Color> color);
    // The month title's date pattern (none: the header's own).
    const std::optional<std::string>& headerMonthFormat() const { return _headerMonthFormat; }
    void setHeaderMonthFormat(std::optional<std::string> format);
    bool showHeader() const { return _showHeader; }
    void setShowHeader(bool show);
    bool showNavigationButtons() const { return _showNavigationButtons; }
    void setShowNavigationButtons(bool show);
    // Turns dates into the header's texts (a formatter of the process's current locale at first).
    const std::shared_ptr<IKivoValueFormatter>& valueFormatter() const { return _valueFormatter; }
    void setValueFormatter(std::shared_ptr<IKivoValueFormatter> formatter);

    // All drawn slots paint through it.
    const std::shared_ptr<KivoRenderEngine>& renderEngine() const { return _renderEngine; }
    const std::shared_ptr<KivoDateUtil>& dateUtil() const { return _dateUtil; }

    // ---- Modes and dates ----
    // Month, year or decade (KivoCalendarViewMode). Codes outside 0...2 are kept, leave the pages'
    // visibility as it was and lay out as month mode.
    std::int64_t viewMode() const { return _viewMode; }
    void setViewMode(std::int64_t mode);
    std::int64_t orientation() const { return _orientation; }
    void setOrientation(std::int64_t orientation);
    // 1 (Sunday) to 7 (Saturday); other values are refused with a log line.
    std::int64_t firstDayOfWeek() const { return _firstDayOfWeek; }
    void setFirstDayOfWeek(std::int64_t day);

    // The date whose month, year or decade is shown. No date is ignored; another time of the same day
    // changes nothing but the header's date.
    plat::Date displayDate() const { return _displayDate; }
    void setDisplayDate(KivoOptionalDate date);
    // Today, for the slots (the moment of creation until set).
    plat::Date currentDate() const { return _currentDate; }
    void setCurrentDate(plat::Date date) { _currentDate = date; }
    plat::Date currentMonth() const { return _currentMonth; }
    void setCurrentMonth(plat::Date date) { _currentMonth = date; }
    // The month or year the year and decade pages mark as chosen (read when they refresh).
    plat::Date highlightDate() const { return _highlightDate; }
    void setHighlightDate(plat::Date date) { _highlightDate = date; }
    // Setting another index moves currentMonth to the display date plus that many months.
    std::int64_t currentViewIndex() const { return _currentViewIndex; }
    void setCurrentViewIndex(std::int64_t index);
    // A size given by a hosting layer; layout uses each of its dimensions that is above zero in place
    // of the frame's.
    plat::Size xfCalendarSize() const { return _xfCalendarSize; }
    void setXfCalendarSize(plat::Size size) { _xfCalendarSize = size; }

    bool isAnimated() const { return _isAnimated; }
    void setIsAnimated(bool animated) { _isAnimated = animated; }
    // While false, taps, swipes and the navigation calls are ignored.
    bool isEnabled() const { return _isEnabled; }
    void setIsEnabled(bool enabled) { _isEnabled = enabled; }
    const std::shared_ptr<KivoAnimation>& navigateAnimation() const { return _navigateAnimation; }
    void setNavigateAnimation(std::shared_ptr<KivoAnimation> animation) { _navigateAnimation = std::move(animation); }
    const std::shared_ptr<KivoCalendarViewModeAnimation>& viewModeAnimation() const { return _viewModeAnimation; }
    void setViewModeAnimation(std::shared_ptr<KivoCalendarViewModeAnimation> animation) {
        _viewModeAnimation = std::move(animation);
    }

    // ---- Selection ----
    // 0: taps select nothing; 1: one date; n >= 2: ranges of at most n days; negative: ranges without
    // a bound. A count that selects no range drops the anchor of a range begun before.
    std::int32_t maxSelectionCount() const { return _maxSelectionCount; }
    void setMaxSelectionCount(std::int32_t count);
    // The first and last day that can be chosen (none: no bound); both can be chosen themselves.
    const KivoOptionalDate& minDate() const { return _minDate; }
    void setMinDate(KivoOptionalDate date);
    const KivoOptionalDate& maxDate() const { return _maxDate; }
    void setMaxDate(KivoOptionalDate date);
    // True for no date, and for a day before minDate's or after maxDate's.
    bool isDateDisabled(KivoOptionalDate date) const;

    // The single selected date. Setting it redraws the slots of the new and the old day in the month
    // shown; the range, the anchor and the delegate are not touched.
    const KivoOptionalDate& selectedDate() const { return _selectedDate; }
    void setSelectedDate(KivoOptionalDate date);
    // The selected range, bound to this control. Setting it replaces the object and nothing else.
    const std::shared_ptr<KivoCalendarRange>& selectedDates() const { return _selectedDates; }
    void setSelectedDates(std::shared_ptr<KivoCalendarRange> range) { _selectedDates = std::move(range); }
    // True between the anchor tap of a range and the tap that completes it.
    bool isMultiSelected() const { return _isMultiSelected; }

    // A tap on a drawn day slot: selects the day (or extends the range from its anchor), or, on a day
    // of a neighbouring month, selects it and moves there. Disabled days are ignored.
    void handleDaySlotTapGesture(const std::shared_ptr<KivoCalendarDaySlotBase>& slot);
    // The same for a slot that hosts a view of the application: every tap on a neighbouring month's
    // day moves there, also in the middle of a range.
    void handleViewDaySlotTapGesture(const std::shared_ptr<KivoCalendarDaySlotBase>& slot);
    // The slot's cell on the current, next or previous month page, in that order; -1 on none.
    std::int64_t getDaySlotIndex(const std::shared_ptr<plat::View>& slot) const;

    // ---- Navigation ----
    // One page forward (direction > 0) or back, unless the nearest day of that page is disabled or a
    // move is already running. Animated moves slide header and body frame by frame.
    void selectAdjacentView(std::int64_t direction);
    // Whether the day of the adjacent page nearest to the current one is disabled.
    bool isAdjacentMonthOrYearDisabled(std::int64_t direction) const;
    // selectAdjacentView(+1 / -1) while the control is enabled.
    void goForwardAsync();
    void goBackwardAsync();
    // Changes the view mode through the header (zooming when animated); nothing without a header.
    void changeViewModeAsync(std::int64_t mode, KivoOptionalDate date);
    // A page move runs.
    bool isAnimating() const { return _isAnimating; }
    // The four swipe recognisers: left, right, up, down.
    const std::vector<std::shared_ptr<plat::SwipeGestureRecognizer>>& swipeGestureRecognizers() const { return _swipes; }

    // ---- Parts ----
    const std::shared_ptr<KivoCalendarHeaderView>& headerView() const { return _headerView; }
    const std::shared_ptr<plat::View>& bodyView() const { return _bodyView; }
    void setBodyView(std::shared_ptr<plat::View> view) { _bodyView = std::move(view); }
    // One view per column, left to right (labels unless a template replaced one).
    const std::vector<std::shared_ptr<plat::View>>& weekdayLabels() const { return _weekdayLabels; }
    // The paging scroll view inside the body (the user cannot drag it).
    const std::shared_ptr<plat::ScrollView>& scrollView() const { return _scrollView; }
    const std::shared_ptr<KivoCalendarMonthView>& monthViewCurrent() const { return _monthViewCurrent; }
    const std::shared_ptr<KivoCalendarMonthView>& monthViewNext() const { return _monthViewNext; }
    const std::shared_ptr<KivoCalendarMonthView>& monthViewPrev() const { return _monthViewPrev; }
    const std::shared_ptr<KivoCalendarYearView>& yearViewCurrent() const { return _yearViewCurrent; }
    const std::shared_ptr<KivoCalendarDecadeView>& decadeViewCurrent() const { return _decadeViewCurrent; }
    const std::shared_ptr<KivoCalendarDecadeView>& decadeViewNext() const { return _decadeViewNext; }
    const std::shared_ptr<KivoCalendarDecadeView>& decadeViewPrev() const { return _decadeViewPrev; }

    // ---- Operations ----
    // Lays out header and pages again and refills the month pages.
    void refresh();
    void respondToOrientationChanged() override;
    // Loads the whole URL on the calling thread; nothing for a text that is no URL, a URL that gives
    // no data, or data that is no image.
    std::shared_ptr<plat::Image> getImage(const std::string& url);
    // A font from a font-attribute dictionary: "NSFontNameAttribute" (a face name such as
    // "HelveticaNeue-Bold"), "NSFontFamilyAttribute" and "NSFontSizeAttribute"; unusable entries are
    // left out.
    plat::Font getDecriptor(const plat::Value& attributes);

    // ---- Layout ----
    void layoutSubviews() override;

protected:
    explicit KivoCalendar(const plat::Rect& frame) : KivoView(frame) {}
    void initialize() override;
    void _initInternals();

private:
    friend struct kivo::detail::CalendarTestAccess;

    // Page dates: the display date plus i months (years, decades).
    KIVO_CALENDAR_NO_EXPORT void _updateMonthView(const std::shared_ptr<KivoCalendarMonthView>& view, std::int64_t index);
    KIVO_CALENDAR_NO_EXPORT void _updateYearView(const std::shared_ptr<KivoCalendarYearView>& view, std::int64_t index);
    KIVO_CALENDAR_NO_EXPORT void _updateDecadeView(const std::shared_ptr<KivoCalendarDecadeView>& view, std::int64_t index);
    KIVO_CALENDAR_NO_EXPORT void _reloadMonthView();
    KIVO_CALENDAR_NO_EXPORT void _reloadYearView();
    KIVO_CALENDAR_NO_EXPORT void _reloadDecadeView();
    // The page length along the paging axis, the step from one page to the next, and the content.
    KIVO_CALENDAR_NO_EXPORT double _getScrollViewWidth() const;
    KIVO_CALENDAR_NO_EXPORT plat::Size _getScrollViewOffset() const;
    KIVO_CALENDAR_NO_EXPORT plat::Size _getScrollViewContentSize() const;
    KIVO_CALENDAR_NO_EXPORT double _getScrollViewContentOffset() const;
    // The current and the next month page trade roles when the current one lies further along.
    KIVO_CALENDAR_NO_EXPORT void _switchMonthViews();
    // Redraws today's slot on the current month page.
    KIVO_CALENDAR_NO_EXPORT void _refreshTodaySlot();
    // The weekday names for the format, rotated to start at the first day of the week.
    KIVO_CALENDAR_NO_EXPORT std::vector<std::string> _getWeekdaySymbols() const;
    KIVO_CALENDAR_NO_EXPORT void _initWeekdayLabels();

    // The swipe road: a swipe along the orientation moves a page (+1 forward, -1 back).
    KIVO_CALENDAR_NO_EXPORT void _respondToSwipe(std::int64_t direction, bool vertical);
    // Starts the animation that slides the pages towards `direction`.
    KIVO_CALENDAR_NO_EXPORT void _startSwipeAnimationTask(std::int64_t direction);
    // One frame of a move, `elapsed` seconds after its first (start delay included).
    KIVO_CALENDAR_NO_EXPORT void _animationTask(double elapsed, std::int64_t direction);
    // The end of a move: the ring of pages turns and the new display date is taken.
    KIVO_CALENDAR_NO_EXPORT void _nextAnimationFinished();
    KIVO_CALENDAR_NO_EXPORT void _prevAnimationFinished();

    // Every slot of the three month pages asks to be drawn again.
    KIVO_CALENDAR_NO_EXPORT void redrawMonthSlots();
    // The year and decade pages take the calendar's colours and marks again.
    KIVO_CALENDAR_NO_EXPORT void refreshYearAndDecadePages();
    // Redraws the slots of the current month page whose day is `date`.
    KIVO_CALENDAR_NO_EXPORT void redrawSlotsOfDay(plat::Date date);
    KIVO_CALENDAR_NO_EXPORT void applyWeekdayTexts();
    KIVO_CALENDAR_NO_EXPORT void layoutWeekdayRow();
    KIVO_CALENDAR_NO_EXPORT void layoutFrames();
    KIVO_CALENDAR_NO_EXPORT void handleTap(const std::shared_ptr<KivoCalendarDaySlotBase>& slot, bool adjacentAlwaysMoves);
    KIVO_CALENDAR_NO_EXPORT void moveAdjacent(std::int64_t direction);
    KIVO_CALENDAR_NO_EXPORT void animationFinished(std::int64_t direction);
    // The animation of a move has run out: the move ends as an unanimated one would.
    KIVO_CALENDAR_NO_EXPORT void moveEnded(std::int64_t direction);
    // Takes a new display date as every road does: the current month and view index follow it.
    KIVO_CALENDAR_NO_EXPORT void adoptDisplayDate(plat::Date date);
    KIVO_CALENDAR_NO_EXPORT void notifySelection(bool changed);
    // Every slot of the three month pages is redrawn on the next turn of the main queue.
    KIVO_CALENDAR_NO_EXPORT void queueMonthSlotsRedraw();
    // The layout mark: -1 lays the view out again at the next pass, 0 means laid out.
    KIVO_CALENDAR_NO_EXPORT static void markForLayout(plat::View& view, bool zeroFrame);

    std::weak_ptr<KivoCalendarDelegate> _delegate;
    std::shared_ptr<KivoCalendarDelegate> _strongDelegate;
    bool _delegateAssignmentFlag = false;
    plat::Rect _previousFrame;
    plat::Size _xfCalendarSize;

    std::optional<plat::Color> _textColor, _backgroundColor, _todayBackgroundColor, _todayTextColor, _selectionTextColor;
    std::optional<plat::Color> _dayOfWeekBackgroundColor, _dayOfWeekTextColor, _headerBackgroundColor, _headerTextColor;
    plat::Color _borderColor = plat::Color::clear();
    double _borderWidth = 0;
    plat::Color _disabledTextColor = DEFAULT_DISABLED_COLOR;
    plat::Color _adjacentDayTextColor = DEFAULT_ADJACENT_TEXT_COLOR;
    plat::Color _dayBorderColor = plat::Color::black();
    double _dayBorderWidth = 0;
    plat::Color _selectionBackgroundColor = DEFAULT_SELECTION_BACKGROUND_COLOR;
    plat::Font _todayFont = plat::Font::boldSystem(12);
    std::optional<plat::Font> _calendarFont;
    plat::Font _dayOfWeekFont = plat::Font::system(12);
    std::int64_t _dayOfWeekFormat = KivoCalendarDayOfWeekFormatShort;
    std::optional<plat::Font> _headerFont;
    std::optional<std::string> _headerMonthFormat;
    bool _showHeader = true;
    bool _showNavigationButtons = true;
    std::shared_ptr<IKivoValueFormatter> _valueFormatter;
    std::shared_ptr<KivoEvent> _headerLoading;
    std::shared_ptr<IDaySlotTemplate> _daySlotTemplate;
    std::shared_ptr<IAdjacentDaySlotTemplate> _adjacentDaySlotTemplate;
    std::shared_ptr<IDayOfWeekSlotTemplate> _dayOfWeekSlotTemplate;

    std::int64_t _viewMode = KivoCalendarViewModeMonth;
    std::int64_t _orientation = KivoCalendarOrientationHorizontal;
    std::int64_t _firstDayOfWeek = 1;
    plat::Date _displayDate, _currentDate, _currentMonth, _highlightDate;
    std::int64_t _currentViewIndex = 0;
    bool _isAnimated = true;
    bool _isEnabled = true;
    std::shared_ptr<KivoAnimation> _navigateAnimation;
    std::shared_ptr<KivoCalendarViewModeAnimation> _viewModeAnimation;

    std::int32_t _maxSelectionCount = 1;
    KivoOptionalDate _minDate, _maxDate, _selectedDate;
    std::shared_ptr<KivoCalendarRange> _selectedDates;
    bool _isMultiSelected = false;

    bool _isAnimating = false;
    std::shared_ptr<KivoAnimationDriver> _animationDriver;
    double _animationTime = 0;
    // The timing of the running move, taken from navigateAnimation when it started.
    double _moveDuration = 0, _moveDelay = 0;
    KivoEasePtr _moveEasing;
    std::vector<std::shared_ptr<plat::SwipeGestureRecognizer>> _swipes;

    std::shared_ptr<KivoRenderEngine> _renderEngine;
    std::shared_ptr<KivoDateUtil> _dateUtil;
    std::shared_ptr<KivoCalendarHeaderView> _headerView;
    std::shared_ptr<plat::View> _bodyView;
    std::vector<std::shared_ptr<plat::View>> _weekdayLabels;
    std::shared_ptr<plat::ScrollView> _scrollView;
    std::shared_ptr<KivoCalendarMonthView> _monthViewCurrent, _monthViewNext, _monthViewPrev;
    std::shared_ptr<KivoCalendarYearView> _yearViewCurrent;
    std::shared_ptr<KivoCalendarDecadeView> _decadeViewCurrent, _decadeViewNext, _decadeViewPrev;
};
