// The header's title: the page's month and year, year or decade, formatted by the calendar's value
// formatter and laid over the whole strip.

#include "KivoCalendar/CalendarHeaderView.h"

#include <cstdio>

#include "KivoCalendar/KivoCalendar.h"
#include "KivoCore/IKivoValueFormatter.h"
#include "KivoCore/KivoDataType.h"
#include "Platform/ui/label.h"

namespace {

constexpr std::int64_t YearsPerDecade = 10;

}  // namespace

std::shared_ptr<KivoCalendarHeaderView> KivoCalendarHeaderView::create(const plat::Rect& frame) {
    return initialized(std::shared_ptr<KivoCalendarHeaderView>(new KivoCalendarHeaderView(frame)));
}

void KivoCalendarHeaderView::initialize() {
    plat::View::initialize();
    _headerCurrent = plat::Label::create();
    _headerCurrent->setTextAlignment(plat::TextAlignment::Center);
    _headerCurrent->setFont(plat::Font::system(DefaultTitleSize, plat::FontWeight::Semibold));
    _headerCurrent->setBackgroundColor(plat::Color::clear());
    addSubview(_headerCurrent);
}

void KivoCalendarHeaderView::setKivoCalendar(const std::shared_ptr<KivoCalendar>& calendar) {
    if (calendar == _kivoCalendar.lock()) return;
    _kivoCalendar = calendar;
    if (!calendar) return;
    setBackgroundColor(calendar->headerBackgroundColor());
    _headerCurrent->setTextColor(calendar->headerTextColor());
    if (calendar->headerFont()) _headerCurrent->setFont(*calendar->headerFont());
    _showNavigationButtons = calendar->showNavigationButtons();
}

void KivoCalendarHeaderView::layoutSubviews() {
    plat::View::layoutSubviews();
    _headerCurrent->setFrame(bounds());
}

const std::string& KivoCalendarHeaderView::title() const { return _headerCurrent->text(); }

void KivoCalendarHeaderView::setHeaderDate(KivoOptionalDate date) {
    _headerDate = date;
    auto calendar = kivoCalendar();
    if (!calendar || !_headerDate) return;
    _headerCurrent->setText(titleFor(calendar, *_headerDate));
}

std::string KivoCalendarHeaderView::titleFor(const std::shared_ptr<KivoCalendar>& calendar, plat::Date date) const {
    if (calendar->viewMode() == KivoCalendarViewModeDecade) {
        auto year = calendar->dateUtil()->getYearFromDate(date);
        if (!year) return {};
        const std::int64_t first = *year / YearsPerDecade * YearsPerDecade;
        return std::to_string(first) + "-" + std::to_string(first + YearsPerDecade - 1);
    }
    const auto& formatter = calendar->valueFormatter();
    if (!formatter) return {};
    const std::string format = calendar->viewMode() == KivoCalendarViewModeYear ? YearFormat : _monthFormat;
    return formatter->format(plat::Value(date), format, KivoDataTypeDate).value_or(std::string());
}

void KivoCalendarHeaderView::refresh() {
    setTag(-1);
    setNeedsLayout();
    setHeaderDate(_headerDate);
}

void KivoCalendarHeaderView::setHeaderTextColor(const plat::Color& color) { _headerCurrent->setTextColor(color); }

void KivoCalendarHeaderView::setHeaderFont(const std::optional<plat::Font>& font) {
    if (font) _headerCurrent->setFont(*font);
}

void KivoCalendarHeaderView::setHeaderMonthFormat(const std::optional<std::string>& format) {
    if (format) _monthFormat = *format;
}
