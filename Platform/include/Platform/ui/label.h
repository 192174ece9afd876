#pragma once
// A view that shows a short text: font, colour, alignment, number of lines and line breaking,
// vertically centred in its bounds. It takes no touches unless user interaction is switched on.

#include <memory>
#include <string>

#include "Platform/graphics/text.h"
#include "Platform/ui/view.h"

namespace plat {

class Label : public View {
public:
    static std::shared_ptr<Label> create(const Rect& frame = {});

    const std::string& text() const { return _text; }
    void setText(std::string text);
    const Font& font() const { return _font; }
    void setFont(const Font& font);
    const Color& textColor() const { return _textColor; }
    void setTextColor(const Color& color);
    TextAlignment textAlignment() const { return _alignment; }
    void setTextAlignment(TextAlignment alignment);
    // 0: as many lines as the text needs.
    int numberOfLines() const { return _lines; }
    void setNumberOfLines(int lines);
    LineBreakMode lineBreakMode() const { return _lineBreak; }
    void setLineBreakMode(LineBreakMode mode);

    // The text's size, wrapped to `size.width` when it has more than one line.
    Size sizeThatFits(Size size) const override;
    void drawRect(Context& context, const Rect& rect) override;

protected:
    explicit Label(const Rect& frame);

private:
    AttributedString attributed() const;
    TextOptions options() const;

    std::string _text;
    Font _font = Font::system(17);
    Color _textColor = Color::black();
    TextAlignment _alignment = TextAlignment::Left;
    int _lines = 1;
    LineBreakMode _lineBreak = LineBreakMode::TruncateTail;
};

}  // namespace plat
