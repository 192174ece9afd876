#include "Platform/ui/text_field.h"

#include <algorithm>
#include <cmath>

#include "Platform/graphics/context.h"
#include "Platform/runtime/notification_center.h"
#include "Platform/ui/pasteboard.h"
#include "Platform/ui/shapes.h"
#include "graphics/pango_text.h"
#include "ui/keyboard.h"

namespace plat {

namespace {

constexpr std::string_view Bullet = "\u2022";
constexpr double LineBorderWidth = 1;
constexpr double ClearCrossWidth = 1.5;

}  // namespace

std::string TextField::oneLine(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i] == '\n' || text[i] == '\r' ? ' ' : text[i];
    }
    return out;
}

std::shared_ptr<TextField> TextField::create(const Rect& frame) {
    return initialized(std::shared_ptr<TextField>(new TextField(frame)));
}

TextField::TextField(const Rect& frame) : Control(frame) {}

TextField::~TextField() {
    if (_editing) detail::keyboardReleased();
}

// ---- Text and selection ----

void TextField::setText(std::string_view text) {
    _model.setText(oneLine(text));
    textChanged();
}

void TextField::setPlaceholder(std::string placeholder) {
    _placeholder = std::move(placeholder);
    setNeedsDisplay();
}

void TextField::setSelectedRange(TextRange range) {
    _model.setSelectedRange(range);
    selectionChanged();
}

bool TextField::replaceRange(TextRange range, std::string_view replacement) {
    return applyEdit(clampRange(range, _model.length()), oneLine(replacement));
}

bool TextField::applyEdit(TextRange range, std::string replacement) {
    auto keep = sharedAs<TextField>();
    if (auto d = delegate(); d && !d->shouldChangeCharactersInRange(*this, range, replacement)) return false;
    _model.replace(range, replacement);
    textChanged();
    sendActionsForControlEvents(ControlEventEditingChanged);
    post(TextFieldTextDidChangeNotification);
    return true;
}

void TextField::selectionChanged() {
    scrollCaretIntoView();
    setNeedsDisplay();
}

void TextField::textChanged() {
    _laidOut = false;
    selectionChanged();
}

// ---- Look ----

void TextField::setFont(const Font& font) {
    _font = font;
    textChanged();
}

void TextField::setTextColor(const Color& color) {
    _textColor = color;
    setNeedsDisplay();
}

void TextField::setTextAlignment(TextAlignment alignment) {
    _alignment = alignment;
    setNeedsDisplay();
}

void TextField::setBorderStyle(TextBorderStyle style) {
    _borderStyle = style;
    setNeedsDisplay();
}

void TextField::setContentVerticalAlignment(ContentVerticalAlignment alignment) {
    _verticalAlignment = alignment;
    setNeedsDisplay();
}

void TextField::setSecureTextEntry(bool secure) {
    _secure = secure;
    textChanged();
}

void TextField::setEnabled(bool enabled) {
    Control::setEnabled(enabled);
    if (!enabled && isFirstResponder()) resignFirstResponder();
    setNeedsDisplay();
}

// ---- Editing ----

void TextField::post(std::string_view name) {
    NotificationCenter::defaultCenter().post(std::string(name), sharedAs<TextField>());
}

bool TextField::becomeFirstResponder() {
    if (isFirstResponder()) return true;
    auto keep = sharedAs<TextField>();
    if (!window() || !canBecomeFirstResponder()) return false;
    if (auto d = delegate(); d && !d->textFieldShouldBeginEditing(*this)) return false;
    {
        detail::KeyboardHandOver handOver;
        if (!Control::becomeFirstResponder()) return false;
    }
    _editing = true;
    _model.moveToEnd(false);
    selectionChanged();
    detail::keyboardWanted(keep, {_inputView, _inputAccessoryView});
    if (auto d = delegate()) d->textFieldDidBeginEditing(*this);
    sendActionsForControlEvents(ControlEventEditingDidBegin);
    post(TextFieldTextDidBeginEditingNotification);
    return true;
}

bool TextField::resignFirstResponder() {
    if (!isFirstResponder()) return true;
    auto keep = sharedAs<TextField>();
    if (auto d = delegate(); d && !d->textFieldShouldEndEditing(*this)) return false;
    if (!Control::resignFirstResponder()) return false;
    finishEditing();
    return true;
}

