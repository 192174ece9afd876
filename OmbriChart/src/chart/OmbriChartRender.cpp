// OmbriChart: one drawing pass, from the chart's background to the line marker.
//
// Sections: entry · the pass · frame and legend box · series by animation state · axes above the
// series · annotations and marker lines · small tests.

#include <cmath>

#include "ChartCore/KivoLegend.h"
#include "KivoCore/IKivoRenderEngine.h"
#include "KivoCore/KivoRenderState.h"
#include "OmbriChart/KivoChartAnnotation.h"
#include "OmbriChart/KivoChartLineMarker.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "chart/ChartState.h"

namespace {

void tellDelegate(OmbriChart& chart, OmbriChartDelegate::Method method) {
    const auto delegate = chart.delegateAnswering(method);
    if (!delegate) return;
    if (method == OmbriChartDelegate::Rendering)
        delegate->rendering(nullptr);
    else
        delegate->rendered(nullptr);
}

// The rectangle's look for one drawRect, put back afterwards.
class StateScope {
public:
    explicit StateScope(IKivoRenderEngine& engine) : _engine(engine), _saved(engine.saveState()) {}
    ~StateScope() { _engine.restoreState(_saved); }
    StateScope(const StateScope&) = delete;
    StateScope& operator=(const StateScope&) = delete;

private:
    IKivoRenderEngine& _engine;
    std::shared_ptr<KivoRenderState> _saved;
};

}  // namespace

// ---- Entry ----

void OmbriChart::render(const std::shared_ptr<IKivoRenderEngine>& engine) {
    const auto alive = keepAlive();  // application code below may drop the chart
    raiseChartRendering();
    OmbriChartBase::render(engine);
    _render(renderEngine());
    if (itemsSource()) _state->firstRender = false;
    raiseChartRendered();
}

// ---- The pass ----

void OmbriChart::_render(const std::shared_ptr<IKivoRenderEngine>& engine) {
    const auto alive = keepAlive();  // application code below may drop the chart
    if (!engine) return;
    tellDelegate(*this, OmbriChartDelegate::Rendering);
    const auto chartRect = rectChart() ? rectChart() : KivoRect::create();
    engine->clear();
    engine->setViewportSize(chartRect->width(), chartRect->height());
    _hitTester->clear();

    {
        const StateScope state(*engine);
        engine->startGroup("chart");
        engine->setFill(backgroundColor());
        engine->setStroke(plat::Color::clear());
        engine->drawRect(chartRect->left(), chartRect->top(), chartRect->width(), chartRect->height());
        engine->endGroup();
    }

    auto content = chartRect->clone();
    drawFrame(*engine, *content);
    if (header()) {
        engine->startGroup("header");
        content = drawTitle(engine, content, header(), false);
        engine->endGroup();
    }
    if (footer()) {
        engine->startGroup("footer");
        content = drawTitle(engine, content, footer(), true);
        engine->endGroup();
    }
    auto legendPoint = KivoPoint::create(0, 0);
    const auto legendSize = placeLegend(engine, *content, *legendPoint);
    setPlotterChart(content);

    prepareForRender();
    layout(_plotterChart, engine);
    tellDelegate(*this, OmbriChartDelegate::Rendering);
    if (!_isAnimated) {
        // The limits again for the laid-out axes (the analysis stands unless the delegate changed data).
        prepareForRender();
    } else
        updateAxisOffsets();  // the crossings of the axes as this pass laid them out

    // The plot area's background lies under the grid lines and bands that the axes draw over it.
    engine->startGroup("plotarea");
    if (!plotAreaBackgroundColor().isClear() && _plotRect) {
        const StateScope state(*engine);
        engine->setFill(plotAreaBackgroundColor());
        engine->setStroke(plat::Color::clear());
        engine->drawRect(_plotRect->left(), _plotRect->top(), _plotRect->width(), _plotRect->height());
    }
    engine->endGroup();
    renderAddedAxes(engine);

    bool rendered = false;
    if (_plotRect) {
        engine->setClipRect(_plotRect->left(), _plotRect->top(), _plotRect->width(), _plotRect->height());
        const auto saved = engine->saveState();
        rendered = renderSeriesByState();
        engine->restoreState(saved);
        engine->clearClipRect();
    }

    if (legendSize) {
        _rectLegend = KivoRect::create(legendPoint->x(), legendPoint->y(), legendSize->width(), legendSize->height());
        const StateScope state(*engine);
        legend()->render(engine, legendPoint);
    } else {
        _rectLegend.reset();
    }
    if (rendered) tellDelegate(*this, OmbriChartDelegate::Rendered);

    renderAxesAbove(engine);
    _renderAnnotations(engine);
    _renderMarkerLines(engine, _plotRect);
}

