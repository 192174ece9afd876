#include "OmbriGauge/KivoRadialGauge.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "KivoCore/KivoRenderEngine.h"
#include "OmbriGauge/KivoGaugeRange.h"

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double DegreesPerRadian = 180 / Pi;
// Angles are kept within one turn either way.
constexpr double MaxAngle = 360;
// A segment just short of a full turn, so that its two ends stay apart.
constexpr double MaxSegmentSweep = 359.99;
// The end texts stand this far beyond the arc's ends (10°, in radians).
constexpr double EndTextOffset = 0.17453292519943295;
// Above this sweep (300°, in radians) the end texts would meet: they are not drawn…
constexpr double MaxSweepForEndTexts = 5.235987755982989;
// …but auto-scale still makes room for them up to this sweep, in degrees.
constexpr double MaxSweepForEndTextRoom = 330;
// A touch beyond the arc moves the pointer to an end only from within this share of the scale.
constexpr double EndZone = 0.1;

double toRadians(double degrees) { return degrees / DegreesPerRadian; }

struct Bounds {
    double minX = std::numeric_limits<double>::infinity(), minY = minX;
    double maxX = -minX, maxY = -minX;
    void add(double x, double y) {
        minX = std::min(minX, x);
        minY = std::min(minY, y);
        maxX = std::max(maxX, x);
        maxY = std::max(maxY, y);
    }
    void addBox(const KivoPoint& center, plat::Size size) {
        add(center.x() - size.width / 2, center.y() - size.height / 2);
        add(center.x() + size.width / 2, center.y() + size.height / 2);
    }
};

}  // namespace

std::shared_ptr<KivoRadialGauge> KivoRadialGauge::create(const plat::Rect& frame) {
    return createGauge(new KivoRadialGauge(frame), frame);
}

void KivoRadialGauge::initInternals() {
    initialization();
    _startAngle = 0;
    _sweepAngle = _requestedSweep = 180;
    _autoScale = true;
    setShowText(KivoGaugeShowTextAll);
    _scaleFactor = 1.0f;
    _panX = _panY = 0;
}

// ---- Properties ----

void KivoRadialGauge::setStartAngle(double degrees) {
    if (std::isnan(degrees) || degrees == _startAngle) return;
    _startAngle = clamp(degrees, -MaxAngle, MaxAngle);
    // A sweep asked for again now describes an arc from this start.
    _requestedSweep = NAN;
    invalidate();
}

void KivoRadialGauge::setSweepAngle(double degrees) {
    if (std::isnan(degrees)) return;
    const double s = clamp(degrees, -MaxAngle, MaxAngle);
    if (s == _requestedSweep || (s >= 0 && s == _sweepAngle)) return;
    _requestedSweep = s;
    if (s < 0) {
        // The same arc described from its other end, the start kept within one turn.
        double start = _startAngle + MaxAngle + s;
        if (start > MaxAngle) start -= MaxAngle;
        _startAngle = start;
        _sweepAngle = -s;
    } else {
        _sweepAngle = s;
    }
    invalidate();
}

void KivoRadialGauge::setAutoScale(bool autoScale) {
    if (autoScale == _autoScale) return;
    _autoScale = autoScale;
    if (!autoScale) {
        // Touches must be mapped as the unscaled drawing shows them.
        _scaleFactor = 1.0f;
        _panX = _panY = 0;
    }
    invalidate();
}

// ---- Geometry ----

KivoPoint KivoRadialGauge::_center() const {
    const auto& r = rectGauge();
    return r ? KivoPoint(r->width() / 2, r->height() / 2) : KivoPoint();
}

double KivoRadialGauge::_radius() const {
    const auto& r = rectGauge();
    return r ? std::max(0.0, std::min(r->width(), r->height()) / 2) : 0;
}

std::shared_ptr<KivoPoint> KivoRadialGauge::_getPoint(const KivoPoint& center, double angle, double radius) {
    return KivoPoint::create(center.x() - radius * std::cos(angle), center.y() - radius * std::sin(angle));
}

// ---- Drawing ----

void KivoRadialGauge::refresh() {
    const auto alive = keepAlive();
    if (_autoScale) _doAutoScale();
    KivoGauge::refresh();
}

void KivoRadialGauge::_doAutoScale() {
    const KivoPoint c = _center();
    const double R = _radius();
    const double W = rectGauge() ? rectGauge()->width() : 0, H = rectGauge() ? rectGauge()->height() : 0;
    Bounds bounds;
    const double a = std::trunc(_startAngle), b = std::trunc(_startAngle + _sweepAngle);
    for (double i = std::min(a, b); i <= std::max(a, b); ++i) {
        const auto p = _getPoint(c, toRadians(i), R);
        bounds.add(p->x(), p->y());
    }
    if (showValue()) bounds.addBox(c, _measure(formatDecimal(value()), valueFont()));
    if (showMinMax() && std::fabs(_sweepAngle) <= MaxSweepForEndTextRoom) {
        const double rText = (R + R * (1 - thickness())) / 2;
        const double start = toRadians(_startAngle), end = toRadians(_startAngle + _sweepAngle);
        bounds.addBox(*_getPoint(c, start - EndTextOffset, rText), _measure(formatDecimal(min()), minFont()));
        bounds.addBox(*_getPoint(c, end + EndTextOffset, rText), _measure(formatDecimal(max()), maxFont()));
    }

    const double bw = bounds.maxX - bounds.minX, bh = bounds.maxY - bounds.minY;
    const double factor = std::min(W / bw, H / bh);
    // An empty box (a point, a line) or an empty view gives nothing to fit: the drawing stays as it is.
    if (!(bw > 0 && bh > 0) || !std::isfinite(factor) || !(factor > 0)) {
        _scaleFactor = 1.0f;
        _panX = _panY = 0;
        return;
    }
    _scaleFactor = static_cast<float>(factor);
    _panX = static_cast<float>((bounds.minX + bw / 2) * factor - c.x());
    _panY = static_cast<float>((bounds.minY + bh / 2) * factor - c.y());
    renderEngine()->setPan(-_panX, -_panY);
    renderEngine()->setScale(_scaleFactor, _scaleFactor);
}

