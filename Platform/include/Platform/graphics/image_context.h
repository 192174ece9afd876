#pragma once
// An offscreen drawing pass into a new image: a Cairo context over a fresh transparent image of a
// size in points and a scale, pushed as the current context while the image context lives.

#include <memory>

#include "Platform/graphics/cairo_context.h"
#include "Platform/graphics/image.h"

namespace plat {

class ImageContext {
public:
    ImageContext(Size size, double scale = 1, bool opaque = false);
    ~ImageContext();
    ImageContext(const ImageContext&) = delete;
    ImageContext& operator=(const ImageContext&) = delete;

    Context& context() { return *_context; }
    // A copy of what has been drawn so far.
    std::shared_ptr<Image> snapshot();
    // Ends the pass (the context is current no more) and hands over the image.
    std::shared_ptr<Image> finish();

private:
    std::shared_ptr<Image> _image;
    std::unique_ptr<CairoContext> _context;
    bool _pushed = false;
};

}  // namespace plat
