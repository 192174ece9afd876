#pragma once
// One axis label on its way to the screen: the handlers of an axis' labelLoading event (or the chart
// delegate's label hook) see its value, text and box, and may change the text, which the axis then
// draws.

#include <memory>
#include <optional>
#include <string>

#include "KivoCore/KivoEventArgs.h"
#include "KivoCore/KivoGeometry.h"
#include "OmbriChart/KivoOmbriChartExport.h"

class IKivoRenderEngine;

class KIVO_CHART_EXPORT KivoLabelLoadingEventArgs : public KivoEventArgs {
public:
    // No engine, value 0, no label and no region.
    KivoLabelLoadingEventArgs() = default;
    KivoLabelLoadingEventArgs(std::shared_ptr<IKivoRenderEngine> engine, double value, std::optional<std::string> label,
                              std::shared_ptr<KivoRect> region)
        : _renderEngine(std::move(engine)), _value(value), _label(std::move(label)), _region(std::move(region)) {}
    static std::shared_ptr<KivoLabelLoadingEventArgs> create(std::shared_ptr<IKivoRenderEngine> engine, double value,
                                                             std::optional<std::string> label, std::shared_ptr<KivoRect> region) {
        return std::make_shared<KivoLabelLoadingEventArgs>(std::move(engine), value, std::move(label), std::move(region));
    }

    // The engine the label is drawn with.
    const std::shared_ptr<IKivoRenderEngine>& renderEngine() const { return _renderEngine; }
    void setRenderEngine(std::shared_ptr<IKivoRenderEngine> engine) { _renderEngine = std::move(engine); }
    // The axis value of the label.
    double value() const { return _value; }
    void setValue(double value) { _value = value; }
    // The text; what it holds after the event is drawn (null or empty: no text).
    const std::optional<std::string>& label() const { return _label; }
    void setLabel(std::optional<std::string> label) { _label = std::move(label); }
    // The box the label takes, in the chart's coordinates.
    const std::shared_ptr<KivoRect>& region() const { return _region; }
    void setRegion(std::shared_ptr<KivoRect> region) { _region = std::move(region); }

private:
    std::shared_ptr<IKivoRenderEngine> _renderEngine;
    double _value = 0;
    std::optional<std::string> _label;
    std::shared_ptr<KivoRect> _region;
};
