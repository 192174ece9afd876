// Bar update geometry through the chart's own update animation: an item added to or removed from a
// column chart whose middle series is hidden. Each task starts from the bars as last drawn and the
// animation ends on the bars a static pass draws.

#include <gtest/gtest.h>

#include <vector>

#include "bar_chart_fixture.h"
#include "chart_test_access.h"

namespace {

class BarUpdateChartTest : public BarChartTest {
protected:
    // Three series; the middle one is hidden, so the third draws in slot 1 of 2 and keeps its values at
    // position 2 of the chart's saved values. Its values differ from the hidden one's.
    void SetUp() override {
        BarChartTest::SetUp();
        chart->setChartType(chartType);
        setItems({row(1, 8, 3, 2), row(2, 9, 5, 4), row(3, 7, 4, 5)});
        add("a");
        add("b", KivoSeriesVisibilityLegend);
        add("c");
        draw();
        chart->updateAnimation()->setDuration(0.5);
        chart->updateAnimation()->setEasing(KivoEasing::EaseInLinear());
        chart->loadAnimation()->setDuration(0.5);
        chart->loadAnimation()->setEasing(KivoEasing::EaseInLinear());
        chart->setIsAnimated(true);
    }
    // Columns unless a test asks for bars before a fresh chart.
    std::int64_t chartType = OmbriChartTypeColumn;

    // "d" is a fourth field that no series shows at first.
    static plat::Value row(double a, double b, double c, double d = 1) {
        return barRow({{"a", a}, {"b", b}, {"c", c}, {"d", d}});
    }

    std::vector<KivoRect> rects(std::int32_t position) const {
        std::vector<KivoRect> out;
        for (const auto& bar : bars(position)) out.push_back(bar.rect);
        return out;
    }
};

void expectSame(const KivoRect& actual, const KivoRect& expected, const char* what) {
    expectRect(actual, expected.left(), expected.top(), expected.width(), expected.height());
    if (::testing::Test::HasFailure()) ADD_FAILURE() << what;
}

}  // namespace

TEST_F(BarUpdateChartTest, AnItemInsertedFirstStartsFromTheLastStaticFrameAndEndsOnTheNewOne) {
    for (const std::int64_t type : {OmbriChartTypeColumn, OmbriChartTypeBar}) {
        SCOPED_TRACE(type);
        chartType = type;
        freshChart();
        const auto before = rects(2);
        ASSERT_EQ(before.size(), 3u);
        // The new item raises the value axis' maximum: the old bars are read against the previous one.
        chart->collectionView()->insertObject(row(1, 1, 12), 0);
        drawFrameWhen([this] { return OmbriChartTestAccess::isUpdateTask1(*chart); });
        ASSERT_EQ(plotter().time(), 0);
        const auto start = rects(2);
        ASSERT_EQ(start.size(), 4u);
        // The inserted item has no length yet; every other item stands where it stood, one index later.
        EXPECT_EQ(type == OmbriChartTypeBar ? start[0].width() : start[0].height(), 0);
        for (std::size_t k = 0; k < 3; ++k) expectSame(start[k + 1], before[k], "task 1 starts on the static frame");

        finish();
        // The closing frame is the static picture of the new data.
        const auto end = rects(2);
        chart->setIsAnimated(false);
        draw();
        const auto still = rects(2);
        ASSERT_EQ(end.size(), 4u);
        ASSERT_EQ(still.size(), 4u);
        for (std::size_t k = 0; k < 4; ++k) expectSame(end[k], still[k], "the animation ends on the static frame");
    }
}