void TextField::finishEditing() {
    if (!_editing) return;
    _editing = false;
    _scrollX = 0;
    setNeedsDisplay();
    detail::keyboardReleased();
    if (auto d = delegate()) d->textFieldDidEndEditing(*this);
    sendActionsForControlEvents(ControlEventEditingDidEnd);
    post(TextFieldTextDidEndEditingNotification);
}

void TextField::firstResponderWasTaken() { finishEditing(); }

void TextField::reloadInputViews() {
    if (_editing) detail::keyboardWanted(sharedAs<TextField>(), {_inputView, _inputAccessoryView});
}

void TextField::insertText(std::string_view text) {
    if (!_editing) return;
    if (text == "\n" || text == "\r" || text == "\r\n") {
        handleReturn();
        return;
    }
    applyEdit(_model.selectedRange(), oneLine(text));
}

void TextField::deleteBackward() {
    if (!_editing) return;
    const TextRange range = _model.rangeForDeleteBackward();
    if (range.length == 0) return;
    applyEdit(range, {});
}

void TextField::handleReturn() {
    auto keep = sharedAs<TextField>();
    if (auto d = delegate(); d && !d->textFieldShouldReturn(*this)) return;
    sendActionsForControlEvents(ControlEventEditingDidEndOnExit);
}

bool TextField::pressKey(const KeyPress& key) {
    if (!_editing) return false;
    const unsigned flags = key.modifierFlags;
    const bool shift = flags & KeyModifierShift;
    const bool command = flags & KeyModifierCommand;
    if (key.input == KeyInputLeftArrow) {
        command ? _model.moveToStart(shift) : _model.moveLeft(shift);
    } else if (key.input == KeyInputRightArrow) {
        command ? _model.moveToEnd(shift) : _model.moveRight(shift);
    } else if (key.input == KeyInputUpArrow) {
        _model.moveToStart(shift);  // one line: up goes to its start
    } else if (key.input == KeyInputDownArrow) {
        _model.moveToEnd(shift);
    } else if (key.input == KeyInputReturn) {
        handleReturn();
        return true;
    } else if (command && key.input.size() == 1) {
        switch (key.input[0] | 0x20) {  // either case
            case 'a':
                selectAll();
                return true;
            case 'c':
                return copy();
            case 'x':
                return cut();
            case 'v':
                return paste();
            default:
                return false;
        }
    } else {
        return false;
    }
    selectionChanged();
    return true;
}

void TextField::selectAll() {
    _model.selectAll();
    selectionChanged();
}

bool TextField::copy() {
    const TextRange sel = _model.selectedRange();
    if (_secure || sel.length == 0) return false;
    Pasteboard::general().setString(_model.textInRange(sel));
    return true;
}

bool TextField::cut() {
    if (!_editing || !copy()) return false;
    return applyEdit(_model.selectedRange(), {});
}

bool TextField::paste() {
    if (!_editing) return false;
    const auto text = Pasteboard::general().string();
    if (!text || text->empty()) return false;
    return applyEdit(_model.selectedRange(), oneLine(*text));
}

void TextField::setClearButtonMode(TextFieldViewMode mode) {
    _clearButtonMode = mode;
    selectionChanged();
}

bool TextField::showsClearButton() const {
    if (_model.length() == 0) return false;
    switch (_clearButtonMode) {
        case TextFieldViewMode::Always:
            return true;
        case TextFieldViewMode::WhileEditing:
            return _editing;
        case TextFieldViewMode::UnlessEditing:
            return !_editing;
        default:
            return false;
    }
}

Rect TextField::clearButtonRect() const {
    if (!showsClearButton()) return {};
    const Rect b = bounds();
    const double inset = _borderStyle == TextBorderStyle::None ? PlainTextInset : BorderedTextInset;
    return {b.maxX() - inset - ClearButtonSize, b.midY() - ClearButtonSize / 2, ClearButtonSize, ClearButtonSize};
}

void TextField::clear() {
    auto keep = sharedAs<TextField>();
    if (auto d = delegate(); d && !d->textFieldShouldClear(*this)) return;
    _model.setText({});
    textChanged();
    sendActionsForControlEvents(ControlEventEditingChanged);
    post(TextFieldTextDidChangeNotification);
}

void TextField::endTrackingWithTouch(const Touch* touch, const Event* event) {
    Control::endTrackingWithTouch(touch, event);
    if (!touch || !isEnabled()) return;
    const Point p = touch->locationInView(this);
    if (!pointInside(p, event)) return;
    if (clearButtonRect().contains(p)) {
        clear();
        if (!isFirstResponder()) becomeFirstResponder();
        return;
    }
    if (!isFirstResponder() && !becomeFirstResponder()) return;
    _model.setSelectedRange({closestPositionToPoint(p), 0});
    selectionChanged();
}

