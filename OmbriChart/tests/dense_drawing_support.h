#pragma once
// For the tests of the dense-series shortcuts: a chart pass drawn again with the shortcuts off, and its
// operations compared with those of the pass drawn with them.

#include <gtest/gtest.h>

#include <vector>

#include "Platform/graphics/recording_context.h"
#include "plotters/DenseDrawing.h"

// Records `draw` with the shortcuts off and expects the same operations as `withShortcuts` (a copy: the
// recording is drawn again) in the same order: kind, device geometry, colour and clip.
template <class Draw>
void expectSameOpsWithoutShortcuts(std::vector<plat::DrawOp> withShortcuts, const plat::RecordingContext& rec, Draw draw) {
    {
        kivo::detail::DenseDrawingScope off(false);
        draw();
    }
    const auto& without = rec.ops();
    ASSERT_EQ(withShortcuts.size(), without.size());
    for (std::size_t k = 0; k < without.size(); ++k) {
        EXPECT_EQ(withShortcuts[k].kind, without[k].kind) << k;
        EXPECT_EQ(withShortcuts[k].bounds(), without[k].bounds()) << k;
        EXPECT_EQ(withShortcuts[k].color, without[k].color) << k;
        EXPECT_EQ(withShortcuts[k].clip, without[k].clip) << k;
    }
}
