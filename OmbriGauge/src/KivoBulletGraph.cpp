#include "OmbriGauge/KivoBulletGraph.h"

#include "KivoCore/KivoObservableArray.h"
#include "OmbriGauge/KivoGaugeRange.h"

namespace {
// The target bar's length along the scale, and how far it starts before the target's position
// when the scale runs with the view's axis.
constexpr double TargetBarLength = 3;
constexpr double TargetBarLead = 1;
constexpr double TargetThickness = 0.8;
}  // namespace

std::shared_ptr<KivoBulletGraph> KivoBulletGraph::create(const plat::Rect& frame) {
    return createGauge(new KivoBulletGraph(frame), frame);
}

void KivoBulletGraph::initInternals() {
    initialization();
    auto self = sharedAs<KivoBulletGraph>();
    _rngBad = KivoGaugeRange::create(self);
    _rngBad->setColor(DEFAULT_BAD_COLOR);
    _rngGood = KivoGaugeRange::create(self);
    _rngGood->setColor(DEFAULT_GOOD_COLOR);
    _rngTarget = KivoGaugeRange::create(self);
    _rngTarget->setThickness(TargetThickness);
    _rngTarget->setColor(DEFAULT_TARGET_COLOR);
    ranges()->addObject(_rngGood);
    ranges()->addObject(_rngBad);
    ranges()->addObject(_rngTarget);
}

double KivoBulletGraph::bad() const { return _rngBad->max(); }
void KivoBulletGraph::setBad(double bad) { _rngBad->setMax(bad); }
double KivoBulletGraph::good() const { return _rngGood->max(); }
void KivoBulletGraph::setGood(double good) { _rngGood->setMax(good); }
double KivoBulletGraph::target() const { return _rngTarget->max(); }
void KivoBulletGraph::setTarget(double target) { _rngTarget->setMax(target); }

const plat::Color& KivoBulletGraph::badRangeColor() const { return _rngBad->color(); }
void KivoBulletGraph::setBadRangeColor(const plat::Color& color) { _rngBad->setColor(color); }
const plat::Color& KivoBulletGraph::goodRangeColor() const { return _rngGood->color(); }
void KivoBulletGraph::setGoodRangeColor(const plat::Color& color) { _rngGood->setColor(color); }
const plat::Color& KivoBulletGraph::targetColor() const { return _rngTarget->color(); }
void KivoBulletGraph::setTargetColor(const plat::Color& color) { _rngTarget->setColor(color); }

std::shared_ptr<KivoRect> KivoBulletGraph::getRangeRect(const std::shared_ptr<KivoGaugeRange>& range, double value) {
    auto r = KivoLinearGauge::getRangeRect(range, value);
    if (range != _rngTarget) return r;
    switch (direction()) {
        case KivoLinearGaugeDirectionLeftToRight:
            r->setLeft(r->right() - TargetBarLead);
            r->setWidth(TargetBarLength);
            break;
        case KivoLinearGaugeDirectionRightToLeft:
            r->setWidth(TargetBarLength);
            break;
        case KivoLinearGaugeDirectionBottomToTop:
            r->setHeight(TargetBarLength);
            break;
        case KivoLinearGaugeDirectionTopToBottom:
            r->setTop(r->bottom() - TargetBarLead);
            r->setHeight(TargetBarLength);
            break;
        default:
            break;
    }
    return r;
}

plat::Color KivoBulletGraph::getPointerColor(double v) {
    if (showRanges()) return pointerColor();
    const auto range = _narrowestRangeHolding(v);
    return range && range != _rngTarget ? range->color().withAlpha(1.0) : pointerColor();
}
