// KivoLinePlotter: the selected series drawn again after every other series, on top, in the selection
// style: its line, its symbols (in point mode only the selected point with a visible border), then the
// labels of its points.

#include <algorithm>
#include <cmath>

#include "KivoCore/IKivoRenderEngine.h"
#include "KivoCore/KivoRenderState.h"
#include "OmbriChart/KivoDataInfo.h"
#include "OmbriChart/KivoLinePlotter.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "plotters/LinePlotterSupport.h"
#include "plotters/SeriesLook.h"

void KivoLinePlotter::redoSelection(const std::shared_ptr<IKivoRenderEngine>& engine) {
    if (!_selState) return;
    const auto owner = chart();
    if (!owner || !engine) {
        forgetSelection();
        return;
    }
    const std::int64_t mode = owner->selectionMode();
    engine->restoreState(_selState);
    if (mode != KivoChartSelectionModePoint) engine->setBorderDashes(owner->selectedDashes());
    if (_hasLines) {
        // In point mode the selection shows on the symbols only: the line stays solid.
        if (mode == KivoChartSelectionModePoint) engine->setBorderDashes({});
        strokeLine(*engine, _selDataX, _selDataY);
    }

    const auto& series = _selSeries;
    if (_symState && series && (mode == KivoChartSelectionModeSeries || mode == KivoChartSelectionModePoint)) {
        engine->restoreState(_symState);
        const double size = _symbolSize;
        const std::int32_t path = getPlotElementPath();
        engine->clearClipRect();
        const auto plot = owner->plotRect();
        const auto look = kivo::detail::seriesSymbolLook(*owner, *series, _selSeriesPos, true);
        const double borderWidth = std::max(owner->selectedBorderWidth(), _defaultLineWidth);
        const std::size_t pageSize =
            _dataInfo ? static_cast<std::size_t>(std::min<std::uint64_t>(_dataInfo->getPageSize(), SIZE_MAX)) : 0;
        const std::size_t n = std::min({pageSize, _selDataX.size(), _selDataY.size()});
        for (std::size_t i = 0; i < n; ++i) {
            const double x = KivoDataInfo::isValid(_selDataX[i]) ? _selDataX[i] : static_cast<double>(i);
            const double y = _selDataY[i];
            if (!KivoDataInfo::isValid(y)) continue;
            const std::int32_t pointIndex = i < _symInts.size() ? _symInts[i] : static_cast<std::int32_t>(i);
            // In point mode only the selected point shows the selection border.
            const plat::Color border =
                mode == KivoChartSelectionModePoint && owner->selectionIndex() != pointIndex ? plat::Color::clear() : look.border;
            engine->setBorderDashes(owner->selectedDashes());
            if (kivo::detail::squareMeetsPlot(x, y, size, plot.get()))
                drawSymbol(engine, x, y, borderWidth, size, look.fill, border, series->symbolMarker(), series, pointIndex,
                           nullptr, path);
        }
        if (plot) engine->setClipRect(plot->left(), plot->top(), plot->width(), plot->height());
    }

    // The labels of the kept points, above the symbols.
    if (!_selLabels.empty() && owner->dataLabelRenderer()) {
        const std::string name = series && series->name() ? *series->name() : std::string();
        for (const auto& label : _selLabels)
            owner->dataLabelRenderer()->render(name, label.rect, _selSeriesPos, label.pointIndex, label.x, label.y, label.text);
    }

    engine->setBorderDashes({});
    forgetSelection();
}

void KivoLinePlotter::forgetSelection() {
    _selState.reset();
    _symState.reset();
    _selDataX.clear();
    _selDataY.clear();
    _symInts.clear();
    _selSeries.reset();
    _selSeriesPos = -1;
    _selLabels.clear();
}
