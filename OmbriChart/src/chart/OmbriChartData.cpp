// OmbriChart: what the chart does with its data before axes and series are drawn: binding the X
// values, the data analysis and the axis limits, the axes' crossings, and the drawing of the axes
// with the limits of the added ones.

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <typeinfo>

#include "KivoCore/KivoDataType.h"
#include "KivoCore/KivoPropertyReader.h"
#include "KivoCore/KivoReflector.h"
#include "OmbriChart/KivoAreaPlotter.h"
#include "OmbriChart/KivoBasePlotter.h"
#include "OmbriChart/KivoBubblePlotter.h"
#include "OmbriChart/KivoLinePlotter.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "axis/AxisInternals.h"
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

// Whether the plotter stacks its series as one running total per X (lines and areas) rather than the
// bars' separate positive and negative totals.
bool drawsRunningTotals(const IKivoPlotter* plotter) {
    if (dynamic_cast<const KivoAreaPlotter*>(plotter)) return true;
    return dynamic_cast<const KivoLinePlotter*>(plotter) && !dynamic_cast<const KivoBubblePlotter*>(plotter);
}

// The class of the item last read whole, and whether its member read as a whole number or a real one:
// the other items of that class then give the same kind of value from the plain number. A class is
// known only once its member gave a number (not a Boolean, a date or anything else).
struct NumberClass {
    const std::type_info* type = nullptr;
    bool known = false, integers = false;

    static const std::type_info* typeOf(const plat::Value& item) {
        const plat::Object* o = item.asObject().get();
        return o ? &typeid(*o) : nullptr;
    }
    bool holds(const plat::Value& item) const { return known && typeOf(item) == type; }
    // Before a whole read of `item` (its getter may drop the item).
    void learn(const plat::Value& item) {
        type = typeOf(item);
        known = false;
    }
    // After that read gave the number `v`.
    void found(const plat::Value& v) {
        known = type && (v.isInteger() || v.isDouble());
        integers = v.isInteger();
    }
};

}  // namespace

// ---- Binding ----

void OmbriChart::bindChart() {
    using namespace kivo::detail;
    using Kind = XValueList::Kind;
    const auto alive = keepAlive();  // application code below may drop the chart
    // New data: the series read their values again.
    clearSeries();
    _xDataType = KivoDataTypeNone;
    _xlabels.clear();
    // A list of its own: the analyses and axes keep the one they were given until the analysis below.
    auto list = std::make_shared<XValueList>();
    const auto& view = collectionView();
    // Read by position, without a list of the items made for this one read.
    const ViewItems items(view);
    const auto& name = bindingX();
    if (view && name) {
        // Numbers and dates first, kept as numbers with the kind each was read as; texts only when some
        // value is neither (a category axis), so a large numeric series makes no text per item, and no
        // boxed value until someone asks for the X values.
        const KivoPropertyReader reader = KivoPropertyReader::forKey(*name);
        bool categories = false;
        list->reserve(items.size());
        // A class whose member read as a number reads as one for its other items too, of the same kind:
        // those are read as plain numbers, not built as values first.
        NumberClass numbers;
        items.forEach([&](std::size_t, const plat::Value& item) {
            if (categories) return;
            double number = 0;
            if (numbers.holds(item) && reader.readNumber(item, number)) {
                list->appendNumber(number, numbers.integers ? Kind::Integer : Kind::Real);
                _xDataType = KivoDataTypeNumber;
                return;
            }
            numbers.learn(item);
            const plat::Value v = reader.read(item);
            if (isGap(v)) {
                list->appendNumber(NaN, Kind::Real);
                return;
            }
            _xDataType = KivoReflector::getDataType(v);
            if (_xDataType == KivoDataTypeDate) {
                list->appendNumber(v.asDate().seconds, Kind::Real);
            } else if (_xDataType == KivoDataTypeNumber) {
                numbers.found(v);
                list->append(v);
            } else {
                categories = true;
            }
        });
        if (categories) {
            list->clear();
            _xlabels.reserve(items.size());
            items.forEach([&](std::size_t, const plat::Value& item) {
                const plat::Value v = reader.read(item);
                // The axis takes the type of the last value that is no gap.
                if (!isGap(v)) _xDataType = KivoReflector::getDataType(v);
                _xlabels.push_back(isGap(v) ? std::string() : v.description());
            });
        }
    }
    // A category axis keeps the texts, a numeric or date axis the values.
    if (view && list->size() != items.size()) list->clear();
    _state->xList = std::move(list);
    _state->xGeneration = nextGeneration();
    prepareForRender();
}

