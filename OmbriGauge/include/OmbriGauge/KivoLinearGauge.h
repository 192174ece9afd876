#pragma once
// A gauge drawn as a bar. The face spans the view; ranges and the pointer are shorter bars laid over
// it. The minimum and maximum labels sit at the two ends, the value label in a bubble that follows
// the pointer's tip. Values may grow left, right, up or down.

#include <cstdint>
#include <memory>

#include "OmbriGauge/KivoGauge.h"

// Where the scale's minimum lies and which way values grow.
enum KivoLinearGaugeDirection : std::int64_t {
    KivoLinearGaugeDirectionLeftToRight = 0,
    KivoLinearGaugeDirectionRightToLeft = 1,
    KivoLinearGaugeDirectionBottomToTop = 2,
    KivoLinearGaugeDirectionTopToBottom = 3,
};

class KIVO_GAUGE_EXPORT KivoLinearGauge : public KivoGauge {
public:
    static std::shared_ptr<KivoLinearGauge> create(const plat::Rect& frame = {});
    // From an interface file, with the same defaults as from a frame; raises plat::CoderException.
    static std::shared_ptr<KivoLinearGauge> create(const plat::Coder& coder);

    // Other codes are stored; their bar fills the view and every point maps to min.
    std::int64_t direction() const { return _direction; }
    void setDirection(std::int64_t direction);
    // Directions 2 and 3. Setting it keeps whether the gauge is reversed.
    bool isVertical() const;
    void setIsVertical(bool vertical);
    // Directions 1 and 2: values grow against the view's axis. Setting it keeps the orientation.
    bool isReversed() const;
    void setIsReversed(bool reversed);

    // Where a band from the range's min up to `value` is drawn; its length is clamped at zero.
    virtual std::shared_ptr<KivoRect> getRangeRect(const std::shared_ptr<KivoGaugeRange>& range, double value);

    void updateRangeElement(const std::shared_ptr<KivoGaugeRange>& range, double value, double time) override;
    void updateText() override;
    // The point is moved into the face's bar first.
    double getValueFromPoint(const std::shared_ptr<KivoPoint>& point) override;

protected:
    explicit KivoLinearGauge(const plat::Rect& frame) : KivoGauge(frame) {}
    void initInternals() override;

private:
    // The room the end texts take at each end of the bar.
    struct EndBoxes {
        plat::Size min, max;
        double minBubble = 0, maxBubble = 0;  // half diagonals of the end values in the value font
    };
    KIVO_GAUGE_NO_EXPORT EndBoxes _endBoxes();

    std::int64_t _direction = KivoLinearGaugeDirectionLeftToRight;
};
