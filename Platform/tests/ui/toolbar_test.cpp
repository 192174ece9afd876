#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Platform/graphics/recording_context.h"
#include "Platform/testing/geometry_matchers.h"
#include "Platform/testing/touches.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/toolbar.h"
#include "Platform/ui/window.h"

using namespace plat;
using plat::testing::RectNear;
using plat::testing::Touches;
using plat::testing::VirtualClock;

namespace {

using Items = std::vector<std::shared_ptr<BarButtonItem>>;

std::shared_ptr<BarButtonItem> flexible() { return BarButtonItem::create(BarButtonSystemItem::FlexibleSpace); }

std::shared_ptr<BarButtonItem> fixed(double width) {
    auto space = BarButtonItem::create(BarButtonSystemItem::FixedSpace);
    space->setWidth(width);
    return space;
}

struct Fixture {
    VirtualClock clock;
    std::shared_ptr<Window> window = Window::create({0, 0, 320, 568});
    std::shared_ptr<Toolbar> bar = Toolbar::create({0, 100, 320, Toolbar::DefaultHeight});
    std::vector<std::string> sent;
    // What the actions are sent to; the items hold it weakly.
    std::shared_ptr<int> target = std::make_shared<int>(0);
    Fixture() { window->addSubview(bar); }
    std::shared_ptr<BarButtonItem> item(BarButtonSystemItem kind) {
        return BarButtonItem::create(kind, target, [this](BarButtonItem& sender) { sent.push_back(sender.title()); });
    }
    Point centreOf(std::size_t index) const { return bar->convertRectToView(bar->itemFrames().at(index), nullptr).center(); }
};

}  // namespace

TEST(Toolbar, FlexibleSpacesShareTheWidthTheOtherItemsLeave) {
    Fixture f;
    const double right = 320 - Toolbar::EdgeMargin;
    struct Case {
        const char* name;
        Items items;
        std::vector<double> flexibleWidths;  // of the flexible spaces, in order
    };
    auto done = f.item(BarButtonSystemItem::Done), cancel = f.item(BarButtonSystemItem::Cancel);
    const double doneWidth = [&] {
        f.bar->setItems({done});
        return f.bar->itemFrames()[0].width();
    }();
    const double cancelWidth = [&] {
        f.bar->setItems({cancel});
        return f.bar->itemFrames()[0].width();
    }();
    const Case cases[] = {
        {"spacer and Done", {flexible(), done}, {right - Toolbar::EdgeMargin - doneWidth}},
        {"Cancel, spacer, Done", {cancel, flexible(), done}, {right - Toolbar::EdgeMargin - doneWidth - cancelWidth}},
        {"two spacers share", {fixed(20), flexible(), done, flexible()}, {(304 - 20 - doneWidth) / 2, (304 - 20 - doneWidth) / 2}},
        {"no room left", {fixed(400), flexible(), done}, {0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        f.bar->setItems(c.items);
        const std::vector<Rect> frames = f.bar->itemFrames();
        ASSERT_EQ(frames.size(), c.items.size());
        EXPECT_NEAR(frames.front().x(), Toolbar::EdgeMargin, 1e-9);
        std::size_t flex = 0;
        for (std::size_t i = 0; i < frames.size(); ++i) {
            EXPECT_NEAR(frames[i].height(), Toolbar::DefaultHeight, 1e-9);
            if (i > 0) {
                EXPECT_NEAR(frames[i].x(), frames[i - 1].maxX(), 1e-9);  // side by side
            }
            if (c.items[i]->systemItem() == BarButtonSystemItem::FlexibleSpace) {
                EXPECT_NEAR(frames[i].width(), c.flexibleWidths.at(flex++), 1e-9);
            }
        }
    }
    // With the spacer's room, the last item ends at the margin.
    f.bar->setItems({flexible(), done});
    EXPECT_NEAR(f.bar->itemFrames()[1].maxX(), right, 1e-9);
    EXPECT_GT(doneWidth, 2 * Toolbar::ItemPadding);
}

TEST(Toolbar, ATapOnAnItemSendsItsActionToItsTarget) {
    Fixture f;
    auto cancel = f.item(BarButtonSystemItem::Cancel), done = f.item(BarButtonSystemItem::Done);
    f.bar->setItems({cancel, flexible(), done});
    Touches(f.window).tap(f.centreOf(2));
    Touches(f.window).tap(f.centreOf(1));  // the spacer does nothing
    Touches(f.window).tap(f.centreOf(0));
    EXPECT_EQ(f.sent, (std::vector<std::string>{"Done", "Cancel"}));

    // A finger that slides off the item before lifting sends nothing.
    Touches(f.window).drag(f.centreOf(2), f.centreOf(1));
    cancel->setEnabled(false);
    Touches(f.window).tap(f.centreOf(0));
    // Once its target is gone, an item sends nothing.
    f.target.reset();
    Touches(f.window).tap(f.centreOf(2));
    EXPECT_EQ(f.sent, (std::vector<std::string>{"Done", "Cancel"}));
    EXPECT_FALSE(done->sendAction());
    // An item made with no target always sends.
    int untargeted = 0;
    done->setTarget({});
    done->setAction([&](BarButtonItem&) { ++untargeted; });
    Touches(f.window).tap(f.centreOf(2));
    EXPECT_EQ(untargeted, 1);
}

TEST(Toolbar, DrawsTheBarWithItsHairlineAndTitlesInTheTint) {
    Fixture f;
    f.bar->setTintColor(Color(0.8, 0.1, 0.1, 1));
    auto cancel = f.item(BarButtonSystemItem::Cancel), done = f.item(BarButtonSystemItem::Done);
    cancel->setEnabled(false);
    f.bar->setItems({cancel, flexible(), done});
    RecordingContext rec;
    f.window->display(rec);

    ASSERT_NE(rec.findFill(Toolbar::BarColor), nullptr);
    EXPECT_THAT(rec.findFill(Toolbar::BarColor)->bounds(), RectNear({0, 100, 320, 44}));
    ASSERT_NE(rec.findStroke(Toolbar::BorderColor), nullptr);
    EXPECT_NEAR(rec.findStroke(Toolbar::BorderColor)->bounds().y(), 100.5, 1e-9);
    const DrawOp* doneText = rec.findText("Done");
    ASSERT_NE(doneText, nullptr);
    EXPECT_EQ(doneText->color, Color(0.8, 0.1, 0.1, 1));
    EXPECT_EQ(doneText->text.attributes.font.weight, FontWeight::Bold);
    EXPECT_TRUE(f.bar->convertRectToView(f.bar->itemFrames()[2], nullptr).contains(doneText->bounds().center()));
    ASSERT_NE(rec.findText("Cancel"), nullptr);
    EXPECT_EQ(rec.findText("Cancel")->color, Toolbar::DisabledTitleColor);
    EXPECT_EQ(rec.findText("Cancel")->text.attributes.font.weight, FontWeight::Regular);
}