KivoValues OmbriChart::xvals() const { return _state->xList->values(); }

void OmbriChart::setXvals(plat::ArrayPtr values) {
    _state->xList = kivo::detail::XValueList::ofValues(std::move(values));
    kivo::detail::ChartInternals::xValuesChanged(*this);
}

namespace kivo::detail {

void ChartInternals::xValuesChanged(OmbriChart& chart) { chart._state->xGeneration = nextGeneration(); }

namespace {

// The X value of an item as bindChart reads it; false for a category (neither number, date nor gap).
bool readX(const plat::Value& item, const std::string& name, plat::Value& x, std::int64_t& type) {
    const plat::Value v = KivoReflector::getValue(item, name);
    type = KivoDataTypeNone;
    if (isGap(v)) {
        x = plat::Value(NaN);
        return true;
    }
    type = KivoReflector::getDataType(v);
    if (type == KivoDataTypeDate)
        x = plat::Value(v.asDate().seconds);
    else if (type == KivoDataTypeNumber)
        x = v;
    else
        return false;
    return true;
}

// The X values of a numeric or date axis after an add, remove or replace of items (`count` of them
// now): the edited items' values go in, read from the change itself. False when the edit does not fit
// them or brings a category; the X values are then bound afresh.
bool followXValues(const KivoNotifyCollectionChangedEventArgs& args, std::size_t count, const std::string& name,
                   const ListSource& list, XValueList& x, std::int64_t& dataType, bool& numbersChanged) {
    numbersChanged = true;
    const std::int64_t action = args.action();
    const bool add = action == KivoNotifyCollectionChangedActionAdd;
    const bool remove = action == KivoNotifyCollectionChangedActionRemove;
    const bool replace = action == KivoNotifyCollectionChangedActionReplace;
    if (!add && !remove && !replace) return false;
    const std::int64_t start = remove || (replace && args.startingIndex() < 0) ? args.oldStartingIndex() : args.startingIndex();
    const plat::ArrayPtr& brought = args.items();
    const std::size_t n = remove ? (args.oldItems() ? args.oldItems()->size() : 0) : (brought ? brought->size() : 0);
    const std::size_t size = x.size();
    const auto at = static_cast<std::size_t>(start);
    bool fits = start >= 0 && (remove || brought);
    if (fits && add) fits = at <= size && size + n == count;
    if (fits && remove) fits = at + n <= size && size - n == count;
    if (fits && replace) fits = at + n <= size && size == count;
    if (!fits) return false;

    // The edited items' values: a category among them rebinds.
    XValueList read;
    read.reserve(remove ? 0 : n);
    std::int64_t lastType = KivoDataTypeNone;
    for (std::size_t k = 0; !remove && k < n; ++k) {
        std::int64_t type = KivoDataTypeNone;
        plat::Value v;
        if (!readX((*brought)[k], name, v, type)) return false;
        read.append(v);
        if (type != KivoDataTypeNone) lastType = type;
    }
    // The type is that of the last value that is no gap: an edit at the end, or of the gaps that end
    // the list, may change it.
    const bool atEnd = add ? at == size : at + n == size;
    const bool gapAtEnd = size > 0 && std::isnan(x.column()->values.back());
    if ((atEnd || gapAtEnd) && !(lastType != KivoDataTypeNone && atEnd)) {
        const plat::ArrayPtr whole = list ? list() : nullptr;
        if (!whole || whole->size() != count) return false;
        lastType = KivoDataTypeNone;
        for (std::size_t k = whole->size(); k-- > 0 && lastType == KivoDataTypeNone;) {
            plat::Value ignored;
            if (!readX((*whole)[k], name, ignored, lastType)) return false;
        }
        dataType = lastType;
    } else if (atEnd) {
        dataType = lastType;
    }
    numbersChanged = x.splice(at, add ? 0 : n, read);
    return true;
}

}  // namespace

void ChartInternals::itemsChanged(OmbriChart& chart, const KivoNotifyCollectionChangedEventArgs& args) {
    const auto alive = chart.keepAlive();  // application code below may drop the chart
    const auto view = chart.collectionView();
    const auto& name = chart.bindingX();
    ChartState& state = *chart._state;
    if (view && name) {
        // Without X values to follow (a category axis) the X values are bound afresh. The chart's list
        // is edited in place: its analyses and axes hold it, and what it handed out stays as it was.
        bool numbersChanged = true;
        const bool followed =
            chart._xlabels.empty() && followXValues(
                                          args, static_cast<std::size_t>(view->itemCount()), *name,
                                          [view] { return view->items(); }, *state.xList, chart._xDataType, numbersChanged);
        if (!followed) {
            chart.bindChart();
            return;
        }
        // A replace that leaves every X number as it was changes nothing the analysis reads of them.
        if (numbersChanged) state.xGeneration = nextGeneration();
    }
    // Every series hears it: one whose own items are all filtered out reads the chart's items too.
    for (const auto& entry : *chart._series)
        if (const auto s = entry.as<KivoSeries>()) SeriesInternals::itemsChanged(*s, args, true);
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
    const auto& list = _state->xList;
    const kivo::detail::XListPtr analysed = list->empty() ? nullptr : list;
    const auto plotter = _getPlotter(nullptr);
    if (plotter) plotter->setStacking(_stacking);
    _dataInfo->setMaxItems(_maxItemsVisible);
    kivo::detail::DataInfoInternals::analyse(*_dataInfo, _series->sourceArray(), plotter ? plotter->stacking() : _stacking,
                                             analysed, _state->xGeneration, drawsRunningTotals(plotter.get()));
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
        kivo::detail::AxisInternals::updateLimits(*_axisX, xType, rX->left(), right(*rX), _xlabels, list);
        _axisY->updateActualLimits(_dataInfo->getDataTypeY(), rY->top(), bottom(*rY));
    } else {
        // Rotated: values run horizontally and categories vertically.
        const std::int64_t xType = _dataInfo->getDataTypeY() != 0 ? _dataInfo->getDataTypeY() : _xDataType;
        _axisX->updateActualLimits(xType, rX->left(), right(*rX));
        kivo::detail::AxisInternals::updateLimits(*_axisY, _dataInfo->getDataTypeX(), rY->top(), bottom(*rY), _xlabels, list);
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
    const auto& list = _state->xList;
    const kivo::detail::XListPtr analysed = list->empty() ? nullptr : list;
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
            kivo::detail::DataInfoInternals::analyse(*_addedAxisInfo, users, _stacking, analysed, _state->xGeneration,
                                                     drawsRunningTotals(plotter.get()));
            const auto r = plotter->adjustLimits(_addedAxisInfo, axis->logBase());
            const std::int64_t typeX = _addedAxisInfo->getDataTypeX() != 0 ? _addedAxisInfo->getDataTypeX() : _xDataType;
            const std::int64_t typeY = _addedAxisInfo->getDataTypeY() != 0 ? _addedAxisInfo->getDataTypeY() : _xDataType;
            const bool vertical = axis->axisType() == KivoAxisTypeY;
            if (vertical && !rotated)
                axis->updateActualLimits(_addedAxisInfo->getDataTypeY(), r->top(), bottom(*r));
            else if (!vertical && !rotated)
                kivo::detail::AxisInternals::updateLimits(*axis, typeX, r->left(), right(*r), _xlabels, list);
            else if (vertical)
                kivo::detail::AxisInternals::updateLimits(*axis, _addedAxisInfo->getDataTypeX(), r->top(), bottom(*r), _xlabels,
                                                          list);
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
