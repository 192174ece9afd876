// The day slots: the state tests every cell shares, and the drawn slot's painting.

#include "KivoCalendar/KivoCalendarDaySlot.h"

#include <typeinfo>

#include "KivoCalendar/KivoCalendar.h"
#include "KivoCalendar/KivoCalendarDetailDaySlot.h"
#include "KivoCalendar/KivoCalendarMonthView.h"
#include "KivoCalendar/KivoCalendarRange.h"
#include "KivoCore/KivoGeometry.h"
#include "KivoCore/KivoRenderEngine.h"
#include "Platform/ui/gestures.h"

namespace {

// Every date utility computes on the one shared calendar, so a slot without a calendar of its own
// can use any of them.
const KivoDateUtil& dateUtilOf(const std::shared_ptr<KivoCalendar>& calendar) {
    static const KivoDateUtil shared;
    return calendar ? *calendar->dateUtil() : shared;
}

}  // namespace

// ---- Base ----

void KivoCalendarDaySlotBase::setDate(KivoOptionalDate date) {
    const KivoDateUtil& util = dateUtilOf(kivoCalendar());
    // A moment the calendar cannot take apart names no day.
    if (!util.getDayFromDate(date) || util.isYMDEqual(_date, date)) return;
    _date = date;
    dateDidChange();
}

bool KivoCalendarDaySlotBase::isSelected() const {
    auto calendar = kivoCalendar();
    if (!calendar) return false;
    const std::int32_t count = calendar->maxSelectionCount();
    if (count == 0) return false;
    if (count == 1) return calendar->selectedDate() && calendar->dateUtil()->compareYMD(calendar->selectedDate(), _date) == 0;
    return calendar->selectedDates() && calendar->selectedDates()->containsDate(_date);
}

bool KivoCalendarDaySlotBase::isToday() const {
    auto calendar = kivoCalendar();
    return calendar && calendar->dateUtil()->isYMDEqual(_date, calendar->currentDate());
}

bool KivoCalendarDaySlotBase::isAdjacent() const {
    auto page = std::dynamic_pointer_cast<KivoCalendarMonthView>(superview());
    if (!page) return false;
    auto sameMonth = dateUtilOf(kivoCalendar()).compareYM(_date, page->monthDate());
    return sameMonth && *sameMonth != 0;
}

bool KivoCalendarDaySlotBase::isDisabled() const {
    auto calendar = kivoCalendar();
    return calendar && calendar->isDateDisabled(_date);
}

// ---- Drawn slot ----

std::shared_ptr<KivoCalendarDaySlot> KivoCalendarDaySlot::create(const std::shared_ptr<KivoCalendar>& calendar,
                                                                 const plat::Rect& frame) {
    auto slot = initialized(std::shared_ptr<KivoCalendarDaySlot>(new KivoCalendarDaySlot(frame)));
    slot->setKivoCalendar(calendar);
    return slot;
}

void KivoCalendarDaySlot::initialize() {
    KivoCalendarDaySlotBase::initialize();
    setTag(FrameworkSlotTag);
    setBackgroundColor(plat::Color::clear());
    std::weak_ptr<KivoCalendarDaySlot> weak = sharedAs<KivoCalendarDaySlot>();
    addGestureRecognizer(plat::TapGestureRecognizer::create([weak](plat::GestureRecognizer& recognizer) {
        auto slot = weak.lock();
        if (!slot || recognizer.state() != plat::GestureRecognizerState::Recognized) return;
        auto calendar = slot->kivoCalendar();
        if (calendar && calendar->isEnabled()) calendar->handleDaySlotTapGesture(slot);
    }));
}

void KivoCalendarDaySlot::dateDidChange() {
    if (auto day = dateUtilOf(kivoCalendar()).getDayFromDate(date())) _dayText = std::to_string(*day);
}

