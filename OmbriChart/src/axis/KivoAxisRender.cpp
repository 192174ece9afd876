// KivoAxis: drawing the axis into its band and over the plot area.
//
// Sections: geometry helpers · render · grid and bands · label values · labels · line and title.

#include <algorithm>
#include <cmath>
#include <limits>

#include "KivoCore/IKivoRenderEngine.h"
#include "OmbriChart/KivoAxis.h"
#include "OmbriChart/KivoLabelLoadingEventArgs.h"
#include "OmbriChart/OmbriChart.h"

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
// Major grid lines are drawn this much thicker than majorGridWidth; fill bands start this share of
// the grid width (major, minor) before their line.
constexpr double MajorGridWidthFactor = 1.4;
constexpr double MajorBandLead = 0.7;
constexpr double MinorBandLead = 0.5;
// No pass draws more minor steps than this, whatever the minor unit.
constexpr std::size_t MaxMinorSteps = 10000;
// Titles of Y axes read upwards on the left, downwards on the right.
constexpr double LeftTitleAngle = -90.0;
constexpr double RightTitleAngle = 90.0;
constexpr double HalfTurn = 180, QuarterTurn = 90, FullTurn = 360;

// Alignment codes of the text methods.
constexpr std::int64_t AlignStart = 0, AlignCenter = 1, AlignEnd = 2;

bool isSide(std::int64_t position) { return position >= KivoAxisPositionLeft && position <= KivoAxisPositionBottom; }

bool isFinite(double a, double b, double c, double d) {
    return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d);
}

}  // namespace

// ---- Geometry helpers ----

KivoAxis::Ticks KivoAxis::majorTicks() const {
    if (!(_majorTickWidth > 0)) return {};
    return {_majorTickLength * _majorTickOverlap, _majorTickLength * (1 - _majorTickOverlap)};
}

KivoAxis::Ticks KivoAxis::minorTicks() const {
    if (!(_minorTickWidth > 0)) return {};
    return {_minorTickLength * _minorTickOverlap, _minorTickLength * (1 - _minorTickOverlap)};
}

double KivoAxis::plotEdge() const {
    switch (_position) {
        case KivoAxisPositionRight:
            return _axrect->left();
        case KivoAxisPositionLeft:
            return _axrect->right();
        case KivoAxisPositionTop:
            return _axrect->bottom();
        default:
            return _axrect->top();
    }
}

double KivoAxis::outward() const {
    return _position == KivoAxisPositionRight || _position == KivoAxisPositionBottom ? 1.0 : -1.0;
}

void KivoAxis::drawTick(IKivoRenderEngine& engine, double p, double edge, const Ticks& ticks) const {
    const double from = edge - outward() * ticks.inner, to = edge + outward() * ticks.outer;
    if (_axisType == KivoAxisTypeY)
        engine.drawLine(from, p, to, p);
    else
        engine.drawLine(p, from, p, to);
}

void KivoAxis::drawGridLine(IKivoRenderEngine& engine, double p) const {
    if (_axisType == KivoAxisTypeY)
        engine.drawLine(_plotrect->left(), p, _plotrect->right(), p);
    else
        engine.drawLine(p, _plotrect->top(), p, _plotrect->bottom());
}

void KivoAxis::resetEngine(IKivoRenderEngine& engine) {
    engine.setStroke(std::nullopt);
    engine.setFont(std::nullopt);
    engine.setTextFill(std::nullopt);
    engine.setStrokeThickness(NaN);
}

// ---- Render ----

