#pragma once
// The base of the chart's annotations (texts, shapes, lines, polygons, images over the plot): the
// chart draws each one of its annotations collection after the series and the legend. The base draws
// nothing and contains no point; each kind of annotation draws itself.

#include <memory>
#include <optional>
#include <string>

#include "KivoCore/KivoGeometry.h"
#include "OmbriChart/KivoOmbriChartExport.h"
#include "Platform/foundation/object.h"

class IKivoRenderEngine;

class KIVO_CHART_EXPORT KivoChartAnnotation : public plat::Object {
public:
    KivoChartAnnotation() = default;

    virtual void render(const std::shared_ptr<IKivoRenderEngine>& engine) {}
    // Whether the drawn shape contains the point (in the chart's coordinates).
    virtual bool isContains(const std::shared_ptr<KivoPoint>& point) const { return false; }

    // Plain stores: a tap on a visible annotation with a tooltip text shows that text.
    bool isVisible() const { return _isVisible; }
    void setIsVisible(bool visible) { _isVisible = visible; }
    const std::optional<std::string>& tooltipText() const { return _tooltipText; }
    void setTooltipText(std::optional<std::string> text) { _tooltipText = std::move(text); }

private:
    bool _isVisible = true;
    std::optional<std::string> _tooltipText;
};