TEST_F(BarUpdateChartTest, AfterARemovalTheSecondTaskStartsFromTheOldLayoutReadAtTheSeriesPosition) {
    const auto before = rects(2);
    ASSERT_EQ(before.size(), 3u);
    chart->collectionView()->removeAt(0);
    // The first task draws the old data in the old layout: at its start, the static frame.
    drawFrameWhen([this] { return OmbriChartTestAccess::isUpdateTask1(*chart); });
    const auto first = rects(2);
    ASSERT_EQ(first.size(), 3u);
    for (std::size_t k = 0; k < 3; ++k) expectSame(first[k], before[k], "task 1 starts on the static frame");
    // The second task starts with each remaining item where it stood, one index later, with its saved
    // value (this series' values, not the hidden series' before it).
    drawFrameWhen([this] { return OmbriChartTestAccess::isUpdateTask2(*chart); });
    ASSERT_EQ(plotter().time(), 0);
    const auto second = rects(2);
    ASSERT_EQ(second.size(), 2u);
    for (std::size_t k = 0; k < 2; ++k) expectSame(second[k], before[k + 1], "task 2 starts on the old layout");
}

TEST_F(BarUpdateChartTest, ASeriesAddedMakesRoomFromTheLastStaticFrameAndGrowsFromTheBaseLine) {
    const auto a = rects(0), c = rects(2);
    ASSERT_EQ(c.size(), 3u);
    // A fourth series, drawn after the third: a third slot in each cluster.
    add("a");
    drawFrameWhen([this] { return OmbriChartTestAccess::isUpdateTask1(*chart); });
    ASSERT_EQ(plotter().time(), 0);
    for (std::size_t k = 0; k < 3; ++k) {
        expectSame(rects(0)[k], a[k], "the first series starts on the static frame");
        expectSame(rects(2)[k], c[k], "the third series starts on the static frame");
    }
    // The added series is not drawn in the first task; in the second it grows from the base line.
    EXPECT_TRUE(rects(3).empty());
    drawFrameWhen([this] { return OmbriChartTestAccess::isUpdateTask2(*chart); });
    ASSERT_EQ(rects(3).size(), 3u);
    for (const auto& r : rects(3)) {
        EXPECT_EQ(r.height(), 0);
        EXPECT_NEAR(r.top(), sy(0), 1e-9);
    }
    finish();
    const auto end = rects(3);
    chart->setIsAnimated(false);
    draw();
    ASSERT_EQ(end.size(), 3u);
    for (std::size_t k = 0; k < 3; ++k) expectSame(end[k], rects(3)[k], "the animation ends on the static frame");
}

TEST_F(BarUpdateChartTest, ASeriesRemovedSinksFromTheLastStaticFrame) {
    const auto a = rects(0), c = rects(2);
    chart->series()->removeObjectAtIndex(0);
    drawFrameWhen([this] { return OmbriChartTestAccess::isUpdateTask1(*chart); });
    ASSERT_EQ(plotter().time(), 0);
    // The removed series is drawn at its former place while it sinks; the third keeps its slot.
    for (std::size_t k = 0; k < 3; ++k) expectSame(rects(1)[k], c[k], "the third series starts on the static frame");
    finish();
    const auto end = rects(1);
    chart->setIsAnimated(false);
    draw();
    ASSERT_EQ(end.size(), 3u);
    for (std::size_t k = 0; k < 3; ++k) expectSame(end[k], rects(1)[k], "the animation ends on the static frame");
}

TEST_F(BarUpdateChartTest, AReplacedSeriesChangesLengthFromItsLastStaticFrame) {
    const auto before = rects(2);
    ASSERT_EQ(before.size(), 3u);
    // The third series (slot 1, position 2) gives way to one over "d", within the same value range.
    chart->series()->replaceObjectAtIndex(2, plat::Value(KivoSeries::create(chart, "d", "d")));
    drawFrameWhen([this] { return OmbriChartTestAccess::isUpdateTask1(*chart); });
    ASSERT_EQ(plotter().time(), 0);
    const auto start = rects(2);
    ASSERT_EQ(start.size(), 3u);
    for (std::size_t k = 0; k < 3; ++k) expectSame(start[k], before[k], "the replaced series starts on its static frame");
    finish();
    const auto end = rects(2);
    chart->setIsAnimated(false);
    draw();
    ASSERT_EQ(end.size(), 3u);
    for (std::size_t k = 0; k < 3; ++k) {
        expectSame(end[k], rects(2)[k], "the animation ends on the static frame");
        EXPECT_NEAR(end[k].top(), sy(k == 0 ? 2 : k == 1 ? 4 : 5), 0.01);
    }
}