void KivoAxis::render(const std::shared_ptr<IKivoRenderEngine>& engine, bool isOverlap) {
    const auto alive = keepAlive();
    if (!engine) return;
    _engine = engine;
    _simplifyAxisLabelAngle(_labelAngle);
    if (!isSide(_position) || !_axrect || !_plotrect) return;

    // No range to show (none yet, an empty one, or nothing drawn): only the line and the title.
    const double range = actualRange();
    const auto chart = _chart.lock();
    if (!(range > 0) || !std::isfinite(range) || (chart && chart->isAllSeriesHidden())) {
        drawLineAndTitle(engine, false);
        resetEngine(*engine);
        return;
    }

    double major = _calcMajorUnit();
    if (major == 0) major = _niceTickNumber(range) * 0.1;
    // More labels than the axis can show are built (and ticked) at a multiple of the unit.
    if (_labels.empty() && !_logBase && major > 0) major = labelStep(major, range);
    double minor = std::isnan(_minorUnit) ? major * 0.5 : _minorUnit;
    // A minor unit the application gave on a time axis counts days; half the major unit is in seconds
    // already.
    if (_isTimeAxis && _labels.empty() && !std::isnan(_minorUnit)) minor *= SecondsPerDay;
    engine->setStroke(_lineColor);
    engine->setStrokeThickness(_lineWidth);

    std::vector<double> vals;
    std::vector<std::string> texts;
    labelValues(major, vals, texts);
    const std::size_t n = std::min(vals.size(), texts.size());
    vals.resize(n);
    texts.resize(n);

    const bool log = _logBase.has_value();
    if (minor > 0 && !log) drawMinorTicksAndGrid(*engine, minor);

    engine->setClipRect(_plotrect->left(), _plotrect->top(), _plotrect->width(), _plotrect->height());
    if (minor > 0 && !log) fillMinorBands(*engine, minor);
    fillMajorBands(*engine, vals);
    engine->clearClipRect();

    drawLabels(engine, vals, texts, isOverlap);
    drawLineAndTitle(engine, true);
    resetEngine(*engine);
}

// ---- Grid and bands ----

void KivoAxis::drawMinorTicksAndGrid(IKivoRenderEngine& engine, double minor) const {
    const Ticks ticks = minorTicks();
    for (std::size_t i = 0; i < MaxMinorSteps; ++i) {
        // From actualMin itself, not from a multiple of the minor unit.
        const double v = _actualMin + static_cast<double>(i) * minor;
        if (!(v < _actualMax)) break;
        const double p = convert(v);
        if (v != _actualMin && v != _actualMax && _minorGridVisible && !_gridLineIsExsit) {
            engine.setStroke(_minorGridColor);
            engine.setStrokeThickness(_minorGridWidth);
            engine.setBorderDashes(_minorGridDashes);
            drawGridLine(engine, p);
            engine.setBorderDashes({});
        }
        if (_minorTickWidth > 0) {
            engine.setStroke(_minorTickColor);
            engine.setStrokeThickness(_minorTickWidth);
            drawTick(engine, p, plotEdge(), ticks);
        }
    }
}

void KivoAxis::fillBand(IKivoRenderEngine& engine, double p1, double p2, double lead) const {
    // The band runs from its line by the distance to the neighbouring value (a negative extent spans
    // the other way).
    const double x = _axisType == KivoAxisTypeY ? _plotrect->left() : p1 - lead;
    const double y = _axisType == KivoAxisTypeY ? p1 - lead : _plotrect->top();
    const double w = _axisType == KivoAxisTypeY ? _plotrect->width() : p1 - p2;
    const double h = _axisType == KivoAxisTypeY ? p1 - p2 : _plotrect->height();
    if (isFinite(x, y, w, h)) engine.drawRect(x, y, w, h);
}

void KivoAxis::fillMinorBands(IKivoRenderEngine& engine, double minor) const {
    if (!_minorGridVisible || !_minorGridFill || _minorGridFill->isClear() || _gridLineIsExsit || !(_actualMin < _actualMax))
        return;
    engine.setFill(_minorGridFill);
    engine.setStroke(plat::Color::clear());
    engine.setStrokeThickness(0);
    for (std::size_t k = 0; k < MaxMinorSteps; ++k) {
        const double v = _actualMin + static_cast<double>(k) * minor;
        if (!(v < _actualMax)) break;
        if (k % 2 == 0) fillBand(engine, convert(v), convert(v - minor), MinorBandLead * _minorGridWidth);
    }
}

