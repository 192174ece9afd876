#pragma once
// A linear gauge that builds its own three ranges. Two of them start at 0 and run to the "good" and
// "bad" limits, tinted with black at two opacities; the third is a thin marker at the target. The
// pointer is drawn on top of all three.

#include <memory>

#include "OmbriGauge/KivoLinearGauge.h"

class KIVO_GAUGE_EXPORT KivoBulletGraph : public KivoLinearGauge {
public:
    static std::shared_ptr<KivoBulletGraph> create(const plat::Rect& frame = {});
    // From an interface file, with the same defaults as from a frame; raises plat::CoderException.
    static std::shared_ptr<KivoBulletGraph> create(const plat::Coder& coder);

    const plat::Color DEFAULT_BAD_COLOR = plat::Color(0, 0, 0, 0.3);
    const plat::Color DEFAULT_GOOD_COLOR = plat::Color(0, 0, 0, 0.15);
    const plat::Color DEFAULT_TARGET_COLOR = plat::Color::black();

    // Members of `ranges`, added in this order: good, bad, target.
    const std::shared_ptr<KivoGaugeRange>& rngGood() const { return _rngGood; }
    const std::shared_ptr<KivoGaugeRange>& rngBad() const { return _rngBad; }
    const std::shared_ptr<KivoGaugeRange>& rngTarget() const { return _rngTarget; }

    // The ranges' limits (their max); each redraws when it changes.
    double bad() const;
    void setBad(double bad);
    double good() const;
    void setGood(double good);
    double target() const;
    void setTarget(double target);
    const plat::Color& badRangeColor() const;
    void setBadRangeColor(const plat::Color& color);
    const plat::Color& goodRangeColor() const;
    void setGoodRangeColor(const plat::Color& color);
    const plat::Color& targetColor() const;
    void setTargetColor(const plat::Color& color);

    // The target range becomes a bar 3 points long at the target's position.
    std::shared_ptr<KivoRect> getRangeRect(const std::shared_ptr<KivoGaugeRange>& range, double value) override;
    // As the gauge's, except that the target bar never colours the pointer.
    plat::Color getPointerColor(double v) override;

protected:
    explicit KivoBulletGraph(const plat::Rect& frame) : KivoLinearGauge(frame) {}
    void initInternals() override;

private:
    std::shared_ptr<KivoGaugeRange> _rngBad;
    std::shared_ptr<KivoGaugeRange> _rngGood;
    std::shared_ptr<KivoGaugeRange> _rngTarget;
};
