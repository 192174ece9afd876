#pragma once
// What the annotation classes share while drawing: the box corner by position, and scopes that put
// back the engine's state and lift the plot-area clip however a drawing step ends.

#include <cmath>
#include <cstdint>
#include <memory>

#include "KivoCore/IKivoRenderEngine.h"
#include "KivoCore/KivoGeometry.h"
#include "KivoCore/KivoRenderState.h"
#include "OmbriChart/KivoChartAnnotation.h"
#include "Platform/foundation/geometry.h"
#include "Platform/graphics/color.h"

namespace kivo::detail {

// A box side the engine can draw: finite and not zero.
inline bool usableSide(double side) { return std::isfinite(side) && side != 0; }

// The top-left corner of a box of width × height placed against the anchor (x, y).
inline plat::Point boxCorner(std::int64_t position, double x, double y, double width, double height) {
    switch (position) {
    case KivoAnnotationPositionBottom: return {x - width / 2, y};
    case KivoAnnotationPositionLeft: return {x - width, y - height / 2};
    case KivoAnnotationPositionRight: return {x, y - height / 2};
    case KivoAnnotationPositionTop: return {x - width / 2, y - height};
    default: return {x - width / 2, y - height / 2};
    }
}

class EngineStateScope {
public:
    explicit EngineStateScope(IKivoRenderEngine& engine)
        : _engine(engine), _saved(engine.saveState()), _textFill(engine.getTextFill()) {}
    // The saved state has no text fill: it is put back apart.
    ~EngineStateScope() {
        _engine.restoreState(_saved);
        _engine.setTextFill(_textFill);
    }
    EngineStateScope(const EngineStateScope&) = delete;
    EngineStateScope& operator=(const EngineStateScope&) = delete;

private:
    IKivoRenderEngine& _engine;
    std::shared_ptr<KivoRenderState> _saved;
    plat::Color _textFill;
};

// Clips to the plot area for as long as it lives, when `clip` says so and there is a plot area.
class PlotClipScope {
public:
    PlotClipScope(IKivoRenderEngine& engine, const std::shared_ptr<KivoRect>& plot, bool clip)
        : _engine(engine), _active(clip && plot) {
        if (_active) engine.setClipRect(plot->left(), plot->top(), plot->width(), plot->height());
    }
    ~PlotClipScope() {
        if (_active) _engine.clearClipRect();
    }
    PlotClipScope(const PlotClipScope&) = delete;
    PlotClipScope& operator=(const PlotClipScope&) = delete;

private:
    IKivoRenderEngine& _engine;
    bool _active;
};

}  // namespace kivo::detail