void KivoAxis::fillMajorBands(IKivoRenderEngine& engine, const std::vector<double>& vals) const {
    // Without label values there is no band to draw.
    const std::size_t n = vals.size();
    if (n == 0 || !_majorGridFill || _majorGridFill->isClear() || _gridLineIsExsit) return;
    // Beyond the last label the values go on by the last step (by the last ratio on a logarithmic axis).
    const bool log = _logBase.has_value();
    const double step = n >= 2 ? (log ? vals[n - 1] / vals[n - 2] : vals[n - 1] - vals[n - 2]) : (log ? *_logBase : vals[0]);
    auto value = [&](std::size_t j) {
        if (j < n) return vals[j];
        const double k = static_cast<double>(j - n + 1);
        return log ? vals[n - 1] * std::pow(step, k) : vals[n - 1] + k * step;
    };
    engine.setFill(_majorGridFill);
    engine.setStroke(plat::Color::clear());
    engine.setStrokeThickness(0);
    // Every other band from a label to the next value, two past the last label so the plot area's far
    // end is covered too.
    for (std::size_t j = 0; j < n + 2; j += 2) {
        const double p1 = convert(value(j));
        fillBand(engine, p1, 2 * p1 - convert(value(j + 1)), MajorBandLead * _majorGridWidth);
    }
}

// ---- Label values ----

void KivoAxis::labelValues(double major, std::vector<double>& vals, std::vector<std::string>& texts) const {
    if (!_labels.empty()) {
        // A category axis: the texts at their indices; an X axis with a major unit keeps every k-th
        // (a unit below 1 keeps every one).
        std::size_t k = 1;
        if (_axisType == KivoAxisTypeX && _majorUnit >= 1)
            k = _majorUnit >= static_cast<double>(_labels.size()) ? _labels.size() : static_cast<std::size_t>(_majorUnit);
        for (std::size_t i = 0; i < _labels.size(); i += k) {
            vals.push_back(static_cast<double>(i));
            texts.push_back(_labels[i]);
        }
        return;
    }
    if (!(major > 0) || !std::isfinite(major)) return;
    const double count = std::floor(actualRange() / major);
    double first = std::floor(_actualMin / major) * major;
    // Near the lowest double the multiple below the minimum does not exist; the one above it does.
    if (std::isinf(first)) first = std::ceil(_actualMin / major) * major;
    if (first < _actualMin) first += major;
    if (!(count >= 0) || !std::isfinite(first)) return;
    const std::size_t length = count >= static_cast<double>(std::numeric_limits<std::uint32_t>::max())
                                   ? std::numeric_limits<std::uint32_t>::max()
                                   : static_cast<std::size_t>(count) + 1;
    if (_isTimeAxis)
        _createTimeLabels(first, length, vals, texts);
    else if (_logBase)
        _createLogarithmicLabels(vals, texts);
    else
        _createLabels(first, length, major, vals, texts);
}

// ---- Labels ----

void KivoAxis::drawLabels(const std::shared_ptr<IKivoRenderEngine>& engine, const std::vector<double>& vals,
                          const std::vector<std::string>& texts, bool isOverlap) {
    engine->setFont(_labelFont);
    engine->setTextFill(_labelTextColor);
    auto args = std::make_shared<KivoLabelLoadingEventArgs>();
    args->setRegion(KivoRect::create());
    const std::size_t n = vals.size();
    _labelsCount = static_cast<double>(texts.size());
    const Ticks ticks = majorTicks();
    // The crossing is a pixel position in the view, like the band's edges.
    const double tickEdge = hasOffset() ? _offset : plotEdge();
    double lastEdge = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double v = vals[i];
        const std::string& text = texts[i];
        _isActualOverLap = n >= CrowdedLabelCount                           ? true
                           : _axisType == KivoAxisTypeY && _labelAngle == 0 ? false
                                                                            : _isActualOverlap(_labelAngle, text);
        if (!(v >= _actualMin && v <= _actualMax)) continue;
        const double p = convert(v);

        engine->setStroke(_majorGridColor);
        engine->setStrokeThickness(_majorGridWidth * MajorGridWidthFactor);
        engine->setBorderDashes(_majorGridDashes);
        // The lowest value lies on the plot's edge: no grid line there.
        if (v != _actualMin && _majorGridVisible && !_gridLineIsExsit) drawGridLine(*engine, p);
        engine->setBorderDashes({});
        engine->setStroke(_majorTickColor);
        engine->setStrokeThickness(_majorTickWidth);

        if (_axisType == KivoAxisTypeY && _majorTickWidth > 0) drawTick(*engine, p, tickEdge, ticks);
        if (_labelsVisible) {
            args->setRenderEngine(engine);
            args->setValue(v);
            args->setLabel(text);
            drawLabel(engine, args, p, text, isOverlap, lastEdge);
        }
        if (_axisType == KivoAxisTypeX && _majorTickWidth > 0) {
            // A label's drawing leaves the tick's colours to the tick.
            engine->setStroke(_majorTickColor);
            engine->setStrokeThickness(_majorTickWidth);
            drawTick(*engine, p, tickEdge, ticks);
        }
    }
}

