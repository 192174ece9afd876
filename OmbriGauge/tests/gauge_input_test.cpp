// Taps, drags and pinches on a gauge, with its tap event and delegate.

#include "KivoCore/KivoEventArgs.h"
#include "Platform/testing/touches.h"
#include "gauge_fixture.h"

using gauge_test::GaugeTest;
using plat::testing::Touches;

namespace {

class TapDelegate : public KivoGaugeDelegate {
public:
    explicit TapDelegate(std::optional<bool> answer) : _answer(answer) {}
    std::optional<bool> tapped(const std::shared_ptr<KivoGauge>&, const std::shared_ptr<KivoPoint>& point) override {
        points.push_back(point);
        return _answer;
    }
    std::vector<std::shared_ptr<KivoPoint>> points;

private:
    std::optional<bool> _answer;
};

class GaugeInputTest : public GaugeTest {
protected:
    void SetUp() override {
        GaugeTest::SetUp();
        gauge->setIsAnimated(false);
        gauge->setValue(50);
        gauge->gaugeTapped()->addHandler(
            [this](const std::shared_ptr<KivoEventContainer>& c) {
                auto args = c->args<KivoPointEventArgs>();
                tappedAt.push_back(args && args->point() ? plat::Point{args->point()->x(), args->point()->y()}
                                                         : plat::Point{-1, -1});
            },
            gauge);
    }
    std::vector<plat::Point> tappedAt;
};

}  // namespace

TEST_F(GaugeInputTest, ATapOnAReadOnlyGaugeIsReportedAndChangesNothing) {
    auto delegate = std::make_shared<TapDelegate>(std::nullopt);
    gauge->setDelegate(delegate);
    Touches(window).tap({154, 20});
    EXPECT_EQ(gauge->value(), 50);
    ASSERT_EQ(tappedAt.size(), 1u);
    EXPECT_EQ(tappedAt[0].x, 154);
    EXPECT_EQ(tappedAt[0].y, 20);
    ASSERT_EQ(delegate->points.size(), 1u);
    EXPECT_EQ(delegate->points[0]->x(), 154);
}

TEST_F(GaugeInputTest, TheDelegateDecidesWhetherATapSetsTheValue) {
    gauge->setIsReadOnly(false);
    struct Case {
        std::optional<bool> answer;
        double expected;
    };
    for (const Case& c : {Case{true, 50}, Case{false, 75}, Case{std::nullopt, 75}}) {
        gauge->setValue(50);
        auto delegate = std::make_shared<TapDelegate>(c.answer);
        gauge->setDelegate(delegate);
        Touches(window).tap({154, 20});
        EXPECT_EQ(gauge->value(), c.expected);
        EXPECT_EQ(delegate->points.size(), 1u);
    }
    EXPECT_EQ(tappedAt.size(), 3u);
}

TEST_F(GaugeInputTest, ADragNeverChangesTheValue) {
    gauge->setIsReadOnly(false);
    Touches(window).drag({20, 20}, {180, 20});
    EXPECT_EQ(gauge->value(), 50);
}

TEST_F(GaugeInputTest, ADisabledGaugeTakesNoTaps) {
    gauge->setIsReadOnly(false);
    gauge->setIsEnabled(false);
    EXPECT_FALSE(gauge->isUserInteractionEnabled());
    Touches(window).tap({154, 20});
    EXPECT_TRUE(tappedAt.empty());
    EXPECT_EQ(gauge->value(), 50);
}

TEST_F(GaugeInputTest, APinchZoomsNoFurtherOutThanTheViewsOwnSize) {
    const plat::Point center{104, 20};
    Touches(window).pinch(center, 100, 50);
    EXPECT_EQ(gauge->scale(), 1);
    EXPECT_TRUE(gauge->zoomTransform().isIdentity());

    Touches(window).pinch(center, 50, 100);
    EXPECT_NEAR(gauge->scale(), 2, 1e-9);
    Touches(window).pinch(center, 100, 25);
    EXPECT_EQ(gauge->scale(), 1);
    Touches(window).pinch(center, 50, 100);
    EXPECT_NEAR(gauge->scale(), 2, 1e-9);
    EXPECT_NEAR(gauge->zoomTransform().a, 2, 1e-9);

    // The zoom shows in the drawing (about the view's centre) and is undone for taps.
    draw();
    ASSERT_TRUE(pointerRect());
    EXPECT_TRUE(gauge_test::rectNear(*pointerRect(), {-96, -12, 200, 64}, 1e-6));
    gauge->setIsReadOnly(false);
    Touches(window).tap({154, 20});  // 25 points right of the centre on screen, 12.5 in the gauge
    EXPECT_EQ(gauge->value(), 63);   // (129 − 4) / 200 = 62.5, rounded away from zero
}
