// OmbriChart: what the chart does with its data before axes and series are drawn: binding the X
// values, the data analysis and the axis limits, the axes' crossings, and the drawing of the axes
// with the limits of the added ones.

#include <algorithm>
#include <cmath>
#include <limits>

#include "KivoCore/KivoDataType.h"
#include "KivoCore/KivoReflector.h"
#include "OmbriChart/KivoBasePlotter.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// A value that reads as missing: the X axis shows a gap there.
bool isGap(const plat::Value& v) { return v.isNil() || v.isNull(); }

// The far end of a side of a limits rectangle (its start plus its extent), kept finite: data spanning
// nearly all doubles has an extent that is not.
double farEnd(double start, double extent) {
    constexpr double Largest = std::numeric_limits<double>::max();
    const double end = start + extent;
    return std::isnan(end) ? end : std::clamp(end, -Largest, Largest);
}
double right(const KivoRect& r) { return farEnd(r.left(), r.width()); }
double bottom(const KivoRect& r) { return farEnd(r.top(), r.height()); }

// A crossing the axis can be drawn at: a finite pixel, or none (0).
double crossing(double pixel) { return std::isfinite(pixel) ? pixel : 0.0; }

}  // namespace

// ---- Binding ----

void OmbriChart::bindChart() {
    const auto alive = keepAlive();  // application code below may drop the chart
    // New data: the series read their values again.
    clearSeries();
    _xDataType = KivoDataTypeNone;
    _xlabels.clear();
    _xvals = std::make_shared<plat::Array>();
    const auto& view = collectionView();
    const auto items = view ? view->items() : nullptr;
    const auto& name = bindingX();
    if (items && name) {
        // Numbers and dates first; texts only when some value is neither (a category axis), so a large
        // numeric series makes no text per item.
        bool categories = false;
        _xvals->reserve(items->size());
        for (const auto& item : *items) {
            const plat::Value v = KivoReflector::getValue(item, *name);
            if (isGap(v)) {
                _xvals->emplace_back(NaN);
                continue;
            }
            _xDataType = KivoReflector::getDataType(v);
            if (_xDataType == KivoDataTypeDate)
                _xvals->emplace_back(v.asDate().seconds);
            else if (_xDataType == KivoDataTypeNumber)
                _xvals->push_back(v);
            else
                categories = true;
        }
        if (categories) {
            _xvals->clear();
            _xlabels.reserve(items->size());
            for (const auto& item : *items) {
                const plat::Value v = KivoReflector::getValue(item, *name);
                _xlabels.push_back(isGap(v) ? std::string() : v.description());
            }
        }
    }
    // A category axis keeps the texts, a numeric or date axis the values.
    if (items && _xvals->size() != items->size()) _xvals->clear();
    prepareForRender();
}

void OmbriChart::clearSeries() {
    for (const auto& entry : *_series) {
        const auto s = entry.as<KivoSeries>();
        if (s && (!s->itemsSource() || s->itemsSource()->empty())) s->clearValues();
    }
}

// ---- Analysis and limits ----

void OmbriChart::prepareForRender() {
    const auto alive = keepAlive();  // application code below may drop the chart
    const plat::ArrayPtr values = _xvals && !_xvals->empty() ? _xvals : nullptr;
    const auto plotter = _getPlotter(nullptr);
    if (plotter) plotter->setStacking(_stacking);
    _dataInfo->setMaxItems(_maxItemsVisible);
    _dataInfo->analyse(_series->sourceArray(), plotter ? plotter->stacking() : _stacking, values);
    if (plotter) plotter->adjustLimits(_dataInfo, std::nullopt);

    const bool rotated = _isRotated();
    // A column series anywhere makes the bar plotter measure the whole chart, so the bars fit.
    std::shared_ptr<IKivoPlotter> limits = plotter;
    for (const auto& entry : *_series) {
        const auto s = entry.as<KivoSeries>();
        if (!s) continue;
        if (s->chartType() == OmbriChartTypeColumn ||
            (s->chartType() == OmbriChartTypeDefault && chartType() == OmbriChartTypeColumn)) {
            limits = barPlotter();
            limits->setRotated(rotated);
            limits->setStacking(_stacking);
            break;
        }
    }
    // A chart type no plotter draws still shows the scale of its data.
    if (!limits) {
        limits = KivoBasePlotter::create(nullptr);
        limits->setRotated(rotated);
    }

    if (!std::isnan(_axisY->origin())) _axisX->setScale(1.0);
    if (!std::isnan(_axisX->origin())) _axisY->setScale(1.0);
    const auto rX = limits->adjustLimits(_dataInfo, _axisX->logBase());
    const auto rY = limits->adjustLimits(_dataInfo, _axisY->logBase());
    if (!rotated) {
        const std::int64_t xType = _dataInfo->getDataTypeX() != 0 ? _dataInfo->getDataTypeX() : _xDataType;
        _axisX->updateActualLimits(xType, rX->left(), right(*rX), _xlabels, _xvals);
        _axisY->updateActualLimits(_dataInfo->getDataTypeY(), rY->top(), bottom(*rY));
    } else {
        // Rotated: values run horizontally and categories vertically.
        const std::int64_t xType = _dataInfo->getDataTypeY() != 0 ? _dataInfo->getDataTypeY() : _xDataType;
        _axisX->updateActualLimits(xType, rX->left(), right(*rX));
        _axisY->updateActualLimits(_dataInfo->getDataTypeX(), rY->top(), bottom(*rY), _xlabels, _xvals);
    }
    updateAxisOffsets();
}

