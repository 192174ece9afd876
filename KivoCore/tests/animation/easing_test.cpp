#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "KivoCore/KivoAnimation.h"
#include "KivoCore/KivoEaseActions.h"
#include "KivoCore/KivoEasing.h"

TEST(KivoEasing, IndexAndCurveRoundTripOverSharedInstances) {
    for (std::int64_t k = 1; k <= 33; ++k) {
        auto curve = KivoEasing::EaseByIndex(k);
        ASSERT_NE(curve, nullptr) << k;
        EXPECT_EQ(KivoEasing::IndexFromEase(curve), k);
        EXPECT_EQ(KivoEasing::EaseByIndex(k), curve);  // the same object every time
    }
    for (std::int64_t k : {0, 34, -1}) EXPECT_EQ(KivoEasing::EaseByIndex(k), nullptr);
    EXPECT_EQ(KivoEasing::IndexFromEase(nullptr), 0);
    EXPECT_EQ(KivoEasing::IndexFromEase(std::make_shared<KivoCubicIn>()), 0);
    EXPECT_EQ(KivoEasing::EaseByIndex(10), KivoEasing::EaseInCubic());
    EXPECT_EQ(KivoAnimation().easing(), KivoEasing::EaseInCubic());

    struct Named {
        std::function<KivoEasePtr()> get;
        std::int64_t index;
    } named[] = {{KivoEasing::EaseInBack, 1},        {KivoEasing::EaseOutBounce, 5}, {KivoEasing::EaseInOutCirc, 9},
                 {KivoEasing::EaseInOutElastic, 15}, {KivoEasing::EaseInExpo, 16},   {KivoEasing::EaseOutLinear, 20},
                 {KivoEasing::EaseInOutQuad, 24},    {KivoEasing::EaseOutQuart, 26}, {KivoEasing::EaseInQuint, 28},
                 {KivoEasing::EaseInOutSine, 33}};
    for (const auto& n : named) EXPECT_EQ(KivoEasing::IndexFromEase(n.get()), n.index);
}

TEST(KivoEasing, ViewAnimationCurveFollowsTheKind) {
    EXPECT_EQ(KivoEasing::EaseInOutLinear()->viewAnimationCurve(), 3);
    EXPECT_EQ(KivoEasing::EaseOutBack()->viewAnimationCurve(), 2);
    EXPECT_EQ(KivoEasing::EaseInSine()->viewAnimationCurve(), 1);
    EXPECT_EQ(KivoEasing::EaseInOutElastic()->viewAnimationCurve(), 0);
    struct OwnCurve : KivoEaseAction {
        double ease(double t, double b, double c, double d) const override { return b + c * t / d; }
    };
    EXPECT_EQ(OwnCurve().viewAnimationCurve(), 0);
}

TEST(KivoEasing, CurvesMatchTheirClosedFormsAtTelltalePoints) {
    const double b = 10, c = 20, d = 2;
    struct Case {
        const char* name;
        KivoEasePtr curve;
        double t;
        double expected;
        double tolerance;
    } cases[] = {
        {"ExpoIn t=0 exact", KivoEasing::EaseInExpo(), 0, b, 0},
        {"ExpoOut t=d exact", KivoEasing::EaseOutExpo(), d, b + c, 0},
        {"ExpoInOut ends", KivoEasing::EaseInOutExpo(), d, b + c, 0},
        {"ElasticIn t=0", KivoEasing::EaseInElastic(), 0, b, 0},
        {"ElasticIn t=d", KivoEasing::EaseInElastic(), d, b + c, 0},
        {"ElasticOut t=0", KivoEasing::EaseOutElastic(), 0, b, 0},
        {"ElasticOut t=d", KivoEasing::EaseOutElastic(), d, b + c, 0},
        {"ElasticInOut t=d", KivoEasing::EaseInOutElastic(), d, b + c, 0},
        {"BackIn dips below b", KivoEasing::EaseInBack(), d / 2, b - 0.0876975 * c, 1e-9},
        {"BounceOut end", KivoEasing::EaseOutBounce(), d, b + c, 1e-9},
        {"BounceIn start", KivoEasing::EaseInBounce(), 0, b, 1e-9},
        {"BounceInOut middle", KivoEasing::EaseInOutBounce(), d / 2, b + c / 2, 1e-9},
        {"CubicIn extrapolates", KivoEasing::EaseInCubic(), 2 * d, b + 8 * c, 0},
        {"QuadOut half", KivoEasing::EaseOutQuad(), d / 2, b + 0.75 * c, 1e-12},
        {"QuadInOut quarter", KivoEasing::EaseInOutQuad(), d / 4, b + c / 8, 1e-12},
        {"SineInOut half", KivoEasing::EaseInOutSine(), d / 2, b + c / 2, 1e-12},
        {"CircOut end", KivoEasing::EaseOutCirc(), d, b + c, 1e-12},
        {"Linear third", KivoEasing::EaseInOutLinear(), d / 3, b + c / 3, 1e-12},
        {"QuintInOut end", KivoEasing::EaseInOutQuint(), d, b + c, 1e-12},
        {"QuartOut end", KivoEasing::EaseOutQuart(), d, b + c, 1e-12},
    };
    for (const auto& k : cases) EXPECT_NEAR(k.curve->ease(k.t, b, c, d), k.expected, k.tolerance) << k.name;

    // BackOut overshoots above the end before it settles.
    double peak = 0;
    for (int i = 0; i <= 100; ++i) peak = std::max(peak, KivoEasing::EaseOutBack()->ease(d * i / 100, b, c, d));
    EXPECT_GT(peak, b + c);
}