// ---- Frame and legend box ----

void OmbriChart::drawFrame(IKivoRenderEngine& engine, KivoRect& content) const {
    const double b = borderWidth();
    if (b > 0) {
        // The border line fills the band it takes at the chart's edge.
        const StateScope state(engine);
        engine.setFill(plat::Color::clear());
        engine.setStroke(borderColor());
        engine.setStrokeThickness(b);
        engine.drawRect(content.left() + b / 2, content.top() + b / 2, content.width() - b, content.height() - b);
        content.setLeft(content.left() + b);
        content.setTop(content.top() + b);
        content.setWidth(content.width() - 2 * b);
        content.setHeight(content.height() - 2 * b);
    }
    const auto& inset = padding();
    content.setLeft(content.left() + inset.left);
    content.setTop(content.top() + inset.top);
    content.setWidth(content.width() - inset.left - inset.right);
    content.setHeight(content.height() - inset.top - inset.bottom);
}

std::shared_ptr<KivoSize> OmbriChart::placeLegend(const std::shared_ptr<IKivoRenderEngine>& engine, KivoRect& content,
                                                  KivoPoint& at) {
    double W = content.width(), H = content.height();
    const double left = content.left(), top = content.top();
    const auto& box = legend();
    // Rows of a wrapping legend fit inside its box, and the rows after the first centre under the
    // first, which sits in the middle of the content: on 2 × its middle, measured from the chart's left.
    setLegendWidth(W - 2 * (box ? box->inset() : 0.0));
    setChartWidth(2 * left + W);
    const auto size = box ? box->getDesiredSize(engine) : nullptr;
    if (!size) return nullptr;
    const double w = size->width(), h = size->height();
    switch (box->getPosition()) {
        case KivoAxisPositionLeft:
            at.setX(left);
            at.setY(top + (H - h) * 0.5);
            content.setLeft(left + w);
            W -= w;
            break;
        case KivoAxisPositionTop:
            at.setX(left + (W - w) * 0.5);
            at.setY(top);
            content.setTop(top + h);
            H -= h;
            break;
        case KivoAxisPositionRight:
            at.setX(left + (W - w));
            at.setY(top + (H - h) * 0.5);
            W -= w;
            break;
        case KivoAxisPositionBottom:
            at.setX(left + (W - w) * 0.5);
            at.setY(top + (H - h));
            H -= h;
            break;
        default:
            return nullptr;
    }
    content.setWidth(W);
    content.setHeight(H);
    return size;
}

// ---- Series by animation state ----

