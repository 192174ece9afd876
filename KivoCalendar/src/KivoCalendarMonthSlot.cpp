// The month slot of the calendar's year page: every property is its label slot's.

#include "KivoCalendar/KivoCalendarMonthSlot.h"

#include "calendar/SlotLabel.h"

KivoCalendarMonthSlot::KivoCalendarMonthSlot(const plat::Rect& frame)
    : KivoCalendarMonthSlotBase(frame), _slot(std::make_unique<kivo::detail::SlotLabel>()) {}

KivoCalendarMonthSlot::~KivoCalendarMonthSlot() = default;

std::shared_ptr<KivoCalendarMonthSlot> KivoCalendarMonthSlot::create(const plat::Rect& frame) {
    return initialized(std::shared_ptr<KivoCalendarMonthSlot>(new KivoCalendarMonthSlot(frame)));
}

void KivoCalendarMonthSlot::initialize() {
    KivoCalendarMonthSlotBase::initialize();
    setTag(-1);
    _slot->build(*this);
}

const std::shared_ptr<plat::Label>& KivoCalendarMonthSlot::monthLabel() const { return _slot->label(); }

const std::optional<std::string>& KivoCalendarMonthSlot::monthText() const { return _slot->text(); }

void KivoCalendarMonthSlot::setMonthText(std::optional<std::string> text) { _slot->setText(std::move(text)); }

const std::optional<plat::Color>& KivoCalendarMonthSlot::monthTextColor() const { return _slot->textColor(); }

void KivoCalendarMonthSlot::setMonthTextColor(std::optional<plat::Color> color) { _slot->setTextColor(color); }

const std::optional<plat::Font>& KivoCalendarMonthSlot::monthFont() const { return _slot->font(); }

void KivoCalendarMonthSlot::setMonthFont(std::optional<plat::Font> font) { _slot->setFont(std::move(font)); }

void KivoCalendarMonthSlot::setBackgroundColor(std::optional<plat::Color> color) { _slot->setBackgroundColor(color); }

const plat::EdgeInsets& KivoCalendarMonthSlot::padding() const { return _slot->padding(); }

void KivoCalendarMonthSlot::setPadding(const plat::EdgeInsets& padding) { _slot->setPadding(padding); }

std::int64_t KivoCalendarMonthSlot::monthHorizontalAlignment() const { return _slot->horizontalAlignment(); }

void KivoCalendarMonthSlot::setMonthHorizontalAlignment(std::int64_t alignment) { _slot->setHorizontalAlignment(alignment); }

std::int64_t KivoCalendarMonthSlot::monthVerticalAlignment() const { return _slot->verticalAlignment(); }

void KivoCalendarMonthSlot::setMonthVerticalAlignment(std::int64_t alignment) { _slot->setVerticalAlignment(alignment); }

void KivoCalendarMonthSlot::setMonthSlotFrame(const plat::Rect& frame) {
    setFrame(frame);
    _slot->setSlotFrame(frame);
}

void KivoCalendarMonthSlot::_setVerticalAlignment(std::int64_t alignment) { _slot->applyVerticalAlignment(alignment); }
