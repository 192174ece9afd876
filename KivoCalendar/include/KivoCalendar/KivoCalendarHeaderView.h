#pragma once
// The calendar's top band. It names the visible page and flanks that title with the two chevron
// buttons that page back and forth. The neighbours' titles are laid out in a scrolling strip so they
// can slide in step with the body; tapping the title steps to the coarser mode, and from the
// coarsest one returns to months.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "KivoCalendar/KivoCalendarExport.h"
#include "KivoCalendar/KivoCalendarHeaderButton.h"
#include "KivoCalendar/KivoDateUtil.h"
#include "Platform/graphics/color.h"
#include "Platform/graphics/font.h"
#include "Platform/ui/button.h"
#include "Platform/ui/view.h"

class KivoCalendar;
class KivoCalendarHeaderLoadingEventArgs;

namespace kivo::detail {
// What the tests read and call of the calendar's inner workings; defined by the tests alone.
struct CalendarTestAccess;
}  // namespace kivo::detail

namespace plat {
class Label;
class ScrollView;
namespace dispatch {
class AsyncSemaphore;
}
}  // namespace plat

class KIVO_CALENDAR_EXPORT KivoCalendarHeaderView : public plat::View {
public:
    static std::shared_ptr<KivoCalendarHeaderView> create(const plat::Rect& frame = {});
    ~KivoCalendarHeaderView() override;

    // Not owned. A new calendar hands the header its colours, font and button setting.
    std::shared_ptr<KivoCalendar> kivoCalendar() const { return _kivoCalendar.lock(); }
    void setKivoCalendar(const std::shared_ptr<KivoCalendar>& calendar);

    // The date whose page the title names. With a calendar, the titles are built again: the
    // application may give its own current title through the calendar's headerLoading event (or its
    // delegate's handleHeaderLoading); the neighbours' titles are always the header's own.
    const KivoOptionalDate& headerDate() const { return _headerDate; }
    void setHeaderDate(KivoOptionalDate date);
    // The current title as shown.
    const std::string& title() const;

    // Lays the strip out again and rebuilds the titles for the date of the last title pass.
    void refresh();
    void setHeaderTextColor(const plat::Color& color);
    void setHeaderFont(const std::optional<plat::Font>& font);
    // The month title's date pattern ("MMMM yyyy" at first); none keeps the current one. Japanese
    // and Chinese users get "yyyy年M月" whatever it says.
    void setHeaderMonthFormat(const std::optional<std::string>& format);
    const std::string& headerMonthFormat() const { return _monthFormat; }
    void setShowNavigationButtons(bool show);
    // Both buttons redraw: their colour depends on whether the neighbouring pages can be reached.
    void updateButtonTextColor();

    // The title slide of a page move: t seconds into it (after its start delay), towards the next
    // page or the previous one; and its end, which makes the title that slid in the current one.
    void headerAnimationTask(double t, bool next);
    void headerAnimationFinished(bool next);

    // Changes the calendar's view mode to `mode`, zooming the body out and in when the calendar is
    // animated, and shows `date` (none: the display date stays).
    void changeViewModeAsync(std::int64_t mode, KivoOptionalDate date);
    // A mode change (or the second change of a tap on the decade title) is under way; title taps are
    // ignored meanwhile.
    bool isChangingViewMode() const { return _runningModeChanges > 0 || _waitingForModeChange; }

    // ---- Parts ----
    const std::shared_ptr<plat::ScrollView>& headerScrollView() const { return _headerScrollView; }
    const std::shared_ptr<plat::Label>& headerCurrent() const { return _headerCurrent; }
    const std::shared_ptr<plat::Label>& headerNext() const { return _headerNext; }
    const std::shared_ptr<plat::Label>& headerPrev() const { return _headerPrev; }
    const std::shared_ptr<KivoCalendarHeaderButton>& btnPrev() const { return _btnPrev; }
    const std::shared_ptr<KivoCalendarHeaderButton>& btnNext() const { return _btnNext; }

    static constexpr const char* DefaultMonthFormat = "MMMM yyyy";
    static constexpr const char* EastAsianMonthFormat = "yyyy年M月";
    static constexpr const char* YearFormat = "yyyy";
    static constexpr double DefaultTitleSize = 17;
    // The buttons take one of these shares of the width each, the title the rest.
    static constexpr double WidthShares = 7;
    static constexpr double TitleShares = 5;

    void layoutSubviews() override;

protected:
    explicit KivoCalendarHeaderView(const plat::Rect& frame) : plat::View(frame) {}
    void initialize() override;

private:
    friend struct kivo::detail::CalendarTestAccess;

    // Button actions and the title tap.
    KIVO_CALENDAR_NO_EXPORT void _selectPrevView();
    KIVO_CALENDAR_NO_EXPORT void _selectNextView();
    KIVO_CALENDAR_NO_EXPORT void _respondToTapGesture(plat::Point locationInHeader);

    KIVO_CALENDAR_NO_EXPORT void _setHeaderText(KivoOptionalDate date);
    KIVO_CALENDAR_NO_EXPORT std::string _getDecadeViewHeader(KivoOptionalDate date, std::int64_t index) const;
    KIVO_CALENDAR_NO_EXPORT std::string formatValue(KivoOptionalDate date) const;
    // The pattern of the titles of the calendar's view mode.
    KIVO_CALENDAR_NO_EXPORT std::string titleFormat(std::int64_t viewMode) const;
    KIVO_CALENDAR_NO_EXPORT void onHeaderLoading(const std::shared_ptr<KivoCalendarHeaderLoadingEventArgs>& args);
    KIVO_CALENDAR_NO_EXPORT double _getHeaderScrollViewWidth() const;
    KIVO_CALENDAR_NO_EXPORT plat::Size _getHeaderScrollViewOffset() const;
    KIVO_CALENDAR_NO_EXPORT plat::Size _getHeaderScrollViewContentSize() const;
    KIVO_CALENDAR_NO_EXPORT bool isVertical() const;
    // The mode, the date and the titles of a mode change, between its two halves.
    KIVO_CALENDAR_NO_EXPORT void applyViewMode(std::int64_t mode, KivoOptionalDate date, plat::Date titleDate);
    KIVO_CALENDAR_NO_EXPORT void endViewModeChange();

    std::weak_ptr<KivoCalendar> _kivoCalendar;
    KivoOptionalDate _headerDate;
    std::shared_ptr<plat::ScrollView> _headerScrollView;
    std::shared_ptr<plat::Label> _headerCurrent, _headerNext, _headerPrev;
    std::shared_ptr<KivoCalendarHeaderButton> _btnPrev, _btnNext;
    std::string _monthFormat = DefaultMonthFormat;
    // Read once, when the header is made: the user's first preferred language is neither Japanese nor
    // Chinese.
    bool _isEnglish = true;
    std::shared_ptr<KivoCalendarHeaderLoadingEventArgs> _args;
    std::shared_ptr<plat::dispatch::AsyncSemaphore> _semaphore;
    bool _isSignal = false;
    int _runningModeChanges = 0;
    bool _waitingForModeChange = false;
    plat::Rect _previousFrame;
};
