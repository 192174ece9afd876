#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <vector>

#include "KivoCore/KivoCollectionView.h"
#include "KivoCore/KivoCollectionViewGroup.h"
#include "KivoCore/KivoPropertyGroupDescription.h"
#include "KivoCore/KivoSortDescription.h"
#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "OmbriGrid/OmbriGridEventArgs.h"
#include "Platform/foundation/log.h"
#include "Platform/testing/virtual_clock.h"
#include "grid_access.h"
#include "grid_model.h"

using grid_test::Access;
using grid_test::labelled;

namespace {

// What a row is, as far as binding decides it.
struct RowShape {
    std::string kind;
    const void* item = nullptr;
    std::uint64_t level = 0;
    std::int32_t height = 0;
    bool operator==(const RowShape&) const = default;
};

std::vector<RowShape> shapeOf(const OmbriGrid& grid) {
    std::vector<RowShape> out;
    const auto& rows = *grid.rows();
    for (std::size_t i = 0; i < rows.count(); ++i) {
        auto row = rows.row(static_cast<std::int64_t>(i));
        RowShape s;
        const plat::Value& data = row->dataItem();
        s.item = data.isObject() ? static_cast<const void*>(data.asObject().get()) : nullptr;
        if (auto g = std::dynamic_pointer_cast<GridGroupRow>(row)) {
            s.kind = "group";
            s.level = g->level();
        } else if (std::dynamic_pointer_cast<GridEmptyRow>(row)) {
            s.kind = "spacer";
            s.height = row->height();
        } else {
            s.kind = "row";
        }
        out.push_back(s);
    }
    return out;
}

std::string describe(const std::vector<RowShape>& rows) {
    std::ostringstream out;
    for (const auto& r : rows)
        out << r.kind << (r.kind == "group" ? std::to_string(r.level) : "")
            << (r.kind == "spacer" ? std::to_string(r.height) : "") << '@' << (reinterpret_cast<std::uintptr_t>(r.item) & 0xfff)
            << ' ';
    return out.str();
}

class Binding : public ::testing::Test {
protected:
    std::shared_ptr<OmbriGrid> fresh(const std::shared_ptr<KivoCollectionView>& view) {
        auto g = OmbriGrid::create({0, 0, 400, 300});
        g->setShowGroups(grid->showGroups());
        g->setCollectionView(view);
        return g;
    }
    plat::testing::VirtualClock clock;
    std::shared_ptr<OmbriGrid> grid = OmbriGrid::create({0, 0, 400, 300});
};

// Seeded random edits of a view; after each announcement the grid's rows equal a fresh binding's.
TEST_F(Binding, FollowsEveryChangeAsAFreshBindingWould) {
    for (unsigned seed : {1u, 2u, 3u, 4u, 5u, 6u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        auto source = std::make_shared<plat::Array>();
        for (int i = 0; i < 40; ++i) source->push_back(labelled("item", i));
        auto view = KivoCollectionView::create(source);
        grid->setCollectionView(view);
        auto next = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
        auto item = [&] {
            const int r = next(100);
            return next(6) == 0 ? labelled("_KDEC_" + std::to_string(next(50)), r) : labelled("item", r);
        };
        bool grouped = false;
        int announced = 0;
        auto counter = std::make_shared<int>();
        view->collectionChanged()->addHandler([&](const std::shared_ptr<KivoEventContainer>&) { ++announced; }, counter);
        for (int step = 0; step < 300; ++step) {
            const int announcedBefore = announced;
            const int count = view->itemCount();
            const int action = next(14);
            SCOPED_TRACE("action " + std::to_string(action));
            switch (action) {
                case 0:
                case 1:
                    view->addObject(item());
                    break;
                case 2:
                case 3:
                    view->insertObject(item(), static_cast<std::size_t>(next(count + 1)));
                    break;
                case 4:
                case 5:
                    if (count > 0) view->removeAt(next(count));
                    break;
                case 6:
                    if (count > 0) view->replaceObjectAtIndex(static_cast<std::size_t>(next(count)), item());
                    break;
                case 7:
                    if (next(4) == 0) view->removeAllObjects();
                    break;
                case 8:
                    if (view->sortDescriptions()->count() == 0)
                        view->sortDescriptions()->addObject(
                            plat::Value(std::make_shared<KivoSortDescription>("rank", next(2) == 0)));
                    else
                        view->sortDescriptions()->removeAllObjects();
                    break;
                case 9: {
                    const int m = 2 + next(3);
                    if (view->filter())
                        view->setFilter(nullptr);
                    else
                        view->setFilter([m](const plat::Value& v) { return v.as<grid_test::Labelled>()->rank % m != 0; });
                    break;
                }
                case 10:
                    if (grouped)
                        view->groupDescriptions()->removeAllObjects();
                    else
                        view->groupDescriptions()->addObject(
                            plat::Value(std::make_shared<KivoPropertyGroupDescription>("label")));
                    grouped = !grouped;
                    break;
                case 11:
                    grid->setShowGroups(!grid->showGroups());
                    continue;  // no announcement
                case 12:
                    // Rows by code: the grid stops mirroring the view until it binds afresh.
                    if (next(2) == 0)
                        grid->rows()->push(std::make_shared<GridRow>());
                    else
                        grid->addGroup("extra", {labelled("x")});
                    continue;
                default:
                    // A row's own state: changed rows are kept as objects. (A spacer's height is its state too,
                    // which a fresh binding would not give.)
                    if (grid->rows()->count() > 0)
                        if (auto row = grid->rows()->row(next(static_cast<int>(grid->rows()->count())));
                            !std::dynamic_pointer_cast<GridEmptyRow>(row))
                            row->setHeight(7);
                    break;
            }
            if (announced == announcedBefore) continue;
            const auto want = shapeOf(*fresh(view));
            const auto got = shapeOf(*grid);
            ASSERT_EQ(got, want) << "seed " << seed << " step " << step << "\n got  " << describe(got) << "\n want "
                                 << describe(want);
            ASSERT_EQ(grid->rows()->totalSize(), Access::naiveTotal(*grid->rows())) << "seed " << seed << " step " << step;
        }
    }
}

TEST_F(Binding, UntouchedRowsKeepTheirObjectsAndState) {
    auto source = std::make_shared<plat::Array>();
    for (int i = 0; i < 10; ++i) source->push_back(labelled("item", i));
    auto view = KivoCollectionView::create(source);
    grid->setCollectionView(view);
    auto third = grid->rows()->row(2);
    third->setHeight(50);
    int resets = 0;
    grid->rows()->collectionChanged()->addHandler(
        [&](const std::shared_ptr<KivoEventContainer>& c) {
            EXPECT_EQ(c->args<KivoNotifyCollectionChangedEventArgs>()->action(), KivoNotifyCollectionChangedActionReset);
            ++resets;
        },
        grid);
    view->insertObject(labelled("new"), 0);
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(grid->rows()->row(3), third);
    EXPECT_EQ(third->index(), 3);
    EXPECT_EQ(third->renderSize(), 50);
    view->removeAt(9);
    EXPECT_EQ(grid->rows()->row(3), third);
    EXPECT_EQ(grid->rows()->totalSize(), 9 * grid->rows()->defaultSize() + 50);
}

TEST_F(Binding, FlatRowsReadTheViewByPositionAndFollowItsFirstEdit) {
    for (const bool sorted : {false, true}) {
        SCOPED_TRACE(sorted ? "sorted" : "in source order");
        auto source = std::make_shared<plat::Array>();
        for (int i = 0; i < 10; ++i) source->push_back(labelled("item", 100 - i));
        auto view = KivoCollectionView::create(source);
        if (sorted) view->sortDescriptions()->addObject(plat::Value(std::make_shared<KivoSortDescription>("rank", true)));
        grid->setCollectionView(view);
        // The view's list, made now, is held by the view alone: binding read the items by position.
        EXPECT_EQ(view->items().use_count(), 1);
        const plat::Value secondItem = view->itemAt(1);
        auto second = grid->rows()->row(1);
        EXPECT_TRUE(second->dataItem().isEqual(secondItem));
        const auto identity = second->identity();
        second.reset();
        // A rank below every other lands first in either order: each row after it moves down by one.
        view->insertObject(labelled("new", -1), 0);
        ASSERT_EQ(grid->rows()->count(), 11u);
        EXPECT_TRUE(grid->rows()->row(0)->dataItem().isEqual(view->itemAt(0)));
        second = grid->rows()->row(2);
        EXPECT_TRUE(second->dataItem().isEqual(secondItem));
        EXPECT_EQ(second->identity(), identity);
        view->removeAt(5);
        view->replaceObjectAtIndex(0, labelled("other", -5));
        EXPECT_EQ(shapeOf(*grid), shapeOf(*fresh(view)));
        EXPECT_EQ(grid->rows()->row(2), second);
    }
}

TEST_F(Binding, ARemovalPastTheSelectionClampsIt) {
    auto source = std::make_shared<plat::Array>();
    for (int i = 0; i < 5; ++i) source->push_back(plat::Value(std::make_shared<grid_test::Record>(i)));
    auto view = KivoCollectionView::create(source);
    grid->setCollectionView(view);
    ASSERT_EQ(grid->columns()->count(), 5u);
    grid->setSelectionMode(GridSelectionModeCellRange);
    grid->setSelection(std::make_shared<GridCellRange>(2, 1, 4, 4));
    view->removeAt(4);
    view->removeAt(3);
    EXPECT_TRUE(grid->selection()->isEqual(GridCellRange(2, 1, 2, 4)));
    view->removeAllObjects();
    EXPECT_TRUE(grid->selection()->isEqual(GridCellRange()));
}

TEST_F(Binding, EditsOfASwitchedAwayViewChangeNothing) {
    auto first = KivoCollectionView::create(std::make_shared<plat::Array>(plat::Array{labelled("a"), labelled("b")}));
    auto second = KivoCollectionView::create(std::make_shared<plat::Array>(plat::Array{labelled("c")}));
    grid->setCollectionView(first);
    grid->setCollectionView(second);
    first->addObject(labelled("d"));
    first->removeAllObjects();
    EXPECT_EQ(grid->rows()->count(), 1u);
    grid->setItemsSource(std::make_shared<plat::Array>());
    second->addObject(labelled("e"));
    EXPECT_EQ(grid->rows()->count(), 0u);
}

TEST_F(Binding, SpacerItems) {
    struct Case {
        plat::Array items;
        std::vector<std::string> kinds;
        std::int32_t height;  // of the spacer, when there is one
    };
    const Case cases[] = {
        {{labelled("a"), labelled("_KDEC_40"), labelled("b")}, {"row", "spacer", "row"}, 40},
        {{plat::Value("_KDEC_12_KDEC_")}, {"spacer"}, 12},
        {{plat::Value("_KDEC_")}, {"spacer"}, 0},
        {{plat::Value("_KDEC_-5")}, {"spacer"}, -5},
        {{plat::Value("x_KDEC_5"), plat::Value(""), plat::Value(std::int64_t{5})}, {"row", "row", "row"}, 0},
        // Described as the platform does: never a spacer, never formatted.
        {{plat::Value(std::make_shared<grid_test::Record>(1))}, {"row"}, 0},
    };
    for (const auto& c : cases) {
        grid->setItemsSource(std::make_shared<plat::Array>(c.items));
        const auto shape = shapeOf(*grid);
        ASSERT_EQ(shape.size(), c.kinds.size());
        for (std::size_t i = 0; i < shape.size(); ++i) {
            EXPECT_EQ(shape[i].kind, c.kinds[i]) << i;
            if (shape[i].kind == "spacer") {
                EXPECT_EQ(shape[i].height, c.height);
            }
        }
    }
    grid->setItemsSource(std::make_shared<plat::Array>(plat::Array{plat::Value("_KDEC_-5")}));
    EXPECT_EQ(grid->rows()->row(0)->renderSize(), grid->rows()->defaultSize()) << "a negative height takes the default size";
    EXPECT_FALSE(grid_test::Record::staticClassInfo().hasOwnDescription());
    EXPECT_TRUE(grid_test::Labelled::staticClassInfo().hasOwnDescription());
}

TEST_F(Binding, GroupedViewsBindGroupRowsOnlyWhenShown) {
    auto source = std::make_shared<plat::Array>(plat::Array{labelled("a"), labelled("_KDEC_9"), labelled("a"), labelled("b")});
    auto view = KivoCollectionView::create(source);
    view->groupDescriptions()->addObject(plat::Value(std::make_shared<KivoPropertyGroupDescription>("label")));
    grid->setShowGroups(false);
    grid->setCollectionView(view);
    std::vector<std::string> kinds;
    for (const auto& s : shapeOf(*grid)) kinds.push_back(s.kind);
    EXPECT_EQ(kinds, (std::vector<std::string>{"row", "spacer", "row", "row"}));
    grid->setShowGroups(true);
    view->refresh();
    kinds.clear();
    for (const auto& s : shapeOf(*grid)) kinds.push_back(s.kind);
    EXPECT_EQ(kinds, (std::vector<std::string>{"group", "row", "row", "group", "row", "group", "row"}));
    EXPECT_EQ(grid->rows()->row(0)->dataItem().asObject(), view->groups()[0]);
}

struct Answers : OmbriGridDelegate {
    std::optional<bool> loading, generating;
    int loaded = 0;
    std::optional<bool> loadingRows(const Grid&) override { return loading; }
    void loadedRows(const Grid&) override { ++loaded; }
    std::optional<bool> autoGeneratingColumn(const Grid&, const std::shared_ptr<KivoPropertyInfo>& info,
                                             const std::shared_ptr<GridColumn>&) override {
        return info->name() == "name" ? generating : std::nullopt;
    }
};

TEST_F(Binding, LoadingRowsCancelledLeavesTheRowsAndClosesTheBatch) {
    auto answers = std::make_shared<Answers>();
    grid->setDelegate(answers);
    auto view = KivoCollectionView::create(std::make_shared<plat::Array>(plat::Array{labelled("a"), labelled("b")}));
    grid->setCollectionView(view);
    auto first = grid->rows()->row(0);
    bool cancel = true;
    bool batchOpen = false;
    grid->ombriGridLoadingRows()->addHandler(
        [&](const std::shared_ptr<KivoEventContainer>& c) {
            batchOpen = grid->rows()->isUpdating();
            c->args<KivoCancelEventArgs>()->setCancel(cancel);
        },
        grid);
    const int loadedBefore = answers->loaded;
    view->addObject(labelled("c"));
    EXPECT_TRUE(batchOpen);
    EXPECT_EQ(grid->rows()->count(), 2u);
    EXPECT_EQ(grid->rows()->row(0), first);
    EXPECT_FALSE(grid->rows()->isUpdating());
    EXPECT_EQ(answers->loaded, loadedBefore) << "no LoadedRows after a cancel";
    answers->loading = false;  // the delegate's no overrides the handler's cancel
    view->addObject(labelled("d"));
    EXPECT_EQ(grid->rows()->count(), 4u);
    EXPECT_EQ(answers->loaded, loadedBefore + 1);
}

TEST_F(Binding, LoadingRowsCancelledKeepsTheItemsTheRowsShowed) {
    auto view = KivoCollectionView::create(std::make_shared<plat::Array>(plat::Array{labelled("a"), labelled("b")}));
    grid->setCollectionView(view);
    const plat::Value a = view->itemAt(0);
    grid->ombriGridLoadingRows()->addHandler(
        [](const std::shared_ptr<KivoEventContainer>& c) { c->args<KivoCancelEventArgs>()->setCancel(true); }, grid);
    view->insertObject(labelled("first"), 0);
    ASSERT_EQ(grid->rows()->count(), 2u);
    EXPECT_TRUE(grid->rows()->row(0)->dataItem().isEqual(a));
}

TEST_F(Binding, GeneratedColumns) {
    auto answers = std::make_shared<Answers>();
    grid->setDelegate(answers);
    grid->ombriGridAutoGeneratingColumn()->addHandler(
        [](const std::shared_ptr<KivoEventContainer>& c) {
            auto args = c->args<GridAutoGeneratingColumnEventArgs>();
            const auto& name = args->propertyInfo()->name();
            args->setCancel(name == "score" || name == "name");
        },
        grid);
    answers->generating = false;  // keeps "name" against the handler
    auto mine = std::make_shared<GridColumn>();
    mine->setBinding("id");
    grid->columns()->push(mine);
    auto source = std::make_shared<plat::Array>();
    source->push_back(plat::Value(std::make_shared<grid_test::Record>(1)));
    auto view = KivoCollectionView::create(source);
    grid->setCollectionView(view);
    std::vector<std::string> bindings;
    for (std::size_t i = 0; i < grid->columns()->count(); ++i) bindings.push_back(*grid->columns()->column(i)->binding());
    EXPECT_EQ(bindings, (std::vector<std::string>{"id", "id", "name", "active", "joined"}));
    EXPECT_EQ(grid->columns()->column(2)->flags() & GridRowColFlagsAutoGenerated, GridRowColFlagsAutoGenerated);
    EXPECT_EQ(mine->flags() & GridRowColFlagsAutoGenerated, 0u);
    EXPECT_NE(mine->dataType(), 0) << "the application's column takes its type from the first item";
    EXPECT_EQ(grid->itemsSource(), source);
    view->addObject(plat::Value(std::make_shared<grid_test::Record>(2)));
    EXPECT_EQ(grid->columns()->count(), 5u) << "an edit rebinds rows only while columns are there";
    grid->setAutoGenerateColumns(false);
    EXPECT_EQ(grid->columns()->count(), 1u);
}

TEST_F(Binding, SettingTheSameSourceAndView) {
    auto source = std::make_shared<plat::Array>(plat::Array{labelled("a")});
    int changes = 0;
    grid->ombriGridItemsSourceChanged()->addHandler([&](const std::shared_ptr<KivoEventContainer>&) { ++changes; }, grid);
    grid->setItemsSource(source);
    grid->setSelection(std::make_shared<GridCellRange>(0, 0));
    grid->setItemsSource(source);
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(grid->selection()->isEqual(GridCellRange()));
    auto view = grid->collectionView();
    grid->setCollectionView(view);
    EXPECT_EQ(changes, 2);
}

}  // namespace