bool OmbriChart::renderSeriesByState() {
    const double delay = _state->activeUpdateAnimation ? _state->activeUpdateAnimation->startDelay() : 0.0;
    // Times start at the end of the start delay; a pass inside the delay draws the first frame.
    const double t = std::max(0.0, _state->plotTime - delay);
    if ((_state->isUpdateTask1() || _state->isUpdateTask2()) && _isAnimated) {
        _renderByAll(_state->plotTime > 0 ? t : 0.0);
        if (_state->plotTime > 0 && !_state->plotting()) _state->plotTime = 0;
        return false;
    }
    if (_state->plotTime > 0) {
        // A frame of the load or visibility animation, or the closing frame after any task.
        if (isSeriesVisibilityAnimation())
            _renderByAll(t);
        else
            _renderSeries(t);
        if (_state->plotting()) return false;
        _state->plotTime = 0;
        setIsSeriesVisibilityAnimation(false);
        return true;
    }
    if (getEasing() == KivoEasing::EaseNone()) {
        _state->beginPlotElementLoading = true;
        _renderByAll(0);
        return true;
    }
    // An animation is to be played: this pass draws no series and starts it when there is data.
    if (!_state->plotting() && (itemsSource() || seriesHaveItemSource())) _startLoadingAnimationTask();
    return false;
}

// ---- Axes above the series ----

void OmbriChart::renderAxesAbove(const std::shared_ptr<IKivoRenderEngine>& engine) {
    // The axes of this pass's layout that cross the plot: their lines and labels again, without grid.
    for (const auto& axis : _axesInUse) {
        if (!axis || std::isnan(axis->origin()) || !axis->above()) continue;
        axis->setGridLineIsExsit(true);
        axis->render(engine, axis->overlappingLabels() != 0);
        axis->setGridLineIsExsit(false);
    }
}

// ---- Annotations and marker lines ----

void OmbriChart::_renderAnnotations(const std::shared_ptr<IKivoRenderEngine>& engine) {
    const auto alive = keepAlive();  // application code below may drop the chart
    if (!_annotations) return;
    // An annotation may change the collection while it draws: the count is read at every step.
    for (std::size_t i = 0; i < _annotations->count(); ++i)
        if (const auto annotation = _annotations->objectAtIndexAs<KivoChartAnnotation>(i)) annotation->render(engine);
}

void OmbriChart::_renderMarkerLines(const std::shared_ptr<IKivoRenderEngine>& engine, const std::shared_ptr<KivoRect>& plotRect) {
    const auto alive = keepAlive();  // application code below may drop the chart
    const auto& marker = _lineMarker;
    if (!engine || !marker || !plotRect || !marker->isVisible()) return;
    double px = _axisX->convert(marker->x()), py = _axisY->convert(marker->y());
    if (std::isnan(px) || std::isnan(py)) return;
    const StateScope state(*engine);
    const std::int64_t lines = marker->lines();
    if (lines == KivoChartMarkerLinesHorizontal || lines == KivoChartMarkerLinesBoth) {
        const double w = marker->horizontalLineWidth();
        if (py - w * 0.5 < plotRect->top()) py = plotRect->top() + w * 0.5;
        if (py + w * 0.5 > plotRect->bottom()) py = plotRect->bottom() - w * 0.5;
        engine->setStroke(marker->horizontalLineColor());
        engine->setStrokeThickness(w);
        engine->drawLine(plotRect->left(), py, plotRect->right(), py);
    }
    if (lines == KivoChartMarkerLinesVertical || lines == KivoChartMarkerLinesBoth) {
        const double w = marker->verticalLineWidth();
        if (px - w * 0.5 < plotRect->left()) px = plotRect->left() + w * 0.5;
        if (px + w * 0.5 > plotRect->right()) px = plotRect->right() - w * 0.5;
        engine->setStroke(marker->verticalLineColor());
        engine->setStrokeThickness(w);
        engine->drawLine(px, plotRect->top(), px, plotRect->bottom());
    }
}

// ---- Small tests ----

bool OmbriChart::_isRotated() {
    setIsReallyRotated(_rotated != (chartType() == OmbriChartTypeBar));
    return isReallyRotated();
}

bool OmbriChart::seriesHaveItemSource() const {
    for (const auto& entry : *_series) {
        const auto s = entry.as<KivoSeries>();
        if (s && s->itemsSource() && !s->itemsSource()->empty()) return true;
    }
    return false;
}
