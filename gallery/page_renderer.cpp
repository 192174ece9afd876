#include "page_renderer.h"

#include <cmath>
#include <functional>

#include "Platform/graphics/image_context.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/ui/window.h"
#include "op_list.h"

namespace gallery {

namespace {

bool isFileSafeName(const std::string& name) {
    if (name.empty()) return false;
    for (char c : name) {
        bool ok = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
        if (!ok) return false;
    }
    return true;
}

bool isUsableSide(double side) { return std::isfinite(side) && side >= 1 && side <= MaxPageSide; }

// Nothing of a page (timers, frames, posted work) may run during the next one, also when the page throws.
struct DiscardPendingWorkOnExit {
    DiscardPendingWorkOnExit() = default;
    DiscardPendingWorkOnExit(const DiscardPendingWorkOnExit&) = delete;
    DiscardPendingWorkOnExit& operator=(const DiscardPendingWorkOnExit&) = delete;
    ~DiscardPendingWorkOnExit() { plat::RunLoop::main().discardPendingWork(); }
};

// Runs `draw` into a recording context at the picture's scale, current for the length of the call.
std::string recordOps(const std::function<void(plat::Context&)>& draw) {
    plat::RecordingContext recording(plat::AffineTransform::scale(GalleryScale, GalleryScale));
    {
        const plat::CurrentContextScope current(recording);
        draw(recording);
    }
    return serializeOps(recording.ops());
}

Rendering renderViews(const Page& page) {
    const DiscardPendingWorkOnExit cleanUp;
    auto window = plat::Window::create({{0, 0}, page.size});
    page.populate(*window);
    plat::RunLoop::main().runFor(page.settleSeconds);
    // Drawn only now, so that nothing the run loop did above paints into the picture's context; the
    // recording follows with no run-loop turn in between, so it sees the window the picture saw.
    Rendering rendering;
    {
        plat::ImageContext ic(page.size, GalleryScale, true);
        window->display(ic.context());
        rendering.image = ic.finish();
    }
    rendering.opList = recordOps([&](plat::Context& context) { window->display(context); });
    return rendering;
}

}  // namespace

std::optional<std::string> pageProblem(const Page& page) {
    if (!isFileSafeName(page.name))
        return "the name \"" + page.name + "\" is not made of lower-case letters, digits, '_' and '-'";
    if (!isUsableSide(page.size.width) || !isUsableSide(page.size.height))
        return "its size is not between 1 and " + std::to_string(static_cast<int>(MaxPageSide)) + " points a side";
    if (static_cast<bool>(page.draw) == static_cast<bool>(page.populate))
        return "it must have either a drawing function or a view function, and not both";
    if (page.populate && !(std::isfinite(page.settleSeconds) && page.settleSeconds >= 0))
        return "its settle time is not a finite, non-negative number of seconds";
    return std::nullopt;
}

Rendering renderPage(const Page& page) {
    if (page.populate) return renderViews(page);
    Rendering rendering;
    {
        plat::ImageContext ic(page.size, GalleryScale, true);
        page.draw();
        rendering.image = ic.finish();
    }
    rendering.opList = recordOps([&](plat::Context&) { page.draw(); });
    return rendering;
}

}  // namespace gallery
