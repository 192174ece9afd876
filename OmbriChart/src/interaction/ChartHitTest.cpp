// OmbriChart: what lies at a point (hit test), view points and data values, the value texts behind a
// point, and storing a selection.

#include <cmath>

#include "ChartCore/KivoLegend.h"
#include "OmbriChart/KivoChartAnnotation.h"
#include "OmbriChart/KivoChartHitTestInfo.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "chart/ChartState.h"

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

bool inRange(std::int64_t index, std::size_t size) { return index >= 0 && static_cast<std::size_t>(index) < size; }

}  // namespace

std::shared_ptr<KivoChartHitTestInfo> OmbriChart::hitTest(const std::shared_ptr<KivoPoint>& point) {
    return _hitTest(point ? point->x() : NaN, point ? point->y() : NaN);
}

std::shared_ptr<KivoChartHitTestInfo> OmbriChart::_hitTest(double x, double y) {
    const auto p = toControl(x, y);
    auto info = KivoChartHitTestInfo::create(sharedAs<OmbriChart>(), x, y);
    // Titles lie over everything else, then the legend, then the annotations, which float over the plot.
    if (const KivoChartElement title = titleElementAt(p); title != KivoChartElementNone) {
        info->setChartElement(title);
        return info;
    }
    if (contains(_rectLegend, p)) {
        info->setChartElement(KivoChartElementLegend);
        const std::int32_t i = legendItemSeries(legend() ? legend()->hitTest(p) : -1);
        if (inRange(i, _series->count())) {
            const auto series = _series->objectAtIndexAs<KivoSeries>(static_cast<std::size_t>(i));
            info->setSeries(series);
            info->dataPoint()->setSeriesIndex(i);
            info->dataPoint()->setSeriesName(series ? series->name() : std::nullopt);
        }
        return info;
    }
    if (auto annotation = _getHittedAnnotation(p)) {
        info->setChartElement(KivoChartElementAnnotation);
        info->setAnnotation(std::move(annotation));
        return info;
    }
    if (!contains(rectChart(), p)) {
        info->setChartElement(KivoChartElementNone);
        return info;
    }

    const auto hit = _hitTester ? _hitTester->hitTest(p) : nullptr;
    const auto dataPoint = hit && hit->area() ? hit->area()->tag().as<KivoChartDataPoint>() : nullptr;
    if (!dataPoint) {
        info->setChartElement(contains(_plotRect, p) ? KivoChartElementPlotArea : KivoChartElementChartArea);
        return info;
    }
    info->setDataPoint(dataPoint);
    info->setDistance(hit->distance());
    info->setArea(hit->area());
    const auto& items = itemsSource();
    if (items && inRange(dataPoint->pointIndex(), items->size()))
        dataPoint->setDataObject((*items)[static_cast<std::size_t>(dataPoint->pointIndex())]);
    if (inRange(dataPoint->seriesIndex(), _series->count()))
        info->setSeries(_series->objectAtIndexAs<KivoSeries>(static_cast<std::size_t>(dataPoint->seriesIndex())));
    // An axis band counts only where an area was found; elsewhere it is the chart area.
    if (contains(_plotRect, p))
        info->setChartElement(KivoChartElementPlotArea);
    else if (contains(_axisX->axrect(), p))
        info->setChartElement(KivoChartElementAxisX);
    else if (contains(_axisY->axrect(), p))
        info->setChartElement(KivoChartElementAxisY);
    else
        info->setChartElement(KivoChartElementChartArea);
    return info;
}

std::shared_ptr<KivoPoint> OmbriChart::pointToData(const std::shared_ptr<KivoPoint>& point) {
    return _pointToData(point ? point->x() : NaN, point ? point->y() : NaN);
}

std::shared_ptr<KivoPoint> OmbriChart::_pointToData(double x, double y) {
    auto p = toControl(x, y);
    p->setX(_axisX->convertBack(p->x()));
    p->setY(_axisY->convertBack(p->y()));
    return p;
}

std::shared_ptr<KivoPoint> OmbriChart::dataToPoint(const std::shared_ptr<KivoPoint>& point) {
    return _dataToPoint(point ? point->x() : NaN, point ? point->y() : NaN);
}

std::shared_ptr<KivoPoint> OmbriChart::_dataToPoint(double x, double y) {
    auto p = KivoPoint::create(_axisX->convert(x), _axisY->convert(y));
    if (const auto& rect = rectChart()) {
        p->setX(p->x() + rect->left());
        p->setY(p->y() + rect->top());
    }
    return p;
}

std::shared_ptr<KivoChartAnnotation> OmbriChart::_getHittedAnnotation(const std::shared_ptr<KivoPoint>& point) const {
    if (!_annotations || !point) return nullptr;
    for (std::size_t i = _annotations->count(); i-- > 0;) {
        const auto annotation = _annotations->objectAtIndexAs<KivoChartAnnotation>(i);
        // A hidden annotation keeps its last outline, but a tap goes through it to what lies below.
        if (annotation && annotation->isVisible() && annotation->isContains(point)) return annotation;
    }
    return nullptr;
}

plat::Value OmbriChart::getHitTestInfoValue(std::int32_t dimension, bool formatted, std::int32_t pointIndex,
                                            const std::shared_ptr<plat::Object>& seriesObject) {
    if (!_series || pointIndex < 0) return {};
    const auto series = std::dynamic_pointer_cast<KivoSeries>(seriesObject);
    const auto index = static_cast<std::size_t>(pointIndex);
    plat::Value v;
    bool found = false;
    // Read through whatever the series answers with: a list that may be missing.
    const auto take = [&](const auto& values) {
        if (values && index < values->size()) {
            v = (*values)[index];
            found = true;
        }
    };
    if (series && dimension <= 1) {
        take(series->getValues(dimension));
    } else if (series) {
        // Dimensions past the X are the binding's further members (the bubble size is member 1).
        take(series->getBindingValues(dimension - 1));
    }
    if (!found && dimension == 1) {
        if (index < _xlabels.size())
            v = plat::Value(_xlabels[index]);
        else if (index < _state->xList->size())
            v = _state->xList->at(index);
    }
    // Dates are formatted from the seconds they hold; texts (category labels) stay as they are.
    if (!formatted || v.isNil() || dimension > 1 || !(v.isNumber() || v.isDate())) return v;
    const double number = v.isDate() ? v.asDate().seconds : v.asDouble();
    return plat::Value((dimension == 0 ? _axisY : _axisX)->formatValue(number));
}

void OmbriChart::_select(const std::shared_ptr<KivoSeries>& series, std::int32_t index) {
    setSelection(series);
    setSelectionIndex(index);
    if (series && selectionMode() == KivoChartSelectionModePoint && collectionView())
        collectionView()->moveCurrentToPosition(index);
    invalidate();
}
