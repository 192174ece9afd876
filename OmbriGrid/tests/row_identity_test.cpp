#include <gtest/gtest.h>

#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/testing/virtual_clock.h"
#include "grid_access.h"

using grid_test::Access;

namespace {

class BoundRows : public ::testing::Test {
protected:
    void SetUp() override {
        items = std::make_shared<plat::Array>();
        for (int i = 0; i < 5; ++i) items->emplace_back("item " + std::to_string(i));
        Access::bindItems(rows(), items);
        rows().totalSize();
    }
    GridRowCollection& rows() { return *grid->rows(); }
    plat::testing::VirtualClock clock;
    std::shared_ptr<OmbriGrid> grid = OmbriGrid::create({0, 0, 400, 300});
    plat::ArrayPtr items;
};

TEST_F(BoundRows, AHeldUnchangedRowIsFoundByIdentity) {
    auto third = rows().row(2);
    auto other = std::make_shared<GridRow>(plat::Value("item 2"));
    EXPECT_EQ(rows().indexOfObject(plat::Value(third)), 2u);
    EXPECT_TRUE(rows().containsObject(plat::Value(third)));
    EXPECT_FALSE(rows().containsObject(plat::Value(other))) << "an equal item in another row is not that row";
    EXPECT_FALSE(rows().containsObject(plat::Value(std::int64_t{2}))) << "placeholders are no rows of their own";

    rows().removeObject(plat::Value(third));
    EXPECT_EQ(rows().count(), 4u);
    EXPECT_EQ(rows().row(2)->dataItem().asString(), "item 3");
    EXPECT_EQ(third->index(), -1);
    EXPECT_EQ(third->owner(), nullptr);
    EXPECT_EQ(rows().indexOfObject(plat::Value(third)), plat::NotFound);
    EXPECT_EQ(rows().totalSize(), 4 * rows().defaultSize());
}

TEST_F(BoundRows, ARowHeldAcrossARebindAnswersForNoNewItem) {
    auto first = rows().row(0);
    Access::bindItems(rows(), items);
    EXPECT_FALSE(rows().containsObject(plat::Value(first)));
    EXPECT_EQ(first->index(), -1);
    EXPECT_NE(rows().row(0), first);
}

TEST_F(BoundRows, ARowFirstAskedForInsideABatchKnowsItsIndex) {
    rows().beginUpdate();
    auto fourth = rows().row(3);
    EXPECT_EQ(fourth->index(), 3);
    rows().insertObject(plat::Value(std::make_shared<GridRow>()), 0);
    EXPECT_EQ(fourth->index(), 4) << "the list itself answers while the positions wait";
    rows().endUpdate();
    EXPECT_EQ(fourth->index(), 4);
    EXPECT_EQ(rows().indexOfObject(plat::Value(fourth)), 4u);
}

}  // namespace

TEST_F(BoundRows, ARowMadeAgainForItsItemKeepsItsIdentityAndARebindGivesNewOnes) {
    std::uint64_t first = 0, second = 0;
    {
        auto row = rows().row(1);
        first = row->identity();
        second = rows().row(2)->identity();
    }
    // Nobody holds the rows now: they are made again on request.
    EXPECT_EQ(rows().row(1)->identity(), first);
    EXPECT_NE(first, second);
    EXPECT_NE(std::make_shared<GridRow>()->identity(), first) << "a row made by hand never shares a bound row's identity";

    Access::bindItems(rows(), items);
    const auto after = rows().row(1)->identity();
    EXPECT_NE(after, first);
    EXPECT_NE(after, second);
}