void KivoAxis::drawLabel(const std::shared_ptr<IKivoRenderEngine>& engine, const std::shared_ptr<KivoLabelLoadingEventArgs>& args,
                         double p, const std::string& text, bool isOverlap, double& lastEdge) {
    const auto chart = _chart.lock();
    const bool turned = _labelAngle != 0;
    const bool vertical = _axisType == KivoAxisTypeY;
    const auto size = engine->measureString(text);
    const auto box = turned ? engine->measureString(text, _labelAngle) : size;
    const double outer = majorTicks().outer;

    // The anchor: beside the tick, outward of the band edge (or of the crossing when the axis has one).
    double x = p, y = p;
    if (vertical) {
        if (_position == KivoAxisPositionRight)
            x = (hasOffset() ? _offset : _axrect->left()) + outer + LabelGap;
        else
            x = (hasOffset() ? _offset : _axrect->right()) - outer - LabelGap;
    } else {
        const double gap = turned ? LabelGap : 0.0;
        if (_position == KivoAxisPositionBottom)
            y = (hasOffset() ? _offset : _axrect->top()) + outer + gap;
        else
            y = (hasOffset() ? _offset : _axrect->bottom()) - outer - gap;
    }
    const auto& region = args->region();
    const double bw = box ? box->width() : 0, bh = box ? box->height() : 0;
    region->setWidth(bw);
    region->setHeight(bh);
    if (vertical) {
        region->setLeft(_position == KivoAxisPositionLeft ? x - bw : x);
        region->setTop(y - bh / 2);
    } else {
        region->setLeft(x - bw / 2);
        region->setTop(_position == KivoAxisPositionBottom ? y : y - bh);
    }

    bool handled = false;
    const auto delegate =
        _isHandleXFAxisLabelLoading && chart ? chart->delegateAnswering(OmbriChartDelegate::HandleLabelLoading) : nullptr;
    if (delegate) {
        std::int32_t axisIndex = -1;
        const auto& axes = chart->axesArray();
        const auto it = std::find(axes.begin(), axes.end(), std::static_pointer_cast<KivoAxis>(weak_from_this().lock()));
        if (it != axes.end()) axisIndex = static_cast<std::int32_t>(it - axes.begin());
        handled = delegate->handleLabelLoading(chart, engine, axisIndex, args);
    } else {
        _onLabelLoading(args);
    }
    const auto& label = args->label();
    if (vertical && !_isCustomizedLabel && label != text) _isCustomizedLabel = true;
    if (handled || !label || label->empty()) return;

    // A text a handler changed is placed by its own size.
    const auto drawn = *label == text ? size : engine->measureString(*label);
    const double along = drawn ? (vertical ? drawn->height() : drawn->width()) : 0;
    if (!isOverlap && !(along * 0.5 < std::fabs(lastEdge - p) || !_isActualOverLap)) return;
    if (!isOverlap) {
        // Values grow upwards on a Y axis and rightwards on an X axis, unless reversed.
        const bool towardsSmaller = vertical != _reversed;
        lastEdge = towardsSmaller ? p - along / 2 : p + along / 2;
    }

    const auto anchor = KivoPoint::create(x, y);
    if (!turned) {
        if (vertical)
            OmbriChartBase::renderText(engine, *label, anchor, _position == KivoAxisPositionLeft ? AlignEnd : AlignStart,
                                       AlignCenter, drawn);
        else
            OmbriChartBase::renderText(engine, *label, anchor, AlignCenter,
                                       _position == KivoAxisPositionBottom ? AlignEnd : AlignStart, drawn);
        return;
    }
    const double a = _labelAngle;
    std::int64_t halign = AlignCenter;
    if (vertical) {
        const bool nearSide = (a > 0 && a < QuarterTurn) || (a > 3 * QuarterTurn && a < FullTurn);
        const bool farSide = a > QuarterTurn && a < 3 * QuarterTurn;
        const bool left = _position == KivoAxisPositionLeft;
        if (nearSide) halign = left ? AlignEnd : AlignStart;
        if (farSide) halign = left ? AlignStart : AlignEnd;
    } else {
        const bool bottom = _position == KivoAxisPositionBottom;
        if (a > 0 && a < HalfTurn) halign = bottom ? AlignStart : AlignEnd;
        if (a > HalfTurn && a < FullTurn) halign = bottom ? AlignEnd : AlignStart;
    }
    OmbriChartBase::renderRotatedText(engine, *label, anchor, halign, AlignCenter, anchor, a, drawn);
}

