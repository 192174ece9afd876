// How long the native-control factory and its views live: it works from its creation, leaves the grid
// clean when it goes, goes with the grid, and survives application code that empties its cache from a
// view's own callbacks.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>

#include "KivoCore/KivoEvent.h"
#include "Platform/testing/log_capture.h"
#include "cell_factory_fixture.h"

namespace grid_test {
namespace {

using Scene = CellFactoryScene;

// The grid's own parts (the detail provider) listen to the same events: only the count tells.
std::size_t handlerCount(const std::shared_ptr<KivoEvent>& event) {
    const auto handlers = event->handlers();
    return handlers ? handlers->size() : 0;
}

TEST_F(Scene, TheFactoryWorksUninstalledAndTakesEverythingOfItsOwnOffTheGridWhenItGoes) {
    // Another factory draws the cells: this one still places its views.
    grid->setCellFactory(std::make_shared<GridCellFactory>());
    grid->invalidate();
    draw();
    ASSERT_EQ(shownViews().size(), static_cast<std::size_t>(Rows * Columns));
    const auto clipViews = clips();
    const std::size_t before = grid->subviews().size();

    const std::array events{grid->ombriGridInvalidated(), grid->ombriGridRendering(), grid->ombriGridProcessItemOverlay()};
    std::array<std::size_t, 3> handlersBefore{};
    for (std::size_t i = 0; i < events.size(); ++i) handlersBefore[i] = handlerCount(events[i]);
    std::weak_ptr<NativeControlGridCellFactory> weak = factory;
    factory.reset();
    ASSERT_TRUE(weak.expired());
    EXPECT_EQ(grid->subviews().size(), before - 4);
    for (const auto& clip : clipViews) EXPECT_FALSE(clip->superview());
    for (const auto& view : made) EXPECT_FALSE(view->superview());
    for (std::size_t i = 0; i < events.size(); ++i) EXPECT_EQ(handlerCount(events[i]), handlersBefore[i] - 1) << i;

    asks.clear();
    grid->invalidate();
    draw();
    EXPECT_EQ(totalAsks(), 0);
}

TEST_F(Scene, AGridReleasedWithItsFactoryFreesBothAndTheViews) {
    std::weak_ptr<OmbriGrid> weakGrid = grid;
    std::weak_ptr<NativeControlGridCellFactory> weakFactory = factory;
    std::vector<std::weak_ptr<plat::View>> views(made.begin(), made.end());
    std::vector<std::weak_ptr<plat::View>> weakClips;
    for (const auto& clip : clips()) weakClips.push_back(clip);
    ASSERT_FALSE(views.empty());

    grid->removeFromSuperview();
    grid.reset();
    factory.reset();
    made.clear();
    EXPECT_TRUE(weakGrid.expired());
    EXPECT_TRUE(weakFactory.expired());
    for (const auto& view : views) EXPECT_TRUE(view.expired());
    for (const auto& clip : weakClips) EXPECT_TRUE(clip.expired());
}

// A view whose leaving its superview runs application code that empties the factory's cache.
class Meddler : public plat::View {
public:
    static std::shared_ptr<Meddler> create() { return initialized(std::shared_ptr<Meddler>(new Meddler())); }
    std::function<void()> onLeave;

protected:
    Meddler() : plat::View({}) {}
    void didMoveToSuperview() override {
        if (!superview() && onLeave) onLeave();
    }
};

TEST_F(Scene, AViewThatEmptiesTheCacheWhileTakenDownLeavesThePassWhole) {
    factory->createViewForCell()->removeAllHandlers();
    auto meddled = std::make_shared<int>(0);
    std::vector<std::shared_ptr<Meddler>> meddlers;
    const std::weak_ptr<OmbriGrid> weakGrid = grid;
    factory->createViewForCell()->addHandler(
        [&meddlers, meddled, weakGrid](const std::shared_ptr<KivoEventContainer>& c) {
            auto view = Meddler::create();
            view->onLeave = [meddled, weakGrid] {
                ++*meddled;
                if (const auto g = weakGrid.lock()) g->invalidate();
            };
            meddlers.push_back(view);
            c->args<GridCreateViewForCellEventArgs>()->setView(view);
        },
        nullptr);
    factory->clearCache();
    draw();
    ASSERT_EQ(shownViews().size(), static_cast<std::size_t>(Rows * Columns));
    draw();  // taking the views down empties the cache from within, again and again
    EXPECT_GT(*meddled, 0);
    EXPECT_EQ(shownViews().size(), static_cast<std::size_t>(Rows * Columns));
    for (const auto& view : meddlers) view->onLeave = nullptr;
    factory->createViewForCell()->removeAllHandlers();
}

TEST(CellFactoryWithoutGrid, IsHarmless) {
    plat::testing::LogCapture log;  // what the test provokes is logged, not printed
    const auto factory = NativeControlGridCellFactory::create(nullptr);
    EXPECT_FALSE(factory->grid());
    factory->updateCell(nullptr, 0, 0, nullptr, nullptr);
    factory->clearCache();
    EXPECT_THAT(log.lines(), ::testing::Contains(::testing::HasSubstr("places no views")));
}

}  // namespace
}  // namespace grid_test
