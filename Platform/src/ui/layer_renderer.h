#pragma once
// Renders a layer tree into a drawing context: model values, or presentation values at a moment on the clock.

#include <optional>

#include "Platform/runtime/ticks.h"

namespace plat {
class Context;
class Layer;
}  // namespace plat

namespace plat::detail {

// The layer is drawn in its own coordinate space: its bounds' origin lands on the context's origin.
void renderLayerTree(const Layer& layer, Context& context, std::optional<Ticks> time);

}  // namespace plat::detail
