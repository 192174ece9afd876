#include "Platform/graphics/image_context.h"

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "graphics/pixel_boxes.h"
#include "graphics/spare_pixels.h"

namespace plat {

using detail::SparePixels;

std::shared_ptr<Image> ImageContext::keptOrNew(int width, int height, double scale, const Color& background, bool& reused) {
    SparePixels* spares = SparePixels::forThread();
    std::vector<std::uint32_t> kept =
        spares ? spares->take(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) : std::vector<std::uint32_t>{};
    reused = !kept.empty();
    Image* made = nullptr;
    if (reused) {
        made = new Image(0, 0, scale);
        made->adoptPixels(Passkey<ImageContext>{}, width, height, std::move(kept));
    } else {
        made = new Image(width, height, scale, background);
    }
    return std::shared_ptr<Image>(made, [](Image* image) {
        if (SparePixels* store = SparePixels::forThread()) store->give(image->takePixels(Passkey<ImageContext>{}));
        delete image;
    });
}

ImageContext::ImageContext(Size size, double scale, bool opaque) : _opaque(opaque) {
    const Color background = opaque ? Color::white() : Color::clear();
    const auto pixels = Image::admittedPixels(Passkey<ImageContext>{}, size, scale);
    if (!pixels) {
        // Drawing still has somewhere harmless to go.
        _image = std::make_shared<Image>(0, 0, scale);
        _refused = true;
        _context = std::make_unique<CairoContext>(*_image);
    } else {
        bool reused = false;
        _image = keptOrNew(pixels->first, pixels->second, scale, background, reused);
        _context = std::make_unique<CairoContext>(*_image);
        _context->deferOpaqueFills(Passkey<ImageContext>{});
        // Kept pixels show an earlier image until cleared: the context clears them, once.
        if (reused) _context->clearTo(background);
    }
    pushContext(*_context);
    _pushed = true;
}

std::shared_ptr<Image> ImageContext::opaqueCopy(Passkey<CairoContext>, const std::uint32_t* from, std::size_t stride, int width,
                                                int height, double scale) {
    bool reused = false;
    auto image = keptOrNew(width, height, scale, Color::clear(), reused);
    detail::copyPixelRows(image->data(), static_cast<std::size_t>(width), from, stride, static_cast<std::size_t>(width),
                          static_cast<std::size_t>(height));
    image->markOpaque(Passkey<ImageContext>{});
    return image;
}

ImageContext::~ImageContext() { finish(); }

std::shared_ptr<Image> ImageContext::snapshot() {
    if (_refused) return nullptr;
    _context->flush();
    return std::make_shared<Image>(*_image);
}

std::shared_ptr<Image> ImageContext::finish() {
    if (_pushed) {
        // Groups left open would keep their content off the image.
        while (_context->transparencyGroupDepth() > 0) _context->endTransparencyGroup();
        _context->flush();
        // Take off our own entry, even if someone pushed above it and has not popped yet.
        removeContext(*_context);
        _pushed = false;
        // Every pixel starts opaque and every drawing goes over what is there: none becomes less opaque.
        if (_opaque && !_refused) _image->markOpaque(Passkey<ImageContext>{});
    }
    return _refused ? nullptr : _image;
}

}  // namespace plat
