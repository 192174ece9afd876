#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Platform/graphics/image.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/testing/virtual_clock.h"
#include "Platform/ui/window.h"

using namespace plat;

namespace {

// Records its layout and drawing passes into a shared journal.
class JournalView : public View {
public:
    static std::shared_ptr<JournalView> create(std::string name, std::vector<std::string>& journal, const Rect& frame) {
        return initialized(std::shared_ptr<JournalView>(new JournalView(std::move(name), journal, frame)));
    }
    void layoutSubviews() override {
        _journal.push_back("layout " + _name);
        if (onLayout) onLayout();
    }
    void drawRect(Context& context, const Rect& rect) override {
        if (onDraw) onDraw();
        _journal.push_back("draw " + _name);
        sawCurrentContext = currentContext() == &context;
        drawnRect = rect;
        if (fill) {
            context.setAlpha(1);  // content that sets its own alpha must not undo the view's
            context.setFillColor(*fill);
            context.fillRect(rect);
        }
    }
    std::function<void()> onLayout;
    std::function<void()> onDraw;
    std::optional<Color> fill;
    bool sawCurrentContext = false;
    Rect drawnRect;

private:
    JournalView(std::string name, std::vector<std::string>& journal, const Rect& frame)
        : View(frame), _name(std::move(name)), _journal(journal) {}
    std::string _name;
    std::vector<std::string>& _journal;
};

std::vector<const Layer*> layersOf(const View& v) {
    std::vector<const Layer*> out;
    for (const auto& l : v.layer()->sublayers()) out.push_back(l.get());
    return out;
}

std::vector<const Layer*> subviewLayers(const View& v) {
    std::vector<const Layer*> out;
    for (const auto& s : v.subviews()) out.push_back(s->layer().get());
    return out;
}

}  // namespace

TEST(View, FrameBoundsAndCentreStayConsistent) {
    auto v = View::create({10, 20, 100, 50});
    EXPECT_EQ(v->bounds(), Rect(0, 0, 100, 50));
    EXPECT_EQ(v->center(), Point(60, 45));
    v->setBounds({5, 5, 40, 10});  // keeps the centre
    EXPECT_EQ(v->frame(), Rect(40, 40, 40, 10));
    v->setCenter({0, 0});
    EXPECT_EQ(v->frame(), Rect(-20, -5, 40, 10));
    EXPECT_EQ(v->bounds().origin, Point(5, 5));
}

TEST(View, SubviewOrderIsMirroredByTheLayerTree) {
    auto root = View::create({0, 0, 100, 100});
    auto a = View::create(), b = View::create(), c = View::create();
    root->addSubview(a);
    root->addSubview(b);
    root->insertSubview(c, 1);  // a c b
    auto extra = Layer::create();
    root->layer()->addSublayer(extra);  // a plain layer on top stays on top of the views
    EXPECT_EQ(subviewLayers(*root), (std::vector<const Layer*>{a->layer().get(), c->layer().get(), b->layer().get()}));
    root->bringSubviewToFront(a.get());  // c b a
    root->sendSubviewToBack(b.get());    // b c a
    EXPECT_EQ(subviewLayers(*root), (std::vector<const Layer*>{b->layer().get(), c->layer().get(), a->layer().get()}));
    auto layers = layersOf(*root);
    auto pos = [&](const Layer* l) { return std::find(layers.begin(), layers.end(), l) - layers.begin(); };
    EXPECT_LT(pos(b->layer().get()), pos(c->layer().get()));
    EXPECT_LT(pos(c->layer().get()), pos(a->layer().get()));

    c->removeFromSuperview();
    EXPECT_EQ(c->superview(), nullptr);
    EXPECT_EQ(c->layer()->superlayer(), nullptr);
    EXPECT_EQ(root->subviews().size(), 2u);

    // Moving a view into another parent takes it out of the first.
    auto other = View::create();
    other->addSubview(a);
    EXPECT_EQ(root->subviews().size(), 1u);
    EXPECT_EQ(a->superview(), other);

    // Cycles are refused.
    a->addSubview(other);
    EXPECT_EQ(other->superview(), nullptr);
    a->addSubview(a);
    EXPECT_TRUE(a->subviews().empty());
}

