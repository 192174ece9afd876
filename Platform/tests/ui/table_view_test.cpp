#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Platform/graphics/recording_context.h"
#include "Platform/testing/touches.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/label.h"
#include "Platform/ui/table_view.h"
#include "Platform/ui/window.h"

using namespace plat;
using plat::testing::Touches;
using plat::testing::VirtualClock;

namespace {

// Rows "Row n" in sections of given sizes; counts the cells it had to make.
class Source : public TableViewDataSource, public TableViewDelegate {
public:
    explicit Source(std::vector<std::int64_t> sections) : sizes(std::move(sections)) {}
    std::int64_t numberOfSectionsInTableView(TableView&) override { return static_cast<std::int64_t>(sizes.size()); }
    std::int64_t numberOfRowsInSection(TableView&, std::int64_t s) override { return sizes[static_cast<std::size_t>(s)]; }
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& table, const IndexPath& ip) override {
        auto cell = table.dequeueReusableCellWithIdentifier("row");
        if (!cell) {
            cell = TableViewCell::create(TableViewCellStyle::Default, "row");
            ++made;
        }
        cell->textLabel()->setText("Row " + std::to_string(ip.section) + "." + std::to_string(ip.row));
        return cell;
    }
    std::optional<double> heightForRowAtIndexPath(TableView&, const IndexPath& ip) override {
        if (tall && ip.row == *tall) return 100;
        return std::nullopt;
    }
    std::optional<IndexPath> willSelectRowAtIndexPath(TableView&, const IndexPath& ip) override {
        if (ip.row == refusedRow) return std::nullopt;
        return ip;
    }
    void didSelectRowAtIndexPath(TableView&, const IndexPath& ip) override { log.push_back("select " + std::to_string(ip.row)); }
    void didDeselectRowAtIndexPath(TableView&, const IndexPath& ip) override {
        log.push_back("deselect " + std::to_string(ip.row));
    }
    void willDisplayCell(TableView&, TableViewCell&, const IndexPath&) override { ++displayed; }

    std::vector<std::int64_t> sizes;
    std::optional<std::int64_t> tall;
    std::int64_t refusedRow = -1;
    int made = 0, displayed = 0;
    std::vector<std::string> log;
};

struct Fixture {
    VirtualClock clock;
    std::shared_ptr<Window> window = Window::create({0, 0, 320, 480});
    // Exactly five standard rows high.
    std::shared_ptr<TableView> table = TableView::create({0, 0, 320, 5 * TableView::DefaultRowHeight});
    std::shared_ptr<Source> source;
    explicit Fixture(std::vector<std::int64_t> sections = {100}) : source(std::make_shared<Source>(std::move(sections))) {
        window->addSubview(table);
        table->setDataSource(source);
        table->setDelegate(source);
        window->layoutPass();
    }
    std::vector<std::string> visibleTexts() const {
        std::vector<std::string> out;
        for (const auto& cell : table->visibleCells()) out.push_back(cell->textLabel()->text());
        return out;
    }
};

}  // namespace

TEST(TableView, ScrollingThroughAHundredRowsReusesAtMostOneScreenfulPlusOneCell) {
    Fixture f;
    EXPECT_EQ(f.visibleTexts(), (std::vector<std::string>{"Row 0.0", "Row 0.1", "Row 0.2", "Row 0.3", "Row 0.4"}));
    EXPECT_EQ(f.table->contentSize().height, 100 * TableView::DefaultRowHeight);

    // Flick after flick to the end, laying out after every frame as the screen would.
    for (int i = 0; i < 12; ++i) {
        Touches(f.window).drag({160, 200}, {160, 40}, 0.1, 8);
        f.clock.advance(3);
    }
    EXPECT_NEAR(f.table->contentOffset().y, 95 * TableView::DefaultRowHeight, 1e-9);
    EXPECT_EQ(f.visibleTexts().back(), "Row 0.99");
    EXPECT_LE(f.source->made, 6) << "five rows fit; a sixth shows while they are between rows";
    EXPECT_EQ(f.table->visibleCells().size() + f.table->reusableCellCount(), static_cast<std::size_t>(f.source->made));
    EXPECT_GT(f.source->displayed, 90);
}

