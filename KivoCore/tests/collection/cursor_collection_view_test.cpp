// Loading further items: the getter runs off the main thread, the items arrive as one add on the main
// run loop, then the completion runs. The test waits through the run loop.

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

#include "KivoCore/KivoCursorCollectionView.h"
#include "Platform/runtime/dispatch.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/testing/log_capture.h"
#include "Platform/testing/virtual_clock.h"
#include "collection/collection_fixture.h"

using namespace kivo::detail;

namespace {

// Pages of `count` products named p<n>, until 5 have been handed out.
class Pager : public KivoCursorCollectionView {
public:
    plat::Array itemGetter(const plat::Value& count) override {
        getterRanOnMainThread = plat::isMainThread();
        if (count.isString()) throw std::runtime_error(count.asString());
        if (count.isBool()) throw 42;  // not a standard exception
        plat::Array page;
        for (std::int64_t i = 0; i < count.asInteger(); ++i) page.push_back(product("p" + std::to_string(handedOut++)));
        return page;
    }
    bool hasMoreItems() override { return handedOut < 5; }

    std::atomic<bool> getterRanOnMainThread{true};
    std::atomic<int> handedOut{0};
};

}  // namespace

TEST(KivoCursorCollectionView, LoadsOffTheMainThreadAndAddsOnItThenCompletes) {
    plat::testing::VirtualClock clock;
    auto view = KivoCollectionView::create<Pager>(listOf({product("a")}));
    auto events = std::make_shared<std::vector<std::string>>();
    view->collectionChanged()->addHandler(
        [events, weak = std::weak_ptr<Pager>(view)](const auto&) {
            events->push_back((plat::isMainThread() ? "main: " : "worker: ") + names(weak.lock()->items()));
        },
        view);
    bool done = false;
    view->loadMoreItems(3, [&] {
        events->push_back(plat::isMainThread() ? "main: done" : "worker: done");
        done = true;
    });
    EXPECT_EQ(view->items()->size(), 1u) << "nothing arrives before the run loop turns";
    ASSERT_TRUE(plat::RunLoop::main().runUntil([&] { return done; }, 5));
    EXPECT_FALSE(view->getterRanOnMainThread.load());
    EXPECT_EQ(*events, (std::vector<std::string>{"main: a p0 p1 p2", "main: done"}));
    EXPECT_TRUE(view->hasMoreItems());

    AnnouncementLog heard(*view);
    view->loadMoreItems(2, nullptr);
    ASSERT_TRUE(plat::RunLoop::main().runUntil([&] { return view->items()->size() == 6; }, 5));
    EXPECT_EQ(heard.take(), (std::vector<std::string>{"add [p3 p4]@4"}));
    EXPECT_FALSE(view->hasMoreItems());

    done = false;
    view->loadMoreItems(0, [&] { done = true; });
    ASSERT_TRUE(plat::RunLoop::main().runUntil([&] { return done; }, 5));
    EXPECT_EQ(heard.take(), (std::vector<std::string>{"add []@6"})) << "an empty page is an empty add";
}

TEST(KivoCursorCollectionView, AGetterThatThrowsLoadsNothingButCompletes) {
    plat::testing::VirtualClock clock;
    plat::testing::LogCapture log;
    auto view = KivoCollectionView::create<Pager>(nullptr);
    AnnouncementLog heard(*view);
    bool done = false;
    view->loadMoreItems("offline", [&] { done = true; });
    ASSERT_TRUE(plat::RunLoop::main().runUntil([&] { return done; }, 5));
    EXPECT_TRUE(view->isEmpty());
    EXPECT_EQ(heard.take(), std::vector<std::string>{});
    EXPECT_EQ(log.lines(), std::vector<std::string>{"KivoCursorCollectionView itemGetter failed: offline"});

    done = false;
    view->loadMoreItems(true, [&] { done = true; });
    ASSERT_TRUE(plat::RunLoop::main().runUntil([&] { return done; }, 5));
    EXPECT_TRUE(view->isEmpty());
    EXPECT_EQ(log.lines(),
              (std::vector<std::string>{"KivoCursorCollectionView itemGetter failed: offline",
                                        "KivoCursorCollectionView itemGetter failed with an exception of an unknown type"}));
}
