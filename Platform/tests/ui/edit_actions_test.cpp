#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "Platform/graphics/recording_context.h"
#include "Platform/testing/log_capture.h"
#include "Platform/testing/touches.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/button.h"
#include "Platform/ui/menu_controller.h"
#include "Platform/ui/window.h"

using namespace plat;

namespace {

// A view that performs a given set of edit actions and records what it was sent.
class Editor : public View {
public:
    static std::shared_ptr<Editor> create(const Rect& frame, std::set<EditAction> can) {
        auto e = initialized(std::shared_ptr<Editor>(new Editor(frame)));
        e->can = std::move(can);
        return e;
    }
    bool canBecomeFirstResponder() const override { return true; }
    bool canPerformAction(EditAction action, const std::shared_ptr<Object>&) const override { return can.contains(action); }
    void cut(const std::shared_ptr<Object>& s) override { record("cut", s); }
    void copy(const std::shared_ptr<Object>& s) override { record("copy", s); }
    void paste(const std::shared_ptr<Object>& s) override { record("paste", s); }
    void select(const std::shared_ptr<Object>& s) override { record("select", s); }
    void selectAll(const std::shared_ptr<Object>& s) override { record("selectAll", s); }

    std::set<EditAction> can;
    std::vector<std::string> sent;
    std::shared_ptr<Object> lastSender;

private:
    explicit Editor(const Rect& frame) : View(frame) {}
    void record(const char* what, const std::shared_ptr<Object>& sender) {
        sent.emplace_back(what);
        lastSender = sender;
    }
};

TEST(EditActions, GoToTheFirstResponderAlongTheChainThatCanPerformThem) {
    auto window = Window::create({0, 0, 320, 568});
    auto outer = Editor::create({0, 0, 320, 300}, {EditAction::Copy, EditAction::SelectAll, EditAction::Paste});
    auto inner = Editor::create({0, 0, 100, 100}, {EditAction::Cut, EditAction::Copy});
    window->addSubview(outer);
    outer->addSubview(inner);
    auto sender = std::make_shared<Object>();

    struct Case {
        EditAction action;
        std::shared_ptr<Responder> from, target;
        const char* sent;
    };
    const Case cases[] = {
        {EditAction::Copy, inner, inner, "copy"},         // both can: the nearer one
        {EditAction::Cut, inner, inner, "cut"},
        {EditAction::SelectAll, inner, outer, "selectAll"},  // passed up
        {EditAction::Paste, inner, outer, "paste"},
        {EditAction::Select, inner, nullptr, nullptr},    // nobody
        {EditAction::Cut, outer, nullptr, nullptr},       // never down the chain
    };
    for (const auto& c : cases) {
        inner->sent.clear(), outer->sent.clear();
        EXPECT_EQ(c.from->targetForAction(c.action, sender), c.target) << editActionTitle(c.action);
        EXPECT_EQ(c.from->sendEditAction(c.action, sender), c.target != nullptr) << editActionTitle(c.action);
        for (const auto& e : {inner, outer}) {
            const bool expected = e == c.target;
            EXPECT_EQ(e->sent, expected ? std::vector<std::string>{c.sent} : std::vector<std::string>{}) << editActionTitle(c.action);
            if (expected) {
                EXPECT_EQ(e->lastSender, sender);
            }
        }
    }

    plat::testing::LogCapture log;
    EXPECT_EQ(inner->targetForAction(static_cast<EditAction>(9), nullptr), nullptr);
    EXPECT_EQ(log.lines().size(), 1u);
    EXPECT_FALSE(View::create()->sendEditAction(EditAction::Copy, nullptr)) << "a plain view performs nothing";
}

class EditMenu : public ::testing::Test {
protected:
    void TearDown() override { menu.setMenuVisible(false, false); }

    // The titles drawn on the window, left to right, and whether each is white.
    std::vector<std::string> drawnTitles() {
        RecordingContext rec;
        window->display(rec);
        std::vector<const DrawOp*> texts = rec.texts();
        std::sort(texts.begin(), texts.end(), [](auto* a, auto* b) { return a->origin.x < b->origin.x; });
        std::vector<std::string> out;
        for (auto* t : texts) {
            EXPECT_EQ(t->color, Color(1, 1, 1)) << t->text.text;
            out.push_back(t->text.text);
        }
        return out;
    }

