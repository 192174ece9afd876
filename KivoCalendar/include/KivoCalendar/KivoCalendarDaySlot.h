#pragma once
// The cells of a month page: the base every cell's view derives from (a day, its calendar and the
// tests of its state), and the drawn day slot that paints its day number, fill and border through
// the calendar's render engine according to that state.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "KivoCalendar/KivoCalendarExport.h"
#include "KivoCalendar/KivoDateUtil.h"
#include "Platform/graphics/color.h"
#include "Platform/graphics/font.h"
#include "Platform/ui/view.h"

class KivoCalendar;

enum KivoCalendarDaySlotState : std::int64_t {
    KivoCalendarDaySlotStateNormal = 0,
    KivoCalendarDaySlotStateToday = 1,
    KivoCalendarDaySlotStateAdjacent = 2,
    KivoCalendarDaySlotStateSelected = 3,
    KivoCalendarDaySlotStateDisabled = 4,
};

// What stands in a cell of a month page. A page reads every cell's day and asks whether it belongs
// to a neighbouring month, so whatever an application puts into a cell derives from this class.
class KIVO_CALENDAR_EXPORT KivoCalendarDaySlotBase : public plat::View {
public:
    // Not owned: the calendar owns the page that owns the slot.
    std::shared_ptr<KivoCalendar> kivoCalendar() const { return _kivoCalendar.lock(); }
    void setKivoCalendar(const std::shared_ptr<KivoCalendar>& calendar) { _kivoCalendar = calendar; }

    const KivoOptionalDate& date() const { return _date; }
    // Ignores no date, and a date of the same day as the one held.
    void setDate(KivoOptionalDate date);

    // Computed afresh from the calendar on every read.
    virtual std::int64_t state() const = 0;
    // Kept without effect on reading or drawing.
    void setState(std::int64_t state) { _keptState = state; }

    // By the calendar's selection count: none for 0, the selected date for 1, the selected range for
    // any other count.
    bool isSelected() const;
    // The day of the calendar's current date.
    bool isToday() const;
    // The day lies outside the month of the page that holds the slot (false outside a page).
    bool isAdjacent() const;

protected:
    explicit KivoCalendarDaySlotBase(const plat::Rect& frame) : plat::View(frame) {}
    // After setDate stored a new day.
    virtual void dateDidChange() {}
    // The calendar says the date cannot be chosen (false without a calendar).
    bool isDisabled() const;

private:
    std::weak_ptr<KivoCalendar> _kivoCalendar;
    KivoOptionalDate _date;
    std::int64_t _keptState = KivoCalendarDaySlotStateNormal;
};

class KIVO_CALENDAR_EXPORT KivoCalendarDaySlot : public KivoCalendarDaySlotBase {
public:
    static std::shared_ptr<KivoCalendarDaySlot> create(const std::shared_ptr<KivoCalendar>& calendar, const plat::Rect& frame);

    // The day of the month, written without a leading zero when a date is set.
    const std::optional<std::string>& dayText() const { return _dayText; }
    void setDayText(std::optional<std::string> text) { _dayText = std::move(text); }
    // Where the day text is centred; the zero rectangle means the painted rectangle.
    const plat::Rect& dayTextRect() const { return _dayTextRect; }
    void setDayTextRect(const plat::Rect& rect) { _dayTextRect = rect; }
    // Override the colour of every state, and the font of every day but today's.
    const std::optional<plat::Color>& dayTextColor() const { return _dayTextColor; }
    void setDayTextColor(std::optional<plat::Color> color) { _dayTextColor = color; }
    const std::optional<plat::Font>& dayFont() const { return _dayFont; }
    void setDayFont(std::optional<plat::Font> font) { _dayFont = std::move(font); }
    // Kept for the application; the painting reads the calendar's look instead.
    double padding() const { return _padding; }
    void setPadding(double padding) { _padding = padding; }
    std::int64_t dayHorizontalAlignment() const { return _dayHorizontalAlignment; }
    void setDayHorizontalAlignment(std::int64_t alignment) { _dayHorizontalAlignment = alignment; }
    std::int64_t dayVerticalAlignment() const { return _dayVerticalAlignment; }
    void setDayVerticalAlignment(std::int64_t alignment) { _dayVerticalAlignment = alignment; }
    const plat::Color& dayBackgroundColor() const { return _dayBackgroundColor; }
    void setDayBackgroundColor(const plat::Color& color) { _dayBackgroundColor = color; }
    const plat::Color& dayBorderColor() const { return _dayBorderColor; }
    void setDayBorderColor(const plat::Color& color) { _dayBorderColor = color; }
    double dayBorderWidth() const { return _dayBorderWidth; }
    void setDayBorderWidth(double width) { _dayBorderWidth = width; }

    // Back to the framework's defaults: text rectangle, colour, font, padding, alignments and the
    // framework's mark (tag -1). The day, its text and the calendar stay.
    void resetDaySlot();

    // Selected, then disabled, then adjacent, then today, else normal.
    std::int64_t state() const override;

    void drawRect(plat::Context& context, const plat::Rect& rect) override;
    // Hooks of the slot variants, called after the day text; they draw nothing here.
    virtual void drawDetailDaySlotText(const plat::Rect& rect, std::int64_t state) {}
    virtual void drawDaySlotImage(const plat::Rect& rect, std::int64_t state) {}

    // The view tag of a slot the framework built, and of one an application supplied.
    static constexpr std::int64_t FrameworkSlotTag = -1;
    static constexpr std::int64_t ApplicationSlotTag = 1;

protected:
    explicit KivoCalendarDaySlot(const plat::Rect& frame) : KivoCalendarDaySlotBase(frame) {}
    void initialize() override;
    void dateDidChange() override;

    void _drawDaySlotBackground(const plat::Rect& rect, std::int64_t state);
    void _drawDaySlotText(const plat::Rect& rect, std::int64_t state);

private:
    std::optional<std::string> _dayText;
    plat::Rect _dayTextRect;
    std::optional<plat::Color> _dayTextColor;
    std::optional<plat::Font> _dayFont;
    double _padding = 0;
    std::int64_t _dayHorizontalAlignment = 1;
    std::int64_t _dayVerticalAlignment = 1;
    plat::Color _dayBackgroundColor = plat::Color::clear();
    plat::Color _dayBorderColor = plat::Color::black();
    double _dayBorderWidth = 0;
};
