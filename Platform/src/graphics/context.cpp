#include "Platform/graphics/context.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

#include "Platform/graphics/image.h"

namespace plat {

namespace {

bool finiteTransform(const AffineTransform& t) {
    return std::isfinite(t.a) && std::isfinite(t.b) && std::isfinite(t.c) && std::isfinite(t.d) && std::isfinite(t.tx) &&
           std::isfinite(t.ty);
}

Path rectPath(const Rect& r) {
    Path p;
    p.addRect(r);
    return p;
}

Path ellipsePath(const Rect& r) {
    Path p;
    p.addEllipse(r);
    return p;
}

bool finiteRect(const Rect& r) {
    return std::isfinite(r.x()) && std::isfinite(r.y()) && std::isfinite(r.width()) && std::isfinite(r.height());
}

}  // namespace

// ---- clip list ----

struct ClipList::Node {
    ClipEntry entry;
    std::shared_ptr<Node> next;  // older clips, shared with other lists
    std::size_t size = 1;        // clips from here to the oldest
};

ClipList::~ClipList() {
    // Free a long unshared chain node by node, not by a recursion as deep as the chain.
    while (_head && _head.use_count() == 1) _head = std::move(_head->next);
}

std::size_t ClipList::size() const { return _head ? _head->size : 0; }

const ClipEntry& ClipList::back() const { return _head->entry; }

void ClipList::push_back(ClipEntry entry) {
    auto node = std::make_shared<Node>();
    node->entry = std::move(entry);
    node->size = size() + 1;
    node->next = std::move(_head);
    _head = std::move(node);
}

const ClipEntry& ClipList::const_iterator::operator*() const { return _node->entry; }

ClipList::const_iterator& ClipList::const_iterator::operator++() {
    _node = _node->next.get();
    return *this;
}

// ---- context ----

Context::Context(const AffineTransform& baseTransform) {
    _stack.emplace_back();
    _stack.back().ctm = baseTransform;
}

Context::~Context() = default;

void Context::save() { _stack.push_back(_stack.back()); }

void Context::restore() {
    const std::size_t floor = _groups.empty() ? 1 : _groups.back().depth;
    if (_stack.size() <= floor) return;
    std::size_t clips = _stack.back().clips.size();
    _stack.pop_back();
    onRestore(clips);
}

void Context::popTo(std::size_t size) {
    while (_stack.size() > size) {
        std::size_t clips = _stack.back().clips.size();
        _stack.pop_back();
        onRestore(clips);
    }
}

// ---- transparency groups ----

void Context::beginTransparencyGroup(double alpha) {
    Group group;
    group.alpha = (std::isnan(alpha) ? 1.0 : std::clamp(alpha, 0.0, 1.0)) * effectiveAlpha();
    save();
    _stack.back().alpha = 1;
    group.depth = _stack.size();
    group.begin = _stack.back();
    const double composite = group.alpha;
    _groups.push_back(std::move(group));
    onBeginTransparencyGroup(composite);
}

void Context::beginTransparencyGroupMask() {
    if (_groups.empty() || _groups.back().masked) return;
    Group& group = _groups.back();
    popTo(group.depth);
    // The content may have changed the group's own entry without a save: the mask starts afresh.
    const std::size_t clips = _stack.back().clips.size();
    _stack.back() = group.begin;
    onRestore(clips);
    group.masked = true;
    onBeginTransparencyGroupMask();
}

void Context::endTransparencyGroup() {
    if (_groups.empty()) return;
    const Group group = std::move(_groups.back());
    _groups.pop_back();
    popTo(group.depth);
    onEndTransparencyGroup(group.alpha, group.masked);
    popTo(group.depth - 1);
}

void Context::concatCTM(const AffineTransform& t) { _stack.back().ctm = t.concat(_stack.back().ctm); }
void Context::translate(double x, double y) { concatCTM(AffineTransform::translation(x, y)); }
void Context::scale(double sx, double sy) { concatCTM(AffineTransform::scale(sx, sy)); }
void Context::rotate(double radians) { concatCTM(AffineTransform::rotation(radians)); }

bool Context::canDraw() const {
    const auto& t = ctm();
    return finiteTransform(t) && t.isInvertible();
}

void Context::clipToRect(const Rect& r) {
    Path p;
    if (finiteRect(r)) p.addRect(r);
    clipToPath(p, FillRule::NonZero);
}

void Context::clipToPath(const Path& path, FillRule rule) {
    ClipEntry entry;
    // Under a transform that cannot draw, the clip collapses to nothing.
    if (canDraw()) entry.devicePath = path.transformed(ctm());
    entry.rule = rule;
    _stack.back().clips.push_back(std::move(entry));
    onClip(_stack.back().clips.back());
}

std::optional<Rect> Context::clipBoundingBox() const {
    const auto& clips = state().clips;
    if (clips.empty()) return std::nullopt;
    auto it = clips.begin();
    Rect box = it->devicePath.bounds();
    for (++it; it != clips.end(); ++it) {
        box = box.intersection(it->devicePath.bounds());
        if (box.isNull()) return Rect{};
    }
    return box;
}

void Context::setAlpha(double alpha) {
    if (!std::isnan(alpha)) _stack.back().alpha = alpha;
}

void Context::setFillColor(const Color& c) { _stack.back().fillColor = c; }
void Context::setStrokeColor(const Color& c) { _stack.back().strokeColor = c; }

void Context::setLineWidth(double width) {
    if (std::isfinite(width)) _stack.back().lineWidth = width;
}

void Context::setMiterLimit(double limit) {
    if (std::isfinite(limit)) _stack.back().miterLimit = limit;
}

void Context::setLineDash(double phase, std::span<const double> lengths) {
    auto& s = _stack.back();
    bool anyPositive = false, valid = true;
    for (double v : lengths) {
        if (!std::isfinite(v) || v < 0)
            valid = false;
        else if (v > 0)
            anyPositive = true;
    }
    if (lengths.empty() || !valid || !anyPositive) {
        s.dash.clear();
        s.dashPhase = 0;
        return;
    }
    s.dash.assign(lengths.begin(), lengths.end());
    s.dashPhase = std::isfinite(phase) ? phase : 0;
}

double Context::effectiveAlpha() const {
    double a = state().alpha;
    return std::isnan(a) ? 1.0 : std::clamp(a, 0.0, 1.0);
}

Color Context::effectiveFillColor() const {
    Color c = state().fillColor.clamped();
    c.a *= effectiveAlpha();
    return c;
}

Color Context::effectiveStrokeColor() const {
    Color c = state().strokeColor.clamped();
    c.a *= effectiveAlpha();
    return c;
}

void Context::drawPath(const Path& path, DrawingMode mode) {
    int code = static_cast<int>(mode);
    if (code < 0 || code > 4 || path.isEmpty() || !canDraw()) return;
    onDrawPath(path, mode);
}

void Context::fillPath(const Path& path, FillRule rule) {
    drawPath(path, rule == FillRule::EvenOdd ? DrawingMode::EvenOddFill : DrawingMode::Fill);
}

void Context::strokePath(const Path& path) { drawPath(path, DrawingMode::Stroke); }

void Context::fillRect(const Rect& r) { fillPath(rectPath(r)); }
void Context::strokeRect(const Rect& r) { strokePath(rectPath(r)); }
void Context::fillEllipse(const Rect& r) { fillPath(ellipsePath(r)); }
void Context::strokeEllipse(const Rect& r) { strokePath(ellipsePath(r)); }

void Context::strokeLine(Point from, Point to) {
    Path p;
    p.moveTo(from);
    p.lineTo(to);
    strokePath(p);
}

void Context::drawImage(const Image& image, const Rect& rect) {
    if (image.isEmpty() || !finiteRect(rect) || rect.width() == 0 || rect.height() == 0 || !canDraw()) return;
    onDrawImage(image, rect);
}

bool Context::canCopyPixels(const Rect& rect, double scale) {
    return finiteRect(rect) && rect.width() > 0 && rect.height() > 0 && canDraw() && onCanCopyPixels(rect, scale);
}

std::shared_ptr<Image> Context::copyOpaquePixels(const Rect& rect, double scale) {
    return canCopyPixels(rect, scale) ? onCopyOpaquePixels(rect, scale) : nullptr;
}

void Context::stampImage(const Image& image, int deviceX, int deviceY) {
    if (image.isEmpty() || !canDraw()) return;
    onStampImage(image, deviceX, deviceY);
}

void Context::stampImages(std::span<const StampPlacement> stamps) {
    if (stamps.empty() || !canDraw()) return;
    onStampImages(stamps);
}

void Context::onStampImages(std::span<const StampPlacement> stamps) {
    for (const auto& s : stamps)
        if (s.image && !s.image->isEmpty()) onStampImage(*s.image, s.deviceX, s.deviceY);
}

void Context::onStampImage(const Image& image, int deviceX, int deviceY) {
    save();
    concatCTM(ctm().inverted());
    onDrawImage(image, {double(deviceX), double(deviceY), double(image.pixelWidth()), double(image.pixelHeight())});
    restore();
}

namespace {
// Text in a font of no usable size draws nothing, in every backend alike.
bool drawableText(const AttributedString& text) { return !text.text.empty() && text.attributes.font.hasUsableSize(); }
}  // namespace

void Context::drawText(const AttributedString& text, Point origin) {
    if (!drawableText(text) || !std::isfinite(origin.x) || !std::isfinite(origin.y) || !canDraw()) return;
    TextDraw d;
    d.text = &text;
    d.origin = origin;
    onDrawText(d);
}

void Context::drawText(const AttributedString& text, const Rect& rect, const TextOptions& options) {
    if (!drawableText(text) || !finiteRect(rect) || !(rect.width() > 0) || !canDraw()) return;
    TextDraw d;
    d.text = &text;
    d.origin = rect.origin;
    d.rect = rect;
    d.options = options;
    if (options.fitHeight) d.options.maxHeight = std::min(options.maxHeight, rect.height());
    onDrawText(d);
}

// ---- current context stack ----

namespace {
thread_local std::vector<Context*> currentStack;
}

Context* currentContext() { return currentStack.empty() ? nullptr : currentStack.back(); }
void pushContext(Context& context) { currentStack.push_back(&context); }
void popContext() {
    if (!currentStack.empty()) currentStack.pop_back();
}
void removeContext(Context& context) {
    for (auto it = currentStack.rbegin(); it != currentStack.rend(); ++it) {
        if (*it == &context) {
            currentStack.erase(std::next(it).base());
            return;
        }
    }
}

}  // namespace plat
