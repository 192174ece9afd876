#include "Platform/ui/label.h"

#include <limits>

#include "Platform/graphics/context.h"

namespace plat {

std::shared_ptr<Label> Label::create(const Rect& frame) { return initialized(std::shared_ptr<Label>(new Label(frame))); }

Label::Label(const Rect& frame) : View(frame) { setUserInteractionEnabled(false); }

void Label::setText(std::string text) {
    if (text == _text) return;
    _text = std::move(text);
    setNeedsDisplay();
}

void Label::setFont(const Font& font) {
    _font = font;
    setNeedsDisplay();
}

void Label::setTextColor(const Color& color) {
    _textColor = color;
    setNeedsDisplay();
}

void Label::setTextAlignment(TextAlignment alignment) {
    _alignment = alignment;
    setNeedsDisplay();
}

void Label::setNumberOfLines(int lines) {
    _lines = lines < 0 ? 0 : lines;
    setNeedsDisplay();
}

void Label::setLineBreakMode(LineBreakMode mode) {
    _lineBreak = mode;
    setNeedsDisplay();
}

AttributedString Label::attributed() const { return AttributedString(_text, _font, _textColor); }

TextOptions Label::options() const {
    TextOptions o;
    o.alignment = _alignment;
    o.lineBreak = _lineBreak;
    o.maxLines = _lines;
    o.clipToRect = true;
    return o;
}

Size Label::sizeThatFits(Size size) const {
    if (_text.empty()) return {};
    const double width = _lines == 1 || !(size.width > 0) ? std::numeric_limits<double>::infinity() : size.width;
    return measureText(attributed(), width, options());
}

void Label::drawRect(Context& context, const Rect&) {
    if (_text.empty()) return;
    const Rect b = bounds();
    const AttributedString text = attributed();
    const TextOptions o = options();
    const Size size = measureText(text, b.width(), o);
    // Centred vertically, as a label shows its text.
    const double height = std::min(size.height, b.height());
    context.drawText(text, Rect(b.x(), b.y() + (b.height() - height) / 2, b.width(), height), o);
}

}  // namespace plat
