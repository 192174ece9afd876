#pragma once
// Day slots an application puts into the month grid (through the calendar's delegate or a slot
// template) to show more in a cell: a drawn slot with a second text, a drawn slot with an image, and
// a slot that hosts any view of the application, coloured by the day's state.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "KivoCalendar/CalendarDaySlot.h"
#include "KivoCalendar/KivoCalendarExport.h"
#include "Platform/graphics/color.h"
#include "Platform/graphics/font.h"
#include "Platform/ui/image_view.h"

namespace plat {
class Image;
}

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

// A drawn slot with an image over it in a rectangle of the cell.
class KIVO_CALENDAR_EXPORT KivoCalendarImageDaySlot : public KivoCalendarDaySlot {
public:
    static std::shared_ptr<KivoCalendarImageDaySlot> create(const std::shared_ptr<KivoCalendar>& calendar,
                                                            const plat::Rect& frame);

    // Plain stores, shown at the slot's next drawing. No image, or the zero rectangle, shows none.
    const std::shared_ptr<plat::Image>& imageSource() const { return _imageSource; }
    void setImageSource(std::shared_ptr<plat::Image> image) { _imageSource = std::move(image); }
    // In the slot's coordinates.
    const plat::Rect& imageRect() const { return _imageRect; }
    void setImageRect(const plat::Rect& rect) { _imageRect = rect; }
    // 0: fit inside keeping the proportions; 1: fill keeping the proportions (cut by the rectangle);
    // 2 and any other value: stretch.
    std::int64_t imageAspect() const { return _imageAspect; }
    void setImageAspect(std::int64_t aspect) { _imageAspect = aspect; }

    // The view that shows the image, above the painted slot.
    const std::shared_ptr<plat::ImageView>& imageView() const { return _imageView; }

    void drawDaySlotImage(const plat::Rect& rect, std::int64_t state) override;
    static plat::ContentMode _getImageViewContentMode(std::int64_t imageAspect);

protected:
    explicit KivoCalendarImageDaySlot(const plat::Rect& frame) : KivoCalendarDaySlot(frame) {}
    void initialize() override;

private:
    std::shared_ptr<plat::ImageView> _imageView;
    std::shared_ptr<plat::Image> _imageSource;
    plat::Rect _imageRect;
    std::int64_t _imageAspect = 2;
};

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

    void _setCustomViewBackgroundColor();

protected:
    explicit KivoCalendarViewDaySlot(const plat::Rect& frame) : KivoCalendarDaySlotBase(frame) {}
    void initialize() override;

private:
    std::shared_ptr<plat::View> _customView;
    std::optional<plat::Color> _originColor;
};