TEST(View, SuperviewIsWeakAndWindowIsFoundFromAnyDepth) {
    auto window = Window::create({0, 0, 200, 200});
    auto child = View::create();
    {
        auto parent = View::create();
        parent->addSubview(child);
        window->addSubview(parent);
        EXPECT_EQ(child->window(), window);
        parent->removeFromSuperview();
        EXPECT_EQ(child->window(), nullptr);
    }
    EXPECT_EQ(child->superview(), nullptr);  // the parent is gone
}

TEST(View, ConvertsPointsThroughFramesAndBoundsOrigins) {
    auto window = Window::create({0, 0, 320, 480});
    auto a = View::create({10, 20, 200, 200});
    auto b = View::create({30, 40, 100, 100});
    window->addSubview(a);
    a->addSubview(b);
    a->setBounds({5, 0, 200, 200});  // scrolled by 5: a's frame stays put, its content moves
    EXPECT_EQ(a->frame(), Rect(10, 20, 200, 200));
    EXPECT_EQ(b->convertPointToView({1, 2}, nullptr), Point(36, 62));
    EXPECT_EQ(b->convertPointFromView({36, 62}, nullptr), Point(1, 2));
    EXPECT_EQ(b->convertPointToView({0, 0}, a.get()), Point(30, 40));
    auto sibling = View::create({100, 100, 10, 10});
    window->addSubview(sibling);
    EXPECT_EQ(b->convertPointToView({0, 0}, sibling.get()), Point(-65, -40));
    EXPECT_EQ(b->convertPointToScreen({0, 0}), Point(35, 60));
}

TEST(View, HitTestingFindsTheTopmostInteractiveVisibleView) {
    auto window = Window::create({0, 0, 300, 300});
    auto back = View::create({0, 0, 200, 200});
    auto front = View::create({50, 50, 100, 100});
    auto inner = View::create({10, 10, 20, 20});
    window->addSubview(back);
    window->addSubview(front);
    front->addSubview(inner);

    EXPECT_EQ(window->hitTest({65, 65}, nullptr), inner);
    EXPECT_EQ(window->hitTest({100, 100}, nullptr), front);
    EXPECT_EQ(window->hitTest({10, 10}, nullptr), back);
    EXPECT_EQ(window->hitTest({250, 250}, nullptr), window);
    EXPECT_EQ(window->hitTest({-1, 0}, nullptr), nullptr);

    struct Case {
        const char* what;
        std::function<void()> set, undo;
    };
    const Case cases[] = {
        {"hidden", [&] { front->setHidden(true); }, [&] { front->setHidden(false); }},
        {"transparent", [&] { front->setAlpha(0.005); }, [&] { front->setAlpha(1); }},
        {"no interaction", [&] { front->setUserInteractionEnabled(false); }, [&] { front->setUserInteractionEnabled(true); }},
    };
    for (const auto& c : cases) {
        c.set();
        EXPECT_EQ(window->hitTest({65, 65}, nullptr), back) << c.what;
        c.undo();
    }
    // A subview outside its parent's bounds is not hit there (the parent is tested first).
    inner->setFrame({120, 0, 20, 20});
    EXPECT_EQ(window->hitTest({175, 55}, nullptr), back);
}

