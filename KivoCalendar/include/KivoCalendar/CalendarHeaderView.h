#pragma once
// The strip at the top of the calendar: the title of the page shown (a month with its year, a year,
// or a decade), in the calendar's header colours and font.

#include <memory>
#include <optional>
#include <string>

#include "KivoCalendar/KivoCalendarExport.h"
#include "KivoCalendar/KivoDateUtil.h"
#include "Platform/graphics/color.h"
#include "Platform/graphics/font.h"
#include "Platform/ui/view.h"

class KivoCalendar;

namespace plat {
class Label;
}

class KIVO_CALENDAR_EXPORT KivoCalendarHeaderView : public plat::View {
public:
    static std::shared_ptr<KivoCalendarHeaderView> create(const plat::Rect& frame = {});

    // Not owned. A new calendar hands the header its colours and font.
    std::shared_ptr<KivoCalendar> kivoCalendar() const { return _kivoCalendar.lock(); }
    void setKivoCalendar(const std::shared_ptr<KivoCalendar>& calendar);

    // The date whose page the title names; the title is rebuilt when the header has a calendar.
    const KivoOptionalDate& headerDate() const { return _headerDate; }
    void setHeaderDate(KivoOptionalDate date);
    // The title as shown.
    const std::string& title() const;

    // Lays the title out again and rebuilds it for the header date.
    void refresh();
    void setHeaderTextColor(const plat::Color& color);
    void setHeaderFont(const std::optional<plat::Font>& font);
    // The month title's date pattern ("MMMM yyyy" at first); none keeps the current one.
    void setHeaderMonthFormat(const std::optional<std::string>& format);
    const std::string& headerMonthFormat() const { return _monthFormat; }
    // The header has no navigation buttons of its own yet: the setting is kept for when it has.
    void setShowNavigationButtons(bool show) { _showNavigationButtons = show; }
    bool showNavigationButtons() const { return _showNavigationButtons; }
    // Redraws what depends on whether the neighbouring pages can be reached.
    void updateButtonTextColor() { setNeedsDisplay(); }

    static constexpr const char* DefaultMonthFormat = "MMMM yyyy";
    static constexpr const char* YearFormat = "yyyy";
    static constexpr double DefaultTitleSize = 17;

    void layoutSubviews() override;

protected:
    explicit KivoCalendarHeaderView(const plat::Rect& frame) : plat::View(frame) {}
    void initialize() override;

private:
    std::string titleFor(const std::shared_ptr<KivoCalendar>& calendar, plat::Date date) const;

    std::weak_ptr<KivoCalendar> _kivoCalendar;
    KivoOptionalDate _headerDate;
    std::shared_ptr<plat::Label> _headerCurrent;
    std::string _monthFormat = DefaultMonthFormat;
    bool _showNavigationButtons = true;
};
