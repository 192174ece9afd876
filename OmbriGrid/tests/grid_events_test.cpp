#include <gtest/gtest.h>

#include <vector>

#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "OmbriGrid/OmbriGridEventArgs.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/testing/virtual_clock.h"
#include "grid_access.h"

using grid_test::Access;
using kivo::detail::DelegateRule;

namespace {

// Answers the collapse question as told, and counts what it is asked.
class AnsweringDelegate : public OmbriGridDelegate {
public:
    explicit AnsweringDelegate(std::optional<bool> answer) : answer(answer) {}
    std::optional<bool> groupCollapsedChanging(const Grid&, const Panel&, const Range&) override {
        ++asked;
        return answer;
    }
    void groupCollapsedChanged(const Grid&, const Panel&, const Range&) override { ++told; }
    void resizedColumn(const Grid&, const std::shared_ptr<GridColumn>& column) override { resized.push_back(column->size()); }
    std::optional<bool> answer;
    int asked = 0, told = 0;
    std::vector<std::int32_t> resized;
};

TEST(GridEvents, EveryRuleCombinesTheHandlersCancelWithTheDelegatesAnswer) {
    plat::testing::VirtualClock clock;
    struct Case {
        DelegateRule rule;
        bool handlerCancels;
        std::optional<std::optional<bool>> delegate;  // none: no delegate; nullopt inside: not answered
        bool goesOn;
        bool delegateAsked;
    };
    using A = std::optional<bool>;
    const Case cases[] = {
        {DelegateRule::Replaces, false, std::nullopt, true, false},
        {DelegateRule::Replaces, true, std::nullopt, false, false},
        {DelegateRule::Replaces, true, A{}, false, true},
        {DelegateRule::Replaces, false, A{true}, false, true},
        {DelegateRule::Replaces, true, A{false}, true, true},
        {DelegateRule::EitherStops, true, A{false}, false, true},
        {DelegateRule::EitherStops, false, A{true}, false, true},
        {DelegateRule::EitherStops, false, A{false}, true, true},
        {DelegateRule::EitherStops, false, std::nullopt, true, false},
        {DelegateRule::HandlersFirst, true, A{false}, false, false},
        {DelegateRule::HandlersFirst, false, A{true}, false, true},
        {DelegateRule::HandlersFirst, false, A{false}, true, true},
        {DelegateRule::HandlersFirst, false, A{}, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.rule) << " cancel " << c.handlerCancels << " delegate "
                                        << (c.delegate ? (*c.delegate ? (**c.delegate ? "yes" : "no") : "silent") : "none"));
        auto grid = OmbriGrid::create({0, 0, 100, 100});
        auto event = std::make_shared<KivoEvent>();
        int handled = 0;
        event->addHandler(
            [&](const std::shared_ptr<KivoEventContainer>& e) {
                ++handled;
                EXPECT_EQ(e->sender(), grid);
                if (c.handlerCancels) e->args<KivoCancelEventArgs>()->setCancel(true);
            },
            nullptr);
        std::shared_ptr<AnsweringDelegate> d;
        if (c.delegate) {
            d = std::make_shared<AnsweringDelegate>(*c.delegate);
            grid->setStrongDelegate(d);
        }
        auto args = std::make_shared<KivoCancelEventArgs>();
        bool asked = false;
        const bool goesOn = Access::raise(*grid, event, args, c.rule, [&](OmbriGridDelegate& del) {
            asked = true;
            return static_cast<AnsweringDelegate&>(del).answer;
        });
        EXPECT_EQ(handled, 1);
        EXPECT_EQ(goesOn, c.goesOn);
        EXPECT_EQ(args->cancel(), !c.goesOn);
        EXPECT_EQ(asked, c.delegateAsked);
    }
}

TEST(GridEvents, CellRangeArgumentsKeepTheCornerOfTheirCreation) {
    auto range = std::make_shared<GridCellRange>(4, 2);
    GridCellRangeEventArgs args(nullptr, range);
    range->setRow(9);
    range->setCol(7);
    EXPECT_EQ(args.row(), 4);
    EXPECT_EQ(args.col(), 2);
    EXPECT_EQ(args.cellRange(), range);
    EXPECT_FALSE(args.cancel());
}

TEST(GridEvents, ResizedColumnIsRaisedForEverySizeChangeIncludingTheStarLayout) {
    plat::testing::VirtualClock clock;
    auto grid = OmbriGrid::create({0, 0, 335, 100});  // 300 points after the row headers
    auto d = std::make_shared<AnsweringDelegate>(std::nullopt);
    grid->setDelegate(d);
    std::vector<std::int32_t> raised;
    grid->ombriGridResizedColumn()->addHandler(
        [&](const std::shared_ptr<KivoEventContainer>& e) {
            EXPECT_EQ(e->sender(), grid);
            raised.push_back(e->args<GridResizedColumnEventArgs>()->column()->size());
        },
        nullptr);
    auto fixed = std::make_shared<GridColumn>();
    auto star = std::make_shared<GridColumn>();
    grid->columns()->push(fixed);
    grid->columns()->push(star);
    grid->columns()->totalSize();  // laid out: the columns know their grid
    fixed->setWidth(100);
    fixed->setWidth(100);  // unchanged: nothing
    star->setWidthType(GridWidthTypeStar);
    plat::RecordingContext rec;
    grid->drawRect(rec, grid->bounds());
    grid->drawRect(rec, grid->bounds());  // the same share: nothing new
    EXPECT_EQ(raised, (std::vector<std::int32_t>{100, -1, 200}));
    EXPECT_EQ(d->resized, raised);
}

}  // namespace
