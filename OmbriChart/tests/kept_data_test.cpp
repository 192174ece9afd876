// The values a chart keeps between drawing passes (the series' numbers, the data analysis) against a
// chart made afresh over the same items and settings: after random edits of the items and of the
// series, both must analyse and draw the same. Also: what a series hands out cannot be edited, and an
// edit of the items reaches the next pass.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <type_traits>
#include <vector>

#include "KivoCore/KivoBinding.h"
#include "OmbriChart/KivoSeries.h"
#include "test_chart.h"

namespace {

// No handed-out list can be written through.
template <class List>
constexpr bool isReadOnly = std::is_const_v<typename List::element_type>;
static_assert(isReadOnly<decltype(std::declval<KivoSeries&>().getValues(0))>);
static_assert(isReadOnly<decltype(std::declval<KivoSeries&>().getBindingValues(0))>);
static_assert(isReadOnly<std::remove_cvref_t<decltype(std::declval<KivoSeries&>().values())>>);
static_assert(isReadOnly<std::remove_cvref_t<decltype(std::declval<KivoDataInfo&>().getXVals())>>);
static_assert(isReadOnly<std::remove_cvref_t<decltype(std::declval<KivoDataArray&>().values())>>);
static_assert(isReadOnly<decltype(std::declval<OmbriChart&>().xvals())>);

plat::Value item(plat::Value x, plat::Value y, plat::Value z) {
    return plat::Value(plat::Dictionary{{"x", std::move(x)}, {"y", std::move(y)}, {"z", std::move(z)}});
}

// A chart in a window, drawn into a recording.
struct Drawn {
    std::shared_ptr<plat::Window> window = plat::Window::create({0, 0, 400, 300});
    std::shared_ptr<TestChart> chart = TestChart::create();
    plat::RecordingContext rec;

    Drawn() { chart->setIsAnimated(false); }
    void show() { window->addSubview(chart); }
    void pass() {
        rec.clear();
        chart->invalidate();
        window->display(rec);
    }
};

// Where the two passes first part, or "" when they agree.
std::string firstDifference(const plat::RecordingContext& kept, const plat::RecordingContext& fresh) {
    const auto& a = kept.ops();
    const auto& b = fresh.ops();
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        const auto &p = a[i], &q = b[i];
        if (p.kind != q.kind || !(p.path == q.path) || !(p.color == q.color) || p.lineWidth != q.lineWidth || p.dash != q.dash ||
            p.clip != q.clip || p.alpha != q.alpha || p.text.text != q.text.text)
            return "operation " + std::to_string(i) + " of " + std::to_string(a.size()) + " and " + std::to_string(b.size()) +
                   " (" + p.text.text + " | " + q.text.text + ") " + std::to_string(p.bounds().x()) + "," +
                   std::to_string(p.bounds().width()) + " vs " + std::to_string(q.bounds().x()) + "," +
                   std::to_string(q.bounds().width());
    }
    return a.size() == b.size() ? "" : "operation counts " + std::to_string(a.size()) + " and " + std::to_string(b.size());
}

void expectSameAnalysis(const KivoDataInfo& kept, const KivoDataInfo& fresh, const std::string& step) {
    const auto same = [&](double a, double b, const char* what) {
        if (std::isnan(b))
            EXPECT_TRUE(std::isnan(a)) << step << ": " << what << " " << a;
        else
            EXPECT_EQ(a, b) << step << ": " << what;
    };
    same(kept.getMinX(), fresh.getMinX(), "minX");
    same(kept.getMaxX(), fresh.getMaxX(), "maxX");
    same(kept.getMinY(), fresh.getMinY(), "minY");
    same(kept.getMaxY(), fresh.getMaxY(), "maxY");
    same(kept.deltaX(), fresh.deltaX(), "deltaX");
    EXPECT_EQ(kept.getDataTypeX(), fresh.getDataTypeX()) << step;
    EXPECT_EQ(kept.getDataTypeY(), fresh.getDataTypeY()) << step;
    EXPECT_EQ(kept.getStackAbs(), fresh.getStackAbs()) << step;
    EXPECT_EQ(kept.getOrigin(), fresh.getOrigin()) << step;
    // An analysis that finds no items leaves the count of the one before it.
    if (fresh.count() > 0) {
        EXPECT_EQ(kept.getPageSize(), fresh.getPageSize()) << step;
    }
}

class KeptDataTest : public ::testing::TestWithParam<unsigned> {
protected:
    plat::testing::VirtualClock clock;
    std::mt19937 random{GetParam()};
    Drawn kept;
    int made = 0;

