#include "OmbriChart/BasePlotElementRender.h"

#include <algorithm>
#include <cmath>

#include "KivoCore/IKivoRenderEngine.h"
#include "KivoCore/KivoRenderState.h"

namespace {

constexpr std::int64_t CircleMarker = 0;
constexpr std::int64_t SquareMarker = 1;

bool isValid(double v) { return std::isfinite(v); }

}  // namespace

plat::Value BasePlotElementRender::execute(const plat::Value&) { return {}; }

// ---- Symbol ----

DefaultPlotElementRender::DefaultPlotElementRender(std::shared_ptr<IKivoRenderEngine> engine, double x, double y,
                                                   double borderWidth, double symbolSize, std::optional<plat::Color> borderColor,
                                                   std::int64_t symbolMarker)
    : _renderEngine(std::move(engine)),
      _x(x),
      _y(y),
      _borderWidth(borderWidth),
      _symbolSize(symbolSize),
      _borderColor(borderColor),
      _symbolMarker(symbolMarker) {}

plat::Rect DefaultPlotElementRender::getSymbolRect() const {
    return {_x - _symbolSize / 2, _y - _symbolSize / 2, _symbolSize, _symbolSize};
}

plat::Value DefaultPlotElementRender::execute(const plat::Value&) {
    if (!_renderEngine) return {};
    auto& engine = *_renderEngine;
    if (_borderWidth > 0) {
        engine.setStroke(_borderColor);
        engine.setStrokeThickness(_borderWidth);
    }
    if (_symbolMarker == CircleMarker) {
        engine.drawEllipse(_x, _y, _symbolSize, _symbolSize);
    } else if (_symbolMarker == SquareMarker) {
        const plat::Rect r = getSymbolRect();
        engine.drawRect(r.x(), r.y(), r.width(), r.height());
    }
    return {};
}

// ---- Bar ----

DefaultBarElementRender::DefaultBarElementRender(std::shared_ptr<IKivoRenderEngine> engine, double x, double y, double width,
                                                 double height)
    : _renderEngine(std::move(engine)), _x(x), _y(y), _width(width), _height(height) {}

plat::Value DefaultBarElementRender::execute(const plat::Value&) {
    if (!_renderEngine) return {};
    // The outline is clipped to the bar, so neighbouring bars never overlap by half a border.
    _renderEngine->setClipRect(_x, _y, _width, _height);
    _renderEngine->drawRect(_x, _y, _width, _height);
    _renderEngine->clearClipRect();
    return {};
}

// ---- Finance ----

DefaultFinanceElementRender::DefaultFinanceElementRender(std::shared_ptr<IKivoRenderEngine> engine, double x, double y, double w,
                                                         double hi, double lo, double open, double close, bool isCandle,
                                                         bool isRotated, bool isReversed)
    : _renderEngine(std::move(engine)),
      _x(x),
      _y(y),
      _w(w),
      _hi(hi),
      _lo(lo),
      _open(open),
      _close(close),
      _isCandle(isCandle),
      _isRotated(isRotated),
      _isReversed(isReversed) {}

plat::Value DefaultFinanceElementRender::execute(const plat::Value&) {
    if (!_renderEngine) return {};
    if (_isCandle)
        drawCandle(*_renderEngine);
    else
        drawMark(*_renderEngine);
    return {};
}

void DefaultFinanceElementRender::drawCandle(IKivoRenderEngine& engine) const {
    // Wicks need a body: a candle without open or close draws nothing.
    if (!isValid(_open) || !isValid(_close)) return;
    const double mn = std::min(_open, _close);
    const double mx = mn + std::fabs(_open - _close);
    {
        // The body's rectangle clears the dash pattern; the wicks keep the look they had.
        const auto saved = engine.saveState();
        if (_isRotated)
            engine.drawRect(mn, _y - _w / 2, mx - mn, _w);
        else
            engine.drawRect(_x - _w / 2, mn, _w, mx - mn);
        engine.restoreState(saved);
    }
    // Upright: the upper wick leaves the body's top for the high (from the high down to the body's
    // bottom on a reversed axis). Rotated: the same along X.
    auto line = [&](double from, double to) {
        if (_isRotated)
            engine.drawLine(from, _y, to, _y);
        else
            engine.drawLine(_x, from, _x, to);
    };
    const double upperStart = _isRotated ? mx : mn, lowerStart = _isRotated ? mn : mx;
    if (isValid(_hi)) {
        if (_isReversed)
            line(_hi, lowerStart);
        else
            line(upperStart, _hi);
    }
    if (isValid(_lo)) {
        if (_isReversed)
            line(_lo, upperStart);
        else
            line(lowerStart, _lo);
    }
}

void DefaultFinanceElementRender::drawMark(IKivoRenderEngine& engine) const {
    if (_isRotated) {
        if (isValid(_hi) && isValid(_lo)) engine.drawLine(_lo, _y, _hi, _y);
        if (isValid(_open)) engine.drawLine(_open, _y - _w / 2, _open, _y);
        if (isValid(_close)) engine.drawLine(_close, _y + _w / 2, _close, _y);
        return;
    }
    if (isValid(_hi) && isValid(_lo)) engine.drawLine(_x, _lo, _x, _hi);
    if (isValid(_open)) engine.drawLine(_x - _w / 2, _open, _x, _open);
    if (isValid(_close)) engine.drawLine(_x, _close, _x + _w / 2, _close);
}
