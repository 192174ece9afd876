// How the chart reads its items when it binds them: by position from the view, with no list of the
// items made for the one read, and safely when the application's getters shorten the source list
// while they are read.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "KivoCore/KivoCollectionView.h"
#include "KivoCore/KivoSortDescription.h"
#include "OmbriChart/KivoDataInfo.h"
#include "OmbriChart/KivoSeries.h"
#include "Platform/foundation/reflect.h"
#include "test_chart.h"

namespace {

// A point whose getters may empty the list it sits in, as application code may.
class ShrinkingPoint : public plat::Object {
public:
    PLAT_CLASS()
    double x = 0, y = 0;
    plat::ArrayPtr emptiedByX, emptiedByY;
    double readX() const {
        if (emptiedByX) *emptiedByX = plat::Array();  // its memory goes too
        return x;
    }
    double readY() const {
        if (emptiedByY) *emptiedByY = plat::Array();  // its memory goes too
        return y;
    }
};
PLAT_DEFINE_CLASS(ShrinkingPoint, plat::Object, plat::property("x", &ShrinkingPoint::readX),
                  plat::property("y", &ShrinkingPoint::readY))

// A view that counts how often its list of visible items is asked for.
class CountingView : public KivoCollectionView {
public:
    const plat::ArrayPtr& items() const override {
        ++listsAsked;
        return KivoCollectionView::items();
    }
    mutable int listsAsked = 0;
};

struct Points {
    std::vector<std::shared_ptr<ShrinkingPoint>> kept;  // alive whatever happens to the list
    plat::ArrayPtr list = std::make_shared<plat::Array>();
};

Points points(const std::vector<double>& ys) {
    Points p;
    for (std::size_t i = 0; i < ys.size(); ++i) {
        auto point = std::make_shared<ShrinkingPoint>();
        point->x = double(i) * 10;
        point->y = ys[i];
        p.kept.push_back(point);
        p.list->push_back(plat::Value(point));
    }
    return p;
}

class ChartBindingReadTest : public ChartInWindowTest<TestChart> {
protected:
    void bind(const std::shared_ptr<KivoCollectionView>& view) {
        chart->setIsAnimated(false);
        chart->setChartType(OmbriChartTypeLine);
        chart->setBindingX("x");
        chart->series()->addObject(plat::Value(KivoSeries::create(chart, "y", "s")));
        chart->setCollectionView(view);
        window->addSubview(chart);
        draw();
    }
};

TEST_F(ChartBindingReadTest, AViewShowingItsSourceInOrderIsReadWithoutItsItemList) {
    const Points p = points({3, -1, 4, 1, -5});
    const auto view = KivoCollectionView::create<CountingView>(p.list);
    bind(view);
    EXPECT_EQ(view->listsAsked, 0);
    const auto& info = chart->dataInfo();
    EXPECT_EQ(info->getMinX(), 0);
    EXPECT_EQ(info->getMaxX(), 40);
    EXPECT_EQ(info->getMinY(), -5);
    EXPECT_EQ(info->getMaxY(), 4);
    ASSERT_TRUE(chart->xvals());
    ASSERT_EQ(chart->xvals()->size(), 5u);
    EXPECT_EQ((*chart->xvals())[4].asDouble(), 40);

    // Sorted, the view's order is the one read: the X values follow it.
    view->sortDescriptions()->addObject(plat::Value(std::make_shared<KivoSortDescription>("y", true)));
    draw();
    ASSERT_EQ(chart->xvals()->size(), 5u);
    const double sortedXs[] = {40, 10, 30, 0, 20};
    for (std::size_t k = 0; k < 5; ++k) EXPECT_EQ((*chart->xvals())[k].asDouble(), sortedXs[k]) << k;
}

TEST_F(ChartBindingReadTest, AGetterThatEmptiesTheSourceWhileItIsReadEndsTheReadSafely) {
    // The X values are read first (by the chart), the Y values then (by the series): either getter
    // empties the list under the read.
    for (const bool byX : {true, false}) {
        SCOPED_TRACE(byX ? "emptied by the X getter" : "emptied by the Y getter");
        const Points p = points({1, 2, 3, 4});
        (byX ? p.kept[1]->emptiedByX : p.kept[1]->emptiedByY) = p.list;
        chart = TestChart::create();
        bind(KivoCollectionView::create(p.list));
        EXPECT_TRUE(p.list->empty());
        // What was read before the list went stays within the items' values.
        const auto& info = chart->dataInfo();
        if (!std::isnan(info->getMaxY())) {
            EXPECT_LE(info->getMaxY(), 4);
        }
    }
}

}  // namespace
