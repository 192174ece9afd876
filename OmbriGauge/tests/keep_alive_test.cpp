// Application code that drops the last reference to a gauge while the gauge is calling it: the
// member that made the call must still finish on a live gauge, which goes away only once the member
// returns. One row per road from a public member to an event handler, a delegate method or the value
// formatter, for each kind of gauge. The sanitizers catch a member that runs on after the gauge was
// freed.

#include <functional>
#include <string>

#include "KivoCore/KivoIOSValueFormatter.h"
#include "OmbriGauge/KivoBulletGraph.h"
#include "OmbriGauge/KivoRadialGauge.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/testing/touches.h"
#include "Platform/ui/gestures.h"
#include "gauge_access.h"
#include "gauge_fixture.h"

namespace {

// Each hook that application code can be asked through; the chosen one drops the gauge.
struct Hooks {
    void hit(const std::string& name) {
        if (name == armed && drop) std::exchange(drop, nullptr)();
    }
    std::string armed;
    std::function<void()> drop;
};

class DroppingDelegate : public KivoGaugeDelegate {
public:
    explicit DroppingDelegate(Hooks& hooks) : _hooks(hooks) {}
    void rendering(const std::shared_ptr<KivoGauge>&) override { _hooks.hit("rendering"); }
    void rendered(const std::shared_ptr<KivoGauge>&) override { _hooks.hit("rendered"); }
    std::optional<bool> tapped(const std::shared_ptr<KivoGauge>&, const std::shared_ptr<KivoPoint>&) override {
        _hooks.hit("tapped");
        return std::nullopt;
    }
    void valueChanged(const std::shared_ptr<KivoGauge>&, double) override { _hooks.hit("valueChanged"); }

private:
    Hooks& _hooks;
};

class DroppingFormatter : public KivoIOSValueFormatter {
public:
    explicit DroppingFormatter(Hooks& hooks) : _hooks(hooks) {}
    using KivoIOSValueFormatter::format;
    std::optional<std::string> format(const plat::Value& value, const std::string& format) override {
        _hooks.hit("formatter");
        return KivoIOSValueFormatter::format(value, format);
    }

private:
    Hooks& _hooks;
};

using Gauge = KivoGauge;

struct Road {
    const char* hook;
    const char* member;
    // Calls the member on the gauge; `tap` makes a real tap on the gauge's place and hands its
    // recogniser to the function given.
    std::function<void(Gauge&, const std::function<void(std::function<void(plat::GestureRecognizer&)>)>& tap)> call;
};

void raiseOn(Hooks& hooks, const std::shared_ptr<KivoEvent>& event, const char* name) {
    event->addHandler([&hooks, name](const std::shared_ptr<KivoEventContainer>&) { hooks.hit(name); }, nullptr);
}

class GaugeKeepAliveTest : public ::testing::Test {
protected:
    plat::testing::VirtualClock clock;
};

TEST_F(GaugeKeepAliveTest, ApplicationCodeMayDropTheGaugeWhileAMemberCallsIt) {
    using Tap = std::function<void(std::function<void(plat::GestureRecognizer&)>)>;
    auto draw = [](Gauge& g, const Tap&) {
        plat::RecordingContext rec;
        plat::CurrentContextScope scope(rec);
        g.drawRect(rec, g.bounds());
    };
    auto setValue = [](Gauge& g, const Tap&) { g.setValue(70); };
    auto tapGesture = [](Gauge& g, const Tap& tap) { tap([&g](plat::GestureRecognizer& r) { g.respondToTapGesture(r); }); };
    auto panGesture = [](Gauge& g, const Tap& tap) { tap([&g](plat::GestureRecognizer& r) { g.respondToPanGesture(r); }); };
    const Road roads[] = {
        {"gaugeValueChanged", "setValue", setValue},
        {"valueChanged", "setValue", setValue},
        {"valueChanged", "_applyValue", [](Gauge& g, const Tap&) { gauge_test::Access::applyValue(g, 70.4); }},
        {"valueChanged", "respondToTapGesture", tapGesture},
        {"valueChanged", "respondToPanGesture", panGesture},
        {"gaugeTapped", "respondToTapGesture", tapGesture},
        {"tapped", "respondToTapGesture", tapGesture},
        {"gaugeRendering", "drawRect", draw},
        {"rendering", "drawRect", draw},
        {"gaugeRendered", "drawRect", draw},
        {"rendered", "drawRect", draw},
        {"formatter", "drawRect", draw},
        {"formatter", "refresh", [](Gauge& g, const Tap&) { g.refresh(); }},
        {"formatter", "updateText", [](Gauge& g, const Tap&) { g.updateText(); }},
        {"formatter", "formatDecimal", [](Gauge& g, const Tap&) { g.formatDecimal(3); }},
        {"gaugeValueChanged", "raiseGaugeValueChanged", [](Gauge& g, const Tap&) { g.raiseGaugeValueChanged(); }},
    };
    const std::pair<const char*, std::function<std::shared_ptr<Gauge>(const plat::Rect&)>> kinds[] = {
        {"linear", [](const plat::Rect& f) { return KivoLinearGauge::create(f); }},
        {"radial", [](const plat::Rect& f) { return KivoRadialGauge::create(f); }},
        {"bullet graph", [](const plat::Rect& f) { return KivoBulletGraph::create(f); }},
    };
    constexpr plat::Rect Frame{0, 0, 200, 200};
    // A tap on the right half, halfway down: a value every kind of gauge maps a point to.
    constexpr plat::Point TapAt{170, 100};
    for (const auto& [kind, make] : kinds) {
        for (const Road& road : roads) {
            SCOPED_TRACE(std::string(kind) + ": " + road.hook + " during " + road.member);
            auto window = plat::Window::create({0, 0, 320, 240});
            auto gauge = make(Frame);
            window->addSubview(gauge);
            gauge->setIsAnimated(false);
            gauge->setIsReadOnly(false);
            gauge->setShowText(KivoGaugeShowTextAll);
            Hooks hooks;
            auto delegate = std::make_shared<DroppingDelegate>(hooks);
            gauge->setDelegate(delegate);
            gauge->setValueFormatter(std::make_shared<DroppingFormatter>(hooks));
            gauge->setGaugeRendering(std::make_shared<KivoEvent>());
            raiseOn(hooks, gauge->gaugeValueChanged(), "gaugeValueChanged");
            raiseOn(hooks, gauge->gaugeTapped(), "gaugeTapped");
            raiseOn(hooks, gauge->gaugeRendering(), "gaugeRendering");
            raiseOn(hooks, gauge->gaugeRendered(), "gaugeRendered");
            plat::RecordingContext screen;
            window->display(screen);

            // The taps land on a pad laid over the gauge, whose recogniser hands itself to the member.
            auto pad = plat::View::create(Frame);
            window->addSubview(pad);
            std::function<void(plat::GestureRecognizer&)> onTap;
            pad->addGestureRecognizer(plat::TapGestureRecognizer::create([&onTap](plat::GestureRecognizer& r) {
                if (r.state() == plat::GestureRecognizerState::Recognized && onTap) onTap(r);
            }));
            const Tap tap = [&](std::function<void(plat::GestureRecognizer&)> member) {
                onTap = std::move(member);
                plat::testing::Touches(window).tap(TapAt);
            };

            Gauge* raw = gauge.get();
            std::weak_ptr<Gauge> weak = gauge;
            bool dropped = false;
            hooks.armed = road.hook;
            hooks.drop = [&] {
                gauge->removeFromSuperview();
                gauge.reset();
                dropped = true;
            };
            road.call(*raw, tap);
            EXPECT_TRUE(dropped) << "the road never reached the application";
            EXPECT_TRUE(weak.expired()) << "the gauge outlived the member";
            plat::RunLoop::main().runUntilIdle();
        }
    }
}

}  // namespace
