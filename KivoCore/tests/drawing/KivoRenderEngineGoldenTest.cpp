#include <gtest/gtest.h>

#include "Platform/graphics/image_context.h"
#include "Platform/testing/golden_image.h"

// The sampler is the gallery's render-engine page; one definition serves the program and this test.
#include "../../../gallery/pages/render_engine_sampler.h"

TEST(RenderEngineGolden, SamplerOfEveryPrimitive) {
    plat::ImageContext ic(gallery::RenderEngineSamplerSize, 2, true);
    gallery::drawRenderEngineSampler();
    auto img = ic.finish();
    auto result = plat::testing::compareWithGolden(*img, "KivoCore/tests/golden/render_engine_sampler.png");
    EXPECT_TRUE(result.ok) << result.message;
}
