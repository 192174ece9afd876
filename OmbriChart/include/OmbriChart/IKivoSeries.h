#pragma once
// What the plotters and the legend need of a series: its values by dimension (0 Y, 1 X), its legend
// item, its chart type, its look and the animation state the chart writes into it. The values are
// read-only lists.

#include <cstdint>
#include <memory>
#include <optional>

#include "KivoCore/KivoGeometry.h"
#include "OmbriChart/KivoDataArray.h"
#include "OmbriChart/KivoOmbriChartExport.h"
#include "Platform/foundation/value.h"
#include "Platform/graphics/color.h"

class IKivoRenderEngine;

class KIVO_CHART_EXPORT IKivoSeries {
public:
    virtual ~IKivoSeries() = default;

    virtual KivoValues getValues(std::int32_t dimension) = 0;
    virtual std::int64_t getDataType(std::int32_t dimension) const = 0;
    virtual void drawLegendItem(const std::shared_ptr<IKivoRenderEngine>& engine, const std::shared_ptr<KivoRect>& rect) = 0;
    virtual std::shared_ptr<KivoSize> measureLegendItem(const std::shared_ptr<IKivoRenderEngine>& engine) = 0;

    virtual std::int64_t chartType() const = 0;
    virtual void setChartType(std::int64_t type) = 0;
    virtual const std::optional<plat::Color>& color() const = 0;
    virtual void setColor(std::optional<plat::Color> color) = 0;
    virtual const std::optional<plat::Color>& borderColor() const = 0;
    virtual void setBorderColor(std::optional<plat::Color> color) = 0;
    virtual double borderWidth() const = 0;
    virtual void setBorderWidth(double width) = 0;
    virtual double opacity() const = 0;
    virtual void setOpacity(double opacity) = 0;
    virtual const std::optional<plat::Color>& symbolColor() const = 0;
    virtual void setSymbolColor(std::optional<plat::Color> color) = 0;
    virtual const std::optional<plat::Color>& symbolBorderColor() const = 0;
    virtual void setSymbolBorderColor(std::optional<plat::Color> color) = 0;
    virtual double symbolBorderWidth() const = 0;
    virtual void setSymbolBorderWidth(double width) = 0;
    virtual double symbolOpacity() const = 0;
    virtual void setSymbolOpacity(double opacity) = 0;
    virtual std::int64_t symbolMarker() const = 0;
    virtual void setSymbolMarker(std::int64_t marker) = 0;
    virtual double symbolSize() const = 0;
    virtual void setSymbolSize(double size) = 0;
    virtual double animationTime() const = 0;
    virtual void setAnimationTime(double time) = 0;
    virtual double animationDuration() const = 0;
    virtual void setAnimationDuration(double duration) = 0;
    virtual std::int32_t itemRowNum() const = 0;
    virtual void setItemRowNum(std::int32_t row) = 0;
    virtual std::int32_t itemColumnNum() const = 0;
    virtual void setItemColumnNum(std::int32_t column) = 0;
};
