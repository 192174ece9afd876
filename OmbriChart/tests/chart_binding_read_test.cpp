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

// Model classes whose X member is a whole number, a real number or a Boolean.
class WholeX : public plat::Object {
public:
    PLAT_CLASS()
    int x = 0;
    double y = 0;
};
PLAT_DEFINE_CLASS(WholeX, plat::Object, plat::property("x", &WholeX::x), plat::property("y", &WholeX::y))
class RealX : public plat::Object {
public:
    PLAT_CLASS()
    double x = 0, y = 0;
};
PLAT_DEFINE_CLASS(RealX, plat::Object, plat::property("x", &RealX::x), plat::property("y", &RealX::y))
class FlagX : public plat::Object {
public:
    PLAT_CLASS()
    bool x = false;
    double y = 0;
};
PLAT_DEFINE_CLASS(FlagX, plat::Object, plat::property("x", &FlagX::x), plat::property("y", &FlagX::y))

template <class Item, class X>
plat::Value made(X x) {
    auto item = std::make_shared<Item>();
    item->x = x;
    item->y = 1;
    return plat::Value(item);
}

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

TEST_F(ChartBindingReadTest, AViewIsReadByPositionWithoutItsItemList) {
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

    // Sorted, the view's order is the one read, item by item through the view: the X values follow it.
    view->sortDescriptions()->addObject(plat::Value(std::make_shared<KivoSortDescription>("y", true)));
    draw();
    EXPECT_EQ(view->listsAsked, 0);
    EXPECT_EQ(info->getMinY(), -5);
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

TEST_F(ChartBindingReadTest, XValuesKeepTheKindTheirMembersHoldWhateverTheClassesMix) {
    const auto list = std::make_shared<plat::Array>(
        plat::Array{made<WholeX>(1), made<WholeX>(2), made<RealX>(2.5), made<RealX>(3.5), made<WholeX>(4),
                    plat::Value(plat::Dictionary{{"x", 5}, {"y", 1}}), made<RealX>(6.25), made<WholeX>(7)});
    bind(KivoCollectionView::create(list));
    ASSERT_TRUE(chart->xvals());
    ASSERT_EQ(chart->xvals()->size(), list->size());
    const double xs[] = {1, 2, 2.5, 3.5, 4, 5, 6.25, 7};
    const bool whole[] = {true, true, false, false, true, true, false, true};
    for (std::size_t k = 0; k < list->size(); ++k) {
        const plat::Value& x = (*chart->xvals())[k];
        EXPECT_EQ(x.asDouble(), xs[k]) << k;
        EXPECT_EQ(x.isInteger(), whole[k]) << k;
    }
    EXPECT_EQ(chart->dataInfo()->getMaxX(), 7);

    // Booleans make a category axis, after numbers of the same class or not.
    const auto flags = std::make_shared<plat::Array>(plat::Array{made<WholeX>(1), made<FlagX>(true), made<FlagX>(false)});
    chart->setItemsSource(flags);
    EXPECT_TRUE(chart->xvals()->empty());
    EXPECT_EQ(chart->xlabels().size(), 3u);
}

}  // namespace
