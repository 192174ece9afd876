#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "ChartCore/OmbriChartDelegate.h"
#include "OmbriChart/KivoAxis.h"
#include "OmbriChart/KivoSeries.h"
#include "Platform/graphics/recording_context.h"
#include "test_chart.h"

namespace {

// A delegate that lets go of the chart whenever it hears from it.
class DroppingDelegate : public OmbriChartDelegate {
public:
    DroppingDelegate(unsigned methods, std::function<void()> drop) : _methods(methods), _drop(std::move(drop)) {}
    unsigned answeredMethods() const override { return _methods; }
    void rendering(const std::shared_ptr<OmbriChartBase>&) override { _drop(); }
    void rendered(const std::shared_ptr<OmbriChartBase>&) override { _drop(); }
    bool handlePlotElementLoading(const std::shared_ptr<OmbriChartBase>&, const std::shared_ptr<IKivoRenderEngine>&,
                                  const std::shared_ptr<KivoRect>&, std::int32_t, const std::shared_ptr<KivoPoint>&, std::int32_t,
                                  const std::shared_ptr<plat::Object>&) override {
        _drop();
        return false;
    }
    void seriesVisibilityChanged(const std::shared_ptr<OmbriChartBase>&, const std::shared_ptr<plat::Object>&) override {
        _drop();
    }
    void axisRangeChanged(const std::shared_ptr<OmbriChartBase>&, const std::shared_ptr<plat::Object>&) override { _drop(); }
    bool handleLabelLoading(const std::shared_ptr<OmbriChartBase>&, const std::shared_ptr<IKivoRenderEngine>&, std::int32_t,
                            const std::shared_ptr<KivoEventArgs>&) override {
        _drop();
        return false;
    }

private:
    unsigned _methods;
    std::function<void()> _drop;
};

// The chart is held only here (and by the window while it is in one): whatever hears from it drops it.
class KeepAliveTest : public ::testing::Test {
public:
    plat::testing::VirtualClock clock;
    std::shared_ptr<plat::Window> window = plat::Window::create({0, 0, 400, 300});
    plat::RecordingContext rec;
    plat::CurrentContextScope current{rec};
    std::shared_ptr<TestChart> chart;
    std::shared_ptr<plat::Object> owner = std::make_shared<plat::Object>();
    std::shared_ptr<OmbriChartDelegate> delegate;
    int heard = 0;

    // A column chart of three items, drawn once so that its axes have their limits.
    void makeChart() {
        chart = TestChart::create();
        auto items = std::make_shared<plat::Array>();
        for (int i = 0; i < 3; ++i) items->push_back(plat::Value(plat::Dictionary{{"x", i}, {"v", i + 1}}));
        chart->setIsAnimated(false);
        chart->setBindingX("x");
        chart->setItemsSource(items);
        chart->series()->addObject(plat::Value(KivoSeries::create(chart, "v", "v")));
        chart->render(std::shared_ptr<IKivoRenderEngine>(chart->renderEngine()));
    }
    void drop() {
        ++heard;
        if (!chart) return;
        chart->removeFromSuperview();
        chart.reset();
    }
    void answer(unsigned methods) {
        delegate = std::make_shared<DroppingDelegate>(methods, [this] { drop(); });
        chart->setDelegate(delegate);
    }
    KivoEventBlock dropping() {
        return KivoEventBlock([this](const std::shared_ptr<KivoEventContainer>&) { drop(); });
    }
};

struct Road {
    const char* name;
    std::function<void(KeepAliveTest&)> arm;
    std::function<void(TestChart&)> run;
};

}  // namespace

TEST_F(KeepAliveTest, ApplicationCodeThatDropsTheChartDoesNotFreeItUnderTheCallThatReachedIt) {
    // A pass straight into the chart's engine, and one through the window that shows the chart.
    const auto render = [](TestChart& c) { c.render(std::shared_ptr<IKivoRenderEngine>(c.renderEngine())); };
    const auto display = [](TestChart& c) {
        const auto w = c.window();
        if (w) w->display(*plat::currentContext());
    };
    const Road roads[] = {
        {"delegate rendering", [](KeepAliveTest& t) { t.answer(OmbriChartDelegate::Rendering); }, render},
        {"delegate rendered", [](KeepAliveTest& t) { t.answer(OmbriChartDelegate::Rendered); }, render},
        {"delegate label",
         [](KeepAliveTest& t) {
             t.answer(OmbriChartDelegate::HandleLabelLoading);
             t.chart->axisY()->setIsHandleXFAxisLabelLoading(true);
         },
         render},
        {"delegate plot element",
         [](KeepAliveTest& t) {
             t.answer(OmbriChartDelegate::HandlePlotElementLoading);
             t.chart->setIsHandleXFPlotElementLoading(true);
         },
         render},
        {"event rendering", [](KeepAliveTest& t) { t.chart->chartRendering()->addHandler(t.dropping(), t.owner); }, render},
        {"event rendered", [](KeepAliveTest& t) { t.chart->chartRendered()->addHandler(t.dropping(), t.owner); }, render},
        {"event label", [](KeepAliveTest& t) { t.chart->axisX()->labelLoading()->addHandler(t.dropping(), t.owner); }, render},
        {"event plot element", [](KeepAliveTest& t) { t.chart->plotElementLoading()->addHandler(t.dropping(), t.owner); },
         render},
        {"window pass",
         [](KeepAliveTest& t) {
             t.window->addSubview(t.chart);
             t.answer(OmbriChartDelegate::Rendering);
         },
         display},
        {"delegate range", [](KeepAliveTest& t) { t.answer(OmbriChartDelegate::AxisRangeChanged); },
         [](TestChart& c) { c.axisX()->setMin(plat::Value(1.0)); }},
        {"event range",
         [](KeepAliveTest& t) {
             t.chart->axisY()->setRangeChanged(std::make_shared<KivoEvent>());
             t.chart->axisY()->rangeChanged()->addHandler(t.dropping(), t.owner);
         },
         [](TestChart& c) { c.axisY()->setScale(0.5); }},
        {"delegate series visibility", [](KeepAliveTest& t) { t.answer(OmbriChartDelegate::SeriesVisibilityChanged); },
         [](TestChart& c) { c.series()->objectAtIndexAs<KivoSeries>(0)->setVisibility(KivoSeriesVisibilityHidden); }},
    };
    for (const auto& road : roads) {
        SCOPED_TRACE(road.name);
        makeChart();
        heard = 0;
        road.arm(*this);
        TestChart* const raw = chart.get();
        road.run(*raw);
        EXPECT_GE(heard, 1);
        EXPECT_FALSE(chart);
    }
}
