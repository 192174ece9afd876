// Application code that drops the last reference to a grid while the grid is calling it: the member
// that made the call must still finish on a live grid, which goes away only once the member returns.
// One row per road from a member to an event handler or a delegate method; the sanitizers catch a
// member that runs on after the grid was freed.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/testing/virtual_clock.h"

namespace {

struct Hooks {
    void hit(const std::string& name) {
        if (name == armed && drop) std::exchange(drop, nullptr)();
    }
    std::string armed;
    std::function<void()> drop;
};

class DroppingDelegate : public OmbriGridDelegate {
public:
    explicit DroppingDelegate(Hooks& hooks) : _hooks(hooks) {}
    void rendering(const Grid&) override { _hooks.hit("rendering"); }
    void rendered(const Grid&) override { _hooks.hit("rendered"); }
    void invalidated(const Grid&) override { _hooks.hit("invalidated"); }
    void droppedCaches(const Grid&) override { _hooks.hit("droppedCaches"); }
    std::optional<bool> groupCollapsedChanging(const Grid&, const Panel&, const Range&) override {
        _hooks.hit("groupCollapsedChanging");
        return std::nullopt;
    }
    void groupCollapsedChanged(const Grid&, const Panel&, const Range&) override { _hooks.hit("groupCollapsedChanged"); }
    void resizedColumn(const Grid&, const std::shared_ptr<GridColumn>&) override { _hooks.hit("resizedColumn"); }

private:
    Hooks& _hooks;
};

TEST(GridKeepAlive, ApplicationCodeMayDropTheGridWhileAMemberCallsIt) {
    plat::testing::VirtualClock clock;
    struct Road {
        const char* hook;
        std::function<void(OmbriGrid&)> call;
    };
    auto draw = [](OmbriGrid& g) {
        plat::RecordingContext rec;
        g.drawRect(rec, g.bounds());
    };
    auto invalidate = [](OmbriGrid& g) { g.invalidate(); };
    auto collapse = [](OmbriGrid& g) {
        g.rows()->totalSize();
        std::static_pointer_cast<GridGroupRow>(g.rows()->row(0))->setIsCollapsed(true);
        plat::RunLoop::main().runUntilIdle();
    };
    auto widen = [](OmbriGrid& g) { g.columns()->column(0)->setWidth(90); };
    auto push = [](OmbriGrid& g) { g.rows()->push(std::make_shared<GridRow>()); };
    auto resize = [](OmbriGrid& g) { g.rows()->setDefaultSize(40); };
    const Road roads[] = {
        {"rendering", draw},
        {"rendered", draw},
        {"ombriGridRendering", draw},
        {"invalidated", invalidate},
        {"droppedCaches", invalidate},
        {"ombriGridInvalidated", invalidate},
        {"groupCollapsedChanging", collapse},
        {"groupCollapsedChanged", collapse},
        {"ombriGridGroupCollapsedChanged", collapse},
        {"resizedColumn", widen},
        {"ombriGridResizedColumn", widen},
        {"droppedCaches", push},
        {"invalidated", resize},
    };
    for (const Road& road : roads) {
        SCOPED_TRACE(road.hook);
        auto grid = OmbriGrid::create({0, 0, 300, 200});
        grid->rows()->push(std::make_shared<GridGroupRow>());
        grid->rows()->push(std::make_shared<GridRow>());
        grid->columns()->push(std::make_shared<GridColumn>());
        grid->rows()->totalSize();
        grid->columns()->totalSize();
        Hooks hooks;
        grid->setStrongDelegate(std::make_shared<DroppingDelegate>(hooks));
        for (auto [event, name] : {std::pair{grid->ombriGridRendering(), "ombriGridRendering"},
                                   {grid->ombriGridInvalidated(), "ombriGridInvalidated"},
                                   {grid->ombriGridGroupCollapsedChanged(), "ombriGridGroupCollapsedChanged"},
                                   {grid->ombriGridResizedColumn(), "ombriGridResizedColumn"}})
            event->addHandler([&hooks, name = std::string(name)](const auto&) { hooks.hit(name); }, nullptr);
        OmbriGrid* raw = grid.get();
        std::weak_ptr<OmbriGrid> weak = grid;
        bool dropped = false;
        hooks.armed = road.hook;
        hooks.drop = [&] {
            grid.reset();
            dropped = true;
        };
        road.call(*raw);
        EXPECT_TRUE(dropped) << "the road never reached the application";
        EXPECT_TRUE(weak.expired()) << "the grid outlived the member";
        plat::RunLoop::main().runUntilIdle();
    }
}

}  // namespace
