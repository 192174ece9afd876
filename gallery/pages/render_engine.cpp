// The render engine's page: every drawing primitive, as its golden-image test sees it.

#include "gallery_page.h"
#include "render_engine_sampler.h"

namespace {

const gallery::PageRegistrar registrar({
    .name = "render_engine",
    .description = "Every primitive of the render engine: rectangles, ellipses, lines, polylines, splines, spline "
                   "areas, polygons in each drawing mode, pie and doughnut segments, gauge bands, text, an image, "
                   "opacity, clipping, scale and pan.",
    .size = gallery::RenderEngineSamplerSize,
    .draw = gallery::drawRenderEngineSampler,
});

}  // namespace