TEST(View, LayoutPassRunsParentsBeforeChildrenAndOnlyWhenNeeded) {
    plat::testing::VirtualClock clock;
    std::vector<std::string> journal;
    auto window = Window::create({0, 0, 200, 200});
    auto parent = JournalView::create("parent", journal, {0, 0, 100, 100});
    auto child = JournalView::create("child", journal, {0, 0, 50, 50});
    window->addSubview(parent);
    parent->addSubview(child);
    // The parent sizes its child in its layout: the child then lays out in the same pass.
    parent->onLayout = [&] { child->setFrame({0, 0, 60, 60}); };

    RunLoop::main().runUntilIdle();  // the after-turn layout pass
    EXPECT_EQ(journal, (std::vector<std::string>{"layout parent", "layout child"}));

    journal.clear();
    RunLoop::main().runUntilIdle();
    EXPECT_TRUE(journal.empty());

    child->setFrame({0, 0, 60, 60});     // same size: nothing to do
    parent->setFrame({5, 5, 100, 100});  // moved only: nothing to do
    window->layoutPass();
    EXPECT_TRUE(journal.empty());

    child->setFrame({0, 0, 10, 10});
    window->layoutPass();
    EXPECT_EQ(journal, (std::vector<std::string>{"layout child"}));
}

TEST(View, DisplayDrawsTheTreeInWindowCoordinatesWithBackgroundsFirst) {
    plat::testing::VirtualClock clock;
    std::vector<std::string> journal;
    auto window = Window::create({0, 0, 200, 200});
    auto parent = JournalView::create("parent", journal, {10, 10, 100, 100});
    auto child = JournalView::create("child", journal, {20, 30, 40, 40});
    auto hidden = JournalView::create("hidden", journal, {0, 0, 10, 10});
    window->addSubview(parent);
    parent->addSubview(child);
    parent->addSubview(hidden);
    hidden->setHidden(true);
    parent->setBackgroundColor(Color::red());
    child->fill = Color::blue();

    RecordingContext rec;
    window->display(rec);
    EXPECT_EQ(journal, (std::vector<std::string>{"layout parent", "layout child", "layout hidden", "draw parent", "draw child"}));
    EXPECT_TRUE(child->sawCurrentContext);
    EXPECT_EQ(child->drawnRect, Rect(0, 0, 40, 40));
    ASSERT_EQ(rec.fills().size(), 2u);
    EXPECT_EQ(rec.fills()[0]->color, Color::red());
    EXPECT_EQ(rec.fills()[0]->bounds(), Rect(10, 10, 100, 100));
    EXPECT_EQ(rec.fills()[1]->color, Color::blue());
    EXPECT_EQ(rec.fills()[1]->bounds(), Rect(30, 40, 40, 40));
    EXPECT_FALSE(parent->needsDisplay());
    EXPECT_EQ(rec.saveDepth(), 0u);
}

TEST(View, AViewThatRemovesItselfWhileDrawingFinishesItsDraw) {
    std::vector<std::string> journal;
    auto window = Window::create({0, 0, 100, 100});
    std::weak_ptr<JournalView> weak;
    {
        auto view = JournalView::create("leaving", journal, {10, 10, 20, 20});
        view->fill = Color::red();
        view->onDraw = [raw = view.get()] { raw->removeFromSuperview(); };
        window->addSubview(view);
        weak = view;
    }
    RecordingContext rec;
    window->display(rec);
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "draw leaving"), 1);
    EXPECT_TRUE(rec.findFill(Color::red()));
    EXPECT_TRUE(window->subviews().empty());
    EXPECT_TRUE(weak.expired()) << "let go of once its draw is over";
}

TEST(View, AlphaAndRoundedClippingApplyToEverythingTheViewDraws) {
    plat::testing::VirtualClock clock;
    std::vector<std::string> journal;
    auto window = Window::create({0, 0, 200, 200});
    auto parent = JournalView::create("parent", journal, {0, 0, 100, 100});
    auto child = JournalView::create("child", journal, {0, 0, 40, 40});
    window->addSubview(parent);
    parent->addSubview(child);
    child->fill = Color::green();
    parent->setAlpha(0.5);
    child->setAlpha(0.5);
    parent->setClipsToBounds(true);
    parent->layer()->setCornerRadius(10);

    RecordingContext rec;
    window->display(rec);
    const auto* fill = rec.findFill(Color::green());
    ASSERT_NE(fill, nullptr);
    EXPECT_EQ(fill->visibleAlpha(), 0.25) << "group alphas multiply, even though the content set its own alpha";
    ASSERT_TRUE(fill->clip);
    EXPECT_EQ(*fill->clip, Rect(0, 0, 40, 40)) << "its own bounds within the parent's rounded clip";

    parent->setAlpha(0);  // fully transparent views are not drawn at all
    journal.clear();
    rec.clear();
    window->display(rec);
    EXPECT_TRUE(rec.ops().empty());
    EXPECT_TRUE(journal.empty());
}

