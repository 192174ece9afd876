#include "plotters/DenseDrawing.h"

#include <atomic>
#include <cmath>

#include "KivoCore/KivoRenderEngine.h"
#include "Platform/graphics/context.h"

namespace kivo::detail {

namespace {

std::atomic<bool> denseDrawing{true};

}  // namespace

bool denseDrawingEnabled() { return denseDrawing.load(std::memory_order_relaxed); }
void setDenseDrawingEnabled(bool enabled) { denseDrawing.store(enabled, std::memory_order_relaxed); }

KivoRenderEngine* shortcutEngine(IKivoRenderEngine& engine) {
    if (!denseDrawingEnabled()) return nullptr;
    // Another engine may draw elsewhere than into the current context.
    auto* platformEngine = dynamic_cast<KivoRenderEngine*>(&engine);
    const plat::Context* context = plat::currentContext();
    if (!platformEngine || !context || !platformEngine->borderDashes().empty()) return nullptr;
    const plat::AffineTransform& m = context->ctm();
    const bool plain = m.b == 0 && m.c == 0 && std::isfinite(m.a) && std::isfinite(m.d) && m.a != 0 && m.d != 0 &&
                       std::isfinite(m.tx) && std::isfinite(m.ty);
    return plain ? platformEngine : nullptr;
}

}  // namespace kivo::detail