TEST(TableView, RowsHaveTheirOwnHeightsAcrossSections) {
    Fixture f({2, 0, 3});
    f.source->tall = 1;
    f.table->reloadData();
    EXPECT_EQ(f.table->numberOfSections(), 3);
    EXPECT_EQ(f.table->numberOfRowsInSection(1), 0);
    EXPECT_EQ(f.table->numberOfRowsInSection(2), 3);
    EXPECT_EQ(f.table->numberOfRowsInSection(7), 0);
    EXPECT_EQ(f.table->rectForRowAtIndexPath({0, 1}), Rect(0, 44, 320, 100));
    EXPECT_EQ(f.table->rectForRowAtIndexPath({2, 0}), Rect(0, 144, 320, 44));
    EXPECT_EQ(f.table->rectForRowAtIndexPath({2, 1}), Rect(0, 188, 320, 100));
    EXPECT_EQ(f.table->rectForRowAtIndexPath({1, 0}), Rect()) << "no such row";
    EXPECT_EQ(f.table->indexPathForRowAtPoint({10, 150}), (IndexPath{2, 0}));
    EXPECT_EQ(f.table->indexPathForRowAtPoint({10, 1000}), std::nullopt);
    f.window->layoutPass();
    EXPECT_EQ(f.visibleTexts(), (std::vector<std::string>{"Row 0.0", "Row 0.1", "Row 2.0", "Row 2.1"}));
    EXPECT_EQ(f.table->contentSize().height, 44 * 3 + 100 * 2);
}

TEST(TableView, ATapSelectsARowUnlessTheDelegateRefusesIt) {
    Fixture f;
    Touches(f.window).tap({100, 44 * 2 + 10});
    EXPECT_EQ(f.table->indexPathForSelectedRow(), (IndexPath{0, 2}));
    EXPECT_TRUE(f.table->cellForRowAtIndexPath({0, 2})->isSelected());

    Touches(f.window).tap({100, 44 * 3 + 10});
    EXPECT_EQ(f.table->indexPathsForSelectedRows(), std::vector<IndexPath>{(IndexPath{0, 3})});
    EXPECT_FALSE(f.table->cellForRowAtIndexPath({0, 2})->isSelected());

    f.source->refusedRow = 4;
    Touches(f.window).tap({100, 44 * 4 + 10});
    EXPECT_EQ(f.table->indexPathForSelectedRow(), (IndexPath{0, 3}));
    EXPECT_EQ(f.source->log, (std::vector<std::string>{"select 2", "deselect 2", "select 3"}));

    // A drag is no tap.
    Touches(f.window).drag({100, 44 + 10}, {100, 44 + 100});
    f.clock.advance(2);
    EXPECT_EQ(f.source->log.size(), 3u);

    f.table->setAllowsMultipleSelection(true);
    Touches(f.window).tap({100, 10});
    Touches(f.window).tap({100, 44 * 3 + 10});
    EXPECT_EQ(f.table->indexPathsForSelectedRows(), std::vector<IndexPath>{(IndexPath{0, 0})}) << "a second tap deselects";
}

TEST(TableView, ATapOnMovingRowsOnlyStopsThem) {
    Fixture f;
    Touches(f.window).drag({160, 200}, {160, 40}, 0.1, 8);
    f.clock.advance(0.2);
    ASSERT_TRUE(f.table->isDecelerating());
    Touches(f.window).tap({100, 100});
    const double stopped = f.table->contentOffset().y;
    EXPECT_FALSE(f.table->isDecelerating());
    EXPECT_EQ(f.table->indexPathForSelectedRow(), std::nullopt);
    f.clock.advance(2);
    EXPECT_EQ(f.table->contentOffset().y, stopped);

    Touches(f.window).tap({100, 100});
    EXPECT_NE(f.table->indexPathForSelectedRow(), std::nullopt) << "at rest a tap selects again";
}

