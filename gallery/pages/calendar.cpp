// The calendar: March 2024 with today (the 14th), a selected week-long range and the days outside
// the bookable period disabled (so are both header chevrons); beside it, the same month with Monday
// first and one selected date in a look of the application's own.

#include <string>

#include "KivoCalendar/KivoCalendar.h"
#include "KivoCalendar/KivoCalendarRange.h"
#include "Platform/ui/label.h"
#include "Platform/ui/window.h"
#include "gallery_page.h"

namespace {

constexpr plat::Color CaptionColor{0.2, 0.2, 0.2};
constexpr double CaptionHeight = 14;
constexpr double CaptionGap = 4;

void addCaption(plat::Window& window, const plat::Rect& above, const std::string& text) {
    auto label = plat::Label::create({above.x(), above.y() - CaptionHeight - CaptionGap, above.width(), CaptionHeight});
    label->setText(text);
    label->setFont(plat::Font::system(11));
    label->setTextColor(CaptionColor);
    window.addSubview(label);
}

plat::Date day(const KivoCalendar& calendar, int dayOfMarch) {
    return *calendar.dateUtil()->getDateWithYear(2024, 3, dayOfMarch);
}

std::shared_ptr<KivoCalendar> addCalendar(plat::Window& window, const plat::Rect& frame, const std::string& caption) {
    addCaption(window, frame, caption);
    auto calendar = KivoCalendar::create(frame);
    calendar->setCurrentDate(day(*calendar, 14));
    calendar->setDisplayDate(day(*calendar, 14));
    calendar->setBorderColor(plat::Color::rgb255(200, 200, 200));
    calendar->setBorderWidth(1);
    window.addSubview(calendar);
    return calendar;
}

void populate(plat::Window& window) {
    auto booking = addCalendar(window, {16, 36, 308, 330}, "range of up to 7 days, bookable 4-27 March");
    booking->setMaxSelectionCount(7);
    booking->setMinDate(day(*booking, 4));
    booking->setMaxDate(day(*booking, 27));
    booking->selectedDates()->setStartDate(day(*booking, 18));
    booking->selectedDates()->setEndDate(day(*booking, 22));
    booking->setSelectionTextColor(plat::Color::white());
    booking->setTodayTextColor(plat::Color::rgb255(0, 122, 255));
    booking->setDisabledTextColor(plat::Color::rgb255(190, 190, 190));

    auto single = addCalendar(window, {348, 36, 308, 330}, "Monday first, one date, the application's colours");
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
}

const gallery::PageRegistrar registrar({
    .name = "calendar",
    .description = "March 2024 with today on the 14th: a selected range of 18-22 March between disabled days before the "
                   "4th and after the 27th, both header chevrons in the disabled colour since neither neighbouring month "
                   "can be reached; beside it, Monday first with a single selected date, today's tint, thin day borders "
                   "and a header of the application's colours whose chevrons lead on.",
    .size = {672, 382},
    .populate = populate,
});

}  // namespace
