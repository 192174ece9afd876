#pragma once
// A view that shows a text: font, colour, alignment, number of lines and line breaking, vertically
// centred in its bounds, with attributes (font, colour, background) over ranges of it. It takes no
// touches unless user interaction is switched on.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Platform/PlatformExport.h"
#include "Platform/foundation/utf16.h"
#include "Platform/graphics/text.h"
#include "Platform/ui/view.h"

namespace plat {

// Attributes laid over a range of a label's text; unset ones leave what is there.
struct PLAT_EXPORT TextRunAttributes {
    std::optional<Font> font{};
    std::optional<Color> color{};
    std::optional<Color> background{};
};

class PLAT_EXPORT Label : public View {
public:
    static std::shared_ptr<Label> create(const Rect& frame = {});

    const std::string& text() const { return _text; }
    // Plain text: the attributes over ranges are dropped.
    void setText(std::string text);
    // The text with the label's font and colour for the whole and the runs laid over it.
    AttributedString attributedText() const { return attributed(); }
    // Takes text, runs, and the font and colour of the whole as the label's font and colour.
    void setAttributedText(const AttributedString& text);
    // Lays attributes over a range counted in UTF-16 units (clamped to the text; empty ranges add nothing).
    void addAttributes(const TextRunAttributes& attributes, TextRange range);
    const Font& font() const { return _font; }
    void setFont(const Font& font);
    const Color& textColor() const { return _textColor; }
    void setTextColor(const Color& color);
    TextAlignment textAlignment() const { return _alignment; }
    void setTextAlignment(TextAlignment alignment);
    // 0: as many lines as the text needs and the height holds (the last one truncated by a
    // truncating line-break mode).
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
    PLAT_NO_EXPORT AttributedString attributed() const;
    PLAT_NO_EXPORT TextOptions options(double height) const;

    std::string _text;
    std::vector<AttributedString::Run> _runs;
    Font _font = Font::system(17);
    Color _textColor = Color::black();
    TextAlignment _alignment = TextAlignment::Left;
    int _lines = 1;
    LineBreakMode _lineBreak = LineBreakMode::TruncateTail;
};

}  // namespace plat