// ---- Line and title ----

void KivoAxis::drawLineAndTitle(const std::shared_ptr<IKivoRenderEngine>& shared, bool withOffset) {
    IKivoRenderEngine& engine = *shared;
    engine.setFont(_titleFont);
    engine.setTextFill(titleTextColor());
    engine.setStroke(_lineColor);
    engine.setStrokeThickness(_lineWidth);
    const bool offset = withOffset && hasOffset();
    const bool hasTitle = _title && !_title->empty();
    auto titleSize = _szTitle && _szTitle->height() > 0 ? _szTitle : (hasTitle ? engine.measureString(*_title) : nullptr);
    const double half = titleSize ? titleSize->height() * 0.5 : 0;
    const double centreX = _axrect->left() + _axrect->width() / 2, centreY = _axrect->top() + _axrect->height() / 2;

    auto drawYTitle = [&](double x, double angle) {
        if (!hasTitle) return;
        const auto at = KivoPoint::create(x, centreY);
        OmbriChartBase::renderRotatedText(shared, *_title, at, AlignCenter, AlignCenter, at, angle, titleSize);
    };
    auto drawXTitle = [&](double y, std::int64_t valign) {
        if (hasTitle) OmbriChartBase::renderText(shared, *_title, KivoPoint::create(centreX, y), AlignCenter, valign, titleSize);
    };
    auto drawYLine = [&](double x) {
        if (_axisLineVisible) engine.drawLine(x, _axrect->top(), x, _axrect->bottom());
    };
    auto drawXLine = [&](double y) {
        if (_axisLineVisible) engine.drawLine(_axrect->left(), y, _axrect->right(), y);
    };

    switch (_position) {
        case KivoAxisPositionRight:
            drawYTitle(offset ? _axrect->width() + _offset - half : _axrect->right() - half, RightTitleAngle);
            drawYLine(offset ? _offset : _axrect->left());
            break;
        case KivoAxisPositionLeft:
            drawYTitle(offset ? _offset - _axrect->width() + half : _axrect->left() + half, LeftTitleAngle);
            drawYLine(offset ? _offset : _axrect->right());
            break;
        case KivoAxisPositionTop:
            drawXLine(offset ? _offset : _axrect->bottom());
            drawXTitle(offset ? _offset - _axrect->height() : _axrect->top(), AlignEnd);
            break;
        case KivoAxisPositionBottom:
            drawXLine(offset ? _offset : _axrect->top());
            drawXTitle(offset ? _axrect->height() + _offset : _axrect->bottom(), AlignStart);
            break;
        default:
            break;
    }
}
