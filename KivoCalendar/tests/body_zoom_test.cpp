// The body's zoom between view modes as it shows on screen: the scale moves with the fade in each
// half, and the second half starts from its own scale, taken at once.

#include "Platform/runtime/clock.h"
#include "Platform/runtime/run_loop.h"
#include "calendar_fixture.h"

using namespace calendar_test;

namespace {

class BodyZoomTest : public CalendarTest {
protected:
    // Seconds since the zoom began; the run loop is moved to exactly that moment.
    void runTo(double seconds) { plat::RunLoop::main().runFor(_start + plat::ticksFromSeconds(seconds) - plat::Clock::ticks()); }
    void begin() { _start = plat::Clock::ticks(); }
    double shownScale() const { return calendar->bodyView()->layer()->presentationTransform(plat::Clock::ticks()).a; }
    double shownAlpha() const { return calendar->bodyView()->layer()->presentationOpacity(plat::Clock::ticks()); }

private:
    plat::Ticks _start{0};
};

TEST_F(BodyZoomTest, AZoomOutShrinksAndFadesThenGrowsInFromItsNewScale) {
    // The defaults: 0.5 s in two halves, a factor of 8, the platform's symmetric ease-in-out curve
    // (so each half's midpoint shows exactly half the change).
    calendar->setIsAnimated(true);
    begin();
    calendar->changeViewModeAsync(KivoCalendarViewModeYear, std::nullopt);
    struct Moment {
        double at;
        double scale, alpha;
        std::int64_t mode;
    } moments[] = {
        {0.125, 1 + (1.0 / 8 - 1) / 2, 0.5, KivoCalendarViewModeMonth},
        {0.375, 8 + (1 - 8) / 2.0, 0.5, KivoCalendarViewModeYear},
        {0.6, 1, 1, KivoCalendarViewModeYear},
    };
    for (const auto& m : moments) {
        SCOPED_TRACE(m.at);
        runTo(m.at);
        EXPECT_NEAR(shownScale(), m.scale, 1e-6);
        EXPECT_NEAR(shownAlpha(), m.alpha, 1e-6);
        EXPECT_EQ(calendar->viewMode(), m.mode);
    }
    EXPECT_EQ(calendar->bodyView()->transform(), plat::AffineTransform::identity());
    EXPECT_FALSE(calendar->bodyView()->layer()->hasAnimations());
}

}  // namespace
