// Columns and bars narrower than a device pixel: each pixel column (row, for bars) draws one bar
// spanning the bars of one series in it, while hit areas and label records keep every bar.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>
#include <vector>

#include "KivoCore/KivoRenderEngine.h"
#include "OmbriChart/BasePlotElementRender.h"
#include "OmbriChart/KivoChartPlotElementEventArgs.h"
#include "bar_chart_fixture.h"
#include "dense_drawing_support.h"
#include "plotters/BarColumnMerge.h"

namespace {

const plat::Color Fill = plat::Color::rgb255(30, 120, 60);
const plat::Color Outline = plat::Color::rgb255(200, 40, 40);
// Far more bars than the plot is wide, in pixels.
constexpr int Many = 2000;

class BarColumnMergeTest : public BarChartTest {
protected:
    // `count` bars with values going up and down through 0.
    void showBars(int count, std::int64_t type = OmbriChartTypeColumn) {
        chart->setChartType(type);
        std::vector<plat::Value> rows;
        for (int i = 0; i < count; ++i) rows.push_back(barRow({{"v", double((i * 7) % 11) - 3}}));
        setItems(std::move(rows));
        auto s = add("v");
        s->setColor(Fill);
        s->setBorderColor(Outline);
        s->setBorderWidth(1);
        draw();
    }
    // The rectangle spanning the bars of each pixel column (row when `rotated`), from the hit areas.
    std::vector<KivoRect> expectedSpans(bool rotated) const {
        std::map<std::int64_t, KivoRect> spans;
        for (const auto& bar : bars(0)) {
            const KivoRect& r = bar.rect;
            const double middle = rotated ? r.top() + r.height() / 2 : r.left() + r.width() / 2;
            const auto column = static_cast<std::int64_t>(std::floor(middle));
            auto [it, added] = spans.emplace(column, r);
            if (added) continue;
            KivoRect& s = it->second;
            const double left = std::min(s.left(), r.left()), top = std::min(s.top(), r.top());
            s = KivoRect(left, top, std::max(s.right(), r.right()) - left, std::max(s.bottom(), r.bottom()) - top);
        }
        std::vector<KivoRect> out;
        for (const auto& [column, span] : spans) out.push_back(span);
        if (rotated) std::reverse(out.begin(), out.end());  // the first item stands lowest
        return out;
    }
    void expectOneBarPerPixel(bool rotated) {
        EXPECT_EQ(bars(0).size(), std::size_t(Many)) << "a hit area for every bar";
        EXPECT_EQ(plotter().dataLabelData().size(), std::size_t(Many)) << "a label record for every bar";
        const auto spans = expectedSpans(rotated);
        const auto fills = barFills(Fill);
        ASSERT_EQ(fills.size(), spans.size());
        for (std::size_t k = 0; k < spans.size(); ++k) {
            const plat::Rect b = fills[k]->bounds();
            expectRect(spans[k], b.x(), b.y(), b.width(), b.height());
        }
        // Each outline is clipped to its own merged bar (the legend's swatch lies outside the plot).
        std::vector<const plat::DrawOp*> outlines;
        for (const auto* op : rec.strokes())
            if (op->color == Outline &&
                chart->plotRect()->containsPoint(KivoPoint::create(op->bounds().midX(), op->bounds().midY())))
                outlines.push_back(op);
        ASSERT_EQ(outlines.size(), fills.size());
        for (std::size_t k = 0; k < outlines.size(); ++k) {
            ASSERT_TRUE(outlines[k]->clip);
            EXPECT_NEAR(outlines[k]->clip->x(), fills[k]->bounds().x(), 1e-6);
            EXPECT_NEAR(outlines[k]->clip->maxX(), fills[k]->bounds().maxX(), 1e-6);
        }
    }
};

}  // namespace

TEST_F(BarColumnMergeTest, ColumnsInOnePixelColumnAreDrawnAsOneSpanningTheirExtremes) {
    showBars(Many);
    ASSERT_LT(chart->plotRect()->width() * 2, Many) << "at least two bars a pixel";
    expectOneBarPerPixel(false);
}

TEST_F(BarColumnMergeTest, BarsInOnePixelRowAreDrawnAsOneSpanningTheirExtremes) {
    showBars(Many, OmbriChartTypeBar);
    ASSERT_LT(chart->plotRect()->height() * 2, Many);
    expectOneBarPerPixel(true);
}

TEST_F(BarColumnMergeTest, BarsAPixelWideOrMoreDrawTheSameOperationsAsWithoutTheShortcuts) {
    showBars(40);
    expectSameOpsWithoutShortcuts(rec.ops(), rec, [&] { draw(); });
    EXPECT_EQ(barFills(Fill).size(), 40u);
}

TEST_F(BarColumnMergeTest, ElementHandlersSeeEveryBar) {
    int raised = 0;
    const auto owner = std::make_shared<int>(0);
    chart->plotElementLoading()->addHandler(KivoEventBlock([&](const std::shared_ptr<KivoEventContainer>& c) {
                                                ++raised;
                                                c->args<KivoChartPlotElementEventArgs>()->defaultRender()->execute();
                                            }),
                                            owner);
    showBars(Many);
    EXPECT_EQ(raised, Many);
    EXPECT_EQ(barFills(Fill).size(), std::size_t(Many));
}

