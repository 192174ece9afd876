#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "Platform/graphics/recording_context.h"
#include "Platform/testing/geometry_matchers.h"
#include "Platform/testing/log_capture.h"
#include "Platform/testing/touches.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/picker_view.h"
#include "Platform/ui/window.h"

using namespace plat;
using plat::testing::LogCapture;
using plat::testing::RectNear;
using plat::testing::Touches;
using plat::testing::VirtualClock;

namespace {

// Columns of titles; remembers what the user picked.
class Columns : public PickerViewDataSource, public PickerViewDelegate {
public:
    std::vector<std::vector<std::string>> titles;
    std::vector<std::pair<std::int64_t, std::int64_t>> picked;  // (row, component)

    std::int64_t numberOfComponentsInPickerView(PickerView&) override { return static_cast<std::int64_t>(titles.size()); }
    std::int64_t numberOfRowsInComponent(PickerView&, std::int64_t c) override {
        return static_cast<std::int64_t>(titles[static_cast<std::size_t>(c)].size());
    }
    std::optional<std::string> titleForRow(PickerView&, std::int64_t row, std::int64_t c) override {
        return titles[static_cast<std::size_t>(c)][static_cast<std::size_t>(row)];
    }
    void didSelectRow(PickerView&, std::int64_t row, std::int64_t c) override { picked.emplace_back(row, c); }
};

std::vector<std::string> numbered(const std::string& prefix, int n) {
    std::vector<std::string> out;
    for (int i = 0; i < n; ++i) out.push_back(prefix + " " + std::to_string(i));
    return out;
}

struct Fixture {
    VirtualClock clock;
    std::shared_ptr<Window> window = Window::create({0, 0, 320, 568});
    std::shared_ptr<PickerView> picker = PickerView::create({0, 300, 320, PickerView::DefaultHeight});
    std::shared_ptr<Columns> columns = std::make_shared<Columns>();
    Fixture() {
        // Ten rows (more than the 6.75 in sight) beside three.
        columns->titles = {numbered("Fruit", 10), numbered("Size", 3)};
        picker->setDataSource(columns);
        picker->setDelegate(columns);
        window->addSubview(picker);
    }
    // The middle of a row as it shows now, in window coordinates.
    Point rowCentre(std::int64_t row, std::int64_t component) const {
        return picker->convertRectToView(picker->rectForRow(row, component), nullptr).center();
    }
};

using Picks = std::vector<std::pair<std::int64_t, std::int64_t>>;

}  // namespace

TEST(PickerView, ATapPicksTheRowUnderTheFingerAndTellsTheDelegate) {
    Fixture f;
    EXPECT_EQ(f.picker->selectedRow(0), -1);
    Touches(f.window).tap(f.rowCentre(2, 0));
    Touches(f.window).tap(f.rowCentre(1, 1));
    // Below the last row of a short component there is nothing to pick.
    Touches(f.window).tap({240, 300 + 5 * PickerView::RowHeight});
    EXPECT_EQ(f.columns->picked, (Picks{{2, 0}, {1, 1}}));
    EXPECT_EQ(f.picker->selectedRow(0), 2);
    EXPECT_EQ(f.picker->selectedRow(1), 1);
    EXPECT_EQ(f.picker->selectedRow(2), -1);
}

TEST(PickerView, SelectRowRefusesWhatDoesNotExistAndTellsNoDelegate) {
    Fixture f;
    f.picker->selectRow(3, 0, true);
    struct Case {
        std::int64_t row, component;
    };
    const Case refused[] = {{-1, 0}, {10, 0}, {3, 1}, {0, 2}, {0, -1}};
    for (const Case& c : refused) {
        SCOPED_TRACE(std::to_string(c.row) + " in " + std::to_string(c.component));
        LogCapture log;
        f.picker->selectRow(c.row, c.component, false);
        EXPECT_EQ(f.picker->selectedRow(0), 3);
        EXPECT_EQ(f.picker->selectedRow(1), -1);
        EXPECT_THAT(log.lines(), ::testing::ElementsAre(::testing::HasSubstr("does not exist")));
    }
    // A row far down the list is scrolled into sight.
    f.picker->selectRow(9, 0, false);
    EXPECT_EQ(f.picker->selectedRow(0), 9);
    EXPECT_TRUE(f.picker->bounds().contains(f.picker->rectForRow(9, 0).center()));
    EXPECT_TRUE(f.columns->picked.empty());

    // A row selected before the picker has its size (as an input view gets it) is centred once it has.
    auto unsized = PickerView::create();
    unsized->setDataSource(f.columns);
    unsized->selectRow(4, 0, false);
    unsized->setFrame({0, 0, 320, PickerView::DefaultHeight});
    EXPECT_NEAR(unsized->rectForRow(4, 0).center().y, PickerView::DefaultHeight / 2, 1e-9);
}