    plat::testing::VirtualClock clock;
    MenuController& menu = MenuController::shared();
    std::shared_ptr<Window> window = Window::create({0, 0, 320, 568});
    std::shared_ptr<Editor> editor = Editor::create({0, 100, 320, 400}, {EditAction::SelectAll, EditAction::Paste, EditAction::Copy});
};

TEST_F(EditMenu, ShowsWhatTheChainCanPerformInOrderAboveItsTargetAndATapSendsOne) {
    window->addSubview(editor);
    menu.setTargetRect({100, 50, 40, 20}, editor);
    menu.setMenuVisible(true, true);
    ASSERT_TRUE(menu.isMenuVisible());
    EXPECT_EQ(menu.menuItems(), (std::vector<EditAction>{EditAction::Copy, EditAction::Paste, EditAction::SelectAll}));
    auto bar = menu.menuView();
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->superview(), window);
    const Rect f = bar->frame();
    EXPECT_DOUBLE_EQ(f.midX(), 120) << "centred over the target";
    EXPECT_DOUBLE_EQ(f.maxY(), 150 - MenuController::TargetGap);
    EXPECT_DOUBLE_EQ(f.height(), MenuController::BarHeight);
    EXPECT_EQ(drawnTitles(), (std::vector<std::string>{"Copy", "Paste", "Select All"}));

    auto paste = std::dynamic_pointer_cast<Button>(bar->subviews()[1]);
    ASSERT_TRUE(paste);
    plat::testing::Touches(window).tap(paste->convertPointToView(paste->bounds().center(), window.get()));
    EXPECT_EQ(editor->sent, std::vector<std::string>{"paste"});
    EXPECT_FALSE(menu.isMenuVisible());
    EXPECT_EQ(menu.menuView(), nullptr);
    EXPECT_EQ(bar->superview(), nullptr);
    EXPECT_TRUE(menu.menuItems().empty());
    EXPECT_TRUE(drawnTitles().empty());
    EXPECT_FALSE(menu.performItem(EditAction::Copy)) << "not on a hidden menu";
}

TEST_F(EditMenu, AsksTheFirstResponderGoesBelowWithoutRoomAboveAndStaysInTheWindow) {
    window->addSubview(editor);
    auto field = Editor::create({0, 0, 50, 50}, {EditAction::Cut, EditAction::Select});
    editor->addSubview(field);
    ASSERT_TRUE(field->becomeFirstResponder());
    menu.setTargetRect({300, -90, 20, 10}, editor);  // window y 10, at the right edge
    menu.setMenuVisible(true, false);
    EXPECT_EQ(menu.menuItems(), (std::vector<EditAction>{EditAction::Cut, EditAction::Copy, EditAction::Paste, EditAction::Select,
                                                         EditAction::SelectAll}))
        << "the first responder's chain: its own and the editor's";
    const Rect f = menu.menuView()->frame();
    EXPECT_DOUBLE_EQ(f.y(), 20 + MenuController::TargetGap);
    EXPECT_LE(f.maxX(), 320 - MenuController::EdgeMargin);
    EXPECT_GE(f.x(), MenuController::EdgeMargin);
    EXPECT_TRUE(menu.performItem(EditAction::Select));
    EXPECT_EQ(field->sent, std::vector<std::string>{"select"});
    EXPECT_FALSE(menu.isMenuVisible());
}

TEST_F(EditMenu, PutsNoBarUpWhenNothingCanBePerformedOrTheViewIsInNoWindow) {
    auto idle = Editor::create({0, 100, 320, 100}, {});
    window->addSubview(idle);
    menu.setTargetRect({10, 10, 10, 10}, idle);
    menu.setMenuVisible(true, false);
    EXPECT_TRUE(menu.isMenuVisible());
    EXPECT_TRUE(menu.menuItems().empty());
    EXPECT_EQ(menu.menuView(), nullptr);
    idle->can = {EditAction::Copy};
    menu.update();
    EXPECT_EQ(menu.menuItems(), std::vector<EditAction>{EditAction::Copy});
    EXPECT_NE(menu.menuView(), nullptr);

    menu.setTargetRect({10, 10, 10, 10}, editor);  // not in a window
    EXPECT_TRUE(menu.isMenuVisible());
    EXPECT_EQ(menu.menuView(), nullptr);
}

}  // namespace
