// The year page: month names, the 4 by 3 grid, the slots' colours and marks at every refresh, and the
// tap that zooms into a month.

#include "KivoCalendar/KivoCalendarYearView.h"

#include "KivoCalendar/KivoCalendar.h"
#include "KivoCalendar/KivoCalendarDelegate.h"
#include "KivoCalendar/KivoCalendarMonthSlotLoadingEventArgs.h"
#include "KivoCalendar/KivoCalendarViewModeAnimation.h"
#include "Platform/foundation/locale/calendar.h"
#include "Platform/foundation/locale/date_formatter.h"
#include "calendar/BodyZoom.h"
#include "calendar/ClampedDate.h"
#include "calendar/LabelGrid.h"
#include "calendar/LocaleLanguage.h"

namespace {

// The middle of each month of a year that is no leap year, so that no time zone moves a name.
constexpr std::int64_t SymbolYear = 2001;
constexpr std::int64_t SymbolDay = 15;
constexpr double DimmedBodyAlpha = 0.1;
constexpr double HalfOfZoom = 0.5;

// The short month names of the current locale; the one-letter ones for a Japanese reader or locale,
// where the short ones would not fit a cell.
std::vector<std::string> monthSymbols() {
    const plat::Locale locale = plat::Locale::current();
    const bool japanese = kivo::detail::firstPreferredLanguage() == "ja" || kivo::detail::languageOf(locale) == "ja";
    plat::DateFormatter formatter(locale, plat::TimeZone::utc());
    formatter.setDateFormat(japanese ? "MMMMM" : "MMM");
    const plat::Calendar gregorian(plat::TimeZone::utc());
    std::vector<std::string> names;
    for (std::int64_t month = 1; month <= KivoCalendarYearView::SlotCount; ++month) {
        plat::DateComponents c;
        c.year = SymbolYear;
        c.month = month;
        c.day = SymbolDay;
        auto date = gregorian.dateFromComponents(c);
        names.push_back(date ? formatter.format(*date) : std::to_string(month));
    }
    return names;
}

}  // namespace

std::shared_ptr<KivoCalendarYearView> KivoCalendarYearView::create(const plat::Rect& frame) {
    return initialized(std::shared_ptr<KivoCalendarYearView>(new KivoCalendarYearView(frame)));
}

void KivoCalendarYearView::initialize() {
    plat::View::initialize();
    setBackgroundColor(plat::Color::clear());
    const std::vector<std::string> names = monthSymbols();
    for (int k = 0; k < SlotCount; ++k) {
        auto slot = KivoCalendarMonthSlot::create();
        slot->setBackgroundColor(plat::Color::clear());
        slot->setMonthText(names[static_cast<std::size_t>(k)]);
        slot->setTag(k);
        _monthLabels.push_back(slot);
        addSubview(slot);
    }
    kivo::detail::addPageTap(sharedAs<KivoCalendarYearView>(), [](auto& page, plat::Point at) { page._respondToTap(at); });
}

void KivoCalendarYearView::setKivoCalendar(const std::shared_ptr<KivoCalendar>& calendar) {
    if (calendar == _kivoCalendar.lock()) return;
    _kivoCalendar = calendar;
    if (!calendar) return;
    for (const auto& slot : _monthLabels) {
        slot->setMonthFont(_yearViewFont);
        slot->setMonthTextColor(calendar->textColor());
    }
}

void KivoCalendarYearView::setYearDate(KivoOptionalDate date) {
    if (!date) return;
    _yearDate = date;
    refresh();
}

void KivoCalendarYearView::setTextColor(const plat::Color& color) {
    for (const auto& slot : _monthLabels) slot->setMonthTextColor(color);
}

void KivoCalendarYearView::setBorderColor(const plat::Color& color) { kivo::detail::setSlotBorders(_monthLabels, color); }

void KivoCalendarYearView::setBorderWidth(double width) { kivo::detail::setSlotBorders(_monthLabels, width); }

void KivoCalendarYearView::layoutSubviews() {
    plat::View::layoutSubviews();
    for (std::size_t k = 0; k < _monthLabels.size(); ++k)
        _monthLabels[k]->setMonthSlotFrame(kivo::detail::gridCell(k, frame().size, Columns, Rows));
}

