#include "Platform/ui/date_picker.h"

#include <cmath>
#include <string>

#include "Platform/foundation/locale/calendar.h"
#include "Platform/foundation/locale/date_formatter.h"
#include "Platform/foundation/log.h"
#include "Platform/ui/picker_view.h"

namespace plat {

// The picker's data source and delegate, apart from the control so that its interface stays the
// control's own.
struct DatePicker::Wheels : PickerViewDataSource, PickerViewDelegate {
    std::weak_ptr<DatePicker> owner;

    std::int64_t numberOfComponentsInPickerView(PickerView&) override { return 3; }

    std::int64_t numberOfRowsInComponent(PickerView&, std::int64_t component) override {
        auto picker = owner.lock();
        if (!picker) return 0;
        switch (component) {
            case MonthComponent:
                return 12;
            case DayComponent: {
                const auto parts = Calendar(picker->timeZone()).components(picker->_date);
                return parts ? Calendar::daysInMonth(parts->year, parts->month) : 31;
            }
            case YearComponent:
                return LastYear - FirstYear + 1;
            default:
                return 0;
        }
    }

    // Month names, day and year numbers as the locale writes them, each formatted from a date that has it.
    std::optional<std::string> titleForRow(PickerView&, std::int64_t row, std::int64_t component) override {
        auto picker = owner.lock();
        if (!picker) return std::nullopt;
        DateComponents parts{.year = 2001, .month = 1, .day = 1, .hour = 12};
        const char* pattern = "MMMM";
        if (component == MonthComponent) {
            parts.month = row + 1;
        } else if (component == DayComponent) {
            parts.day = row + 1;
            pattern = "d";
        } else {
            parts.year = FirstYear + row;
            pattern = "y";
        }
        const TimeZone zone = picker->timeZone();
        const auto date = Calendar(zone).dateFromComponents(parts);
        if (!date) return std::nullopt;
        DateFormatter formatter(picker->locale(), zone);
        formatter.setDateFormat(pattern);
        return formatter.format(*date);
    }

    void didSelectRow(PickerView&, std::int64_t row, std::int64_t component) override {
        if (auto picker = owner.lock()) picker->picked(row, component);
    }
};

std::shared_ptr<DatePicker> DatePicker::create(const Rect& frame) {
    return initialized(std::shared_ptr<DatePicker>(new DatePicker(frame)));
}

DatePicker::DatePicker(const Rect& frame) : Control(frame), _date(Date::now()) {}

DatePicker::~DatePicker() = default;

void DatePicker::initialize() {
    Control::initialize();
    _wheels = std::make_shared<Wheels>();
    _wheels->owner = sharedAs<DatePicker>();
    _picker = PickerView::create(bounds());
    _picker->setDataSource(_wheels);
    _picker->setDelegate(_wheels);
    addSubview(_picker);
    showDate();
}

void DatePicker::setDate(Date date, bool) {
    if (!std::isfinite(date.seconds)) {
        log("DatePicker: a date that is not finite is refused; the date stays as it was");
        return;
    }
    _date = date;
    showDate();
}

void DatePicker::setLocale(std::optional<Locale> locale) {
    _locale = std::move(locale);
    showDate();
}

void DatePicker::setTimeZone(std::optional<TimeZone> zone) {
    _zone = std::move(zone);
    showDate();
}

// Each component on the date's part; a year the picker does not offer selects no year.
void DatePicker::showDate() {
    _picker->reloadAllComponents();
    const auto parts = Calendar(timeZone()).components(_date);
    if (!parts) return;
    _picker->selectRow(parts->month - 1, MonthComponent, false);
    _picker->selectRow(parts->day - 1, DayComponent, false);
    if (parts->year >= FirstYear && parts->year <= LastYear)
        _picker->selectRow(parts->year - FirstYear, YearComponent, false);
    else
        _picker->deselectRow(YearComponent);
}

void DatePicker::picked(std::int64_t row, std::int64_t component) {
    const Calendar calendar(timeZone());
    auto parts = calendar.components(_date);
    if (!parts) return;
    if (component == MonthComponent) parts->month = row + 1;
    if (component == DayComponent) parts->day = row + 1;
    if (component == YearComponent) parts->year = FirstYear + row;
    // The 31st of a month that has 30 days would roll over into the next month.
    parts->day = std::min<std::int64_t>(parts->day, Calendar::daysInMonth(parts->year, parts->month));
    const auto date = calendar.dateFromComponents(*parts);
    if (!date) return;
    auto keep = sharedAs<DatePicker>();
    _date = *date;
    showDate();
    sendActionsForControlEvents(ControlEventValueChanged);
}

void DatePicker::setEnabled(bool enabled) {
    Control::setEnabled(enabled);
    _picker->setUserInteractionEnabled(enabled);
}

Size DatePicker::sizeThatFits(Size size) const { return _picker->sizeThatFits(size); }

void DatePicker::layoutSubviews() {
    Control::layoutSubviews();
    _picker->setFrame(bounds());
}

}  // namespace plat
