#pragma once
// One data series of the Cartesian chart: the member names of the application's items that hold its
// values ("binding", comma-separated, the first for Y) and the name it shows. The chart keeps its
// series in its `series` collection, in drawing order. The chart is held weakly (it owns its series).
//
// So far a series carries its binding and name; reading values, its look and its own items come with
// the series' value readers.

#include <memory>
#include <optional>
#include <string>

#include "OmbriChart/KivoOmbriChartExport.h"
#include "Platform/foundation/object.h"

class OmbriChart;

class KIVO_CHART_EXPORT KivoSeries : public plat::Object {
public:
    // A name given without a binding is not kept; with a binding and no name, the binding is the name.
    KivoSeries(const std::shared_ptr<OmbriChart>& chart, std::optional<std::string> binding, std::optional<std::string> name);
    static std::shared_ptr<KivoSeries> create(const std::shared_ptr<OmbriChart>& chart, std::optional<std::string> binding,
                                              std::optional<std::string> name) {
        return std::make_shared<KivoSeries>(chart, std::move(binding), std::move(name));
    }

    std::shared_ptr<OmbriChart> chart() const { return _chart.lock(); }
    void setChart(const std::shared_ptr<OmbriChart>& chart) { _chart = chart; }
    // The series' own binding, else the chart's.
    std::optional<std::string> binding() const;
    const std::optional<std::string>& name() const { return _name; }
    void setName(std::optional<std::string> name) { _name = std::move(name); }

private:
    std::weak_ptr<OmbriChart> _chart;
    std::optional<std::string> _binding;
    std::optional<std::string> _name;
};
