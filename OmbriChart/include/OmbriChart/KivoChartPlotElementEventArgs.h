#pragma once
// What a plotElementLoading handler receives for each element being drawn: the engine in use, its hit-test information and data
// point, the renderer that draws it the default way, and the candle colours a handler may set to recolour a candle.

#include <memory>
#include <optional>

#include "KivoCore/IKivoRenderEngine.h"
#include "KivoCore/KivoEventArgs.h"
#include "OmbriChart/KivoChartHitTestInfo.h"
#include "OmbriChart/KivoOmbriChartExport.h"
#include "Platform/graphics/color.h"

class BasePlotElementRender;

class KIVO_CHART_EXPORT KivoChartPlotElementEventArgs : public KivoEventArgs {
public:
    KivoChartPlotElementEventArgs(std::shared_ptr<IKivoRenderEngine> engine, std::shared_ptr<KivoChartHitTestInfo> hitTestInfo,
                                  std::shared_ptr<KivoChartDataPoint> dataPoint,
                                  std::shared_ptr<BasePlotElementRender> defaultRender)
        : _renderEngine(std::move(engine)),
          _hitTestInfo(std::move(hitTestInfo)),
          _dataPoint(std::move(dataPoint)),
          _defaultRender(std::move(defaultRender)) {}

    // A handler may set fill and stroke on it before the element is drawn.
    const std::shared_ptr<IKivoRenderEngine>& renderEngine() const { return _renderEngine; }
    void setRenderEngine(std::shared_ptr<IKivoRenderEngine> engine) { _renderEngine = std::move(engine); }
    const std::shared_ptr<KivoChartHitTestInfo>& hitTestInfo() const { return _hitTestInfo; }
    void setHitTestInfo(std::shared_ptr<KivoChartHitTestInfo> info) { _hitTestInfo = std::move(info); }
    const std::shared_ptr<KivoChartDataPoint>& dataPoint() const { return _dataPoint; }
    void setDataPoint(std::shared_ptr<KivoChartDataPoint> point) { _dataPoint = std::move(point); }
    const std::shared_ptr<BasePlotElementRender>& defaultRender() const { return _defaultRender; }
    void setDefaultRender(std::shared_ptr<BasePlotElementRender> render) { _defaultRender = std::move(render); }
    // null: the finance plotter's own colours.
    const std::optional<plat::Color>& candleFillColor() const { return _candleFillColor; }
    void setCandleFillColor(std::optional<plat::Color> color) { _candleFillColor = color; }
    const std::optional<plat::Color>& candleBorderColor() const { return _candleBorderColor; }
    void setCandleBorderColor(std::optional<plat::Color> color) { _candleBorderColor = color; }

private:
    std::shared_ptr<IKivoRenderEngine> _renderEngine;
    std::shared_ptr<KivoChartHitTestInfo> _hitTestInfo;
    std::shared_ptr<KivoChartDataPoint> _dataPoint;
    std::shared_ptr<BasePlotElementRender> _defaultRender;
    std::optional<plat::Color> _candleFillColor;
    std::optional<plat::Color> _candleBorderColor;
};
