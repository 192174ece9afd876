#pragma once
// An offscreen drawing pass into a new image: a Cairo context over a fresh transparent image of a
// size in points and a scale, pushed as the current context while the image context lives.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "Platform/PlatformExport.h"
#include "Platform/foundation/passkey.h"
#include "Platform/graphics/cairo_context.h"
#include "Platform/graphics/image.h"

namespace plat {

class PLAT_EXPORT ImageContext {
public:
    // A size beyond the image limits is refused (logged): the pass then draws into an empty image
    // and hands over null.
    ImageContext(Size size, double scale = 1, bool opaque = false);
    ~ImageContext();
    ImageContext(const ImageContext&) = delete;
    ImageContext& operator=(const ImageContext&) = delete;

    Context& context() { return *_context; }
    // A copy of what has been drawn so far (null when the size was refused).
    std::shared_ptr<Image> snapshot();
    // Ends the pass (the context is current no more) and hands over the image (null when the size
    // was refused).
    std::shared_ptr<Image> finish();

    // A copy of `height` rows of `width` opaque pixels from `from` on, rows `stride` pixels apart, as
    // an image of `scale` known opaque, made as image contexts make theirs: the Cairo context's copy of
    // what it drew.
    PLAT_NO_EXPORT static std::shared_ptr<Image> opaqueCopy(Passkey<CairoContext>, const std::uint32_t* from, std::size_t stride,
                                                            int width, int height, double scale);

private:
    // A `width` × `height` image of `scale`, over pixels kept from an image let go of when the thread
    // has some of that size (their old content still in them: `reused` says so), else new ones of
    // `background`; its pixels go back to the store when it is let go of.
    PLAT_NO_EXPORT static std::shared_ptr<Image> keptOrNew(int width, int height, double scale, const Color& background,
                                                           bool& reused);

    std::shared_ptr<Image> _image;
    bool _refused = false;
    bool _opaque = false;
    std::unique_ptr<CairoContext> _context;
    bool _pushed = false;
};

}  // namespace plat
