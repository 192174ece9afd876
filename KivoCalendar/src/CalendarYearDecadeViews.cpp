// The year and decade pages as the control holds them: their dates, redrawn when they change.

#include "KivoCalendar/CalendarDecadeView.h"
#include "KivoCalendar/CalendarYearView.h"

std::shared_ptr<KivoCalendarYearView> KivoCalendarYearView::create(const plat::Rect& frame) {
    return initialized(std::shared_ptr<KivoCalendarYearView>(new KivoCalendarYearView(frame)));
}

void KivoCalendarYearView::initialize() {
    plat::View::initialize();
    setBackgroundColor(plat::Color::clear());
}

void KivoCalendarYearView::setYearDate(KivoOptionalDate date) {
    _yearDate = date;
    refresh();
}

std::shared_ptr<KivoCalendarDecadeView> KivoCalendarDecadeView::create(const plat::Rect& frame) {
    return initialized(std::shared_ptr<KivoCalendarDecadeView>(new KivoCalendarDecadeView(frame)));
}

void KivoCalendarDecadeView::initialize() {
    plat::View::initialize();
    setBackgroundColor(plat::Color::clear());
}

void KivoCalendarDecadeView::setDecadeDate(KivoOptionalDate date) {
    _decadeDate = date;
    refresh();
}
