#pragma once
// The label a month or year slot is made of, whichever page it serves.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "Platform/foundation/geometry.h"
#include "Platform/graphics/color.h"
#include "Platform/graphics/font.h"
#include "Platform/ui/view.h"

namespace plat {
class Label;
}

namespace kivo::detail {

// What a label slot is made of, whichever page it serves: the label, the text as set, the padding
// and the two alignments. Alignment codes: 0 left or top, 2 right or bottom, anything else centre.
class SlotLabel {
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
