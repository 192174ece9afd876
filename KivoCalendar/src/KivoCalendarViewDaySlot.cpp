// The view slot: the hosted view, its tap, and its background coloured by the day's state.

#include "KivoCalendar/KivoCalendarViewDaySlot.h"

#include "KivoCalendar/KivoCalendar.h"
#include "Platform/foundation/log.h"
#include "Platform/ui/gestures.h"

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
