// The detail slot: its second text, drawn through the calendar's render engine.

#include "KivoCalendar/KivoCalendarDetailDaySlot.h"

#include "KivoCalendar/KivoCalendar.h"
#include "KivoCore/KivoRenderEngine.h"

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
