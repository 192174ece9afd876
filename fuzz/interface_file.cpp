// Interface files from outside through the loader: a document either gives a view, or is refused
// with the loader's own exception naming the document; nothing else escapes. A view it gives holds
// only what a view may hold (finite frames, alpha within 0…1, a tree no deeper than the nesting
// limit allows), and it lays out and draws.
#include <cmath>
#include <string>

#include "Platform/foundation/coder.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/ui/view_coding.h"
#include "Platform/ui/window.h"
#include "fuzz_support.h"

namespace {

constexpr const char* Source = "fuzzed.plist";
// Small enough that a run spends its time on structure rather than on megabytes.
constexpr plat::CoderLimits Limits{64 * 1024, 24};

void checkTree(const plat::View& view, int depth) {
    // Each level of subviews takes two levels of nesting: the "subviews" array and the view's dict.
    if (depth * 2 > Limits.maxDepth) fuzz::fail("a view tree stays within the nesting limit", std::to_string(depth));
    const plat::Rect f = view.frame();
    if (!std::isfinite(f.x()) || !std::isfinite(f.y()) || !std::isfinite(f.width()) || !std::isfinite(f.height()))
        fuzz::fail("a loaded view's frame is finite", std::to_string(f.x()) + " " + std::to_string(f.width()));
    if (!(view.alpha() >= 0 && view.alpha() <= 1))
        fuzz::fail("a loaded view's alpha lies within 0…1", std::to_string(view.alpha()));
    for (const auto& sub : view.subviews()) checkTree(*sub, depth + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::prepareProcess();
    const std::string document(reinterpret_cast<const char*>(data), size);
    std::shared_ptr<plat::View> root;
    try {
        root = plat::loadInterface(document, Source, Limits);
    } catch (const plat::CoderException& refused) {
        if (std::string(refused.what()).find(Source) == std::string::npos)
            fuzz::fail("a refusal names the document", refused.what());
        return 0;
    }
    if (!root) fuzz::fail("the loader gives a view or refuses", "no view and no refusal");
    checkTree(*root, 1);
    auto window = plat::Window::create({0, 0, 320, 240});
    window->addSubview(root);
    plat::RecordingContext rec;
    window->display(rec);
    return 0;
}
