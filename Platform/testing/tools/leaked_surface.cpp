// kivo_leaked_surface: draws a label into an image (so that the font libraries build their
// process-wide caches, as every test program does), then makes a Cairo image surface and forgets to
// destroy it, as a slip in drawing code would. Run under LeakSanitizer with scripts/lsan.supp, the
// surface must be reported and the caches must not: the suppressions name the caches' functions,
// never a whole library that our own code calls into.

#include <cairo.h>

#include "Platform/ui/label.h"
#include "Platform/ui/window.h"

namespace {

// Not inlined, so that the only pointer to the surface is gone when it returns.
[[gnu::noinline]] void forgetSurface() {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 16, 16);
    cairo_t* cr = cairo_create(surface);
    cairo_paint(cr);
    cairo_destroy(cr);
    // Missing on purpose: cairo_surface_destroy(surface).
}

}  // namespace

int main() {
    auto window = plat::Window::create({0, 0, 120, 40});
    auto label = plat::Label::create({0, 0, 120, 40});
    label->setText("Caches");
    window->addSubview(label);
    if (!window->renderImage(1)) return 1;
    forgetSurface();
    return 0;
}
