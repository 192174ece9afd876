#include "Platform/ui/toolbar.h"

#include <algorithm>
#include <cmath>

#include "Platform/graphics/context.h"
#include "Platform/graphics/text.h"
#include "ui/followed_touch.h"

namespace plat {

namespace {

constexpr double BorderWidth = 1;

bool isEmpty(const std::weak_ptr<void>& target) {
    const std::weak_ptr<void> none;
    return !target.owner_before(none) && !none.owner_before(target);
}

bool isDone(const BarButtonItem& item) {
    return item.systemItem() == BarButtonSystemItem::Done || item.style() == BarButtonItemStyle::Done;
}

Font titleFont(const BarButtonItem& item) {
    return isDone(item) ? Font::boldSystem(Toolbar::TitleFontSize) : Font::system(Toolbar::TitleFontSize);
}

}  // namespace

// ---- Items ----

std::shared_ptr<BarButtonItem> BarButtonItem::create(BarButtonSystemItem item, std::weak_ptr<void> target, Action action) {
    std::shared_ptr<BarButtonItem> made(new BarButtonItem);
    made->_systemItem = item;
    if (item == BarButtonSystemItem::Done) made->_title = "Done";
    if (item == BarButtonSystemItem::Cancel) made->_title = "Cancel";
    made->setTarget(std::move(target));
    made->_action = std::move(action);
    return made;
}

std::shared_ptr<BarButtonItem> BarButtonItem::create(std::string title, BarButtonItemStyle style, std::weak_ptr<void> target,
                                                     Action action) {
    std::shared_ptr<BarButtonItem> made(new BarButtonItem);
    made->_title = std::move(title);
    made->_style = style;
    made->setTarget(std::move(target));
    made->_action = std::move(action);
    return made;
}

bool BarButtonItem::isSpace() const {
    return _systemItem == BarButtonSystemItem::FlexibleSpace || _systemItem == BarButtonSystemItem::FixedSpace;
}

void BarButtonItem::changed() {
    if (auto owner = _owner.lock()) {
        owner->setNeedsLayout();
        owner->setNeedsDisplay();
    }
}

void BarButtonItem::setTitle(std::string title) {
    if (isSpace()) return;
    _title = std::move(title);
    changed();
}

void BarButtonItem::setStyle(BarButtonItemStyle style) {
    _style = style;
    changed();
}

void BarButtonItem::setWidth(double width) {
    if (!std::isfinite(width) || width < 0) return;
    _width = width;
    changed();
}

void BarButtonItem::setEnabled(bool enabled) {
    _enabled = enabled;
    changed();
}

void BarButtonItem::setTarget(std::weak_ptr<void> target) {
    _hasTarget = !isEmpty(target);
    _target = std::move(target);
}

bool BarButtonItem::sendAction() {
    if (isSpace() || !_enabled || !_action) return false;
    std::shared_ptr<void> target;
    if (_hasTarget && !(target = _target.lock())) return false;
    const Action action = _action;  // the action may replace itself
    action(*this);
    return true;
}

// ---- Bar ----

std::shared_ptr<Toolbar> Toolbar::create(const Rect& frame) { return initialized(std::shared_ptr<Toolbar>(new Toolbar(frame))); }

Toolbar::Toolbar(const Rect& frame) : View(frame) { setBackgroundColor(BarColor); }

void Toolbar::setItems(std::vector<std::shared_ptr<BarButtonItem>> items) {
    std::erase(items, nullptr);
    endPress();
    _items = std::move(items);
    for (const auto& item : _items) item->setOwner({}, sharedAs<View>());
    setNeedsDisplay();
}

std::vector<Rect> Toolbar::itemFrames() const {
    const Rect b = bounds();
    std::vector<double> widths(_items.size(), 0);
    double used = 0;
    int flexible = 0;
    for (std::size_t i = 0; i < _items.size(); ++i) {
        const BarButtonItem& item = *_items[i];
        if (item.systemItem() == BarButtonSystemItem::FlexibleSpace) {
            ++flexible;
            continue;
        }
        if (item.isSpace() || item.width() > 0)
            widths[i] = item.width();
        else
            widths[i] = measureText(item.title(), titleFont(item)).width + 2 * ItemPadding;
        used += widths[i];
    }
    const double free = std::max(0.0, b.width() - 2 * EdgeMargin - used);
    std::vector<Rect> frames;
    frames.reserve(_items.size());
    double x = b.x() + EdgeMargin;
    for (std::size_t i = 0; i < _items.size(); ++i) {
        const double w = _items[i]->systemItem() == BarButtonSystemItem::FlexibleSpace ? free / flexible : widths[i];
        frames.emplace_back(x, b.y(), w, b.height());
        x += w;
    }
    return frames;
}

Size Toolbar::sizeThatFits(Size size) const { return {size.width > 0 ? size.width : DefaultWidth, DefaultHeight}; }

void Toolbar::drawRect(Context& context, const Rect&) {
    const Rect b = bounds();
    context.setStrokeColor(BorderColor);
    context.setLineWidth(BorderWidth);
    context.strokeLine({b.x(), b.y() + BorderWidth / 2}, {b.maxX(), b.y() + BorderWidth / 2});
    const std::vector<Rect> frames = itemFrames();
    TextOptions options;
    options.alignment = TextAlignment::Center;
    options.lineBreak = LineBreakMode::TruncateTail;
    for (std::size_t i = 0; i < _items.size(); ++i) {
        const BarButtonItem& item = *_items[i];
        if (item.isSpace() || item.title().empty()) continue;
        const Font font = titleFont(item);
        Color color = item.isEnabled() ? tintColor() : DisabledTitleColor;
        if (static_cast<std::int64_t>(i) == _pressed && _pressedInside) color = color.withAlpha(color.a * PressedAlpha);
        const Rect f = frames[i];
        const double height = fontMetrics(font).lineHeight;
        context.drawText(AttributedString(item.title(), font, color),
                         Rect(f.x() + ItemPadding, f.y() + (f.height() - height) / 2, std::max(0.0, f.width() - 2 * ItemPadding), height),
                         options);
    }
}

// ---- Touches ----

std::int64_t Toolbar::itemAt(Point point) const {
    const std::vector<Rect> frames = itemFrames();
    for (std::size_t i = 0; i < frames.size(); ++i) {
        if (!_items[i]->isSpace() && _items[i]->isEnabled() && frames[i].contains(point)) return static_cast<std::int64_t>(i);
    }
    return -1;
}

void Toolbar::endPress() {
    if (_pressed >= 0) setNeedsDisplay();
    _touch.reset();
    _pressed = -1;
    _pressedInside = false;
}

void Toolbar::touchesBegan(const TouchSet& touches, const Event&) {
    if (_pressed >= 0 || touches.empty()) return;
    _pressed = itemAt(touches.front()->locationInView(this));
    if (_pressed < 0) return;
    _touch = touches.front();
    _pressedInside = true;
    setNeedsDisplay();
}

void Toolbar::touchesMoved(const TouchSet& touches, const Event&) {
    const Touch* touch = detail::followedTouch(touches, _touch);
    if (!touch || _pressed < 0) return;
    const bool inside = itemAt(touch->locationInView(this)) == _pressed;
    if (inside != _pressedInside) setNeedsDisplay();
    _pressedInside = inside;
}

void Toolbar::touchesEnded(const TouchSet& touches, const Event&) {
    const Touch* touch = detail::followedTouch(touches, _touch);
    if (!touch || _pressed < 0) return;
    const std::int64_t pressed = _pressed;
    const bool inside = itemAt(touch->locationInView(this)) == pressed;
    endPress();
    if (!inside) return;
    auto keep = sharedAs<Toolbar>();
    const auto item = _items[static_cast<std::size_t>(pressed)];
    item->sendAction();
}

void Toolbar::touchesCancelled(const TouchSet& touches, const Event&) {
    if (detail::followedTouch(touches, _touch)) endPress();
}

}  // namespace plat