TEST(KivoEasingUtil, NoCurveJumpsToTheEnd) {
    EXPECT_EQ(KivoEasingUtil::ease(nullptr, 0, 3, 4, 1), 7);
    EXPECT_EQ(KivoEasingUtil::ease(KivoEasing::EaseInLinear(), 0.5, 0, 4, 1), 2);
}

TEST(KivoEasingUtil, EasePointsListFromTheBaseLine) {
    plat::Array x{1, 2, 3, 4, 5};
    plat::Array y{10, plat::Value::null(), NAN, 4};
    auto none = KivoEasingUtil::easePointsListX(x, y, 0, 1, 1, 0, KivoEasing::EaseInLinear());
    EXPECT_TRUE(none.at("x").asArray()->empty());
    EXPECT_TRUE(none.at("y").asArray()->empty());

    auto up = KivoEasingUtil::easePointsListX(x, y, 0, 1, 1, 1, KivoEasing::EaseInLinear());
    auto down = KivoEasingUtil::easePointsListX(x, y, 0, 1, 1, -1, KivoEasing::EaseInLinear());
    EXPECT_EQ(plat::Value(up), plat::Value(down));
    EXPECT_EQ(*up.at("x").asArray(), x);
    EXPECT_EQ(*up.at("y").asArray(), (plat::Array{10.0, plat::Value::null(), plat::Value::null(), 4.0}));

    auto half = KivoEasingUtil::easePointsListX(x, {10, 4}, 2, 0.5, 1, 1, KivoEasing::EaseInLinear());
    EXPECT_EQ(*half.at("y").asArray(), (plat::Array{6.0, 3.0}));
    auto jump = KivoEasingUtil::easePointsListX(x, {10}, 2, 0, 1, 1, nullptr);
    EXPECT_EQ(*jump.at("y").asArray(), plat::Array{10.0});
}

TEST(KivoAnimation, DefaultsNoneAndValidity) {
    KivoAnimation a;
    EXPECT_EQ(a.duration(), 1.0);
    EXPECT_EQ(a.startDelay(), 0);
    EXPECT_TRUE(a.isValid());
    auto n = KivoAnimation::none();
    EXPECT_FALSE(n->isValid());
    EXPECT_EQ(n->duration(), 0);
    EXPECT_EQ(n->easing(), nullptr);
    a.setEasing(nullptr);
    EXPECT_FALSE(a.isValid());
    a.setEasing(KivoEasing::EaseOutQuad());
    a.setDuration(-1);
    EXPECT_FALSE(a.isValid());
    // Valid exactly when the driver can time it, with a curve.
    for (const double duration : {double(NAN), double(INFINITY), -double(INFINITY), 0.0, 1e308, 0.5}) {
        for (const double delay : {0.0, -1.0, double(NAN), double(INFINITY)}) {
            a.setDuration(duration);
            a.setStartDelay(delay);
            const bool timed = duration == 1e308 || duration == 0.5;
            EXPECT_EQ(a.isValid(), timed && std::isfinite(delay)) << duration << " after " << delay;
        }
    }
}
