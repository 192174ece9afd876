#include <gtest/gtest.h>

#include <cfloat>
#include <functional>
#include <random>
#include <vector>

#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/testing/virtual_clock.h"
#include "grid_access.h"

using grid_test::Access;

namespace {

class GridLayout : public ::testing::Test {
protected:
    std::shared_ptr<GridRow> addRow(std::int32_t height) {
        auto r = std::make_shared<GridRow>();
        r->setHeight(height);
        grid->rows()->push(r);
        return r;
    }
    // Puts the columns made by `make` into an empty column collection, draws, and gives their widths.
    std::vector<std::int32_t> drawnWidths(std::size_t n, const std::function<std::shared_ptr<GridColumn>(std::size_t)>& make) {
        grid->columns()->removeAllObjects();
        std::vector<std::shared_ptr<GridColumn>> columns;
        for (std::size_t i = 0; i < n; ++i) {
            columns.push_back(make(i));
            grid->columns()->push(columns.back());
        }
        plat::RecordingContext rec;
        grid->drawRect(rec, grid->bounds());
        std::vector<std::int32_t> widths;
        for (const auto& col : columns) widths.push_back(col->renderWidth());
        return widths;
    }
    plat::testing::VirtualClock clock;
    std::shared_ptr<OmbriGrid> grid = OmbriGrid::create({0, 0, 400, 300});
};

TEST_F(GridLayout, GetIndexAtGivesTheItemThatStartsAtACoordinate) {
    EXPECT_EQ(grid->rows()->getIndexAt(0), -1);
    EXPECT_EQ(grid->rows()->getIndexAt(50), -1);
    for (int i = 0; i < 3; ++i) addRow(20);
    const std::pair<std::int32_t, std::int32_t> cases[] = {{-5, 0}, {0, 0},  {10, 0}, {19, 0},  {20, 1},
                                                           {30, 1}, {40, 2}, {60, 2}, {1000, 2}};
    for (auto [p, index] : cases) EXPECT_EQ(grid->rows()->getIndexAt(p), index) << p;
    // A hidden row between two sized ones is never the answer.
    grid->rows()->row(1)->setVisible(false);
    EXPECT_EQ(grid->rows()->getIndexAt(20), 2);
    EXPECT_EQ(grid->rows()->getIndexAt(19), 0);
    grid->rows()->row(0)->setVisible(false);
    EXPECT_EQ(grid->rows()->getIndexAt(0), 2) << "the first sized row covers 0";
}

TEST_F(GridLayout, StarColumnsShareTheFreeWidthByWeight) {
    struct Col {
        GridWidthType type;
        double width;
        std::int32_t minWidth = -1, maxWidth = -1;
        bool visible = true;
    };
    struct Case {
        const char* name;
        double clientWidth;  // the cells start 35 points in
        std::vector<Col> columns;
        std::vector<std::int32_t> widths;
    };
    const Case cases[] = {
        {"weights 1 and 2", 336, {{GridWidthTypeStar, 1}, {GridWidthTypeStar, 2}}, {100, 201}},
        {"a minimum above the share", 336, {{GridWidthTypeStar, 1, 150}, {GridWidthTypeStar, 2}}, {150, 151}},
        {"a maximum of 0 is no limit", 336, {{GridWidthTypeStar, 1, -1, 0}, {GridWidthTypeStar, 2}}, {100, 201}},
        {"a maximum", 336, {{GridWidthTypeStar, 1, -1, 60}, {GridWidthTypeStar, 2}}, {60, 241}},
        {"hidden columns keep their size",
         336,
         {{GridWidthTypeStar, 1}, {GridWidthTypeSized, 50, -1, -1, false}, {GridWidthTypeStar, 2}},
         {100, 0, 201}},
        {"weights below 1", 336, {{GridWidthTypeStar, 0.4}, {GridWidthTypeStar, 0.4}}, {150, 151}},
        {"weights that are not positive",
         336,
         {{GridWidthTypeStar, -3}, {GridWidthTypeStar, 0}, {GridWidthTypeStar, 1}},
         {0, 0, 301}},
        {"a huge weight against a unit one", 336, {{GridWidthTypeStar, 1e300}, {GridWidthTypeStar, 1}}, {301, 0}},
        {"a unit weight against a huge one", 336, {{GridWidthTypeStar, 1}, {GridWidthTypeStar, 1e300}}, {0, 301}},
        {"fixed columns wider than the client",
         135,
         {{GridWidthTypeSized, 150}, {GridWidthTypeStar, 1}, {GridWidthTypeStar, 1}},
         {150, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->setFrame({0, 0, c.clientWidth, 300});
        const auto widths = drawnWidths(c.columns.size(), [&](std::size_t i) {
            const Col& spec = c.columns[i];
            auto col = std::make_shared<GridColumn>();
            if (spec.type == GridWidthTypeStar) col->setWidthType(GridWidthTypeStar);
            col->setWidth(spec.width);
            if (spec.type == GridWidthTypeSized) col->setWidthType(GridWidthTypeSized);
            col->setMinWidth(spec.minWidth);
            col->setMaxWidth(spec.maxWidth);
            col->setVisible(spec.visible);
            return col;
        });
        EXPECT_EQ(widths, c.widths);
    }
}

TEST_F(GridLayout, EveryPositiveFiniteStarWeightGetsItsShare) {
    grid->setFrame({0, 0, 336, 300});  // the cells start 35 points in: 301 free
    auto layOut = [&](const std::vector<double>& weights) {
        return drawnWidths(weights.size(), [&](std::size_t i) {
            auto col = std::make_shared<GridColumn>();
            col->setWidthType(GridWidthTypeStar);
            col->setWidth(weights[i]);
            return col;
        });
    };
    // Weights of one unit and of two, then three alike, at every scale a double reaches.
    for (double unit : {1.0, 0.25, 1e19, 1e300, DBL_MAX / 2, DBL_MAX, 1e-300, 5e-324}) {
        SCOPED_TRACE(unit);
        if (unit <= DBL_MAX / 2) {
            EXPECT_EQ(layOut({unit, 2 * unit}), (std::vector<std::int32_t>{100, 201}));
        }
        EXPECT_EQ(layOut({unit, unit, unit}), (std::vector<std::int32_t>{100, 100, 101}));
    }
    EXPECT_EQ(layOut({1, 1e300, 1}), (std::vector<std::int32_t>{0, 301, 0}));
    EXPECT_EQ(layOut({DBL_MAX, 1e300, DBL_MAX}), (std::vector<std::int32_t>{150, 0, 151}));
}

TEST(GridHeaderSizes, EveryWayOfSizingAHeaderMovesTheCells) {
    plat::testing::VirtualClock clock;
    struct Case {
        const char* name;
        std::function<void(OmbriGrid&)> change;
        double dx, dy;  // how far the first cell moves
    };
    auto headerColumn = [](OmbriGrid& g) { return Access::headerColumns(g)->column(0); };
    auto headerColumns = [](OmbriGrid& g) { return Access::headerColumns(g); };
    auto headerRow = [](OmbriGrid& g) { return g.columnHeaderRow(); };
    const Case cases[] = {
        {"the column's size", [&](OmbriGrid& g) { headerColumn(g)->setSize(55); }, 20, 0},
        {"the column's width", [&](OmbriGrid& g) { headerColumn(g)->setWidth(55); }, 20, 0},
        {"the column's minimum", [&](OmbriGrid& g) { headerColumn(g)->setMinWidth(55); }, 20, 0},
        {"the column's maximum", [&](OmbriGrid& g) { headerColumn(g)->setMaxWidth(25); }, -10, 0},
        {"the column hidden", [&](OmbriGrid& g) { headerColumn(g)->setVisible(false); }, -35, 0},
        {"the collection's minimum", [&](OmbriGrid& g) { headerColumns(g)->setMinSize(55); }, 20, 0},
        {"the collection's maximum", [&](OmbriGrid& g) { headerColumns(g)->setMaxSize(25); }, -10, 0},
        {"the collection's default", [&](OmbriGrid& g) { headerColumns(g)->setDefaultSize(55); }, 20, 0},
        {"a second header column", [&](OmbriGrid& g) { headerColumns(g)->push(std::make_shared<GridColumn>()); }, 35, 0},
        {"the header row's size", [&](OmbriGrid& g) { headerRow(g)->setSize(50); }, 0, 50 - 28},
        {"the header row's minimum", [&](OmbriGrid& g) { headerRow(g)->setMinHeight(40); }, 0, 40 - 28},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto grid = OmbriGrid::create({0, 0, 400, 300});
        grid->rows()->push(std::make_shared<GridRow>());
        grid->columns()->push(std::make_shared<GridColumn>());
        plat::RecordingContext rec;
        grid->drawRect(rec, grid->bounds());
        const plat::Rect before = grid->cells()->getCellRect(0, 0);
        ASSERT_EQ(before.origin, (plat::Point{35, 28}));
        c.change(*grid);
        grid->drawRect(rec, grid->bounds());
        const plat::Rect after = grid->cells()->getCellRect(0, 0);
        EXPECT_EQ(after.x() - before.x(), c.dx);
        EXPECT_EQ(after.y() - before.y(), c.dy);
        EXPECT_EQ(grid->offset(), after.origin);
    }
}

TEST_F(GridLayout, CollectionSettings) {
    for (int i = 0; i < 2; ++i) addRow(-1);
    grid->rows()->setFrozen(3);
    EXPECT_EQ(grid->rows()->frozen(), 2);
    EXPECT_EQ(grid->frozenRows(), 2);
    grid->rows()->setDefaultSize(0);
    EXPECT_EQ(grid->rows()->defaultSize(), 28) << "the grid's default row size";
    grid->rows()->setDefaultSize(10);
    EXPECT_EQ(grid->rows()->totalSize(), 20);
    grid->rows()->setDefaultGroupSize(-4);
    EXPECT_EQ(grid->rows()->defaultGroupSize(), 28);
}

TEST_F(GridLayout, ListenersHearAResetForEveryChangeAndTheGridRedraws) {
    std::vector<std::int64_t> actions;
    grid->rows()->collectionChanged()->addHandler(
        [&](const std::shared_ptr<KivoEventContainer>& c) {
            actions.push_back(c->args<KivoNotifyCollectionChangedEventArgs>()->action());
        },
        nullptr);
    int dropped = 0;
    grid->ombriGridDroppedCaches()->addHandler([&](const auto&) { ++dropped; }, nullptr);
    auto row = addRow(10);
    ASSERT_EQ(grid->rows()->totalSize(), 10);
    ASSERT_EQ(row->owner(), grid->rows());
    grid->rows()->removeObjectAtIndex(0);
    EXPECT_EQ(actions,
              (std::vector<std::int64_t>{KivoNotifyCollectionChangedActionReset, KivoNotifyCollectionChangedActionReset}));
    EXPECT_EQ(dropped, 2);
    EXPECT_EQ(row->owner(), nullptr) << "a removed row leaves its collection";
}

TEST_F(GridLayout, NothingIsLaidOutWhileABatchIsOpen) {
    auto first = addRow(20);
    EXPECT_EQ(grid->rows()->totalSize(), 20);
    grid->rows()->beginUpdate();
    addRow(30);
    first->setHeight(40);
    EXPECT_EQ(grid->rows()->totalSize(), 20);
    EXPECT_EQ(first->pos(), 0);
    EXPECT_FALSE(Access::update(*grid->rows()));
    grid->rows()->endUpdate();
    EXPECT_EQ(grid->rows()->totalSize(), 70);
    EXPECT_EQ(grid->rows()->row(1)->pos(), 40);
}

TEST_F(GridLayout, HugeSizesSumWithoutOverflow) {
    addRow(2000000000);
    auto spacer = std::make_shared<GridEmptyRow>();
    spacer->setHeight(2000000000);
    grid->rows()->push(spacer);
    addRow(10);
    EXPECT_EQ(grid->rows()->totalSize(), INT32_MAX);
    EXPECT_EQ(spacer->pos(), 2000000000);
    EXPECT_EQ(grid->rows()->row(2)->pos(), INT32_MAX);
    EXPECT_EQ(grid->rows()->getIndexAt(INT32_MAX), 1);
    EXPECT_EQ(grid->rows()->renderSizeOf(0, 2), 4000000010LL);
}

TEST_F(GridLayout, BoundItemsAreRowsMadeWhenAskedForAndHeldWhileTheApplicationHoldsThem) {
    auto& rows = *grid->rows();
    auto items = std::make_shared<plat::Array>();
    for (int i = 0; i < 1000; ++i) items->push_back(plat::Value(i * 10));
    Access::bindItems(rows, items);
    EXPECT_EQ(rows.count(), 1000u);
    EXPECT_EQ(rows.totalSize(), 28000);
    EXPECT_EQ(rows.getIndexAt(28 * 500 + 3), 500);
    auto row = rows.row(500);
    EXPECT_EQ(row->dataItem(), plat::Value(5000));
    EXPECT_EQ(rows.row(500), row) << "the same object while it is held";
    EXPECT_TRUE(rows.objectAtIndex(500).isInteger()) << "held by the application, not by the list";
    EXPECT_EQ(row->pos(), 28 * 500);
    std::weak_ptr<GridRow> unheld = rows.row(10);
    EXPECT_TRUE(unheld.expired()) << "a row no one holds goes";
    EXPECT_EQ(rows.row(10)->dataItem(), plat::Value(100)) << "and is made again";

    // A rebuild, by a setting or a batch, finds the held row in its place.
    rows.setDefaultSize(20);
    rows.beginUpdate();
    rows.insertObject(plat::Value(std::make_shared<GridRow>()), 0);
    rows.endUpdate();
    EXPECT_EQ(row->index(), 501);
    EXPECT_EQ(rows.row(501), row);
    EXPECT_EQ(row->pos(), 20 * 501);

    // A changed row is stored and outlives the application's hold.
    row->setHeight(100);
    EXPECT_EQ(rows.totalSize(), 20 * 1000 + 100);
    EXPECT_EQ(rows.posAt(502), 20 * 501 + 100);
    std::weak_ptr<GridRow> changed = row;
    row.reset();
    rows.removeObjectAtIndex(0);
    ASSERT_FALSE(changed.expired());
    EXPECT_EQ(changed.lock()->index(), 500);
    EXPECT_EQ(rows.row(500)->height(), 100);
    EXPECT_EQ(rows.row(0)->dataItem(), plat::Value(0)) << "a placeholder keeps its item";

    // Changed inside a batch, where its place is not known yet: stored when the batch ends.
    rows.beginUpdate();
    rows.row(700)->setVisible(false);
    rows.endUpdate();
    EXPECT_FALSE(rows.row(700)->visible());
    EXPECT_EQ(rows.totalSize(), 20 * 998 + 100);
}

// Random size changes, hides, insertions, removals, moves and replacements over a few thousand rows,
// alone or in batches, after each of which the layout must equal a naive one summed over every row,
// and every row the test holds must know where it stands.
TEST_F(GridLayout, MatchesANaiveFullLayoutThroughRandomEdits) {
    std::mt19937 random(20261210);
    auto& rows = *grid->rows();
    auto items = std::make_shared<plat::Array>();
    for (int i = 0; i < 3000; ++i) items->push_back(plat::Value(i));
    Access::bindItems(rows, items);
    auto naive = [&] {
        std::vector<std::int64_t> pos;
        std::int64_t p = 0;
        for (std::size_t i = 0; i < rows.count(); ++i) {
            pos.push_back(p);
            p += rows.item(static_cast<std::int64_t>(i))->renderSize();
        }
        pos.push_back(p);
        return pos;
    };
    auto pick = [&] {
        return std::uniform_int_distribution<std::int64_t>(0, static_cast<std::int64_t>(rows.count()) - 1)(random);
    };
    auto newRow = [&] {
        auto r = std::make_shared<GridRow>();
        r->setHeight(static_cast<std::int32_t>(random() % 40));
        return r;
    };
    // Rows made or taken out along the way, some of them no longer in the collection.
    std::vector<std::shared_ptr<GridRow>> held;
    auto edit = [&] {
        switch (random() % 9) {
            case 0:
                rows.row(pick())->setHeight(static_cast<std::int32_t>(random() % 60) - 5);
                break;
            case 1:
                rows.row(pick())->setVisible(random() % 2 == 0);
                break;
            case 2: {
                held.push_back(newRow());
                rows.insertObject(plat::Value(held.back()), static_cast<std::size_t>(pick()));
                break;
            }
            case 3:
                if (rows.count() > 1) rows.removeObjectAtIndex(static_cast<std::size_t>(pick()));
                break;
            case 4: {
                // A move: out at one place, in at another.
                const auto from = static_cast<std::size_t>(pick());
                held.push_back(rows.row(static_cast<std::int64_t>(from)));
                rows.removeObjectAtIndex(from);
                rows.insertObject(plat::Value(held.back()), static_cast<std::size_t>(pick()));
                break;
            }
            case 5: {
                plat::Array run;
                for (std::uint32_t k = random() % 700; k > 0; --k) run.push_back(plat::Value(newRow()));
                rows.addObjectsFromArray(run);
                if (!run.empty()) held.push_back(run.back().as<GridRow>());
                break;
            }
            case 6: {
                const auto at = static_cast<std::size_t>(pick());
                held.push_back(rows.row(static_cast<std::int64_t>(at)));
                held.push_back(newRow());
                rows.replaceObjectAtIndex(at, plat::Value(held.back()));
                break;
            }
            case 7:
                // A row no one changed stands in the list as its placeholder; removing the row removes that.
                held.push_back(rows.row(pick()));
                if (random() % 2) {
                    // Changed, it stands in the list itself; put in a second time, one call removes both,
                    // announced one by one.
                    held.back()->setHeight(12);
                    rows.insertObject(plat::Value(held.back()), static_cast<std::size_t>(pick()));
                }
                rows.removeObject(plat::Value(held.back()));
                break;
            default:
                rows.row(pick())->setMaxHeight(static_cast<std::int32_t>(random() % 30));
                break;
        }
    };
    for (int step = 0; step < 400; ++step) {
        if (step % 25 == 7) {
            rows.beginUpdate();
            for (int k = 0; k < 5; ++k) edit();
            rows.endUpdate();
        } else {
            edit();
        }
        if (step % 10 != 0 && step != 399) continue;
        const auto expected = naive();
        ASSERT_EQ(rows.totalSize(), expected.back()) << "step " << step;
        for (const auto& row : held) {
            // Where the list holds the row, or the placeholder it was made for (the bound items are
            // their own indices).
            std::int64_t at = -1;
            for (std::size_t i = 0; i < rows.count() && at < 0; ++i) {
                const plat::Value& v = rows.objectAtIndex(i);
                if (v.asObject() == row || (v.isInteger() && row->dataItem().isInteger() && v == row->dataItem()))
                    at = static_cast<std::int64_t>(i);
            }
            ASSERT_EQ(row->index(), at) << "step " << step;
        }
        for (int probe = 0; probe < 50; ++probe) {
            const auto i = pick();
            ASSERT_EQ(rows.row(i)->pos(), expected[static_cast<std::size_t>(i)]) << "step " << step << " row " << i;
            ASSERT_EQ(rows.row(i)->index(), i);
            const auto p = std::uniform_int_distribution<std::int64_t>(0, expected.back() + 20)(random);
            // The first row whose extent holds p, or the last row past the end.
            std::int64_t want = static_cast<std::int64_t>(rows.count()) - 1;
            for (std::size_t k = 0; k + 1 < expected.size(); ++k)
                if (expected[k] <= p && p < expected[k + 1]) {
                    want = static_cast<std::int64_t>(k);
                    break;
                }
            ASSERT_EQ(rows.getIndexAt(static_cast<std::int32_t>(p)), want) << "step " << step << " p " << p;
        }
    }
}

}  // namespace
