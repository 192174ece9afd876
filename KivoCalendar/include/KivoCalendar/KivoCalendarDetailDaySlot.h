#pragma once
// A day slot that draws a second text beside its day number.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "KivoCalendar/KivoCalendarDaySlot.h"
#include "KivoCalendar/KivoCalendarExport.h"
#include "Platform/graphics/color.h"
#include "Platform/graphics/font.h"

// A drawn slot with a second text in a rectangle of its own. Its day number is drawn into
// `dayTextRect` (in `dayFont`, or the system font of size 8), so with the default zero rectangles the
// slot shows only its fill and border.
class KIVO_CALENDAR_EXPORT KivoCalendarDetailDaySlot : public KivoCalendarDaySlot {
public:
    static std::shared_ptr<KivoCalendarDetailDaySlot> create(const std::shared_ptr<KivoCalendar>& calendar,
                                                             const plat::Rect& frame);

    static constexpr double DefaultFontSize = 8;

    // Plain stores: set them before the slot is drawn, or ask it to redraw.
    const std::optional<std::string>& detailText() const { return _detailText; }
    void setDetailText(std::optional<std::string> text) { _detailText = std::move(text); }
    // Nothing is drawn while it is the zero rectangle.
    const plat::Rect& detailTextRect() const { return _detailTextRect; }
    void setDetailTextRect(const plat::Rect& rect) { _detailTextRect = rect; }
    // The same in every state; none gives the render engine's default text colour.
    const std::optional<plat::Color>& detailTextColor() const { return _detailTextColor; }
    void setDetailTextColor(std::optional<plat::Color> color) { _detailTextColor = color; }
    // None: the system font of size 8.
    const std::optional<plat::Font>& detailFont() const { return _detailFont; }
    void setDetailFont(std::optional<plat::Font> font) { _detailFont = std::move(font); }

    void drawDetailDaySlotText(const plat::Rect& rect, std::int64_t state) override;

protected:
    explicit KivoCalendarDetailDaySlot(const plat::Rect& frame) : KivoCalendarDaySlot(frame) {}

private:
    std::optional<std::string> _detailText;
    plat::Rect _detailTextRect;
    std::optional<plat::Color> _detailTextColor = plat::Color::black();
    std::optional<plat::Font> _detailFont;
};
