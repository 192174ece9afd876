#pragma once
// The delegate protocol of the chart controls (the Cartesian chart and the pie): every method is
// optional. A delegate says which ones it answers through answeredMethods(); the controls call no other,
// and where a control behaves differently for a delegate that answers (a tooltip the application
// draws, a label it draws itself) it asks answers() first. The defaults do nothing and answer false.

#include <cstdint>
#include <memory>

#include "ChartCore/KivoChartCoreExport.h"
#include "Platform/foundation/value.h"

class IKivoRenderEngine;
class KivoEventArgs;
class KivoHitTestInfo;
class KivoPoint;
class KivoRect;
class OmbriChartBase;

class KIVO_CHART_CORE_EXPORT OmbriChartDelegate {
public:
    enum Method : unsigned {
        Rendering = 1u << 0,
        Rendered = 1u << 1,
        Tapped = 1u << 2,
        SelectionChanged = 1u << 3,
        HandleTooltip = 1u << 4,
        HandlePlotElementLoading = 1u << 5,
        SeriesVisibilityChanged = 1u << 6,
        AxisRangeChanged = 1u << 7,
        LineMarkerPositionChanged = 1u << 8,
        HandleLabelLoading = 1u << 9,
    };

    virtual ~OmbriChartDelegate() = default;

    // The methods below that this delegate implements, as a mask of Method bits.
    virtual unsigned answeredMethods() const = 0;
    bool answers(Method method) const { return (answeredMethods() & method) != 0; }

    // Around a drawing pass (the argument is what the control passes: the pie and the chart pass null).
    virtual void rendering(const std::shared_ptr<OmbriChartBase>& sender) {}
    virtual void rendered(const std::shared_ptr<OmbriChartBase>& sender) {}
    // A tap at `point`; true ends the control's own handling of it.
    virtual bool tapped(const std::shared_ptr<OmbriChartBase>& sender, const std::shared_ptr<KivoPoint>& point) { return false; }
    virtual void selectionChanged(const std::shared_ptr<OmbriChartBase>& sender, const std::shared_ptr<KivoHitTestInfo>& info) {}
    // A tooltip that the application draws itself: where, whether it shows, and the facts to show.
    virtual void handleTooltip(const std::shared_ptr<OmbriChartBase>& sender, const std::shared_ptr<KivoPoint>& point,
                               bool isVisible, const plat::ArrayPtr& data) {}
    // One plot element about to be drawn; true when the application drew it. `defaultRender` is the
    // control's renderer of the element.
    virtual bool handlePlotElementLoading(const std::shared_ptr<OmbriChartBase>& sender,
                                          const std::shared_ptr<IKivoRenderEngine>& engine, const std::shared_ptr<KivoRect>& rect,
                                          std::int32_t pointIndex, const std::shared_ptr<KivoPoint>& point,
                                          std::int32_t seriesIndex, const std::shared_ptr<plat::Object>& defaultRender) {
        return false;
    }
    virtual void seriesVisibilityChanged(const std::shared_ptr<OmbriChartBase>& sender,
                                         const std::shared_ptr<plat::Object>& series) {}
    virtual void axisRangeChanged(const std::shared_ptr<OmbriChartBase>& sender, const std::shared_ptr<plat::Object>& axis) {}
    virtual void lineMarkerPositionChanged(const std::shared_ptr<OmbriChartBase>& sender) {}
    // One axis label about to be drawn (the arguments carry its text, which the delegate may change);
    // true when the application drew it.
    virtual bool handleLabelLoading(const std::shared_ptr<OmbriChartBase>& sender,
                                    const std::shared_ptr<IKivoRenderEngine>& engine, std::int32_t axisIndex,
                                    const std::shared_ptr<KivoEventArgs>& eventArgs) {
        return false;
    }
};
