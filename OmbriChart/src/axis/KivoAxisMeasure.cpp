// KivoAxis: how much room the axis band needs, the label angle in whole degrees, and the estimate of
// whether turned labels collide.

#include <algorithm>
#include <cmath>
#include <numbers>

#include "KivoCore/IKivoRenderEngine.h"
#include "OmbriChart/KivoAxis.h"

namespace {

// The share of the range beyond each end whose nice number the label measure samples.
constexpr double SampleMargin = 0.1;
constexpr double FullTurn = 360;
constexpr double QuarterTurn = 90;

// The extent of a tick beyond the band edge: its length less the share that reaches into the plot.
double tickExtent(double width, double length, double overlap) { return width > 0 ? length * (1 - overlap) : 0.0; }

// The first whole character (code point) of a UTF-8 text.
std::string firstCharacter(const std::string& text) {
    std::size_t length = 1;
    while (length < text.size() && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) ++length;
    return text.substr(0, length);
}

std::shared_ptr<KivoSize> larger(const std::shared_ptr<KivoSize>& a, const std::shared_ptr<KivoSize>& b) {
    if (!a) return b;
    if (!b) return a;
    return KivoSize::create(std::max(a->width(), b->width()), std::max(a->height(), b->height()));
}

}  // namespace

double KivoAxis::getHeight(const std::shared_ptr<IKivoRenderEngine>& engine) {
    if (!engine) return 0;
    engine->setFont(_labelFont);
    if (!_labelsVisible) {
        _annoSize = KivoSize::create(0, 0);
    } else if (!_labels.empty()) {
        auto size = KivoSize::create(0, 0);
        for (const auto& text : _labels) size = larger(size, engine->measureString(text, _labelAngle));
        _annoSize = size;
    } else {
        // The labels of the ends of a slightly wider range stand for all of them; without a range
        // (NaN) the last measure stays.
        const double d = (_actualMax - _actualMin) * SampleMargin;
        const double first = _niceTickNumber(_actualMin - d);
        if (!std::isnan(first)) {
            _annoSize = larger(engine->measureString(formatValue(first), _labelAngle),
                               engine->measureString(formatValue(_niceTickNumber(_actualMax + d)), _labelAngle));
        }
    }

    const double labelWidth = _annoSize ? _annoSize->width() : 0.0;
    const double labelHeight = _annoSize ? _annoSize->height() : 0.0;
    double h = _axisType == KivoAxisTypeX ? labelHeight : labelWidth + LabelGap + YLabelPadding;
    h += BandPadding + std::max(tickExtent(_majorTickWidth, _majorTickLength, _majorTickOverlap),
                                tickExtent(_minorTickWidth, _minorTickLength, _minorTickOverlap));
    _szTitle = KivoSize::create(0, 0);
    if (_title && !_title->empty()) {
        engine->setFont(_titleFont);
        if (auto size = engine->measureString(*_title)) _szTitle = size;
        h += _szTitle->height();
    }
    engine->setFont(std::nullopt);
    return h;
}

double KivoAxis::_simplifyAxisLabelAngle(double angle) {
    double a = std::isfinite(angle) ? std::fmod(std::trunc(angle), FullTurn) : 0.0;
    if (a < 0) a += FullTurn;
    _labelAngle = a + 0.0;  // no negative zero
    return _labelAngle;
}

bool KivoAxis::_isActualOverlap(double angle, const std::optional<std::string>& label) const {
    if (!label || label->empty() || !_engine || !_axrect) return false;
    const auto c = _engine->measureString(firstCharacter(*label));
    if (!c) return false;
    double e = angle;
    if (_axisType == KivoAxisTypeY) {
        if (angle == 0 || angle == FullTurn) return false;
        // The angle between the label and the axis' normal.
        if (angle > 0 && angle < QuarterTurn)
            e = QuarterTurn - angle;
        else if (angle > QuarterTurn && angle < 2 * QuarterTurn)
            e = angle - QuarterTurn;
        else if (angle > 2 * QuarterTurn && angle < 3 * QuarterTurn)
            e = 3 * QuarterTurn - angle;
        else if (angle > 3 * QuarterTurn && angle < FullTurn)
            e = angle - 3 * QuarterTurn;
        const double s = (_axrect->height() / _labelsCount) * std::tan(e * std::numbers::pi / 180);
        return !(s >= c->width());
    }
    if (angle == QuarterTurn || angle == 3 * QuarterTurn) return false;
    if (angle > QuarterTurn && angle < 2 * QuarterTurn)
        e = 2 * QuarterTurn - angle;
    else if (angle > 3 * QuarterTurn && angle < FullTurn)
        e = FullTurn - angle;
    const double s = (_axrect->width() / _labelsCount) * std::tan(e * std::numbers::pi / 180);
    return !(s >= c->height());
}
