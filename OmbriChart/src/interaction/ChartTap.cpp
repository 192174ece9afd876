// OmbriChart: a tap. In turn: the hit test, the delegate call, a point's tooltip (or the facts a
// customised one is built from), the selection, a legend item's series shown or hidden, the line marker
// moved there, and an annotation's tooltip.

#include <cmath>

#include "ChartCore/KivoChartTooltip.h"
#include "OmbriChart/KivoChartAnnotation.h"
#include "OmbriChart/KivoChartHitTestInfo.h"
#include "OmbriChart/KivoChartLineMarker.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "Platform/ui/gestures.h"

namespace {

// Types whose hit areas are the bars or candles themselves, rather than discs around a point.
bool hasRectangleAreas(std::int64_t type) {
    return type == OmbriChartTypeColumn || type == OmbriChartTypeBar || type == OmbriChartTypeCandlestick ||
           type == OmbriChartTypeHighLowOpenClose;
}

plat::Point middleOf(const IKivoHitArea& area) {
    const auto b = area.bounds();
    return {(b.minX + b.maxX) / 2, (b.minY + b.maxY) / 2};
}

}  // namespace

void OmbriChart::respondToTapGesture(plat::GestureRecognizer& recognizer) {
    if (recognizer.state() != plat::GestureRecognizerState::Recognized) return;
    const auto at = recognizer.locationInView(this);
    tapAt(at.x, at.y);
}

void OmbriChart::tapAt(double tx, double ty) {
    const auto self = sharedAs<OmbriChart>();
    raiseChartTapped(KivoPoint::create(tx, ty));
    const auto info = _hitTest(tx, ty);
    const auto& content = tooltip() ? tooltip()->content() : nullptr;
    if (content) content->setThreshold(TapRadius);

    if (const auto delegate = delegateAnswering(OmbriChartDelegate::Tapped))
        if (delegate->tapped(self, info->point())) return;

    const auto& point = info->dataPoint();
    const double threshold = content ? content->threshold() : TapRadius;
    const bool onPoint = info->distance() <= threshold && point->seriesIndex() >= 0 &&
                         static_cast<std::size_t>(point->seriesIndex()) < _series->count() &&
                         info->chartElement() == KivoChartElementPlotArea;
    showTapTooltip(*info, tx, ty, onPoint && tooltip() && tooltip()->isVisible());
    selectFromTap(info);

    if (legendToggle() && info->chartElement() == KivoChartElementLegend && info->series()) {
        const auto& series = info->series();
        if (series->visibility() == KivoSeriesVisibilityVisible)
            series->setVisibility(KivoSeriesVisibilityLegend);
        else if (series->visibility() == KivoSeriesVisibilityLegend)
            series->setVisibility(KivoSeriesVisibilityVisible);
    }

    if (_lineMarker && contains(_plotRect, KivoPoint::create(tx, ty))) {
        if (_lineMarker->interaction() == KivoChartMarkerInteractionMove ||
            (_lineMarker->interaction() == KivoChartMarkerInteractionDrag && _lineMarker->firstShow()))
            _lineMarker->showAt(tx, ty);
    }

    const auto& annotation = info->annotation();
    if (content && info->chartElement() == KivoChartElementAnnotation && annotation && annotation->isVisible() &&
        annotation->tooltipText() && !annotation->tooltipText()->empty()) {
        content->setIsVisible(true);
        content->setText(annotation->tooltipText());
        content->setSenderPoint({tx, ty});
        content->invalidate();
    }
}

void OmbriChart::showTapTooltip(const KivoChartHitTestInfo& info, double tx, double ty, bool showTip) {
    const auto& content = tooltip() ? tooltip()->content() : nullptr;
    const auto& point = info.dataPoint();
    const bool rotated = _isRotated();
    const auto& categoryAxis = rotated ? _axisY : _axisX;
    const auto& valueAxis = rotated ? _axisX : _axisY;
    plat::Value xText = point->valueX();
    if (xText.isNumber() && categoryAxis->isTimeAxis()) xText = plat::Value(categoryAxis->formatValue(xText.asDouble()));
    const plat::Value yText(valueAxis->formatValue(point->value()));
    const std::int64_t type = info.series() && info.series()->chartType() != 0 ? info.series()->chartType() : chartType();
    const bool rectangles = hasRectangleAreas(type);
    const auto& area = info.area();

    const auto delegate = delegateAnswering(OmbriChartDelegate::HandleTooltip);
    if (content && content->isCustomized()) {
        if (!delegate) return;
        const auto data = _getCustomizedTooltipData(chartType(), xText, yText, point);
        if (area) {
            const auto middle = middleOf(*area);
            const auto& moved = info.point();
            if (!rectangles) {
                moved->setX(middle.x);
                moved->setY(middle.y);
            } else if (rotated) {
                moved->setY(middle.y);
            } else {
                moved->setX(middle.x);
            }
        }
        delegate->handleTooltip(sharedAs<OmbriChart>(), info.point(), showTip, data);
        return;
    }
    if (!content) return;
    content->setIsVisible(showTip);
    if (!showTip) return;
    content->setChartData(point);
    content->setText(_getTooltipText(chartType(), xText, yText, point, info.series()));
    plat::Point sender{tx, ty};
    if (area) {
        const auto middle = middleOf(*area);
        if (!rectangles)
            sender = {middle.x, middle.y - content->gap()};
        else if (!rotated)
            sender = {middle.x, ty - content->gap()};
        else
            sender = {tx + content->gap(), middle.y};
    }
    content->setSenderPoint(sender);
    if (std::isfinite(sender.x) && std::isfinite(sender.y)) {
        content->invalidate();
        bringSubviewToFront(content.get());
    }
}

void OmbriChart::selectFromTap(const std::shared_ptr<KivoChartHitTestInfo>& info) {
    const auto mode = selectionMode();
    if (mode == KivoChartSelectionModeNone) return;
    std::shared_ptr<KivoSeries> series;
    std::int32_t index = -1;
    const bool onLegend = info->chartElement() == KivoChartElementLegend;
    if (info->distance() <= TapRadius && info->series()) {
        if (!((onLegend && mode != KivoChartSelectionModeSeries) || legendToggle())) {
            series = info->series();
            index = info->dataPoint()->pointIndex();
        }
    } else if (mode == KivoChartSelectionModeSeries && onLegend && info->series()) {
        series = info->series();
    }
    if (selection() == series && selectionIndex() == index) return;
    _select(series, index);
    if (const auto delegate = delegateAnswering(OmbriChartDelegate::SelectionChanged))
        delegate->selectionChanged(sharedAs<OmbriChart>(), info);
}