TEST(TableView, ProgrammaticSelectionScrollsByPositionAndReloadClearsIt) {
    Fixture f;
    f.table->selectRowAtIndexPath(IndexPath{0, 50}, false, TableViewScrollPosition::None);
    EXPECT_EQ(f.table->contentOffset().y, 0) << "None selects without scrolling";
    EXPECT_TRUE(f.source->log.empty()) << "the delegate hears only the user's selections";

    struct Case {
        TableViewScrollPosition position;
        double offset;
    };
    for (const Case c : {Case{TableViewScrollPosition::Top, 50 * 44},
                         {TableViewScrollPosition::Middle, 50 * 44 + 22 - 110},
                         {TableViewScrollPosition::Bottom, 51 * 44 - 220},
                         {TableViewScrollPosition::Top, 50 * 44}}) {
        f.table->scrollToRowAtIndexPath({0, 50}, c.position, false);
        EXPECT_EQ(f.table->contentOffset().y, c.offset) << static_cast<int>(c.position);
    }
    f.table->scrollToRowAtIndexPath({0, 99}, TableViewScrollPosition::Top, false);
    EXPECT_EQ(f.table->contentOffset().y, 95 * 44) << "never past the end";
    f.table->selectRowAtIndexPath(IndexPath{0, 10}, false, TableViewScrollPosition::Top);
    EXPECT_EQ(f.table->contentOffset().y, 10 * 44);
    f.window->layoutPass();
    EXPECT_TRUE(f.table->cellForRowAtIndexPath({0, 10})->isSelected());
    EXPECT_FALSE(f.table->cellForRowAtIndexPath({0, 11})->isSelected());

    f.table->selectRowAtIndexPath(IndexPath{0, 500}, false, TableViewScrollPosition::Top);
    EXPECT_EQ(f.table->indexPathForSelectedRow(), (IndexPath{0, 10})) << "a missing row is ignored";

    f.source->sizes = {3};
    f.table->reloadData();
    EXPECT_EQ(f.table->indexPathForSelectedRow(), std::nullopt);
    f.window->layoutPass();
    EXPECT_EQ(f.table->contentOffset().y, 10 * 44) << "the offset stays until someone scrolls";
    EXPECT_TRUE(f.table->visibleCells().empty());
    f.table->setContentOffset({0, 0});
    f.window->layoutPass();
    EXPECT_EQ(f.visibleTexts(), (std::vector<std::string>{"Row 0.0", "Row 0.1", "Row 0.2"}));
}

TEST(TableView, CellsDrawTheirSeparatorAndSelectedBackground) {
    Fixture f;
    f.table->selectRowAtIndexPath(IndexPath{0, 1}, false, TableViewScrollPosition::None);
    RecordingContext rec;
    f.window->display(rec);
    const DrawOp* selected = rec.findFill(TableViewCell::DefaultSelectedBackgroundColor);
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(selected->bounds(), Rect(0, 44, 320, 44));
    int separators = 0;
    for (const DrawOp* op : rec.fills()) {
        if (op->color != TableViewCell::DefaultSeparatorColor) continue;
        ++separators;
        EXPECT_EQ(op->bounds().minX(), TableViewCell::DefaultSeparatorInset.left);
        EXPECT_NEAR(op->bounds().height(), TableViewCell::SeparatorThickness, 1e-9);
    }
    EXPECT_EQ(separators, 5);
    ASSERT_NE(rec.findText("Row 0.3"), nullptr);

    f.table->setSeparatorStyle(TableViewCellSeparatorStyle::None);
    RecordingContext none;
    f.window->display(none);
    EXPECT_EQ(none.findFill(TableViewCell::DefaultSeparatorColor), nullptr);
}

TEST(TableViewCell, StylesLayOutTheirLabels) {
    auto subtitle = TableViewCell::create(TableViewCellStyle::Subtitle, "s");
    subtitle->setFrame({0, 0, 300, 60});
    subtitle->layoutIfNeeded();
    ASSERT_NE(subtitle->detailTextLabel(), nullptr);
    EXPECT_LT(subtitle->textLabel()->frame().maxY(), subtitle->detailTextLabel()->frame().minY());
    EXPECT_EQ(subtitle->textLabel()->frame().x(), 15);

    auto plain = TableViewCell::create();
    EXPECT_EQ(plain->detailTextLabel(), nullptr);
    EXPECT_EQ(plain->reuseIdentifier(), "");

    auto value = TableViewCell::create(TableViewCellStyle::Value1, "v");
    value->setFrame({0, 0, 300, 44});
    value->layoutIfNeeded();
    EXPECT_EQ(value->detailTextLabel()->textAlignment(), TextAlignment::Right);
    EXPECT_EQ(value->detailTextLabel()->frame().maxX(), 285);
}