void KivoRadialGauge::updateRangeElement(const std::shared_ptr<KivoGaugeRange>& range, double value, double) {
    const auto alive = keepAlive();
    if (!range) return;
    const KivoPoint c = _center();
    const double R = _radius(), gt = thickness();
    // Every band is centred within the face's ring.
    const double rt = std::min(range->thickness(), face()->thickness());
    const double w = R * gt * rt;
    const double rOut = R - (R * gt - w) / 2, rIn = rOut - w;
    const double pmin = getPercent(range->min()), pv = getPercent(value);
    _updateSegment(range, c, rOut, rIn, _startAngle + _sweepAngle * pmin, _sweepAngle * (pv - pmin));

    if (range != pointer() || !showValue()) return;
    // The value text at the centre, showing the value the pointer is drawn at.
    auto& engine = *renderEngine();
    const std::string text = formatDecimal(value);
    const plat::Size size = _measure(text, valueFont());
    engine.setTextFill(valueFontColor());
    engine.drawString(text, KivoPoint::create(c.x() - size.width / 2, c.y() - size.height / 2));
}

void KivoRadialGauge::_updateSegment(const std::shared_ptr<KivoGaugeRange>& range, const KivoPoint& center, double rOut,
                                     double rIn, double start, double sweep) {
    sweep = clamp(sweep, -MaxSegmentSweep, MaxSegmentSweep);
    if (sweep < 0) {
        start += sweep;
        sweep = -sweep;
    }
    const double a0 = toRadians(start);
    const auto p0 = _getPoint(center, a0, rOut);
    auto& engine = *renderEngine();
    engine.setStrokeThickness(range->borderWidth());
    engine.setStroke(range->borderColor());
    engine.setBorderDashes(_bandDashes(range));
    engine.setFill(_bandFill(range));
    if (_sweepAngle > 0) engine.drawRadialGauge(center.x(), center.y(), p0->x(), p0->y(), rOut, rIn, a0, a0 + toRadians(sweep));
}

void KivoRadialGauge::updateText() {
    const auto alive = keepAlive();
    if (!showMinMax()) return;
    const double R = _radius();
    const double rText = (R + std::max(R * (1 - thickness()), 0.0)) / 2;
    const double start = toRadians(_startAngle), sweep = toRadians(_sweepAngle);
    if (std::fabs(sweep) > MaxSweepForEndTexts) return;
    const KivoPoint c = _center();
    auto& engine = *renderEngine();
    const plat::Color savedFill = engine.getTextFill();

    const auto drawAt = [&](const std::string& text, const plat::Font& font, const plat::Color& color, double angle) {
        const plat::Size size = _measure(text, font);
        engine.setTextFill(color);
        const auto p = _getPoint(c, angle, rText);
        engine.drawString(text, KivoPoint::create(p->x() - size.width / 2, p->y() - size.height / 2));
    };
    drawAt(formatDecimal(min()), minFont(), minFontColor().withAlpha(minOpacity()), start - EndTextOffset);
    drawAt(formatDecimal(max()), maxFont(), maxFontColor().withAlpha(maxOpacity()), start + sweep + EndTextOffset);
    engine.setTextFill(savedFill);
}

// ---- Touches ----

double KivoRadialGauge::getValueFromPoint(const std::shared_ptr<KivoPoint>& point) {
    if (!point) return NAN;
    // Undo the drawing's scale and pan (none without auto-scale).
    point->setX((point->x() + _panX) / _scaleFactor);
    point->setY((point->y() + _panY) / _scaleFactor);

    const KivoPoint c = _center();
    const double R = _radius(), rIn = R * (1 - thickness());
    const double dx = point->x() - c.x(), dy = point->y() - c.y();
    const double d2 = dx * dx + dy * dy;
    if (d2 > R * R || d2 < rIn * rIn) return NAN;  // only touches on the face's ring count

    // The touch's angle, measured from the arc's start modulo a turn, so an arc across 0° maps alike.
    const double t = (Pi - std::atan2(-dy, dx)) * DegreesPerRadian;
    double along = std::fmod(t - _startAngle, MaxAngle);
    if (along < 0) along += MaxAngle;
    const double lo = min(), hi = max(), span = hi - lo;
    if (_sweepAngle > 0 && along <= _sweepAngle) {
        const double v = lo + along / _sweepAngle * span;
        return std::min(std::max(v, lo), hi);
    }
    // Beyond the arc: the nearer end decides. An end is reached only from within its tenth of the scale;
    // past the end, a value still in the first tenth goes back to min.
    const bool pastTheEnd = along - _sweepAngle <= MaxAngle - along;
    const double current = value();
    if (pastTheEnd && current >= hi - EndZone * span) return hi;
    if (current <= lo + EndZone * span) return lo;
    return NAN;
}