void KivoCalendarDaySlot::resetDaySlot() {
    _dayTextRect = {};
    _dayTextColor.reset();
    _dayFont.reset();
    _padding = 0;
    _dayHorizontalAlignment = 1;
    _dayVerticalAlignment = 1;
    setTag(FrameworkSlotTag);
}

std::int64_t KivoCalendarDaySlot::state() const {
    if (isSelected()) return KivoCalendarDaySlotStateSelected;
    if (isDisabled()) return KivoCalendarDaySlotStateDisabled;
    if (isAdjacent()) return KivoCalendarDaySlotStateAdjacent;
    if (isToday()) return KivoCalendarDaySlotStateToday;
    return KivoCalendarDaySlotStateNormal;
}

void KivoCalendarDaySlot::drawRect(plat::Context&, const plat::Rect& rect) {
    auto calendar = kivoCalendar();
    if (!calendar || !calendar->renderEngine()) return;
    KivoRenderEngine& engine = *calendar->renderEngine();
    const std::int64_t current = state();
    auto saved = engine.saveState();
    _drawDaySlotBackground(rect, current);
    _drawDaySlotText(rect, current);
    drawDetailDaySlotText(rect, current);
    drawDaySlotImage(rect, current);
    engine.restoreState(saved);
}

void KivoCalendarDaySlot::_drawDaySlotBackground(const plat::Rect& rect, std::int64_t state) {
    auto calendar = kivoCalendar();
    KivoRenderEngine& engine = *calendar->renderEngine();
    std::optional<plat::Color> fill = backgroundColor();
    if (state == KivoCalendarDaySlotStateToday) fill = calendar->todayBackgroundColor();
    if (state == KivoCalendarDaySlotStateSelected) fill = calendar->selectionBackgroundColor();
    engine.setFill(fill);
    engine.setStroke(calendar->dayBorderColor());
    engine.setStrokeThickness(calendar->dayBorderWidth());
    engine.drawRect(rect.x(), rect.y(), rect.width(), rect.height());
}

void KivoCalendarDaySlot::_drawDaySlotText(const plat::Rect& rect, std::int64_t state) {
    if (!_dayText || _dayText->empty()) return;
    auto calendar = kivoCalendar();
    KivoRenderEngine& engine = *calendar->renderEngine();
    const bool adjacent = isAdjacent();
    if (isToday() && !adjacent)
        engine.setFont(calendar->todayFont());
    else
        engine.setFont(_dayFont ? _dayFont : calendar->calendarFont());

    auto size = engine.measureString(*_dayText);
    const plat::Rect& box = _dayTextRect == plat::Rect{} ? rect : _dayTextRect;
    const double x = box.x() + box.width() / 2 - size->width() / 2;
    const double y = box.y() + box.height() / 2 - size->height() / 2;

    plat::Color color = calendar->textColor();
    switch (state) {
        case KivoCalendarDaySlotStateToday:
            color = calendar->todayTextColor();
            break;
        case KivoCalendarDaySlotStateAdjacent:
            color = calendar->adjacentDayTextColor();
            break;
        case KivoCalendarDaySlotStateSelected:
            color = adjacent ? calendar->adjacentDayTextColor() : calendar->selectionTextColor();
            break;
        case KivoCalendarDaySlotStateDisabled:
            color = calendar->disabledTextColor();
            break;
        default:
            break;
    }
    engine.setTextFill(_dayTextColor.value_or(color));
    // The detail slot shares its cell with a second text: its day number keeps to its own rectangle
    // (none while that is the zero rectangle). Subclasses of it draw as every other slot does.
    if (typeid(*this) == typeid(KivoCalendarDetailDaySlot)) {
        if (_dayTextRect == plat::Rect{}) return;
        engine.setFont(_dayFont ? _dayFont : plat::Font::system(KivoCalendarDetailDaySlot::DefaultFontSize));
        engine.drawStringInRect(*_dayText, _dayTextRect);
        return;
    }
    engine.drawString(*_dayText, KivoPoint::create(x, y));
}
