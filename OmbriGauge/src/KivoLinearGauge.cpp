#include "OmbriGauge/KivoLinearGauge.h"

#include <algorithm>
#include <cmath>

#include "KivoCore/KivoRenderEngine.h"
#include "OmbriGauge/KivoGaugeRange.h"

namespace {

// The bar keeps this much free at an end, beside the room of that end's text.
constexpr double EndMargin = 4;
// Added to both end boxes' widths once any end text is shown.
constexpr double EndTextPadding = 4;
// Between an end text and the bar's end.
constexpr double EndTextGap = 2;

bool isKnownDirection(std::int64_t direction) {
    return direction >= KivoLinearGaugeDirectionLeftToRight && direction <= KivoLinearGaugeDirectionTopToBottom;
}

bool isHorizontal(std::int64_t direction) {
    return direction == KivoLinearGaugeDirectionLeftToRight || direction == KivoLinearGaugeDirectionRightToLeft;
}

}  // namespace

std::shared_ptr<KivoLinearGauge> KivoLinearGauge::create(const plat::Rect& frame) {
    return createGauge(new KivoLinearGauge(frame), frame);
}

void KivoLinearGauge::initInternals() {
    initialization();
    setDirection(KivoLinearGaugeDirectionLeftToRight);
}

// ---- Direction ----

void KivoLinearGauge::setDirection(std::int64_t direction) {
    if (direction == _direction) return;
    _direction = direction;
    invalidate();
}

bool KivoLinearGauge::isVertical() const {
    return _direction == KivoLinearGaugeDirectionBottomToTop || _direction == KivoLinearGaugeDirectionTopToBottom;
}

void KivoLinearGauge::setIsVertical(bool vertical) {
    // Each direction's counterpart across the axis, keeping whether it is reversed.
    static constexpr std::int64_t Vertical[] = {3, 2, 2, 3}, Horizontal[] = {0, 1, 1, 0};
    if (isKnownDirection(_direction)) setDirection((vertical ? Vertical : Horizontal)[_direction]);
}

bool KivoLinearGauge::isReversed() const {
    return _direction == KivoLinearGaugeDirectionRightToLeft || _direction == KivoLinearGaugeDirectionBottomToTop;
}

void KivoLinearGauge::setIsReversed(bool reversed) {
    // Each direction's counterpart along the same axis.
    static constexpr std::int64_t Reversed[] = {1, 1, 2, 2}, Forward[] = {0, 0, 3, 3};
    if (isKnownDirection(_direction)) setDirection((reversed ? Reversed : Forward)[_direction]);
}

// ---- Geometry ----

KivoLinearGauge::EndBoxes KivoLinearGauge::_endBoxes() {
    EndBoxes boxes;
    if (!showMinMax() && !showValue()) return boxes;
    const std::string minText = formatDecimal(min()), maxText = formatDecimal(max());
    if (showMinMax()) {
        boxes.min = _measure(minText, minFont());
        boxes.max = _measure(maxText, maxFont());
    }
    if (showValue()) {
        // Room for the value bubble's overhang beyond each end of the bar, for a value at that end.
        boxes.minBubble = _halfDiagonal(minText, valueFont());
        boxes.maxBubble = _halfDiagonal(maxText, valueFont());
        boxes.min.width += boxes.minBubble;
        boxes.min.height += boxes.minBubble;
        boxes.max.width += boxes.maxBubble;
        boxes.max.height += boxes.maxBubble;
    }
    if (boxes.min.width != 0) {
        boxes.min.width += EndTextPadding;
        boxes.max.width += EndTextPadding;
    }
    return boxes;
}

std::shared_ptr<KivoRect> KivoLinearGauge::getRangeRect(const std::shared_ptr<KivoGaugeRange>& range, double value) {
    const auto& gaugeRect = rectGauge();
    const double W = gaugeRect ? gaugeRect->width() : 0, H = gaugeRect ? gaugeRect->height() : 0;
    if (!range || !isKnownDirection(_direction)) return KivoRect::create(0, 0, W, H);

    // Room for the end texts along the scale. Bottom-to-top keeps twice the margin at its top and
    // none at its bottom.
    const EndBoxes boxes = _endBoxes();
    double left = 0, top = 0, width = W, height = H;
    switch (_direction) {
        case KivoLinearGaugeDirectionLeftToRight:
            left += boxes.min.width + EndMargin;
            width -= boxes.min.width + boxes.max.width + 2 * EndMargin;
            break;
        case KivoLinearGaugeDirectionRightToLeft:
            left += boxes.max.width + EndMargin;
            width -= boxes.min.width + boxes.max.width + 2 * EndMargin;
            break;
        case KivoLinearGaugeDirectionBottomToTop:
            top += boxes.max.height + 2 * EndMargin;
            height -= boxes.min.height + boxes.max.height + 2 * EndMargin;
            break;
        default:
            top += boxes.min.height + EndMargin;
            height -= boxes.min.height + boxes.max.height + 2 * EndMargin;
            break;
    }
    // A view too small for its texts leaves a bar of no length, never one that runs backwards.
    width = std::max(0.0, width);
    height = std::max(0.0, height);

    // Across the scale the band keeps its share of the bar, centred.
    const double share = thickness() * range->thickness();
    if (isHorizontal(_direction)) {
        const double h = height * share;
        top += (height - h) / 2;
        height = h;
    } else {
        const double w = width * share;
        left += (width - w) / 2;
        width = w;
    }

    const double pmin = getPercent(range->min()), pv = getPercent(value);
    const double length = std::max(0.0, pv - pmin);
    switch (_direction) {
        case KivoLinearGaugeDirectionLeftToRight:
            return KivoRect::create(left + pmin * width, top, length * width, height);
        case KivoLinearGaugeDirectionRightToLeft:
            return KivoRect::create(left + width - pv * width, top, length * width, height);
        case KivoLinearGaugeDirectionBottomToTop:
            return KivoRect::create(left, top + height - pv * height, width, length * height);
        default:
            return KivoRect::create(left, top + pmin * height, width, length * height);
    }
}

