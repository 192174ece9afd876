// The calendar: March 2024 with today (the 14th), a selected week-long range and the days outside
// the bookable period disabled (so are both header chevrons); beside it, the same month with Monday
// first and one selected date in a look of the application's own; then the month with cells of the
// application's (a second text, an image). Below: the year page and a decade page with bounds and a
// chosen month or year, and a year page the application restyles cell by cell.

#include <string>

#include "KivoCalendar/KivoCalendar.h"
#include "KivoCalendar/KivoCalendarDelegate.h"
#include "KivoCalendar/KivoCalendarDetailDaySlot.h"
#include "KivoCalendar/KivoCalendarImageDaySlot.h"
#include "KivoCalendar/KivoCalendarMonthSlot.h"
#include "KivoCalendar/KivoCalendarRange.h"
#include "Platform/graphics/image.h"
#include "Platform/graphics/image_context.h"
#include "Platform/ui/label.h"
#include "Platform/ui/window.h"
#include "caption.h"
#include "gallery_page.h"

namespace {

constexpr double CaptionHeight = 14;
constexpr double CaptionGap = 4;

constexpr double Margin = 16;
constexpr double Top = 36;
constexpr double CalendarWidth = 308;
constexpr double CalendarHeight = 330;
constexpr double ColumnGap = 24;
constexpr double RowGap = 40;

plat::Rect cell(int column, int row) {
    return {Margin + column * (CalendarWidth + ColumnGap), Top + row * (CalendarHeight + RowGap), CalendarWidth, CalendarHeight};
}

// Inside a month cell of the agenda: the day number at the top left, the note under it; the icon
// under a centred day number.
constexpr plat::Rect AgendaDayRect{4, 3, 36, 15};
constexpr plat::Rect AgendaNoteRect{4, 20, 40, 20};
constexpr plat::Rect IconDayRect{0, 2, 44, 20};
constexpr plat::Rect IconRect{13, 22, 18, 16};
constexpr double IconSize = 16;

plat::Date day(const KivoCalendar& calendar, int dayOfMarch) {
    return *calendar.dateUtil()->getDateWithYear(2024, 3, dayOfMarch);
}

std::shared_ptr<KivoCalendar> addCalendar(plat::Window& window, const plat::Rect& frame, const std::string& caption) {
    gallery::addCaption(window, {frame.x(), frame.y() - CaptionHeight - CaptionGap, frame.width(), CaptionHeight}, caption);
    auto calendar = KivoCalendar::create(frame);
    calendar->setCurrentDate(day(*calendar, 14));
    calendar->setDisplayDate(day(*calendar, 14));
    calendar->setBorderColor(plat::Color::rgb255(200, 200, 200));
    calendar->setBorderWidth(1);
    window.addSubview(calendar);
    return calendar;
}

// A small drawn icon for the image cells: a sun (filled disc with a ring of dots).
std::shared_ptr<plat::Image> sunIcon() {
    plat::ImageContext image({IconSize, IconSize}, 2);
    plat::Context& ctx = image.context();
    ctx.setFillColor(plat::Color::rgb255(244, 162, 28));
    ctx.fillEllipse({4, 4, 8, 8});
    constexpr double Dot = 2.4;
    const plat::Point rays[] = {{8, 1.5}, {8, 14.5}, {1.5, 8}, {14.5, 8}, {3.4, 3.4}, {12.6, 3.4}, {3.4, 12.6}, {12.6, 12.6}};
    for (const plat::Point& p : rays) ctx.fillEllipse({p.x - Dot / 2, p.y - Dot / 2, Dot, Dot});
    return image.finish();
}

// Puts agenda cells (a note under the day) and icon cells (a sun under the day) into March.
class AgendaDelegate : public KivoCalendarDelegate {
public:
    std::optional<std::shared_ptr<KivoCalendarDaySlotBase>> daySlotLoading(
        const std::shared_ptr<KivoCalendar>& calendar, std::optional<plat::Date> date, bool,
        const std::shared_ptr<KivoCalendarDaySlotBase>& slot) override {
        const auto day = calendar->dateUtil()->getDayFromDate(date).value_or(0);
        if (day == 5 || day == 12 || day == 26) {
            auto agenda = KivoCalendarDetailDaySlot::create(calendar, slot->frame());
            agenda->setDayTextRect(AgendaDayRect);
            agenda->setDayFont(plat::Font::boldSystem(11));
            agenda->setDetailText(day == 5 ? "Dentist" : day == 12 ? "Team day" : "Trip");
            agenda->setDetailTextRect(AgendaNoteRect);
            agenda->setDetailTextColor(plat::Color::rgb255(38, 110, 160));
            return agenda;
        }
        if (day == 9 || day == 16 || day == 23) {
            auto sunny = KivoCalendarImageDaySlot::create(calendar, slot->frame());
            sunny->setDayTextRect(IconDayRect);
            sunny->setImageSource(_sun);
            sunny->setImageRect(IconRect);
            sunny->setImageAspect(0);
            return sunny;
        }
        return std::nullopt;
    }

private:
    std::shared_ptr<plat::Image> _sun = sunIcon();
};

// Pushes every month name to the bottom left of its cell and tints the second quarter.
class QuarterDelegate : public KivoCalendarDelegate {
public:
    void monthSlotLoading(const std::shared_ptr<KivoCalendar>&, std::uint64_t month,
                          const std::shared_ptr<KivoCalendarMonthSlotBase>& slot) override {
        auto label = std::dynamic_pointer_cast<KivoCalendarMonthSlot>(slot);
        if (!label) return;
        label->setPadding({4, 4, 6, 4});
        label->setMonthHorizontalAlignment(0);
        label->setMonthVerticalAlignment(2);
        if (month >= 4 && month <= 6) label->setBackgroundColor(plat::Color::rgb255(233, 241, 244));
    }
};

void populate(plat::Window& window) {
    auto booking = addCalendar(window, cell(0, 0), "range of up to 7 days, bookable 4-27 March");
    booking->setMaxSelectionCount(7);
    booking->setMinDate(day(*booking, 4));
    booking->setMaxDate(day(*booking, 27));
    booking->selectedDates()->setStartDate(day(*booking, 18));
    booking->selectedDates()->setEndDate(day(*booking, 22));
    booking->setSelectionTextColor(plat::Color::white());
    booking->setTodayTextColor(plat::Color::rgb255(0, 122, 255));
    booking->setDisabledTextColor(plat::Color::rgb255(190, 190, 190));

    auto single = addCalendar(window, cell(1, 0), "Monday first, one date, the application's colours");
    single->setFirstDayOfWeek(2);
    single->setDayOfWeekFormat(KivoCalendarDayOfWeekFormatVeryShort);
    single->setSelectedDate(day(*single, 8));
    single->setSelectionBackgroundColor(plat::Color::rgb255(232, 93, 4));
    single->setSelectionTextColor(plat::Color::white());
    single->setTodayBackgroundColor(plat::Color::rgb255(255, 236, 209));
    single->setHeaderBackgroundColor(plat::Color::rgb255(38, 70, 83));
    single->setHeaderTextColor(plat::Color::white());
    single->setDayOfWeekBackgroundColor(plat::Color::rgb255(233, 241, 244));
    single->setDayOfWeekTextColor(plat::Color::rgb255(38, 70, 83));
    single->setDayBorderColor(plat::Color::rgb255(225, 225, 225));
    single->setDayBorderWidth(0.5);

    auto agenda = addCalendar(window, cell(2, 0), "cells of the application's: notes and icons");
    agenda->setStrongDelegate(std::make_shared<AgendaDelegate>());
    agenda->setDayBorderColor(plat::Color::rgb255(225, 225, 225));
    agenda->setDayBorderWidth(0.5);
    agenda->setSelectedDate(day(*agenda, 12));
    agenda->setSelectionBackgroundColor(plat::Color::rgb255(220, 236, 250));

    auto year = addCalendar(window, cell(0, 1), "year page: March chosen, bookable 10 Feb-20 Oct");
    year->setViewMode(KivoCalendarViewModeYear);
    year->setHighlightDate(day(*year, 14));
    year->setMinDate(*year->dateUtil()->getDateWithYear(2024, 2, 10));
    year->setMaxDate(*year->dateUtil()->getDateWithYear(2024, 10, 20));
    year->setSelectionTextColor(plat::Color::white());
    year->setDisabledTextColor(plat::Color::rgb255(190, 190, 190));

    auto decade = addCalendar(window, cell(1, 1), "decade page: 2024 chosen, nothing before 2021");
    decade->setViewMode(KivoCalendarViewModeDecade);
    decade->setHighlightDate(day(*decade, 14));
    decade->setMinDate(*decade->dateUtil()->getDateWithYear(2021, 1, 1));
    decade->setSelectionTextColor(plat::Color::white());
    decade->setDisabledTextColor(plat::Color::rgb255(200, 200, 200));

    auto styled = addCalendar(window, cell(2, 1), "year page restyled by the application, cell borders");
    styled->setViewMode(KivoCalendarViewModeYear);
    styled->setStrongDelegate(std::make_shared<QuarterDelegate>());
    styled->setHighlightDate(day(*styled, 14));
    styled->setSelectionBackgroundColor(plat::Color::rgb255(232, 93, 4));
    styled->setSelectionTextColor(plat::Color::white());
    styled->setDayBorderColor(plat::Color::rgb255(210, 210, 210));
    styled->setDayBorderWidth(0.5);
    styled->setHeaderBackgroundColor(plat::Color::rgb255(38, 70, 83));
    styled->setHeaderTextColor(plat::Color::white());
}

const gallery::PageRegistrar registrar({
    .name = "calendar",
    .description = "March 2024 with today on the 14th: a selected range of 18-22 March between disabled days before the "
                   "4th and after the 27th, both header chevrons in the disabled colour since neither neighbouring month "
                   "can be reached; beside it, Monday first with a single selected date, today's tint, thin day borders "
                   "and a header of the application's colours whose chevrons lead on; then March with cells of the "
                   "application's, a note under the day or an icon under it. Below, the year page of 2024 with March "
                   "chosen and the months outside 10 February-20 October disabled, the 2020s framed by 2019 and 2030 with "
                   "2024 chosen and the years before 2021 disabled, and a year page whose cells the application padded, "
                   "aligned to the bottom left and tinted for the second quarter.",
    .size = {Margin * 2 + 3 * CalendarWidth + 2 * ColumnGap, Top + 2 * CalendarHeight + RowGap + Margin},
    .populate = populate,
});

}  // namespace