// ---- Geometry ----

Rect TextField::textRectForBounds(const Rect& bounds) const {
    const double inset = _borderStyle == TextBorderStyle::None ? PlainTextInset : BorderedTextInset;
    Rect r = bounds.insetBy(inset, 0);
    if (showsClearButton()) r.size.width = std::max(0.0, r.width() - ClearButtonSize - inset);
    return r;
}

void TextField::layOutText() const {
    if (_laidOut) return;
    const std::size_t length = static_cast<std::size_t>(_model.length());
    _shownByte.assign(length + 1, 0);
    if (_secure) {
        // A bullet for each character: a position inside one stands at its bullet.
        _shown.clear();
        std::size_t p = 0;
        for (const std::int64_t start : _model.characterStarts()) {
            for (; p <= static_cast<std::size_t>(start); ++p) _shownByte[p] = _shown.size();
            _shown += Bullet;
        }
        for (; p <= length; ++p) _shownByte[p] = _shown.size();
    } else {
        // The text itself: each position at the first byte of its code point (the second half of a
        // surrogate pair at the pair's).
        _shown = _model.text();
        const std::u16string& units = _model.units();
        std::size_t byte = 0;
        for (std::size_t p = 0; p < length; ++p) {
            _shownByte[p] = byte;
            const char16_t u = units[p];
            const bool pairStart =
                u >= 0xD800 && u <= 0xDBFF && p + 1 < length && units[p + 1] >= 0xDC00 && units[p + 1] <= 0xDFFF;
            if (pairStart) {
                _shownByte[++p] = byte;
                byte += 4;
            } else {
                byte += u < 0x80 ? 1 : u < 0x800 ? 2 : 3;
            }
        }
        _shownByte[length] = std::min(byte, _shown.size());
    }
    const std::vector<double> before = detail::widthsBeforeOffsets(_shown, _font);
    _widthBefore.resize(length + 1);
    for (std::size_t p = 0; p <= length; ++p) _widthBefore[p] = before[std::min(_shownByte[p], _shown.size())];
    _laidOut = true;
    ++_layouts;
}

double TextField::widthUpTo(std::int64_t position) const {
    if (position <= 0) return 0;
    layOutText();
    return _widthBefore[static_cast<std::size_t>(std::min(position, _model.length()))];
}

std::int64_t TextField::positionAtWidth(double width) const {
    layOutText();
    const auto it = std::upper_bound(_widthBefore.begin(), _widthBefore.end(), width);
    return std::max<std::int64_t>(0, static_cast<std::int64_t>(it - _widthBefore.begin()) - 1);
}

double TextField::lineHeight() const { return fontMetrics(_font).lineHeight; }

Point TextField::textOrigin() const {
    const Rect r = textRectForBounds(bounds());
    const double h = lineHeight();
    double y = r.y() + (r.height() - h) / 2;
    if (_verticalAlignment == ContentVerticalAlignment::Top) y = r.y();
    if (_verticalAlignment == ContentVerticalAlignment::Bottom) y = r.maxY() - h;
    const double width = widthUpTo(_model.length());
    double x = r.x();
    // Text wider than the field is laid out from the left and scrolled to the caret.
    if (width <= r.width()) {
        const TextAlignment alignment = resolvedTextAlignment(_alignment);
        if (alignment == TextAlignment::Center) x += (r.width() - width) / 2;
        if (alignment == TextAlignment::Right) x += r.width() - width;
    }
    return {x - _scrollX, y};
}

void TextField::scrollCaretIntoView() {
    const Rect r = textRectForBounds(bounds());
    const double width = widthUpTo(_model.length());
    if (!_editing || width <= r.width()) {
        _scrollX = 0;
        return;
    }
    const double caret = widthUpTo(_model.selectedRange().end());
    if (caret - _scrollX > r.width() - CaretWidth) _scrollX = caret - r.width() + CaretWidth;
    if (caret - _scrollX < 0) _scrollX = caret;
    _scrollX = std::clamp(_scrollX, 0.0, width - r.width() + CaretWidth);
}

Rect TextField::caretRectForPosition(std::int64_t position) const {
    const Point o = textOrigin();
    const double x = o.x + widthUpTo(_model.snapToBoundary(position));
    return {x - CaretWidth / 2, o.y, CaretWidth, lineHeight()};
}