TEST(View, TintIsInheritedAndChangesReachDescendantsWithoutTheirOwn) {
    auto parent = View::create(), child = View::create(), own = View::create();
    parent->addSubview(child);
    parent->addSubview(own);
    own->setTintColor(Color::green());
    EXPECT_EQ(child->tintColor(), View::SystemTintColor);
    parent->setTintColor(Color::red());
    EXPECT_EQ(child->tintColor(), Color::red());
    EXPECT_EQ(own->tintColor(), Color::green());
    child->setTintColor(std::nullopt);
    EXPECT_EQ(child->tintColor(), Color::red());
}

TEST(Window, RendersThePresentationToAPngImageAtTheScreenScale) {
    plat::testing::VirtualClock clock;
    auto window = Window::create({0, 0, 20, 10});
    auto v = View::create({10, 0, 10, 10});
    v->setBackgroundColor(Color::blue());
    window->setBackgroundColor(Color::white());
    window->addSubview(v);
    auto image = window->renderImage();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixelWidth(), 40);  // scale 2 by default
    EXPECT_EQ(image->pixel(5, 5), Color::white());
    EXPECT_EQ(image->pixel(30, 15), Color::blue());
    auto decoded = Image::decodePNG(image->encodePNG());
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->pixel(30, 15), Color::blue());
}

TEST(Screen, DefaultsAndRefusedValues) {
    Screen& s = Screen::main();
    s.reset();
    EXPECT_EQ(s.bounds(), Rect(0, 0, 320, 568));
    EXPECT_EQ(s.scale(), 2);
    EXPECT_EQ(s.statusBarFrame().height(), 20);
    s.setScale(0);
    s.setScale(NAN);
    s.setBounds({0, 0, -1, 10});
    EXPECT_EQ(s.scale(), 2);
    EXPECT_EQ(s.bounds(), Rect(0, 0, 320, 568));
    s.setBounds({0, 0, 768, 1024});
    EXPECT_EQ(s.bounds().width(), 768);
    s.reset();
}

namespace {

TEST(View, IsOpaqueUntilToldOtherwise) {
    auto view = View::create({0, 0, 10, 10});
    EXPECT_TRUE(view->isOpaque());
    view->setOpaque(false);
    EXPECT_FALSE(view->isOpaque());
}

// Only the redraw mode asks for a display pass on a change of size; a move alone never does.
TEST(View, RedrawContentModeAsksForDisplayWhenTheSizeChanges) {
    struct Case {
        ViewContentMode mode;
        Rect newFrame;
        bool redraws;
    };
    const Case cases[] = {
        {ViewContentMode::Redraw, {0, 0, 30, 10}, true},
        {ViewContentMode::Redraw, {5, 5, 20, 10}, false},
        {ViewContentMode::ScaleToFill, {0, 0, 30, 10}, false},
    };
    for (const Case& c : cases) {
        auto window = Window::create({0, 0, 100, 100});
        auto view = View::create({0, 0, 20, 10});
        window->addSubview(view);
        EXPECT_EQ(view->contentMode(), ViewContentMode::ScaleToFill);
        view->setContentMode(c.mode);
        RecordingContext rec;
        window->display(rec);
        ASSERT_FALSE(view->needsDisplay());
        view->setFrame(c.newFrame);
        EXPECT_EQ(view->needsDisplay(), c.redraws) << static_cast<int>(c.mode);
        view->setFrame({0, 0, 20, 10});
        window->display(rec);
        view->setBounds({0, 0, 40, 40});
        EXPECT_EQ(view->needsDisplay(), c.mode == ViewContentMode::Redraw) << "bounds";
    }
}

}  // namespace