// ---- Drawing ----

void KivoLinearGauge::updateRangeElement(const std::shared_ptr<KivoGaugeRange>& range, double value, double) {
    const auto alive = keepAlive();
    if (!range) return;
    const auto r = getRangeRect(range, value);
    auto& engine = *renderEngine();
    const plat::Color fill = _bandFill(range);
    // Stroked at twice the width and clipped to the band, so exactly borderWidth of it stays visible.
    engine.setStrokeThickness(2 * range->borderWidth());
    engine.setStroke(range->borderColor());
    engine.setBorderDashes(_bandDashes(range));
    engine.setFill(fill);
    engine.setClipRect(r->left(), r->top(), r->width(), r->height());
    engine.drawRect(r->left(), r->top(), r->width(), r->height());
    engine.clearClipRect();

    if (range != pointer() || !showValue() || std::isnan(value)) return;
    // The value bubble: a circle that just encloses the value text, centred on the bar's end.
    plat::Point anchor;
    switch (_direction) {
        case KivoLinearGaugeDirectionRightToLeft:
            anchor = {r->left(), r->top() + r->height() / 2};
            break;
        case KivoLinearGaugeDirectionBottomToTop:
            anchor = {r->left() + r->width() / 2, r->top()};
            break;
        case KivoLinearGaugeDirectionTopToBottom:
            anchor = {r->left() + r->width() / 2, r->bottom()};
            break;
        default:
            anchor = {r->right(), r->top() + r->height() / 2};
            break;
    }
    const std::string text = formatDecimal(value);
    const plat::Size size = _measure(text, valueFont());
    const double d = std::sqrt(size.width * size.width / 4 + size.height * size.height / 4);
    engine.setStrokeThickness(0);
    engine.drawEllipse(anchor.x, anchor.y, 2 * d, 2 * d);
    engine.setTextFill(valueFontColor());
    engine.drawString(text, KivoPoint::create(anchor.x - size.width / 2, anchor.y - size.height / 2));
}

void KivoLinearGauge::updateText() {
    const auto alive = keepAlive();
    if (!showMinMax()) return;
    const auto f = getRangeRect(face(), face()->max());
    const std::string minText = formatDecimal(min()), maxText = formatDecimal(max());
    const plat::Size minSize = _measure(minText, minFont()), maxSize = _measure(maxText, maxFont());
    const double d1 = showValue() ? _halfDiagonal(minText, valueFont()) : 0;
    const double d2 = showValue() ? _halfDiagonal(maxText, valueFont()) : 0;
    const double cx = f->left() + f->width() / 2, cy = f->top() + f->height() / 2;

    plat::Point minAt, maxAt;
    switch (_direction) {
        case KivoLinearGaugeDirectionLeftToRight:
            minAt = {f->left() - minSize.width - EndTextGap - d1, cy - minSize.height / 2};
            maxAt = {f->right() + EndTextGap + d2, cy - maxSize.height / 2};
            break;
        case KivoLinearGaugeDirectionRightToLeft:
            minAt = {f->right() + EndTextGap + d1, cy - minSize.height / 2};
            maxAt = {f->left() - maxSize.width - EndTextGap - d2, cy - maxSize.height / 2};
            break;
        case KivoLinearGaugeDirectionBottomToTop:
            minAt = {cx - minSize.width / 2, f->bottom()};
            maxAt = {cx - maxSize.width / 2, f->top() - maxSize.height};
            break;
        case KivoLinearGaugeDirectionTopToBottom:
            minAt = {cx - minSize.width / 2, f->top() - minSize.height};
            maxAt = {cx - maxSize.width / 2, f->bottom()};
            break;
        default:
            break;
    }
    auto& engine = *renderEngine();
    engine.setFont(minFont());
    engine.setTextFill(minFontColor().withAlpha(minOpacity()));
    engine.drawString(minText, KivoPoint::create(minAt.x, minAt.y));
    engine.setFont(maxFont());
    engine.setTextFill(maxFontColor().withAlpha(maxOpacity()));
    engine.drawString(maxText, KivoPoint::create(maxAt.x, maxAt.y));
}

// ---- Touches ----

double KivoLinearGauge::getValueFromPoint(const std::shared_ptr<KivoPoint>& point) {
    if (!point) return NAN;
    const auto f = getRangeRect(face(), face()->max());
    point->setX(std::min(std::max(point->x(), f->left()), f->right()));
    point->setY(std::min(std::max(point->y(), f->top()), f->bottom()));
    // A bar of no length maps every point to the scale's start.
    double fraction = 0;
    switch (_direction) {
        case KivoLinearGaugeDirectionLeftToRight:
            if (f->width() > 0) fraction = (point->x() - f->left()) / f->width();
            break;
        case KivoLinearGaugeDirectionRightToLeft:
            if (f->width() > 0) fraction = (f->right() - point->x()) / f->width();
            break;
        case KivoLinearGaugeDirectionBottomToTop:
            if (f->height() > 0) fraction = (f->bottom() - point->y()) / f->height();
            break;
        case KivoLinearGaugeDirectionTopToBottom:
            if (f->height() > 0) fraction = (point->y() - f->top()) / f->height();
            break;
        default:
            break;
    }
    const double lo = min(), hi = max();
    double v = lo + fraction * (hi - lo);
    if (v < lo) v = lo;
    if (v > hi) v = hi;
    return v;
}
