#include "Platform/graphics/recording_context.h"

#include <cmath>
#include <limits>
#include <numbers>

#include "Platform/graphics/image.h"

namespace plat {

double DrawOp::rotationDegrees() const { return std::atan2(ctm.b, ctm.a) * 180.0 / std::numbers::pi; }

RecordingContext::RecordingContext(const AffineTransform& baseTransform) : Context(baseTransform) {}

DrawOp RecordingContext::base(DrawOp::Kind kind) const {
    DrawOp op;
    op.kind = kind;
    op.ctm = ctm();
    op.clip = clipBoundingBox();
    op.alpha = effectiveAlpha();
    for (const OpenGroup& g : _groups) {
        op.groupAlpha *= g.alpha;
        op.inMask = op.inMask || g.masked;
    }
    return op;
}

void RecordingContext::onBeginTransparencyGroup(double alpha) {
    DrawOp op = base(DrawOp::Kind::BeginGroup);
    op.alpha = alpha;
    _ops.push_back(std::move(op));
    _groups.push_back({alpha, false});
}

void RecordingContext::onBeginTransparencyGroupMask() {
    const double alpha = _groups.back().alpha;
    _groups.pop_back();
    DrawOp op = base(DrawOp::Kind::BeginGroupMask);
    op.alpha = alpha;
    _ops.push_back(std::move(op));
    _groups.push_back({alpha, true});
}

void RecordingContext::onEndTransparencyGroup(double alpha, bool) {
    _groups.pop_back();
    DrawOp op = base(DrawOp::Kind::EndGroup);
    op.alpha = alpha;
    _ops.push_back(std::move(op));
}

void RecordingContext::onDrawPath(const Path& userPath, DrawingMode mode) {
    const auto& s = state();
    Path device = userPath.transformed(s.ctm);
    if (modeFills(mode)) {
        DrawOp op = base(DrawOp::Kind::Fill);
        op.path = device;
        op.rule = modeFillRule(mode);
        op.color = effectiveFillColor();
        _ops.push_back(std::move(op));
    }
    if (modeStrokes(mode)) {
        DrawOp op = base(DrawOp::Kind::Stroke);
        op.path = std::move(device);
        op.color = effectiveStrokeColor();
        // Lengths scale by the transform's area factor (exact for uniform scales and rotations).
        double factor = std::sqrt(std::fabs(s.ctm.a * s.ctm.d - s.ctm.b * s.ctm.c));
        op.userLineWidth = s.lineWidth;
        op.lineWidth = s.lineWidth * factor;
        op.lineCap = s.lineCap;
        op.lineJoin = s.lineJoin;
        op.userDash = s.dash;
        for (double d : s.dash) op.dash.push_back(d * factor);
        _ops.push_back(std::move(op));
    }
}

void RecordingContext::onDrawImage(const Image& image, const Rect& userRect) {
    DrawOp op = base(DrawOp::Kind::Image);
    Path p;
    p.addRect(userRect);
    op.path = p.transformed(ctm());
    op.image = &image;
    op.imagePixelWidth = image.pixelWidth();
    op.imagePixelHeight = image.pixelHeight();
    _ops.push_back(std::move(op));
}

void RecordingContext::onStampImage(const Image& image, int deviceX, int deviceY) {
    DrawOp op = base(DrawOp::Kind::Image);
    op.path.addRect({double(deviceX), double(deviceY), double(image.pixelWidth()), double(image.pixelHeight())});
    op.image = &image;
    op.imagePixelWidth = image.pixelWidth();
    op.imagePixelHeight = image.pixelHeight();
    _ops.push_back(std::move(op));
}

void RecordingContext::onDrawText(const TextDraw& draw) {
    DrawOp op = base(DrawOp::Kind::Text);
    op.text = *draw.text;
    op.color = draw.text->attributes.color.clamped();
    op.color.a *= effectiveAlpha();
    op.origin = ctm().apply(draw.origin);
    op.layoutRect = draw.rect;
    op.textOptions = draw.options;
    double width = draw.rect ? draw.rect->width() : std::numeric_limits<double>::infinity();
    op.textSize = measureText(*draw.text, width, draw.options);
    Rect box = draw.rect ? *draw.rect : Rect(draw.origin, op.textSize);
    Path p;
    p.addRect(box);
    op.path = p.transformed(ctm());
    _ops.push_back(std::move(op));
}

std::vector<const DrawOp*> RecordingContext::ofKind(DrawOp::Kind kind) const {
    std::vector<const DrawOp*> out;
    for (const auto& op : _ops)
        if (op.kind == kind && !op.inMask) out.push_back(&op);
    return out;
}

const DrawOp* RecordingContext::find(DrawOp::Kind kind, const Color& c, double tolerance) const {
    for (const auto& op : _ops)
        if (op.kind == kind && !op.inMask && nearlyEqual(op.color, c, tolerance)) return &op;
    return nullptr;
}

const DrawOp* RecordingContext::findFill(const Color& c, double tolerance) const {
    return find(DrawOp::Kind::Fill, c, tolerance);
}
const DrawOp* RecordingContext::findStroke(const Color& c, double tolerance) const {
    return find(DrawOp::Kind::Stroke, c, tolerance);
}

const DrawOp* RecordingContext::findText(std::string_view text) const {
    for (const auto& op : _ops)
        if (op.kind == DrawOp::Kind::Text && !op.inMask && op.text.text == text) return &op;
    return nullptr;
}

std::vector<std::string> RecordingContext::strings() const {
    std::vector<std::string> out;
    for (const auto& op : _ops)
        if (op.kind == DrawOp::Kind::Text && !op.inMask) out.push_back(op.text.text);
    return out;
}

}  // namespace plat