TEST_F(BarColumnMergeTest, AStackedPassOverShuffledXDrawsTheMergedBarsOfTheAscendingOne) {
    const plat::Color Upper = plat::Color::rgb255(40, 40, 200);
    // What the plot shows, in drawing order: each fill and outline with its colour, bounds and clip.
    using Drawn = std::tuple<int, int, double, double, double, double, double, double>;
    const auto stackedPass = [&](bool shuffled) {
        freshChart();
        chart->setChartType(OmbriChartTypeColumn);
        chart->setStacking(KivoPlotterStackingStacked);
        chart->setBindingX("x");
        std::vector<int> order(Many);
        for (int k = 0; k < Many; ++k) order[static_cast<std::size_t>(k)] = k;
        std::uint32_t seed = 7;
        for (std::size_t i = order.size(); shuffled && i > 1; --i) {
            seed = seed * 1664525u + 1013904223u;
            std::swap(order[i - 1], order[seed % i]);
        }
        std::vector<plat::Value> rows;
        for (const int k : order) rows.push_back(barRow({{"x", k}, {"a", 1.0 + k % 7}, {"b", k % 9 == 0 ? -2.0 : 2.0 + k % 5}}));
        setItems(std::move(rows));
        const plat::Color fills[] = {Fill, Upper};
        for (const char* binding : {"a", "b"}) {
            auto s = add(binding);
            s->setColor(fills[binding[0] - 'a']);
            s->setBorderColor(Outline);
            s->setBorderWidth(1);
        }
        draw();
        std::vector<Drawn> drawn;
        for (const auto& op : rec.ops()) {
            if (op.kind != plat::DrawOp::Kind::Fill && op.kind != plat::DrawOp::Kind::Stroke) continue;
            const auto b = op.bounds();
            if (!chart->plotRect()->containsPoint(KivoPoint::create(b.midX(), b.midY()))) continue;
            const int colour = op.color == Fill ? 0 : op.color == Upper ? 1 : op.color == Outline ? 2 : 3;
            drawn.emplace_back(static_cast<int>(op.kind), colour, b.x(), b.y(), b.width(), b.height(),
                               op.clip ? op.clip->x() : -1, op.clip ? op.clip->width() : -1);
        }
        return drawn;
    };
    const auto ascending = stackedPass(false);
    const auto fillsOf = [](const std::vector<Drawn>& drawn, int colour) {
        return std::count_if(drawn.begin(), drawn.end(), [&](const Drawn& d) {
            return std::get<0>(d) == static_cast<int>(plat::DrawOp::Kind::Fill) && std::get<1>(d) == colour;
        });
    };
    ASSERT_GT(fillsOf(ascending, 0), 0);
    ASSERT_GT(fillsOf(ascending, 1), 0);
    ASSERT_LT(fillsOf(ascending, 0) + fillsOf(ascending, 1), Many) << "merged, not a fill per bar";
    const auto shuffled = stackedPass(true);
    EXPECT_EQ(shuffled.size(), ascending.size());
    EXPECT_TRUE(shuffled == ascending) << "the same merged bars, in the same order";
}

TEST(BarColumnMerger, JoinsTheBarsOfOnePixelColumnWhoseSpansMeet) {
    struct Case {
        const char* what;
        bool rotated;
        std::vector<plat::Rect> bars, drawn;
    };
    const Case cases[] = {
        {"one column", false, {{10.1, 10, 0.3, 40}, {10.5, 20, 0.3, 30}}, {{10.1, 10, 0.7, 40}}},
        {"two columns", false, {{10.1, 10, 0.3, 40}, {11.2, 20, 0.3, 30}}, {{10.1, 10, 0.3, 40}, {11.2, 20, 0.3, 30}}},
        {"spans apart", false, {{10.1, 10, 0.3, 5}, {10.5, 30, 0.3, 5}}, {{10.1, 10, 0.3, 5}, {10.5, 30, 0.3, 5}}},
        {"a wide bar between",
         false,
         {{10.1, 10, 0.3, 40}, {10.2, 10, 1.5, 40}, {10.5, 10, 0.3, 40}},
         {{10.1, 10, 0.3, 40}, {10.2, 10, 1.5, 40}, {10.5, 10, 0.3, 40}}},
        {"one row", true, {{10, 20.1, 40, 0.3}, {20, 20.5, 30, 0.3}}, {{10, 20.1, 40, 0.7}}},
    };
    auto engine = std::make_shared<KivoRenderEngine>();
    for (const Case& c : cases) {
        plat::RecordingContext rec;
        {
            plat::CurrentContextScope current(rec);
            kivo::detail::BarColumnMerger merger;
            ASSERT_TRUE(merger.begin(engine, c.rotated)) << c.what;
            for (const plat::Rect& b : c.bars)
                if (!merger.take(KivoRect(b.x(), b.y(), b.width(), b.height())))
                    DefaultBarElementRender(engine, b.x(), b.y(), b.width(), b.height()).execute();
            merger.end();
        }
        const auto fills = rec.fills();
        ASSERT_EQ(fills.size(), c.drawn.size()) << c.what;
        for (std::size_t k = 0; k < fills.size(); ++k) {
            const plat::Rect b = fills[k]->bounds();
            EXPECT_NEAR(b.x(), c.drawn[k].x(), 1e-9) << c.what << " " << k;
            EXPECT_NEAR(b.y(), c.drawn[k].y(), 1e-9) << c.what << " " << k;
            EXPECT_NEAR(b.width(), c.drawn[k].width(), 1e-9) << c.what << " " << k;
            EXPECT_NEAR(b.height(), c.drawn[k].height(), 1e-9) << c.what << " " << k;
        }
    }
}
