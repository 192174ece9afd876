#include <gtest/gtest.h>

#include "Platform/graphics/cairo_context.h"
#include "Platform/testing/cairo_differential.h"

using namespace plat;
using plat::testing::cairoMatchesRecording;

namespace {

bool isCairo(const Context& c) { return dynamic_cast<const CairoContext*>(&c) != nullptr; }

}  // namespace

TEST(CairoDifferential, ClipsCountAndAnyDisagreementOrAnEmptySceneFails) {
    EXPECT_TRUE(cairoMatchesRecording([](Context& c) {
        c.clipToRect({0, 0, 20, 30});
        c.fillRect({4, 4, 30, 20});
    }));
    // The Cairo side two pixels off, or ignoring the clip: the check must notice.
    EXPECT_FALSE(cairoMatchesRecording([](Context& c) { c.fillRect({isCairo(c) ? 5.0 : 3.0, 4, 10, 7}); }));
    EXPECT_FALSE(cairoMatchesRecording([](Context& c) {
        if (!isCairo(c)) c.clipToRect({0, 0, 20, 30});
        c.fillRect({4, 4, 30, 20});
    }));
    EXPECT_FALSE(cairoMatchesRecording([](Context&) {}));
    EXPECT_FALSE(cairoMatchesRecording(
        [](Context& c) {
            c.fillRect({0, 0, 40, 30});
        },
        {40, 30}, 20))
        << "a margin that leaves fewer than half of the pixels judged says nothing";
}
