#pragma once
// A day slot that hosts a view of the application.

#include <cstdint>
#include <memory>
#include <optional>

#include "KivoCalendar/KivoCalendarDaySlot.h"
#include "KivoCalendar/KivoCalendarExport.h"
#include "Platform/graphics/color.h"

// A slot that hosts a view of the application, sized to the slot at every layout. The view's
// background shows the day's state: its own colour (or the calendar's background, or today's)
// unless the day is selected, when it takes the selection colour.
class KIVO_CALENDAR_EXPORT KivoCalendarViewDaySlot : public KivoCalendarDaySlotBase {
public:
    static std::shared_ptr<KivoCalendarViewDaySlot> create(const std::shared_ptr<KivoCalendar>& calendar,
                                                           const plat::Rect& frame);

    // The slot's only subview; replacing it removes the one before. Its background colour at the
    // moment it is set is the one it shows outside the selection.
    const std::shared_ptr<plat::View>& customView() const { return _customView; }
    void setCustomView(std::shared_ptr<plat::View> view);

    // Disabled, then adjacent, then selected, then today, else normal: a selected day of a
    // neighbouring month, or a selected disabled day, is not shown as selected.
    std::int64_t state() const override;

    // Every redraw request recolours the custom view.
    void setNeedsDisplay() override;
    void layoutSubviews() override;

protected:
    explicit KivoCalendarViewDaySlot(const plat::Rect& frame) : KivoCalendarDaySlotBase(frame) {}
    void initialize() override;

private:
    KIVO_CALENDAR_NO_EXPORT void _setCustomViewBackgroundColor();

    std::shared_ptr<plat::View> _customView;
    std::optional<plat::Color> _originColor;
};
