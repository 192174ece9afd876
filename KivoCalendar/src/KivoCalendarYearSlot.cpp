// The year slot of the calendar's decade page: every property is its label slot's.

#include "KivoCalendar/KivoCalendarYearSlot.h"

#include "calendar/SlotLabel.h"

KivoCalendarYearSlot::KivoCalendarYearSlot(const plat::Rect& frame)
    : KivoCalendarYearSlotBase(frame), _slot(std::make_unique<kivo::detail::SlotLabel>()) {}

KivoCalendarYearSlot::~KivoCalendarYearSlot() = default;

std::shared_ptr<KivoCalendarYearSlot> KivoCalendarYearSlot::create(const plat::Rect& frame) {
    return initialized(std::shared_ptr<KivoCalendarYearSlot>(new KivoCalendarYearSlot(frame)));
}

void KivoCalendarYearSlot::initialize() {
    KivoCalendarYearSlotBase::initialize();
    setTag(-1);
    _slot->build(*this);
}

const std::shared_ptr<plat::Label>& KivoCalendarYearSlot::yearLabel() const { return _slot->label(); }

const std::optional<std::string>& KivoCalendarYearSlot::yearText() const { return _slot->text(); }

void KivoCalendarYearSlot::setYearText(std::optional<std::string> text) { _slot->setText(std::move(text)); }

const std::optional<plat::Color>& KivoCalendarYearSlot::yearTextColor() const { return _slot->textColor(); }

void KivoCalendarYearSlot::setYearTextColor(std::optional<plat::Color> color) { _slot->setTextColor(color); }

const std::optional<plat::Font>& KivoCalendarYearSlot::yearFont() const { return _slot->font(); }

void KivoCalendarYearSlot::setYearFont(std::optional<plat::Font> font) { _slot->setFont(std::move(font)); }

void KivoCalendarYearSlot::setBackgroundColor(std::optional<plat::Color> color) { _slot->setBackgroundColor(color); }

const plat::EdgeInsets& KivoCalendarYearSlot::padding() const { return _slot->padding(); }

void KivoCalendarYearSlot::setPadding(const plat::EdgeInsets& padding) { _slot->setPadding(padding); }

std::int64_t KivoCalendarYearSlot::yearHorizontalAlignment() const { return _slot->horizontalAlignment(); }

void KivoCalendarYearSlot::setYearHorizontalAlignment(std::int64_t alignment) { _slot->setHorizontalAlignment(alignment); }

std::int64_t KivoCalendarYearSlot::yearVerticalAlignment() const { return _slot->verticalAlignment(); }

void KivoCalendarYearSlot::setYearVerticalAlignment(std::int64_t alignment) { _slot->setVerticalAlignment(alignment); }

void KivoCalendarYearSlot::setYearSlotFrame(const plat::Rect& frame) {
    setFrame(frame);
    _slot->setSlotFrame(frame);
}

void KivoCalendarYearSlot::_setVerticalAlignment(std::int64_t alignment) { _slot->applyVerticalAlignment(alignment); }
