#pragma once
// A drawing context that forwards everything to another context with its alpha multiplied by a
// group factor, and optionally every colour replaced (a shadow silhouette). Layers with an opacity
// below 1 render their content through it, so content that sets its own alpha cannot undo the fade.

#include <optional>

#include "Platform/graphics/context.h"

namespace plat::detail {

class GroupContext : public Context {
public:
    GroupContext(Context& target, double alphaFactor, std::optional<Color> tint = std::nullopt);

protected:
    void onDrawPath(const Path& userPath, DrawingMode mode) override;
    void onDrawImage(const Image& image, const Rect& userRect) override;
    void onDrawText(const TextDraw& draw) override;
    void onClip(const ClipEntry&) override {}
    void onBeginTransparencyGroup(double alpha) override;
    void onBeginTransparencyGroupMask() override;
    void onEndTransparencyGroup(double alpha, bool masked) override;

private:
    // Saves the target and gives it this context's transform, clips and look.
    void applyState();
    Color tinted(const Color& c) const;

    Context& _target;
    AffineTransform _base;
    AffineTransform _baseInverse;
    double _alpha;
    std::optional<Color> _tint;
    // Open transparency groups forwarded to the target: the group factor is in their composite
    // alpha, so what is drawn inside them does not take it again.
    std::size_t _groups = 0;
};

}  // namespace plat::detail
