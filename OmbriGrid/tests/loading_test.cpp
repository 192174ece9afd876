// Loading more items from a cursor collection view as the grid reaches the bottom of what it has: one
// load at a time across every grid of the process, the count of rows asked for taken from the header
// row, and the loading flag clear again after every end of a load.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <stdexcept>
#include <tuple>
#include <vector>

#include "KivoCore/KivoCursorCollectionView.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/runtime/semaphore.h"
#include "Platform/testing/log_capture.h"
#include "scroll_fixture.h"
#include "scrolling/CursorLoading.h"

namespace grid_test {
namespace {

using kivo::detail::gridIsLoadingMoreItems;

// Hands out pages of 5 rows. The test decides whether more remain and whether the getter fails; the
// getter waits for the test to let it go, so a load stays running while the test looks.
class Pages : public KivoCursorCollectionView {
public:
    plat::Array itemGetter(const plat::Value& count) override {
        {
            std::lock_guard lock(_mutex);
            _asked.push_back(count);
        }
        gate.wait();
        if (failing) throw std::runtime_error("offline");
        plat::Array page;
        for (int i = 0; i < 5; ++i) page.push_back(plat::Value(std::make_shared<Wide>(1000 + i)));
        return page;
    }
    bool hasMoreItems() override { return more; }

    std::vector<plat::Value> asked() const {
        std::lock_guard lock(_mutex);
        return _asked;
    }

    std::atomic<bool> more{true}, failing{false};
    plat::dispatch::Semaphore gate;

private:
    mutable std::mutex _mutex;
    std::vector<plat::Value> _asked;
};

class Loading : public ScrollFixture {
protected:
    void SetUp() override {
        ASSERT_FALSE(gridIsLoadingMoreItems());
        ScrollFixture::SetUp();
        grid->setCollectionView(pages);
        draw();
        plat::RunLoop::main().runUntilIdle();
    }
    // A few pan steps at the bottom of `on`'s window; the finger stays down until `lift`.
    static plat::testing::Touches panAtTheBottom(const std::shared_ptr<OmbriGrid>& on, const std::shared_ptr<plat::Window>& in) {
        on->setScrollPosition({0, 2000});
        plat::testing::Touches t(in);
        t.down({200, 400}).wait(Tick).move({200, 380}).wait(Tick).move({200, 378});
        return t;
    }
    // Another grid over another cursor, in a window of its own, drawn once.
    static std::tuple<std::shared_ptr<plat::Window>, std::shared_ptr<OmbriGrid>, std::shared_ptr<Pages>> secondGrid() {
        auto w = plat::Window::create({0, 0, 320, 568});
        auto g = OmbriGrid::create({0, 0, 320, 568});
        auto p = KivoCollectionView::create<Pages>(wideItems(100, 10));
        g->setCollectionView(p);
        w->addSubview(g);
        plat::RecordingContext rec;
        w->display(rec);
        return {w, g, p};
    }
    // Lets the running load's getter go and waits for the load's end.
    static bool finish(Pages& view) {
        view.gate.signal();
        return plat::RunLoop::main().runUntil([] { return !gridIsLoadingMoreItems(); }, 5);
    }

    std::shared_ptr<Pages> pages = KivoCollectionView::create<Pages>(wideItems(100, 10));
};

TEST_F(Loading, AtTheBottomOneLoadAsksForTwoScreensOfHeaderRows) {
    ASSERT_TRUE(pages->asked().empty()) << "100 rows are more than two screens: the drawing pass asks for nothing";
    grid->setScrollPosition({0, 1600});
    auto t = touches();
    t.down({200, 400}).wait(Tick).move({200, 380}).wait(Tick).move({200, 378});
    EXPECT_TRUE(pages->asked().empty()) << "not within a screen of the bottom yet";
    t.wait(Tick).move({200, 280}).wait(Tick).move({200, 270}).up();
    clock.advance(1.0);
    ASSERT_EQ(pages->asked().size(), 1u) << "the steps and the glide after the first start no other load";
    EXPECT_EQ(pages->asked()[0], plat::Value(std::int64_t{2 * 568 / 28}));
    ASSERT_TRUE(finish(*pages));
    EXPECT_EQ(grid->rows()->count(), 105u);
}

TEST_F(Loading, ALoadRunningInAnyGridBlocksEveryOther) {
    auto [otherWindow, other, otherPages] = secondGrid();

    panAtTheBottom(grid, window).up();
    ASSERT_TRUE(gridIsLoadingMoreItems());
    panAtTheBottom(other, otherWindow).wait(Tick).move({200, 300}).up();
    clock.advance(1.0);
    EXPECT_EQ(pages->asked().size(), 1u);
    EXPECT_TRUE(otherPages->asked().empty());

    ASSERT_TRUE(finish(*pages));
    EXPECT_EQ(grid->rows()->count(), 105u);
    panAtTheBottom(other, otherWindow).up();
    EXPECT_EQ(otherPages->asked().size(), 1u) << "once the load has ended, the next one goes ahead";
    ASSERT_TRUE(finish(*otherPages));
    EXPECT_EQ(other->rows()->count(), 105u);
}

TEST_F(Loading, ACursorWithNothingMoreStartsNoLoadAndLeavesTheFlagClear) {
    pages->more = false;
    panAtTheBottom(grid, window).up();
    EXPECT_TRUE(pages->asked().empty());
    EXPECT_FALSE(gridIsLoadingMoreItems());

    auto [otherWindow, other, otherPages] = secondGrid();
    panAtTheBottom(other, otherWindow).up();
    EXPECT_EQ(otherPages->asked().size(), 1u);
    ASSERT_TRUE(finish(*otherPages));
    EXPECT_EQ(other->rows()->count(), 105u);
}

TEST_F(Loading, AFailingGetterClearsTheFlag) {
    plat::testing::LogCapture log;
    pages->failing = true;
    panAtTheBottom(grid, window).up();
    ASSERT_TRUE(finish(*pages));
    EXPECT_EQ(pages->asked().size(), 1u);
    EXPECT_EQ(grid->rows()->count(), 100u);
    EXPECT_EQ(log.lines().size(), 1u);

    pages->failing = false;
    panAtTheBottom(grid, window).up();
    ASSERT_TRUE(finish(*pages));
    EXPECT_EQ(pages->asked().size(), 2u);
    EXPECT_EQ(grid->rows()->count(), 105u);
}

TEST_F(Loading, AHeaderRowOfNoHeightAsksWithNoCount) {
    grid->columnHeaderRow()->setHeight(0);
    draw();
    panAtTheBottom(grid, window).up();
    ASSERT_EQ(pages->asked().size(), 1u);
    EXPECT_TRUE(pages->asked()[0].isNil());
    ASSERT_TRUE(finish(*pages));
}

TEST_F(Loading, AShortListAsksAfterADrawingPass) {
    auto few = KivoCollectionView::create<Pages>(wideItems(10, 10));
    grid->setCollectionView(few);
    draw();
    plat::RunLoop::main().runUntilIdle();
    ASSERT_EQ(few->asked().size(), 1u);
    ASSERT_TRUE(finish(*few));
    EXPECT_EQ(grid->rows()->count(), 15u);
}

}  // namespace
}  // namespace grid_test
