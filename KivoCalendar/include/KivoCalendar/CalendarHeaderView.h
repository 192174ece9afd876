#pragma once
// The strip at the top of the calendar: the title of the page shown (a month with its year, a year,
// or a decade) between two chevron buttons that move one page back or forward. The titles of the
// neighbouring pages wait beside it in a strip that slides with the pages; a tap on the title zooms
// out (month, year, decade) and from the decade back in to the month.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "KivoCalendar/KivoCalendarExport.h"
#include "KivoCalendar/KivoDateUtil.h"
#include "Platform/graphics/color.h"
#include "Platform/graphics/font.h"
#include "Platform/ui/button.h"
#include "Platform/ui/view.h"

class KivoCalendar;
class KivoCalendarHeaderLoadingEventArgs;

namespace plat {
class Label;
class ScrollView;
namespace dispatch {
class AsyncSemaphore;
}
}  // namespace plat

// A header button: a chevron drawn in the header's text colour, or in the calendar's disabled colour
// when the page it leads to cannot be reached.
class KIVO_CALENDAR_EXPORT KivoCalendarHeaderButton : public plat::Button {
public:
    static std::shared_ptr<KivoCalendarHeaderButton> create(bool isNextButton);

    // Not owned.
    std::shared_ptr<KivoCalendar> kivoCalendar() const { return _kivoCalendar.lock(); }
    void setKivoCalendar(const std::shared_ptr<KivoCalendar>& calendar) { _kivoCalendar = calendar; }
    bool isNextButton() const { return _isNextButton; }
    void setIsNextButton(bool next) { _isNextButton = next; }

    // The colour the chevron is drawn in now.
    plat::Color arrowColor() const;
    void drawRect(plat::Context& context, const plat::Rect& rect) override;

    static constexpr double ArrowThickness = 2.0;
    // The chevron's box is the button's square less this share of its side on every edge.
    static constexpr double ArrowInsetDivisor = 6;

protected:
    explicit KivoCalendarHeaderButton(const plat::Rect& frame) : plat::Button(frame) {}

private:
    void drawArrow(double x, double y, double w, double h) const;

    std::weak_ptr<KivoCalendar> _kivoCalendar;
    bool _isNextButton = false;
};

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

    // Button actions and the title tap.
    void _selectPrevView();
    void _selectNextView();
    void _respondToTapGesture(plat::Point locationInHeader);

protected:
    explicit KivoCalendarHeaderView(const plat::Rect& frame) : plat::View(frame) {}
    void initialize() override;

private:
    void _setHeaderText(KivoOptionalDate date);
    std::string _getDecadeViewHeader(KivoOptionalDate date, std::int64_t index) const;
    std::string formatValue(KivoOptionalDate date) const;
    // The pattern of the titles of the calendar's view mode.
    std::string titleFormat(std::int64_t viewMode) const;
    void onHeaderLoading(const std::shared_ptr<KivoCalendarHeaderLoadingEventArgs>& args);
    double _getHeaderScrollViewWidth() const;
    plat::Size _getHeaderScrollViewOffset() const;
    plat::Size _getHeaderScrollViewContentSize() const;
    bool isVertical() const;
    // The mode, the date and the titles of a mode change, between its two halves.
    void applyViewMode(std::int64_t mode, KivoOptionalDate date, plat::Date titleDate);
    void endViewModeChange();

    std::weak_ptr<KivoCalendar> _kivoCalendar;
    KivoOptionalDate _headerDate;
    std::shared_ptr<plat::ScrollView> _headerScrollView;
    std::shared_ptr<plat::Label> _headerCurrent, _headerNext, _headerPrev;
    std::shared_ptr<KivoCalendarHeaderButton> _btnPrev, _btnNext;
    std::string _monthFormat = DefaultMonthFormat;
    std::shared_ptr<KivoCalendarHeaderLoadingEventArgs> _args;
    std::shared_ptr<plat::dispatch::AsyncSemaphore> _semaphore;
    bool _isSignal = false;
    int _runningModeChanges = 0;
    bool _waitingForModeChange = false;
    plat::Rect _previousFrame;
};
