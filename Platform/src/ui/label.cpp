#include "Platform/ui/label.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "Platform/graphics/context.h"
#include "foundation/saturating_cast.h"

namespace plat {

std::shared_ptr<Label> Label::create(const Rect& frame) { return initialized(std::shared_ptr<Label>(new Label(frame))); }

Label::Label(const Rect& frame) : View(frame) { setUserInteractionEnabled(false); }

void Label::setText(std::string text) {
    if (text == _text && _runs.empty()) return;
    _text = std::move(text);
    _runs.clear();
    setNeedsDisplay();
}

void Label::setAttributedText(const AttributedString& text) {
    _text = text.text;
    _font = text.attributes.font;
    _textColor = text.attributes.color;
    _runs = text.runs;
    setNeedsDisplay();
}

void Label::addAttributes(const TextRunAttributes& attributes, TextRange range) {
    range = clampRange(range, utf16Length(_text));
    if (range.length == 0) return;
    const std::size_t start = utf16OffsetToByte(_text, range.location);
    const std::size_t end = utf16OffsetToByte(_text, range.end());
    _runs.push_back({start, end - start, attributes.font, attributes.color, attributes.background});
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

AttributedString Label::attributed() const {
    AttributedString text(_text, _font, _textColor);
    text.runs = _runs;
    return text;
}

TextOptions Label::options(double height) const {
    TextOptions o;
    o.alignment = resolvedTextAlignment(_alignment);
    o.lineBreak = _lineBreak;
    o.maxLines = _lines;
    o.clipToRect = true;
    const bool truncates = _lineBreak == LineBreakMode::TruncateHead || _lineBreak == LineBreakMode::TruncateTail ||
                           _lineBreak == LineBreakMode::TruncateMiddle;
    if (_lines == 0 && truncates) {
        // Unlimited lines: as many as the height holds, the last one truncated.
        const double line = fontMetrics(_font).lineHeight;
        o.maxLines = line > 0 && std::isfinite(height) ? std::max(1, detail::saturatingCast<int>(std::floor(height / line))) : 0;
        if (o.maxLines == 0) o.lineBreak = LineBreakMode::WordWrap;
    }
    return o;
}

Size Label::sizeThatFits(Size size) const {
    if (_text.empty()) return {};
    const double width = _lines == 1 || !(size.width > 0) ? std::numeric_limits<double>::infinity() : size.width;
    return measureText(attributed(), width, options(std::numeric_limits<double>::infinity()));
}

void Label::drawRect(Context& context, const Rect&) {
    if (_text.empty()) return;
    const Rect b = bounds();
    const AttributedString text = attributed();
    const TextOptions o = options(b.height());
    const Size size = measureText(text, b.width(), o);
    // Centred vertically, as a label shows its text.
    const double height = std::min(size.height, b.height());
    context.drawText(text, Rect(b.x(), b.y() + (b.height() - height) / 2, b.width(), height), o);
}

}  // namespace plat
