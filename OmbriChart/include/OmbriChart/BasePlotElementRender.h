#pragma once
// The default renderers of plot elements: small objects that hold one element's geometry in view
// points (a symbol, a bar, a candle or a high-low-open-close mark) and draw it with the render engine
// when executed. A plotter hands one to the plot-element event or the host's hook, so that a handler
// can restyle the element and still draw it the default way.

#include <cstdint>
#include <memory>
#include <optional>

#include "OmbriChart/KivoOmbriChartExport.h"
#include "Platform/foundation/geometry.h"
#include "Platform/foundation/object.h"
#include "Platform/foundation/value.h"
#include "Platform/graphics/color.h"

class IKivoRenderEngine;

// The hook a renderer overrides; the base draws nothing.
class KIVO_CHART_EXPORT BasePlotElementRender : public plat::Object {
public:
    BasePlotElementRender() = default;
    // Draws the element; the argument is not read. Answers null.
    virtual plat::Value execute(const plat::Value& argument);
    plat::Value execute() {
        execute(plat::Value());
        return {};
    }
};

// A symbol centred on (x, y): marker 0 a circle, 1 a square, any other nothing. A border width above 0
// sets the engine's stroke to the border colour and width (left so); the fill is the engine's.
class KIVO_CHART_EXPORT DefaultPlotElementRender : public BasePlotElementRender {
public:
    DefaultPlotElementRender(std::shared_ptr<IKivoRenderEngine> engine, double x, double y, double borderWidth, double symbolSize,
                             std::optional<plat::Color> borderColor, std::int64_t symbolMarker);
    using BasePlotElementRender::execute;
    plat::Value execute(const plat::Value& argument) override;
    plat::Rect getSymbolRect() const;

private:
    std::shared_ptr<IKivoRenderEngine> _renderEngine;
    double _x, _y, _borderWidth, _symbolSize;
    std::optional<plat::Color> _borderColor;
    std::int64_t _symbolMarker;
};

// A bar: its rectangle filled and outlined with the engine's look, the outline clipped to the bar.
class KIVO_CHART_EXPORT DefaultBarElementRender : public BasePlotElementRender {
public:
    DefaultBarElementRender(std::shared_ptr<IKivoRenderEngine> engine, double x, double y, double width, double height);
    using BasePlotElementRender::execute;
    plat::Value execute(const plat::Value& argument) override;
    plat::Rect getBarRect() const { return {_x, _y, _width, _height}; }

private:
    std::shared_ptr<IKivoRenderEngine> _renderEngine;
    double _x, _y, _width, _height;
};

// A candle (a body from open to close with wicks to high and low) or a high-low-open-close mark (a
// line from low to high with an open tick on the left and a close tick on the right). Positions are
// in view points along the value axis; `x` places an upright element, `y` a rotated one; `w` is the
// width across. A value that is NaN or infinite is missing: a candle without open or close draws
// nothing, a mark leaves out what it lacks.
class KIVO_CHART_EXPORT DefaultFinanceElementRender : public BasePlotElementRender {
public:
    DefaultFinanceElementRender(std::shared_ptr<IKivoRenderEngine> engine, double x, double y, double w, double hi, double lo,
                                double open, double close, bool isCandle, bool isRotated, bool isReversed);
    using BasePlotElementRender::execute;
    plat::Value execute(const plat::Value& argument) override;

private:
    KIVO_CHART_NO_EXPORT void drawCandle(IKivoRenderEngine& engine) const;
    KIVO_CHART_NO_EXPORT void drawMark(IKivoRenderEngine& engine) const;

    std::shared_ptr<IKivoRenderEngine> _renderEngine;
    double _x, _y, _w, _hi, _lo, _open, _close;
    bool _isCandle, _isRotated, _isReversed;
};
