// OmbriChart: the recognisers, pan (scrolling zoomed axes, dragging the line marker) and pinch
// (zooming the axes zoomMode allows).

#include <cmath>

#include "OmbriChart/KivoChartLineMarker.h"
#include "OmbriChart/KivoChartMarkerBaseView.h"
#include "OmbriChart/OmbriChart.h"
#include "OmbriChart/XamarinChartMarkerRender.h"
#include "Platform/ui/gestures.h"

namespace {

using State = plat::GestureRecognizerState;

double lengthAlong(const KivoAxis& axis) {
    const auto& rect = axis.axrect();
    if (!rect) return 0;
    return axis.axisType() == KivoAxisTypeY ? rect->height() : rect->width();
}

// The scroll position's change for a drag of `t` points along an axis of `length` shown at `scale`:
// the hidden part of the axis (length / scale − length) spans positions 0 to 1. No step while the axis
// is not zoomed (the divisor is 0) or has no usable length.
double scrollStep(double t, double length, double scale) {
    const double divisor = length / scale - length;
    if (divisor == 0 || !std::isfinite(divisor)) return 0;
    const double step = t / divisor;
    return std::isfinite(step) ? step : 0;
}

// A scroll along the axis' own direction: the X axis moves against dx, the Y axis with dy.
void scrollAxis(KivoAxis& axis, double dx, double dy) {
    const bool vertical = axis.axisType() == KivoAxisTypeY;
    const double step = scrollStep(vertical ? dy : dx, lengthAlong(axis), axis.scale());
    axis.setScrollPosition(vertical ? axis.scrollPosition() + step : axis.scrollPosition() - step);
    axis.refreshScrollDataValue(axis.scrollPosition());
}

bool isZoomed(const KivoAxis& axis) { return axis.scale() != 1.0; }

}  // namespace

void OmbriChart::attachRecognizers() {
    const auto self = sharedAs<OmbriChart>();
    std::weak_ptr<OmbriChart> weak = self;
    const std::weak_ptr<plat::GestureRecognizerDelegate> asDelegate = self;
    _tapRecognizer = plat::TapGestureRecognizer::create([weak](plat::GestureRecognizer& r) {
        if (const auto chart = weak.lock()) chart->respondToTapGesture(r);
    });
    _panRecognizer = plat::PanGestureRecognizer::create([weak](plat::GestureRecognizer& r) {
        if (const auto chart = weak.lock()) chart->respondToPanGesture(r);
    });
    _pinchRecognizer = plat::PinchGestureRecognizer::create([weak](plat::GestureRecognizer& r) {
        if (const auto chart = weak.lock()) chart->respondToPinchGesture(r);
    });
    const std::shared_ptr<plat::GestureRecognizer> recognizers[] = {_tapRecognizer, _panRecognizer, _pinchRecognizer};
    for (const auto& r : recognizers) {
        r->setDelegate(asDelegate);
        addGestureRecognizer(r);
    }
}

bool OmbriChart::gestureRecognizerShouldReceiveTouch(plat::GestureRecognizer& recognizer, const plat::Touch&) {
    return &recognizer != static_cast<plat::GestureRecognizer*>(_panRecognizer.get()) || panShouldReceiveTouch();
}

bool OmbriChart::panShouldReceiveTouch() const {
    if (_lineMarker && _lineMarker->interaction() != KivoChartMarkerInteractionNone && _lineMarker->isVisible()) return true;
    for (const auto& axis : _axesArray)
        if (axis && isZoomed(*axis)) return true;
    return false;
}

void OmbriChart::respondToPanGesture(plat::GestureRecognizer& recognizer) {
    auto* pan = dynamic_cast<plat::PanGestureRecognizer*>(&recognizer);
    if (!pan) return;
    const auto t = pan->translationInView(this);
    scrollBy(t.x, t.y);
    pan->setTranslation({0, 0}, this);
    const auto at = recognizer.locationInView(this);
    _panLineMarker(recognizer.state(), at.x, at.y);
}

// Each axis scrolls by the drag along its own direction, with its own length and scale, whether the
// chart is rotated or not: the categories follow the finger either way.
void OmbriChart::scrollBy(double dx, double dy) {
    if (isZoomed(*_axisX) || isZoomed(*_axisY)) {
        scrollAxis(*_axisX, dx, dy);
        scrollAxis(*_axisY, dx, dy);
    }
    for (std::size_t i = 2; i < _axesArray.size(); ++i)
        if (const auto& axis = _axesArray[i]; axis && isZoomed(*axis)) scrollAxis(*axis, dx, dy);
}

