#include "OmbriChart/KivoSeries.h"

#include "OmbriChart/OmbriChart.h"

KivoSeries::KivoSeries(const std::shared_ptr<OmbriChart>& chart, std::optional<std::string> binding,
                       std::optional<std::string> name)
    : _chart(chart) {
    if (!binding) return;
    _name = name ? std::move(name) : binding;
    _binding = std::move(binding);
}

std::optional<std::string> KivoSeries::binding() const {
    if (_binding) return _binding;
    auto chart = _chart.lock();
    return chart ? chart->binding() : std::nullopt;
}
