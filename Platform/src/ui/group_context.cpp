#include "ui/group_context.h"

#include "Platform/graphics/image.h"

namespace plat::detail {

GroupContext::GroupContext(Context& target, double alphaFactor, std::optional<Color> tint)
    : Context(target.ctm()),
      _target(target),
      _base(target.ctm()),
      _baseInverse(target.ctm().inverted()),
      _alpha(alphaFactor * target.effectiveAlpha()),
      _tint(tint) {}

Color GroupContext::tinted(const Color& c) const {
    // A mask keeps its own alphas: the tint's alpha is the silhouette's, already in the paint.
    if (!_tint) return c;
    return _tint->withAlpha(isDrawingGroupMask() ? c.a : _tint->a * c.a);
}

void GroupContext::applyState() {
    const GraphicsState& s = state();
    _target.save();
    // Clips are kept in device space, which both contexts share; hand them over in the target's
    // user space, which is still the base transform.
    for (const ClipEntry& clip : s.clips) _target.clipToPath(clip.devicePath.transformed(_baseInverse), clip.rule);
    // Our transform is (local, then base): give the target the local part.
    _target.concatCTM(s.ctm.concat(_baseInverse));
    _target.setAlpha(effectiveAlpha() * (_groups > 0 ? 1.0 : _alpha));
    _target.setFillColor(tinted(s.fillColor));
    _target.setStrokeColor(tinted(s.strokeColor));
    _target.setLineWidth(s.lineWidth);
    _target.setLineCap(s.lineCap);
    _target.setLineJoin(s.lineJoin);
    _target.setMiterLimit(s.miterLimit);
    _target.setLineDash(s.dashPhase, std::span<const double>(s.dash.data(), s.dash.size()));
}

void GroupContext::onDrawPath(const Path& userPath, DrawingMode mode) {
    applyState();
    _target.drawPath(userPath, mode);
    _target.restore();
}

void GroupContext::onDrawImage(const Image& image, const Rect& userRect) {
    applyState();
    if (_tint) {
        // A silhouette of an image is its rectangle.
        _target.setFillColor(*_tint);
        _target.fillRect(userRect);
    } else {
        _target.drawImage(image, userRect);
    }
    _target.restore();
}

void GroupContext::onDrawText(const TextDraw& draw) {
    applyState();
    const AttributedString* text = draw.text;
    AttributedString recoloured;
    if (_tint) {
        recoloured = *draw.text;
        recoloured.attributes.color = tinted(recoloured.attributes.color);
        for (auto& run : recoloured.runs) {
            if (run.color) run.color = tinted(*run.color);
            run.background.reset();
        }
        recoloured.attributes.background.reset();
        text = &recoloured;
    }
    if (draw.rect)
        _target.drawText(*text, *draw.rect, draw.options);
    else
        _target.drawText(*text, draw.origin);
    _target.restore();
}

}  // namespace plat::detail

namespace plat::detail {

void GroupContext::onBeginTransparencyGroup(double alpha) {
    // The target's group begins under this context's clips and transform.
    applyState();
    _target.setAlpha(1);
    _target.beginTransparencyGroup(alpha * (_groups > 0 ? 1.0 : _alpha));
    ++_groups;
}

void GroupContext::onBeginTransparencyGroupMask() { _target.beginTransparencyGroupMask(); }

void GroupContext::onEndTransparencyGroup(double, bool) {
    _target.endTransparencyGroup();
    _target.restore();
    --_groups;
}

}  // namespace plat::detail