    int below(int n) { return n > 0 ? std::uniform_int_distribution<int>(0, n - 1)(random) : 0; }
    bool chance(int percent) { return below(100) < percent; }

    // A value of an item: mostly a number, now and then something that is none.
    plat::Value y() {
        if (chance(5)) return plat::Value();
        if (chance(4)) return plat::Value("n/a");
        return chance(50) ? plat::Value(below(40) - 10) : plat::Value((below(4000) - 1000) / 100.0);
    }
    plat::Value newItem() {
        // X values rise with each item made, with repeats and an occasional gap.
        ++made;
        const plat::Value x = chance(3) ? plat::Value() : plat::Value(made / 2 + below(3));
        return item(x, y(), y());
    }

    std::shared_ptr<KivoCollectionView> itemsOf(const std::shared_ptr<KivoSeries>& s) {
        return s && s->itemsSource() ? s->collectionView() : kept.chart->collectionView();
    }
    std::shared_ptr<KivoSeries> seriesAt(std::size_t i) { return kept.chart->series()->objectAtIndexAs<KivoSeries>(i); }

    // One random edit of the items: of the chart's, or of a series' own.
    std::string editItems() {
        const std::size_t n = kept.chart->series()->count();
        const auto owner = n > 0 && chance(25) ? seriesAt(static_cast<std::size_t>(below(static_cast<int>(n)))) : nullptr;
        const auto view = itemsOf(owner);
        const int size = static_cast<int>(view->items()->size());
        switch (below(8)) {
            case 0:
                view->addObject(newItem());
                return "add at the end";
            case 1:
                view->insertObject(newItem(), static_cast<std::size_t>(below(size + 1)));
                return "insert";
            case 2:
                if (size == 0) return "nothing to remove";
                view->removeAt(below(size));
                return "remove";
            case 3:
                if (size == 0) return "nothing to replace";
                view->replaceObjectAtIndex(static_cast<std::size_t>(below(size)), newItem());
                return "replace";
            case 4: {
                if (size < 2) return "nothing to move";
                const int from = below(size);
                const plat::Value moved = (*view->items())[static_cast<std::size_t>(from)];
                view->removeAt(from);
                view->insertObject(moved, static_cast<std::size_t>(below(size)));
                return "move";
            }
            case 5:
                view->refresh();
                return "reset";
            case 6: {
                if (size == 0) return "nothing to edit";
                // A property written through the binding, then the item announced as replaced by itself.
                const int at = below(size);
                const plat::Value target = (*view->items())[static_cast<std::size_t>(at)];
                KivoBinding(chance(50) ? "y" : "x").setValue(y(), target);
                view->replaceObjectAtIndex(static_cast<std::size_t>(at), target);
                return "property change, announced as a replace";
            }
            default: {
                if (size == 0) return "nothing to edit";
                // A property written through the binding inside an edit, which the view commits.
                const plat::Value target = (*view->items())[static_cast<std::size_t>(below(size))];
                view->editItem(target);
                KivoBinding("y").setValue(y(), target);
                view->commitEdit();
                return "property change in an edit";
            }
        }
    }

    // One random change of the series or the chart's settings.
    std::string changeSeries() {
        const auto& list = kept.chart->series();
        const std::size_t n = list->count();
        switch (below(6)) {
            case 0: {
                if (n >= 4) return "enough series";
                auto s = KivoSeries::create(kept.chart, chance(50) ? "y" : "z", "s" + std::to_string(made));
                if (chance(30)) {
                    auto own = std::make_shared<plat::Array>();
                    for (int k = below(6); k > 0; --k) own->push_back(newItem());
                    s->setItemsSource(own);
                    s->setBindingX("x");
                }
                list->insertObject(plat::Value(s), static_cast<std::size_t>(below(static_cast<int>(n) + 1)));
                return "series added";
            }
            case 1:
                if (n == 0) return "no series to remove";
                list->removeObjectAtIndex(static_cast<std::size_t>(below(static_cast<int>(n))));
                return "series removed";
            case 2: {
                if (n == 0) return "no series to hide";
                const auto s = seriesAt(static_cast<std::size_t>(below(static_cast<int>(n))));
                s->setVisibility(s->isDrawn() ? KivoSeriesVisibilityLegend : KivoSeriesVisibilityVisible);
                return "series shown or hidden";
            }
            case 3:
                kept.chart->setStacking(below(3));
                return "stacking";
            case 4: {
                constexpr std::int64_t Types[] = {OmbriChartTypeLine, OmbriChartTypeColumn, OmbriChartTypeScatter,
                                                  OmbriChartTypeArea, OmbriChartTypeLineSymbols};
                if (n > 0 && chance(40)) {
                    seriesAt(static_cast<std::size_t>(below(static_cast<int>(n))))
                        ->setChartType(chance(50) ? 0 : Types[below(5)]);
                    return "series type";
                }
                kept.chart->setChartType(Types[below(5)]);
                return "chart type";
            }
            default:
                kept.chart->setMaxItemsVisible(chance(40) ? OmbriChart::NoItemLimit : static_cast<std::uint64_t>(3 + below(12)));
                return "page size";
        }
    }