TEST(PickerView, DrawsTheRowsInSightWithTheSelectedOneMarked) {
    Fixture f;
    f.picker->setTintColor(Color(0, 0.5, 0, 1));
    f.picker->selectRow(1, 0, false);
    RecordingContext rec;
    f.window->display(rec);

    const DrawOp* mark = rec.findFill(PickerView::SelectedRowColor);
    ASSERT_NE(mark, nullptr);
    EXPECT_THAT(mark->bounds(), RectNear({0, 300 + PickerView::RowHeight, 160, PickerView::RowHeight}));
    ASSERT_NE(rec.findText("Fruit 1"), nullptr);
    EXPECT_EQ(rec.findText("Fruit 1")->color, Color(0, 0.5, 0, 1));
    ASSERT_NE(rec.findText("Fruit 0"), nullptr);
    EXPECT_EQ(rec.findText("Fruit 0")->color, Color::black());
    // Each title sits in its own row of its own component.
    EXPECT_TRUE(f.picker->convertRectToView(f.picker->rectForRow(2, 1), nullptr).contains(rec.findText("Size 2")->bounds().center()));
    // Rows out of sight are neither asked for nor drawn.
    EXPECT_EQ(rec.findText("Fruit 7"), nullptr);
    ASSERT_NE(rec.findStroke(PickerView::SeparatorColor), nullptr);
    EXPECT_THAT(rec.findStroke(PickerView::SeparatorColor)->bounds(), RectNear({160, 300, 0, PickerView::DefaultHeight}, 1));
}

TEST(PickerView, ADragScrollsAComponentWithinItsRowsAndPicksNothing) {
    Fixture f;
    const double lastOffset = 10 * PickerView::RowHeight - PickerView::DefaultHeight;
    Touches(f.window).drag({80, 480}, {80, 440});
    EXPECT_NEAR(f.picker->rectForRow(0, 0).y(), -40, 1e-9);
    Touches(f.window).drag({80, 500}, {80, 310});
    EXPECT_NEAR(f.picker->rectForRow(0, 0).y(), -lastOffset, 1e-9);
    // The short component does not move.
    Touches(f.window).drag({240, 500}, {240, 310});
    EXPECT_NEAR(f.picker->rectForRow(0, 1).y(), 0, 1e-9);
    EXPECT_TRUE(f.columns->picked.empty());
    // A tap after the scroll picks the row that shows under the finger: 104 + 5 points down the list.
    Touches(f.window).tap({80, 300 + 5});
    EXPECT_EQ(f.columns->picked, (Picks{{3, 0}}));
}

TEST(PickerView, ReloadingDropsASelectionPastTheLastRowAndDeselectingClearsIt) {
    Fixture f;
    f.picker->selectRow(8, 0, false);
    f.picker->selectRow(2, 1, false);
    f.columns->titles = {numbered("Fruit", 4), numbered("Size", 3)};
    f.picker->reloadAllComponents();
    EXPECT_EQ(f.picker->selectedRow(0), -1);
    EXPECT_EQ(f.picker->selectedRow(1), 2);
    EXPECT_NEAR(f.picker->rectForRow(0, 0).y(), 0, 1e-9);
    f.picker->deselectRow(1);
    EXPECT_EQ(f.picker->selectedRow(1), -1);
}
