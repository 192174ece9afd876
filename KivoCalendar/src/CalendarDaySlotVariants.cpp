// The day slots an application hands the month grid: the second text of the detail slot, the image
// of the image slot, and the hosted view of the view slot with its state and colours.

#include "KivoCalendar/CalendarDaySlotVariants.h"

#include "KivoCalendar/KivoCalendar.h"
#include "KivoCore/KivoRenderEngine.h"
#include "Platform/foundation/log.h"
#include "Platform/ui/gestures.h"

namespace {

constexpr std::int64_t AspectFit = 0;
constexpr std::int64_t AspectFill = 1;

}  // namespace

// ---- Detail slot ----

std::shared_ptr<KivoCalendarDetailDaySlot> KivoCalendarDetailDaySlot::create(const std::shared_ptr<KivoCalendar>& calendar,
                                                                             const plat::Rect& frame) {
    auto slot = initialized(std::shared_ptr<KivoCalendarDetailDaySlot>(new KivoCalendarDetailDaySlot(frame)));
    slot->setKivoCalendar(calendar);
    return slot;
}

void KivoCalendarDetailDaySlot::drawDetailDaySlotText(const plat::Rect&, std::int64_t) {
    auto calendar = kivoCalendar();
    if (!calendar || !calendar->renderEngine()) return;
    if (!_detailText || _detailText->empty() || _detailTextRect == plat::Rect{}) return;
    KivoRenderEngine& engine = *calendar->renderEngine();
    engine.setFont(_detailFont ? _detailFont : plat::Font::system(DefaultFontSize));
    engine.setTextFill(_detailTextColor);
    engine.drawStringInRect(*_detailText, _detailTextRect);
}

// ---- Image slot ----

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

// ---- View slot ----

std::shared_ptr<KivoCalendarViewDaySlot> KivoCalendarViewDaySlot::create(const std::shared_ptr<KivoCalendar>& calendar,
                                                                         const plat::Rect& frame) {
    auto slot = initialized(std::shared_ptr<KivoCalendarViewDaySlot>(new KivoCalendarViewDaySlot(frame)));
    slot->setKivoCalendar(calendar);
    return slot;
}

void KivoCalendarViewDaySlot::initialize() {
    KivoCalendarDaySlotBase::initialize();
    std::weak_ptr<KivoCalendarViewDaySlot> weak = sharedAs<KivoCalendarViewDaySlot>();
    auto tap = plat::TapGestureRecognizer::create([weak](plat::GestureRecognizer& recognizer) {
        auto slot = weak.lock();
        if (!slot || recognizer.state() != plat::GestureRecognizerState::Recognized) return;
        auto calendar = slot->kivoCalendar();
        if (calendar && calendar->isEnabled()) calendar->handleViewDaySlotTapGesture(slot);
    });
    tap->setCancelsTouchesInView(false);
    addGestureRecognizer(tap);
}

void KivoCalendarViewDaySlot::setCustomView(std::shared_ptr<plat::View> view) {
    if (view == _customView) return;
    if (view && isDescendantOf(view.get())) {
        plat::log("KivoCalendarViewDaySlot: a slot cannot host itself or a view that contains it; the custom view stays");
        return;
    }
    // The colour a view brings is its own: a view without one shows the calendar's colours, not the
    // colour of the view it replaces.
    _originColor = view ? view->backgroundColor() : std::nullopt;
    while (!subviews().empty()) subviews().back()->removeFromSuperview();
    _customView = std::move(view);
    if (!_customView) return;
    _customView->setFrame({0, 0, bounds().width(), bounds().height()});
    _setCustomViewBackgroundColor();
    addSubview(_customView);
}

void KivoCalendarViewDaySlot::layoutSubviews() {
    KivoCalendarDaySlotBase::layoutSubviews();
    if (_customView) _customView->setFrame({0, 0, bounds().width(), bounds().height()});
}

void KivoCalendarViewDaySlot::setNeedsDisplay() {
    KivoCalendarDaySlotBase::setNeedsDisplay();
    _setCustomViewBackgroundColor();
}

std::int64_t KivoCalendarViewDaySlot::state() const {
    if (isDisabled()) return KivoCalendarDaySlotStateDisabled;
    if (isAdjacent()) return KivoCalendarDaySlotStateAdjacent;
    if (isSelected()) return KivoCalendarDaySlotStateSelected;
    if (isToday()) return KivoCalendarDaySlotStateToday;
    return KivoCalendarDaySlotStateNormal;
}

void KivoCalendarViewDaySlot::_setCustomViewBackgroundColor() {
    if (!_customView) return;
    auto calendar = kivoCalendar();
    std::optional<plat::Color> colour = _originColor;
    switch (state()) {
        case KivoCalendarDaySlotStateToday:
            if (!colour && calendar) colour = calendar->todayBackgroundColor();
            break;
        case KivoCalendarDaySlotStateSelected:
            if (calendar) colour = calendar->selectionBackgroundColor();
            break;
        default:
            if (!colour && calendar) colour = calendar->backgroundColor();
            break;
    }
    _customView->setBackgroundColor(colour);
}