void OmbriChart::updateAxisOffsets() {
    // An axis with an origin crosses the other axis at that value of it, converted as the series on
    // that axis are, so the line meets the data it names.
    if (!std::isnan(_axisX->origin())) _axisX->setOffset(crossing(_axisY->convert(_axisX->origin())));
    if (!std::isnan(_axisY->origin())) _axisY->setOffset(crossing(_axisX->convert(_axisY->origin())));
}

// ---- Axes ----

void OmbriChart::renderAddedAxes(const std::shared_ptr<IKivoRenderEngine>& engine) {
    const auto alive = keepAlive();  // application code below may drop the chart
    if (!engine || _series->count() == 0) return;
    const plat::ArrayPtr values = _xvals && !_xvals->empty() ? _xvals : nullptr;
    const bool rotated = _isRotated();
    const AxisList axes = _axesArray;
    for (std::size_t i = 0; i < axes.size(); ++i) {
        const auto& axis = axes[i];
        if (!axis) continue;
        if (i < 2) {
            axis->render(engine, axis->overlappingLabels() != 0);
            continue;
        }

        // The series that use this axis, each once; their other axis crosses it at its origin.
        plat::Array users;
        auto plotter = _getPlotter(nullptr);
        const bool hasOrigin = !std::isnan(axis->origin()) && !std::isnan(axis->actualMax()) && !std::isnan(axis->actualMin());
        for (const auto& entry : *_series) {
            const auto s = entry.as<KivoSeries>();
            if (!s || (s->axisX() != axis && s->axisY() != axis)) continue;
            if (std::any_of(users.begin(), users.end(), [&](const plat::Value& u) { return u.as<KivoSeries>() == s; })) continue;
            users.push_back(entry);
            if (hasOrigin) {
                if (s->axisY() == axis)
                    axis->setOffset(crossing((s->axisX() ? s->axisX() : _axisX)->convert(axis->origin())));
                else
                    axis->setOffset(crossing((s->axisY() ? s->axisY() : _axisY)->convert(axis->origin())));
            }
            if (auto own = _getPlotter(s)) plotter = std::move(own);
        }

        if (!users.empty() && plotter) {
            // The series of this axis are analysed apart: the chart's own analysis stays for the series.
            _addedAxisInfo->followWindowOf(*_dataInfo);
            _addedAxisInfo->analyse(users, _stacking, values);
            const auto r = plotter->adjustLimits(_addedAxisInfo, axis->logBase());
            const std::int64_t typeX = _addedAxisInfo->getDataTypeX() != 0 ? _addedAxisInfo->getDataTypeX() : _xDataType;
            const std::int64_t typeY = _addedAxisInfo->getDataTypeY() != 0 ? _addedAxisInfo->getDataTypeY() : _xDataType;
            const bool vertical = axis->axisType() == KivoAxisTypeY;
            if (vertical && !rotated)
                axis->updateActualLimits(_addedAxisInfo->getDataTypeY(), r->top(), bottom(*r));
            else if (!vertical && !rotated)
                axis->updateActualLimits(typeX, r->left(), right(*r), _xlabels, _xvals);
            else if (vertical)
                axis->updateActualLimits(_addedAxisInfo->getDataTypeX(), r->top(), bottom(*r), _xlabels, _xvals);
            else
                axis->updateActualLimits(typeY, r->left(), right(*r));
        }
        // An axis that took no room in this pass's layout has no place to be drawn.
        if (std::find(_axesInUse.begin(), _axesInUse.end(), axis) != _axesInUse.end())
            axis->render(engine, axis->overlappingLabels() != 0);
    }
    // The analyses of added axes leave the plotters holding the chart's own analysis for the series.
    for (auto* plotter : madePlotters()) plotter->setDataInfo(_dataInfo);
}
