// OmbriPie: the drawing pass (frame, titles, the legend's place), and the square and the frame it hands
// the drawing view.

#include <algorithm>
#include <cmath>

#include "ChartCore/KivoLegend.h"
#include "OmbriPie/OmbriPie.h"
#include "PieFrame.h"

void OmbriPie::render(const std::shared_ptr<IKivoRenderEngine>& engine) {
    if (!engine) return;
    const auto alive = keepAlive();  // the delegate and handlers below may drop the pie
    if (auto d = delegateAnswering(OmbriChartDelegate::Rendering)) d->rendering(nullptr);
    raiseChartRendering();

    OmbriChartBase::render(engine);
    _pieControl->areas().clear();
    const auto& chart = rectChart();
    if (!chart) return;

    engine->startGroup("pie");
    engine->setFill(backgroundColor());
    engine->setStroke(borderColor());
    engine->setStrokeThickness(borderWidth());
    engine->drawRect(chart->left(), chart->top(), chart->width(), chart->height());
    engine->endGroup();

    auto r = chart->clone();
    if (borderWidth() > 0) {
        r->setLeft(r->left() + borderWidth());
        r->setTop(r->top() + borderWidth());
        r->setWidth(r->width() - 2 * borderWidth());
        r->setHeight(r->height() - 2 * borderWidth());
    }
    if (header()) {
        engine->startGroup("header");
        r = drawTitle(engine, r, header(), false);
        engine->endGroup();
    }
    if (footer()) {
        engine->startGroup("footer");
        r = drawTitle(engine, r, footer(), true);
        engine->endGroup();
    }

    double w = r->width(), h = r->height();
    _legendWidth = _chartWidth = w;
    std::shared_ptr<KivoPoint> legendPoint;
    const auto s = legend() ? legend()->getDesiredSize(engine) : nullptr;
    if (s) {
        switch (legend()->getPosition()) {
            case KivoAxisPositionLeft:
                r->setLeft(r->left() + s->width());
                w -= s->width();
                legendPoint = KivoPoint::create(0, r->top() + (h - s->height()) * 0.5);
                break;
            case KivoAxisPositionTop:
                h -= s->height();
                legendPoint = KivoPoint::create((w - s->width()) * 0.5, r->top() + LEGEND_TITLE_MARGIN);
                r->setTop(r->top() + s->height() + LEGEND_PIE_MARGIN);
                break;
            case KivoAxisPositionRight:
                w -= s->width();
                legendPoint = KivoPoint::create(w, r->top() + (h - s->height()) * 0.5);
                break;
            case KivoAxisPositionBottom:
                h -= s->height() + LEGEND_TITLE_MARGIN;
                legendPoint = KivoPoint::create((w - s->width()) * 0.5, r->top() + h);
                break;
            default:
                break;
        }
    }
    r->setWidth(w);
    r->setHeight(h);

    if (legendPoint) {
        _rectLegend = KivoRect::create(legendPoint->x(), legendPoint->y(), s->width(), s->height());
        legend()->render(engine, legendPoint);
    } else {
        _rectLegend.reset();
    }

    _renderPieControl(engine, r);
    // The turn on screen stays after a pass: the hit test and the next turn must count it.
    _rotationAngle = _pieControl->appliedRotation();

    if (auto d = delegateAnswering(OmbriChartDelegate::Rendered)) d->rendered(nullptr);
    raiseChartRendered();
}

void OmbriPie::_renderPieControl(const std::shared_ptr<IKivoRenderEngine>& engine, const std::shared_ptr<KivoRect>& rect) {
    const double sum = _pieControl->sum();
    if (sum < 0 || std::isnan(sum)) return;
    const plat::EdgeInsets& m = plotMargin();
    auto r = rect->clone();
    r->setTop(r->top() + m.top);
    r->setLeft(r->left() + m.left);
    r->setHeight(r->height() - m.bottom - m.top);
    r->setWidth(r->width() - m.right - m.left);

    // A NaN margin or size puts the centre at the origin rather than into the view's geometry.
    const double x = r->left() + r->width() / 2, y = r->top() + r->height() / 2;
    const double cx = std::isfinite(x) ? x : 0, cy = std::isfinite(y) ? y : 0;
    _center = KivoPoint::create(cx, cy);
    _radius = std::min(r->width() / 2, r->height() / 2) - RadiusInset;

    _pieControl->setSelectedIndex(_selectedIndex);
    _pieControl->setEngine(engine);
    if (_radius > 0) {
        _pieControl->setRectPie(KivoRect::create(cx - _radius, cy - _radius, 2 * _radius, 2 * _radius));
        _pieControl->setBounds({cx - _radius - PieViewMargin, cy - _radius - PieViewMargin, 2 * _radius + 2 * PieViewMargin,
                                2 * _radius + 2 * PieViewMargin});
    } else {
        // No room for a pie: no square, and an empty view at the centre.
        _radius = 0;
        _pieControl->setRectPie(nullptr);
        _pieControl->setBounds({cx, cy, 0, 0});
    }
    _pieControl->setCenter({cx, cy});
    handOverFrame();
    _pieControl->invalidate();
}

void OmbriPie::handOverFrame() {
    auto frame = std::make_shared<kivo::detail::PieFrame>();
    frame->labels = _labels;
    const std::size_t slices = std::max(_pieControl->values().size(), _pieControl->preValues().size());
    frame->fills.reserve(slices);
    frame->strokes.reserve(slices);
    for (std::size_t i = 0; i < slices; ++i) {
        frame->fills.push_back(getColor(static_cast<std::int64_t>(i)));
        frame->strokes.push_back(getColorDark(static_cast<std::int64_t>(i)));
    }
    frame->background = plotAreaBackgroundColor();
    frame->selectedBorderWidth = selectedBorderWidth();
    frame->selectedDashes = selectedDashes();
    frame->selectedBorderColor = selectedBorderColor();
    frame->labelPosition = _dataLabel ? _dataLabel->position() : KivoPieLabelPositionNone;
    frame->xamarinLabel = _isXamarinLabel;
    frame->labelRenderer = _dataLabelRenderer;
    _pieControl->setFrame(std::move(frame));

    // A selection made in code turns its slice to the selected-item position once, before the pass
    // that shows it.
    if (selectionMode() != KivoChartSelectionModeNone && _setWithCode && _pieControl->rectPie() &&
        _pieControl->validSelectedIndex() >= 0 && _selectedItemPosition != 0) {
        turnToSelectedPosition();
        _setWithCode = false;
    }
}
