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
#include "chart/ChartState.h"
#include "data/DataInfoInternals.h"
#include "series/SeriesColumns.h"

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
    kivo::detail::ChartInternals::xValuesChanged(*this);
    prepareForRender();
}

void OmbriChart::setXvals(plat::ArrayPtr values) {
    _xvals = values ? std::move(values) : std::make_shared<plat::Array>();
    kivo::detail::ChartInternals::xValuesChanged(*this);
}

namespace kivo::detail {

void ChartInternals::xValuesChanged(OmbriChart& chart) {
    ChartState& state = *chart._state;
    state.xColumn = chart._xvals && !chart._xvals->empty() ? columnOfValues(*chart._xvals) : nullptr;
    state.xGeneration = nextGeneration();
}

namespace {

// The X values of a numeric or date axis after an add, remove or replace of items: a new list (the one
// handed out before stays as it was) with the edited items' values, and their numbers alike; false
// when the edit does not fit them or brings a category, and the X values are bound afresh.
bool followXValues(const KivoNotifyCollectionChangedEventArgs& args, const plat::Array& items, const std::string& name,
                   plat::ArrayPtr& xvals, ColumnPtr& column, std::int64_t& dataType) {
    const std::int64_t action = args.action();
    const bool add = action == KivoNotifyCollectionChangedActionAdd;
    const bool remove = action == KivoNotifyCollectionChangedActionRemove;
    const bool replace = action == KivoNotifyCollectionChangedActionReplace;
    if (!add && !remove && !replace) return false;
    const std::int64_t start = remove || (replace && args.startingIndex() < 0) ? args.oldStartingIndex() : args.startingIndex();
    const std::size_t count =
        remove ? (args.oldItems() ? args.oldItems()->size() : 0) : (args.items() ? args.items()->size() : 0);
    const std::size_t size = xvals ? xvals->size() : 0;
    const auto at = static_cast<std::size_t>(start);
    bool fits = start >= 0;
    if (fits && add) fits = at <= size && size + count == items.size();
    if (fits && remove) fits = at + count <= size && size - count == items.size();
    if (fits && replace) fits = at + count <= size && size == items.size();
    if (!fits) return false;

    // The edited items' values, as bindChart reads them: a category among them rebinds.
    plat::Array read;
    if (!remove) {
        read.reserve(count);
        for (std::size_t k = 0; k < count; ++k) {
            const plat::Value v = KivoReflector::getValue(items[at + k], name);
            if (isGap(v)) {
                read.emplace_back(NaN);
                continue;
            }
            const std::int64_t type = KivoReflector::getDataType(v);
            if (type == KivoDataTypeDate)
                read.emplace_back(v.asDate().seconds);
            else if (type == KivoDataTypeNumber)
                read.push_back(v);
            else
                return false;
        }
    }
    auto values = std::make_shared<plat::Array>();
    values->reserve(items.size());
    const auto offset = static_cast<std::ptrdiff_t>(at);
    const auto copied = [&](std::size_t from, std::size_t to) {
        values->insert(values->end(), xvals->begin() + static_cast<std::ptrdiff_t>(from),
                       xvals->begin() + static_cast<std::ptrdiff_t>(to));
    };
    copied(0, at);
    values->insert(values->end(), read.begin(), read.end());
    copied(remove || replace ? at + count : at, size);
    auto numbers = column && column->size() == size ? std::make_shared<ValueColumn>(*column) : nullptr;
    if (numbers) {
        const auto edited = columnOfValues(read);
        if (remove || replace) {
            numbers->values.erase(numbers->values.begin() + offset,
                                  numbers->values.begin() + offset + static_cast<std::ptrdiff_t>(count));
            numbers->numeric.erase(numbers->numeric.begin() + offset,
                                   numbers->numeric.begin() + offset + static_cast<std::ptrdiff_t>(count));
        }
        numbers->values.insert(numbers->values.begin() + offset, edited->values.begin(), edited->values.end());
        numbers->numeric.insert(numbers->numeric.begin() + offset, edited->numeric.begin(), edited->numeric.end());
    }
    // The type is the last value's that is no gap.
    dataType = KivoDataTypeNone;
    for (std::size_t k = items.size(); k-- > 0;) {
        const plat::Value v = KivoReflector::getValue(items[k], name);
        if (isGap(v)) continue;
        dataType = KivoReflector::getDataType(v);
        break;
    }
    xvals = std::move(values);
    column = xvals->empty() ? nullptr : (numbers ? ColumnPtr(std::move(numbers)) : columnOfValues(*xvals));
    return true;
}

}  // namespace

void ChartInternals::itemsChanged(OmbriChart& chart, const KivoNotifyCollectionChangedEventArgs& args) {
    const auto alive = chart.keepAlive();  // application code below may drop the chart
    const auto& view = chart.collectionView();
    const auto items = view ? view->items() : nullptr;
    const auto& name = chart.bindingX();
    ChartState& state = *chart._state;
    // Without X values to follow (no binding, no items, or a category axis) there is nothing to keep.
    const bool followed = items && name && chart._xlabels.empty() &&
                          followXValues(args, *items, *name, chart._xvals, state.xColumn, chart._xDataType);
    if (!followed && (items && name)) {
        chart.bindChart();
        return;
    }
    if (followed) state.xGeneration = nextGeneration();
    for (const auto& entry : *chart._series) {
        const auto s = entry.as<KivoSeries>();
        if (s && (!s->itemsSource() || s->itemsSource()->empty())) SeriesInternals::itemsChanged(*s, args, true);
    }
    chart.prepareForRender();
}

}  // namespace kivo::detail

void OmbriChart::clearSeries() {
    for (const auto& entry : *_series) {
        const auto s = entry.as<KivoSeries>();
        if (s && (!s->itemsSource() || s->itemsSource()->empty())) s->clearValues();
    }
}

// ---- Analysis and limits ----

void OmbriChart::prepareForRender() {
    const auto alive = keepAlive();  // application code below may drop the chart
    const KivoValues values = _xvals && !_xvals->empty() ? _xvals : nullptr;
    const auto plotter = _getPlotter(nullptr);
    if (plotter) plotter->setStacking(_stacking);
    _dataInfo->setMaxItems(_maxItemsVisible);
    kivo::detail::DataInfoInternals::analyse(*_dataInfo, _series->sourceArray(), plotter ? plotter->stacking() : _stacking,
                                             values, values ? _state->xColumn : nullptr, _state->xGeneration);
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
    const KivoValues values = _xvals && !_xvals->empty() ? _xvals : nullptr;
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
            kivo::detail::DataInfoInternals::analyse(*_addedAxisInfo, users, _stacking, values,
                                                     values ? _state->xColumn : nullptr, _state->xGeneration);
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
