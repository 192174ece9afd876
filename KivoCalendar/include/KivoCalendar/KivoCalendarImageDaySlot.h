#pragma once
// A day slot that shows an image above its painted cell.

#include <cstdint>
#include <memory>

#include "KivoCalendar/KivoCalendarDaySlot.h"
#include "KivoCalendar/KivoCalendarExport.h"
#include "Platform/ui/image_view.h"

namespace kivo::detail {
// What the tests read and call of the calendar's inner workings; defined by the tests alone.
struct CalendarTestAccess;
}  // namespace kivo::detail

namespace plat {
class Image;
}

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

protected:
    explicit KivoCalendarImageDaySlot(const plat::Rect& frame) : KivoCalendarDaySlot(frame) {}
    void initialize() override;

private:
    friend struct kivo::detail::CalendarTestAccess;

    KIVO_CALENDAR_NO_EXPORT static plat::ContentMode _getImageViewContentMode(std::int64_t imageAspect);

    std::shared_ptr<plat::ImageView> _imageView;
    std::shared_ptr<plat::Image> _imageSource;
    plat::Rect _imageRect;
    std::int64_t _imageAspect = 2;
};
