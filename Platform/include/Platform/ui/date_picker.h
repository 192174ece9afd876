#pragma once
// A date picker: the month, the day and the year of a date as three picker components, in a locale
// (month names) and a time zone (which day a moment falls on). Picking a row changes that part of the
// date, keeps the time of day, and sends the value-changed event; a day past the end of the month
// picked becomes its last day. Setting the date sends nothing. It can stand as a text field's input
// view.

#include <memory>
#include <optional>

#include "Platform/PlatformExport.h"
#include "Platform/foundation/date.h"
#include "Platform/foundation/locale/locale.h"
#include "Platform/foundation/locale/timezone.h"
#include "Platform/ui/control.h"

namespace plat {

class PickerView;

class PLAT_EXPORT DatePicker : public Control {
public:
    static std::shared_ptr<DatePicker> create(const Rect& frame = {});
    ~DatePicker() override;

    // Now (on plat::Clock) when made.
    Date date() const { return _date; }
    // A date that is not finite is refused (logged). `animated` is accepted; the rows move at once.
    void setDate(Date date, bool animated = false);
    // The current locale and time zone unless set.
    Locale locale() const { return _locale.value_or(Locale::current()); }
    void setLocale(std::optional<Locale> locale);
    TimeZone timeZone() const { return _zone.value_or(TimeZone::current()); }
    void setTimeZone(std::optional<TimeZone> zone);

    // The components, left to right, and the years offered.
    enum Component : std::int64_t { MonthComponent = 0, DayComponent = 1, YearComponent = 2 };
    static constexpr std::int64_t FirstYear = 1, LastYear = 9999;
    // The picker that shows the components (for drawing and taps).
    const std::shared_ptr<PickerView>& pickerView() const { return _picker; }

    // Disabled, it takes no picks.
    void setEnabled(bool enabled) override;
    Size sizeThatFits(Size size) const override;
    void layoutSubviews() override;

protected:
    explicit DatePicker(const Rect& frame);
    void initialize() override;

private:
    struct Wheels;
    PLAT_NO_EXPORT void showDate();
    PLAT_NO_EXPORT void picked(std::int64_t row, std::int64_t component);

    Date _date;
    std::optional<Locale> _locale;
    std::optional<TimeZone> _zone;
    std::shared_ptr<PickerView> _picker;
    std::shared_ptr<Wheels> _wheels;
};

}  // namespace plat