std::int64_t TextField::closestPositionToPoint(Point point) const {
    const double x = point.x - textOrigin().x;
    // Prefix widths grow with the position. Keep lo before x (or at the start) and hi at or past it
    // (or at the end), both on character boundaries, until they are neighbours; take the nearer.
    std::int64_t lo = 0, hi = _model.length();
    while (_model.nextBoundary(lo) < hi) {
        std::int64_t mid = _model.snapToBoundary(lo + (hi - lo) / 2);
        if (mid <= lo) mid = _model.nextBoundary(lo);
        (widthUpTo(mid) < x ? lo : hi) = mid;
    }
    return std::fabs(widthUpTo(hi) - x) < std::fabs(widthUpTo(lo) - x) ? hi : lo;
}

// ---- Drawing ----

void TextField::drawRect(Context& context, const Rect&) {
    const Rect b = bounds();
    switch (_borderStyle) {
        case TextBorderStyle::RoundedRect: {
            const Path outline = roundedRectPath(b.insetBy(LineBorderWidth / 2, LineBorderWidth / 2), RoundedCornerRadius);
            context.setFillColor(Color::white());
            context.fillPath(outline);
            context.setStrokeColor(BorderColor);
            context.setLineWidth(LineBorderWidth);
            context.strokePath(outline);
            break;
        }
        case TextBorderStyle::Line:
        case TextBorderStyle::Bezel:
            context.setStrokeColor(_borderStyle == TextBorderStyle::Line ? Color::black() : BorderColor);
            context.setLineWidth(LineBorderWidth);
            context.strokeRect(b.insetBy(LineBorderWidth / 2, LineBorderWidth / 2));
            break;
        default:
            break;
    }

    if (const Rect button = clearButtonRect(); !button.isEmpty()) {
        context.setFillColor(ClearButtonColor);
        context.fillEllipse(button);
        // A cross of two strokes across the middle half of the disc.
        const double arm = button.width() / 4;
        const Point c = button.center();
        context.setStrokeColor(Color::white());
        context.setLineWidth(ClearCrossWidth);
        context.strokeLine({c.x - arm, c.y - arm}, {c.x + arm, c.y + arm});
        context.strokeLine({c.x - arm, c.y + arm}, {c.x + arm, c.y - arm});
    }

    const Rect textRect = textRectForBounds(b);
    context.save();
    context.clipToRect(textRect);
    const Point origin = textOrigin();
    const double h = lineHeight();
    const TextRange sel = _model.selectedRange();
    if (_editing && sel.length > 0) {
        const double x0 = origin.x + widthUpTo(sel.location), x1 = origin.x + widthUpTo(sel.end());
        context.setFillColor(tintColor().withAlpha(SelectionAlpha));
        context.fillRect({x0, origin.y, x1 - x0, h});
    }
    if (_model.length() > 0) {
        const Color color = isEnabled() ? _textColor : _textColor.withAlpha(_textColor.a * 0.5);
        // Text wider than the field is drawn from the character at its left edge to the one past its
        // right edge only: a long text is not laid out again for every frame.
        std::int64_t from = 0, to = _model.length();
        if (widthUpTo(to) > textRect.width()) {
            from = _model.snapToBoundary(positionAtWidth(textRect.minX() - origin.x));
            to = positionAtWidth(textRect.maxX() - origin.x);
            if (to < _model.length()) to = _model.nextBoundary(to);
        }
        const std::size_t first = _shownByte[static_cast<std::size_t>(from)];
        const std::string shown = _shown.substr(first, _shownByte[static_cast<std::size_t>(to)] - first);
        context.drawText(AttributedString(shown, _font, color), {origin.x + widthUpTo(from), origin.y});
    } else if (!_placeholder.empty()) {
        // Aligned by its own width (the origin of an empty text is where its caret sits), its start
        // kept in the field when it is too wide.
        const AttributedString placeholder(_placeholder, _font, PlaceholderColor);
        const TextAlignment alignment = resolvedTextAlignment(_alignment);
        const double width = measureText(placeholder).width;
        double x = origin.x;
        if (alignment == TextAlignment::Center) x -= width / 2;
        if (alignment == TextAlignment::Right) x -= width;
        context.drawText(placeholder, {std::max(x, textRect.x()), origin.y});
    }
    if (_editing && sel.length == 0) {
        context.setFillColor(tintColor());
        context.fillRect(caretRectForPosition(sel.location));
    }
    context.restore();
}

}  // namespace plat
