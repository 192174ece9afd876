// The image slot: an image view above the painted cell, placed and scaled at every drawing.

#include "KivoCalendar/KivoCalendarImageDaySlot.h"

namespace {

constexpr std::int64_t AspectFit = 0;
constexpr std::int64_t AspectFill = 1;

}  // namespace

std::shared_ptr<KivoCalendarImageDaySlot> KivoCalendarImageDaySlot::create(const std::shared_ptr<KivoCalendar>& calendar,
                                                                           const plat::Rect& frame) {
    auto slot = initialized(std::shared_ptr<KivoCalendarImageDaySlot>(new KivoCalendarImageDaySlot(frame)));
    slot->setKivoCalendar(calendar);
    return slot;
}

void KivoCalendarImageDaySlot::initialize() {
    KivoCalendarDaySlot::initialize();
    _imageView = plat::ImageView::create();
    addSubview(_imageView);
}

plat::ContentMode KivoCalendarImageDaySlot::_getImageViewContentMode(std::int64_t imageAspect) {
    if (imageAspect == AspectFit) return plat::ContentMode::ScaleAspectFit;
    if (imageAspect == AspectFill) return plat::ContentMode::ScaleAspectFill;
    return plat::ContentMode::ScaleToFill;
}

void KivoCalendarImageDaySlot::drawDaySlotImage(const plat::Rect&, std::int64_t) {
    // An image taken away, or a rectangle that holds none, leaves nothing behind.
    if (!_imageSource || _imageRect == plat::Rect{}) {
        _imageView->setImage(nullptr);
        _imageView->setHidden(true);
        return;
    }
    _imageView->setHidden(false);
    _imageView->setFrame(_imageRect);
    _imageView->setImage(_imageSource);
    _imageView->setContentMode(_getImageViewContentMode(_imageAspect));
}