    // A chart made now over the same items and settings.
    void makeFresh(Drawn& fresh) {
        const auto& chart = *kept.chart;
        fresh.chart->setChartType(chart.chartType());
        fresh.chart->setStacking(chart.stacking());
        fresh.chart->setMaxItemsVisible(chart.maxItemsVisible());
        fresh.chart->setBindingX(chart.bindingX());
        fresh.chart->setItemsSource(std::make_shared<plat::Array>(*chart.collectionView()->items()));
        for (std::size_t i = 0; i < chart.series()->count(); ++i) {
            const auto old = seriesAt(i);
            auto s = KivoSeries::create(fresh.chart, old->binding(), old->name());
            if (old->itemsSource()) {
                s->setItemsSource(std::make_shared<plat::Array>(*old->collectionView()->items()));
                s->setBindingX(old->bindingX());
            }
            s->setChartType(old->chartType());
            s->setVisibility(old->visibility());
            fresh.chart->series()->addObject(plat::Value(s));
        }
        fresh.show();
        fresh.pass();
    }
};

}  // namespace

TEST_P(KeptDataTest, AfterEveryEditAPassAnalysesAndDrawsAsAChartMadeAfresh) {
    auto items = std::make_shared<plat::Array>();
    for (int k = 0; k < 12; ++k) items->push_back(newItem());
    kept.chart->setBindingX("x");
    kept.chart->setItemsSource(items);
    kept.chart->series()->addObject(plat::Value(KivoSeries::create(kept.chart, "y", "first")));
    kept.show();
    kept.pass();

    std::string steps;
    for (int step = 0; step < 300 && !HasFailure(); ++step) {
        const std::string what = chance(60) ? editItems() : changeSeries();
        steps += std::to_string(step) + " " + what + "; ";
        // Now and then several edits come before a pass.
        if (chance(70)) continue;
        kept.pass();
        Drawn fresh;
        makeFresh(fresh);
        int drawnSeries = 0;
        for (std::size_t i = 0; i < kept.chart->series()->count(); ++i) drawnSeries += seriesAt(i)->isDrawn() ? 1 : 0;
        const std::string where = "after step " + std::to_string(step) + " (" + what + "), series " +
                                  std::to_string(kept.chart->series()->count()) + " drawn " + std::to_string(drawnSeries) +
                                  " items " + std::to_string(kept.chart->collectionView()->items()->size());
        expectSameAnalysis(*kept.chart->dataInfo(), *fresh.chart->dataInfo(), where);
        // With no data drawn an axis keeps the label size it last measured: the charts' histories differ.
        const auto& info = *fresh.chart->dataInfo();
        if (!std::isnan(info.getMinX()) && !std::isnan(info.getMinY())) {
            EXPECT_EQ(firstDifference(kept.rec, fresh.rec), "") << where << "\nsteps: " << steps;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, KeptDataTest, ::testing::Values(20240611u, 7u, 4711u));

TEST(KeptData, AnEditOfTheItemsReachesTheNextPass) {
    plat::testing::VirtualClock clock;
    // A chart drawn once with its analysis kept; then each edit of its items must show in the next pass.
    struct Case {
        const char* what;
        std::function<void(KivoCollectionView&, plat::Array&)> edit;
        double maxY;
    };
    const Case cases[] = {
        {"property change through the binding",
         [](KivoCollectionView& view, plat::Array& list) {
             KivoBinding("y").setValue(plat::Value(90), list[1]);
             view.replaceObjectAtIndex(1, list[1]);
         },
         90},
        {"replace", [](KivoCollectionView& view, plat::Array&) { view.replaceObjectAtIndex(0, item(0, 70, 0)); }, 70},
        {"add", [](KivoCollectionView& view, plat::Array&) { view.addObject(item(3, 60, 0)); }, 60},
        {"remove", [](KivoCollectionView& view, plat::Array&) { view.removeAt(2); }, 20},
    };
    for (const auto& c : cases) {
        Drawn drawn;
        auto items = std::make_shared<plat::Array>(plat::Array{item(0, 10, 0), item(1, 20, 0), item(2, 30, 0)});
        drawn.chart->setBindingX("x");
        drawn.chart->setItemsSource(items);
        const auto s = KivoSeries::create(drawn.chart, "y", "s");
        drawn.chart->series()->addObject(plat::Value(s));
        drawn.show();
        drawn.pass();
        drawn.pass();
        ASSERT_EQ(drawn.chart->dataInfo()->getMaxY(), 30) << c.what;
        const auto before = s->getValues(0);
        const auto xBefore = drawn.chart->xvals();

        c.edit(*drawn.chart->collectionView(), *drawn.chart->collectionView()->sourceCollection());
        drawn.pass();
        EXPECT_EQ(drawn.chart->dataInfo()->getMaxY(), c.maxY) << c.what;
        // The list handed out before the edit still holds the values it had.
        EXPECT_EQ((*before)[0].asDouble(), 10) << c.what;
        EXPECT_EQ(before->size(), 3u) << c.what;
        EXPECT_NE(s->getValues(0), before) << c.what;
        EXPECT_EQ(xBefore->size(), 3u) << c.what;
        EXPECT_EQ((*xBefore)[2].asDouble(), 2) << c.what;
    }
}

TEST(KeptData, AReplaceOfOneValueAnalysesAndDrawsAsAChartMadeAfresh) {
    plat::testing::VirtualClock clock;
    // Ten items at X 0 to 9 (or, where a case says, with X 4 twice): the least Y at 1, the greatest at 2,
    // none at 8. Each case replaces one item through the chart's view.
    const plat::Value ys[] = {plat::Value(5), plat::Value(-3), plat::Value(8), plat::Value(2), plat::Value(0),
                              plat::Value(7), plat::Value(1), plat::Value(4), plat::Value(), plat::Value(-1)};
    struct Case {
        const char* what;
        std::size_t at;
        plat::Value x, y;
        bool repeatedX = false, bindX = true;
    };
    const Case cases[] = {
        {"inside the range", 3, plat::Value(3), plat::Value(3.5)},
        {"the greatest lowered", 2, plat::Value(2), plat::Value(1)},
        {"the least raised", 1, plat::Value(1), plat::Value(0)},
        {"beyond the greatest", 5, plat::Value(5), plat::Value(20)},
        {"below the least", 6, plat::Value(6), plat::Value(-30)},
        {"equal to the least", 3, plat::Value(3), plat::Value(-3)},
        {"negative zero for zero", 4, plat::Value(4), plat::Value(-0.0)},
        {"a number for none", 8, plat::Value(8), plat::Value(4)},
        {"none for a number", 3, plat::Value(3), plat::Value()},
        {"text for a number", 3, plat::Value(3), plat::Value("n/a")},
        {"another X", 3, plat::Value(3.5), plat::Value(2)},
        {"a date for the last X", 9, plat::Value(plat::Date{9}), plat::Value(-1)},
        {"a repeated X", 4, plat::Value(4), plat::Value(6), true},
        {"without X values", 3, plat::Value(3), plat::Value(9), false, false},
    };
    for (const auto& c : cases) {
        auto items = std::make_shared<plat::Array>();
        for (int k = 0; k < 10; ++k) items->push_back(item(c.repeatedX && k == 5 ? 4 : k, ys[k], 0));
        Drawn kept;
        if (c.bindX) kept.chart->setBindingX("x");
        kept.chart->setItemsSource(items);
        kept.chart->series()->addObject(plat::Value(KivoSeries::create(kept.chart, "y", "s")));
        kept.show();
        kept.pass();
        kept.chart->collectionView()->replaceObjectAtIndex(c.at, item(c.x, c.y, 0));
        kept.pass();

        Drawn fresh;
        if (c.bindX) fresh.chart->setBindingX("x");
        fresh.chart->setItemsSource(std::make_shared<plat::Array>(*kept.chart->collectionView()->items()));
        fresh.chart->series()->addObject(plat::Value(KivoSeries::create(fresh.chart, "y", "s")));
        fresh.show();
        fresh.pass();
        expectSameAnalysis(*kept.chart->dataInfo(), *fresh.chart->dataInfo(), c.what);
        EXPECT_EQ(firstDifference(kept.rec, fresh.rec), "") << c.what;
    }
}
