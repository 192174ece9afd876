#pragma once
// The cells of the year and decade pages: the empty bases that type whatever stands in a month or a
// year cell, and the two label slots the pages fill them with, a padded text in a label, aligned
// horizontally by the label and vertically by blank lines added above or below the text.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "KivoCalendar/KivoCalendarExport.h"
#include "Platform/foundation/geometry.h"
#include "Platform/graphics/color.h"
#include "Platform/graphics/font.h"
#include "Platform/ui/view.h"

namespace plat {
class Label;
}

class KIVO_CALENDAR_EXPORT KivoCalendarMonthSlotBase : public plat::View {
protected:
    explicit KivoCalendarMonthSlotBase(const plat::Rect& frame) : plat::View(frame) {}
};

class KIVO_CALENDAR_EXPORT KivoCalendarYearSlotBase : public plat::View {
protected:
    explicit KivoCalendarYearSlotBase(const plat::Rect& frame) : plat::View(frame) {}
};

namespace kivo::detail {

// What a label slot is made of, whichever page it serves: the label, the text as set, the padding
// and the two alignments. Alignment codes: 0 left or top, 2 right or bottom, anything else centre.
class KIVO_CALENDAR_EXPORT SlotLabel {
public:
    // Builds the label over the whole of `owner` and adds it as the owner's subview (from the
    // owner's internal initialiser, once the owner can be a superview).
    void build(plat::View& owner);

    const std::shared_ptr<plat::Label>& label() const { return _label; }
    const std::optional<std::string>& text() const { return _text; }
    void setText(std::optional<std::string> text);
    const std::optional<plat::Color>& textColor() const { return _textColor; }
    void setTextColor(std::optional<plat::Color> color);
    const std::optional<plat::Font>& font() const { return _font; }
    void setFont(std::optional<plat::Font> font);
    void setBackgroundColor(std::optional<plat::Color> color);
    const plat::EdgeInsets& padding() const { return _padding; }
    void setPadding(const plat::EdgeInsets& padding);
    std::int64_t horizontalAlignment() const { return _horizontalAlignment; }
    void setHorizontalAlignment(std::int64_t alignment);
    std::int64_t verticalAlignment() const { return _verticalAlignment; }
    void setVerticalAlignment(std::int64_t alignment);
    // The owner took `frame`: the label is inset from it by the padding and realigned.
    void setSlotFrame(const plat::Rect& frame);
    void applyVerticalAlignment(std::int64_t alignment);

    // Guards the number of blank lines an absurd label height would ask for.
    static constexpr std::int64_t MaxAlignmentLines = 1000;

private:
    std::shared_ptr<plat::Label> _label;
    std::string _realText;
    std::optional<std::string> _text;
    std::optional<plat::Color> _textColor;
    std::optional<plat::Font> _font;
    plat::EdgeInsets _padding;
    std::int64_t _horizontalAlignment = 1;
    std::int64_t _verticalAlignment = 1;
};

}  // namespace kivo::detail

// A month cell of the year page. Its view background stays unpainted: the background colour goes
// to the label, so the padding shows what lies beneath the slot.
class KIVO_CALENDAR_EXPORT KivoCalendarMonthSlot : public KivoCalendarMonthSlotBase {
public:
    static std::shared_ptr<KivoCalendarMonthSlot> create(const plat::Rect& frame = {});

    const std::shared_ptr<plat::Label>& monthLabel() const { return _slot.label(); }
    // Setting the text the slot already shows changes nothing.
    const std::optional<std::string>& monthText() const { return _slot.text(); }
    void setMonthText(std::optional<std::string> text) { _slot.setText(std::move(text)); }
    // None leaves the label's own.
    const std::optional<plat::Color>& monthTextColor() const { return _slot.textColor(); }
    void setMonthTextColor(std::optional<plat::Color> color) { _slot.setTextColor(color); }
    const std::optional<plat::Font>& monthFont() const { return _slot.font(); }
    void setMonthFont(std::optional<plat::Font> font) { _slot.setFont(std::move(font)); }
    // Colours the label, not the slot.
    void setBackgroundColor(std::optional<plat::Color> color) { _slot.setBackgroundColor(color); }
    // Inset of the label: a new padding insets the label from its current frame.
    const plat::EdgeInsets& padding() const { return _slot.padding(); }
    void setPadding(const plat::EdgeInsets& padding) { _slot.setPadding(padding); }
    std::int64_t monthHorizontalAlignment() const { return _slot.horizontalAlignment(); }
    void setMonthHorizontalAlignment(std::int64_t alignment) { _slot.setHorizontalAlignment(alignment); }
    std::int64_t monthVerticalAlignment() const { return _slot.verticalAlignment(); }
    void setMonthVerticalAlignment(std::int64_t alignment) { _slot.setVerticalAlignment(alignment); }
    // The slot's frame, the label inset from it by the padding, the vertical alignment applied anew.
    void setMonthSlotFrame(const plat::Rect& frame) {
        setFrame(frame);
        _slot.setSlotFrame(frame);
    }
    void _setVerticalAlignment(std::int64_t alignment) { _slot.applyVerticalAlignment(alignment); }

protected:
    explicit KivoCalendarMonthSlot(const plat::Rect& frame) : KivoCalendarMonthSlotBase(frame) {}
    void initialize() override;

private:
    kivo::detail::SlotLabel _slot;
};

// A year cell of a decade page; as the month slot, with the year's names.
class KIVO_CALENDAR_EXPORT KivoCalendarYearSlot : public KivoCalendarYearSlotBase {
public:
    static std::shared_ptr<KivoCalendarYearSlot> create(const plat::Rect& frame = {});

    const std::shared_ptr<plat::Label>& yearLabel() const { return _slot.label(); }
    const std::optional<std::string>& yearText() const { return _slot.text(); }
    void setYearText(std::optional<std::string> text) { _slot.setText(std::move(text)); }
    const std::optional<plat::Color>& yearTextColor() const { return _slot.textColor(); }
    void setYearTextColor(std::optional<plat::Color> color) { _slot.setTextColor(color); }
    const std::optional<plat::Font>& yearFont() const { return _slot.font(); }
    void setYearFont(std::optional<plat::Font> font) { _slot.setFont(std::move(font)); }
    void setBackgroundColor(std::optional<plat::Color> color) { _slot.setBackgroundColor(color); }
    const plat::EdgeInsets& padding() const { return _slot.padding(); }
    void setPadding(const plat::EdgeInsets& padding) { _slot.setPadding(padding); }
    std::int64_t yearHorizontalAlignment() const { return _slot.horizontalAlignment(); }
    void setYearHorizontalAlignment(std::int64_t alignment) { _slot.setHorizontalAlignment(alignment); }
    std::int64_t yearVerticalAlignment() const { return _slot.verticalAlignment(); }
    void setYearVerticalAlignment(std::int64_t alignment) { _slot.setVerticalAlignment(alignment); }
    void setYearSlotFrame(const plat::Rect& frame) {
        setFrame(frame);
        _slot.setSlotFrame(frame);
    }
    void _setVerticalAlignment(std::int64_t alignment) { _slot.applyVerticalAlignment(alignment); }

protected:
    explicit KivoCalendarYearSlot(const plat::Rect& frame) : KivoCalendarYearSlotBase(frame) {}
    void initialize() override;

private:
    kivo::detail::SlotLabel _slot;
};
