// The label slot of the year and decade pages: the label's text, colours, font, padding and the two
// alignments, shared by the month slot and the year slot.

#include "calendar/SlotLabel.h"

#include <algorithm>
#include <cmath>

#include "Platform/graphics/text.h"
#include "Platform/ui/label.h"

namespace {

constexpr std::int64_t AlignLeading = 0;
constexpr std::int64_t AlignTrailing = 2;

plat::Rect insetFrame(const plat::EdgeInsets& padding, double width, double height) {
    return {padding.left, padding.top, width - padding.left - padding.right, height - padding.top - padding.bottom};
}

}  // namespace

namespace kivo::detail {

void SlotLabel::build(plat::View& owner) {
    _label = plat::Label::create({0, 0, owner.frame().width(), owner.frame().height()});
    _label->setTextAlignment(plat::TextAlignment::Center);
    _label->setNumberOfLines(0);
    owner.addSubview(_label);
}

void SlotLabel::setText(std::optional<std::string> text) {
    if (text.value_or("") == _realText) return;
    _realText = text.value_or("");
    _text = std::move(text);
    _label->setText(_realText);
    applyVerticalAlignment(_verticalAlignment);
}

void SlotLabel::setTextColor(std::optional<plat::Color> color) {
    _textColor = color;
    if (color && *color != _label->textColor()) _label->setTextColor(*color);
}

void SlotLabel::setFont(std::optional<plat::Font> font) {
    _font = std::move(font);
    if (_font && *_font != _label->font()) {
        _label->setFont(*_font);
        // The blank lines were counted in the old font's line height.
        applyVerticalAlignment(_verticalAlignment);
    }
}

void SlotLabel::setBackgroundColor(std::optional<plat::Color> color) {
    if (color != _label->backgroundColor()) _label->setBackgroundColor(color);
}

void SlotLabel::setPadding(const plat::EdgeInsets& padding) {
    if (padding == _padding) return;
    _padding = padding;
    const plat::Rect current = _label->frame();
    _label->setFrame(insetFrame(padding, current.width(), current.height()));
}

void SlotLabel::setHorizontalAlignment(std::int64_t alignment) {
    _horizontalAlignment = alignment;
    _label->setTextAlignment(alignment == AlignLeading    ? plat::TextAlignment::Left
                             : alignment == AlignTrailing ? plat::TextAlignment::Right
                                                          : plat::TextAlignment::Center);
}

void SlotLabel::setVerticalAlignment(std::int64_t alignment) {
    if (alignment == _verticalAlignment) return;
    _verticalAlignment = alignment;
    applyVerticalAlignment(alignment);
}

void SlotLabel::setSlotFrame(const plat::Rect& frame) {
    _label->setFrame(insetFrame(_padding, frame.width(), frame.height()));
    applyVerticalAlignment(_verticalAlignment);
}

void SlotLabel::applyVerticalAlignment(std::int64_t alignment) {
    // Measured on the text as set: the label's own text may already carry the blank lines of an
    // earlier pass, which would make every pass count fewer lines than the last. Centring (and a label
    // with no place yet) takes the text back without blank lines.
    std::int64_t lines = 0;
    const bool pushed = alignment == AlignLeading || alignment == AlignTrailing;
    if (pushed && _label->frame() != plat::Rect{} && !_realText.empty()) {
        const double lineHeight = plat::measureText(_realText, _label->font()).height;
        const double width = _label->frame().width();
        const double textHeight =
            plat::measureText(plat::AttributedString(_realText, _label->font(), plat::Color::black()), width > 0 ? width : 0)
                .height;
        const double room = lineHeight > 0 ? (_label->frame().height() - textHeight) / lineHeight : 0;
        if (std::isfinite(room) && room > 0)
            lines = static_cast<std::int64_t>(std::min(room, static_cast<double>(MaxAlignmentLines)));
    }
    std::string text = _realText;
    for (std::int64_t i = 0; i < lines; ++i) {
        if (alignment == AlignTrailing)
            text = " \n" + text;
        else
            text += "\n ";
    }
    if (text != _label->text()) _label->setText(std::move(text));
}

}  // namespace kivo::detail