void OmbriChart::_panLineMarker(plat::GestureRecognizerState state, double lx, double ly) {
    if (!_lineMarker || !contains(_plotRect, KivoPoint::create(lx, ly))) return;
    auto& marker = *_lineMarker;
    if (marker.interaction() == KivoChartMarkerInteractionMove) {
        marker.showAt(lx, ly);
        return;
    }
    if (marker.interaction() != KivoChartMarkerInteractionDrag) return;

    // The marker's point in the view, by the same pairing of axis and pixel as pointToData.
    const auto at = _dataToPoint(marker.x(), marker.y());
    const double mx = at->x(), my = at->y();
    const auto& content = marker.content();
    if (content && dynamic_cast<const XamarinChartMarkerRender*>(content->markerRender().get())) {
        const auto frame = content->frame();
        if (frame.contains(plat::Point{lx, ly})) {
            const auto target = KivoChartMarkerBaseView::alignedTarget(marker.alignment(), KivoPoint(lx, ly), frame.size);
            marker.showAt(target.x(), target.y());
        }
    }
    const auto lines = marker.lines();
    if (lines == KivoChartMarkerLinesHorizontal || lines == KivoChartMarkerLinesBoth) {
        const double band = marker.horizontalLineWidth() * 0.5 + MarkerDragBand;
        if (_isHorizontalLineDrag || (ly >= my - band && ly <= my + band)) {
            if (state == State::Began) _isHorizontalLineDrag = true;
            marker.showAt(mx, ly);
        }
    }
    if (lines == KivoChartMarkerLinesVertical || lines == KivoChartMarkerLinesBoth) {
        const double band = marker.verticalLineWidth() * 0.5 + MarkerDragBand;
        if (_isVerticalLineDrag || (lx >= mx - band && lx <= mx + band)) {
            if (state == State::Began) _isVerticalLineDrag = true;
            marker.showAt(lx, my);
        }
    }
    // A pan that is cancelled ends its drag as well, or the next pan would start holding a line.
    if (state == State::Ended || state == State::Cancelled) _isHorizontalLineDrag = _isVerticalLineDrag = false;
}

void OmbriChart::respondToPinchGesture(plat::GestureRecognizer& recognizer) {
    auto* pinch = dynamic_cast<plat::PinchGestureRecognizer*>(&recognizer);
    if (!pinch) return;
    const auto at = recognizer.locationInView(this);
    zoomBy(recognizer.state(), at.x, at.y, pinch->scale());
    // Every callback then carries the change since the last one.
    pinch->setScale(1.0);
}

void OmbriChart::zoomBy(plat::GestureRecognizerState state, double lx, double ly, double g) {
    if (!(g > 0) || !std::isfinite(g)) return;
    const bool rotated = _isRotated();
    const auto& h = rotated ? _axisY : _axisX;
    const auto& v = rotated ? _axisX : _axisY;
    const auto& hr = h->axrect();
    const auto& vr = v->axrect();
    const double lh = hr ? (rotated ? hr->height() : hr->width()) : 0;
    const double lv = vr ? (rotated ? vr->width() : vr->height()) : 0;
    const auto proportion = [state](double began) { return state == State::Began ? began : state == State::Ended ? 0.0 : 0.5; };
    // A new scale counts only once it differs enough from the current one: less zooming in than out.
    const auto apply = [g](KivoAxis& axis, double scale) {
        const double threshold = g > 1.0 ? MinZoomInScaleDiff : MinZoomOutScaleDiff;
        if (std::fabs(scale - axis.scale()) > threshold) axis.setScale(scale);
    };
    if (_canZoomX() && std::isnan(v->origin())) {
        h->setGestureProportion(proportion(lh > 0 ? lx / lh : 0.5));
        apply(*h, h->scale() * (1 / g));
    }
    if (_canZoomY() && std::isnan(h->origin())) {
        v->setGestureProportion(proportion(lv > 0 ? 1 - ly / lv : 0.5));
        apply(*v, v->scale() / g);
    }
}