KivoOptionalDate KivoCalendarYearView::dateInMonth(std::int64_t month) const {
    auto calendar = kivoCalendar();
    if (!calendar) return std::nullopt;
    const KivoDateUtil& util = *calendar->dateUtil();
    auto year = util.getYearFromDate(_yearDate);
    return year ? kivo::detail::clampedDate(util, _yearDate, *year, month) : std::nullopt;
}

bool KivoCalendarYearView::_isYearMonthDisabled(std::int64_t year, std::int64_t month) const {
    auto calendar = kivoCalendar();
    if (!calendar) return false;
    const KivoDateUtil& util = *calendar->dateUtil();
    if (const auto& min = calendar->minDate()) {
        auto y = util.getYearFromDate(min), m = util.getMonthFromDate(min);
        if (y && m && (*y > year || (*y == year && *m > month))) return true;
    }
    if (const auto& max = calendar->maxDate()) {
        auto y = util.getYearFromDate(max), m = util.getMonthFromDate(max);
        if (y && m && (*y < year || (*y == year && *m < month))) return true;
    }
    return false;
}

void KivoCalendarYearView::refresh() {
    auto calendar = kivoCalendar();
    if (!calendar || !_yearDate) return;
    auto year = calendar->dateUtil()->getYearFromDate(_yearDate);
    if (!year) return;
    auto delegate = calendar->delegate();
    for (const auto& slot : _monthLabels) {
        const std::int64_t month = slot->tag() + 1;
        slot->setMonthTextColor(_isYearMonthDisabled(*year, month) ? calendar->disabledTextColor() : calendar->textColor());
        if (calendar->dateUtil()->compareYM(calendar->highlightDate(), dateInMonth(month)) == 0) {
            slot->setBackgroundColor(calendar->selectionBackgroundColor());
            slot->setMonthTextColor(calendar->selectionTextColor());
        } else {
            slot->setBackgroundColor(plat::Color::clear());
        }
        if (delegate) {
            auto args = std::make_shared<KivoCalendarMonthSlotLoadingEventArgs>(static_cast<std::uint64_t>(month), slot);
            delegate->monthSlotLoading(calendar, args->month(), args->monthSlot());
        }
    }
}

KivoOptionalDate KivoCalendarYearView::getNextDateOfDate(KivoOptionalDate date) {
    if (!date) return std::nullopt;
    const plat::Calendar calendar = plat::Calendar::current();
    auto c = calendar.components(*date);
    if (!c) return std::nullopt;
    c->day += 1;
    return calendar.dateFromComponents(*c);
}

void KivoCalendarYearView::_respondToTap(plat::Point location) {
    auto calendar = kivoCalendar();
    if (!calendar || !calendar->isEnabled() || _isZooming) return;
    auto year = calendar->dateUtil()->getYearFromDate(_yearDate);
    if (!year) return;
    for (const auto& slot : _monthLabels) {
        const std::int64_t month = slot->tag() + 1;
        if (!slot->frame().contains(location) || _isYearMonthDisabled(*year, month)) continue;
        if (calendar->isAnimated() && calendar->viewModeAnimation() && calendar->bodyView())
            zoomInto(month);
        else
            showMonth(month);
        return;
    }
}

void KivoCalendarYearView::showMonth(std::int64_t month) {
    auto calendar = kivoCalendar();
    auto date = dateInMonth(month);
    if (!calendar || !date) return;
    _yearDate = date;
    calendar->setViewMode(KivoCalendarViewModeMonth);
    calendar->setDisplayDate(date);
}

void KivoCalendarYearView::zoomInto(std::int64_t month) {
    auto calendar = kivoCalendar();
    const auto& animation = calendar->viewModeAnimation();
    const double half = animation->duration() * HalfOfZoom;
    const double k = animation->scaleFactor();
    const double first = animation->animationMode() != 0 ? 1.0 : k;
    const double second = k != 0 ? 1 / k : 1.0;
    _isZooming = true;
    std::weak_ptr<KivoCalendarYearView> weak = sharedAs<KivoCalendarYearView>();
    kivo::detail::zoomBodyInTwoHalves(
        calendar->bodyView(), half, animation->startDelay(), first, second, DimmedBodyAlpha,
        [weak, month] {
            if (auto self = weak.lock()) self->showMonth(month);
        },
        [weak] {
            if (auto self = weak.lock()) self->_isZooming = false;
        });
}
