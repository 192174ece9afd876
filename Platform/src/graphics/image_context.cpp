#include "Platform/graphics/image_context.h"

namespace plat {

ImageContext::ImageContext(Size size, double scale, bool opaque)
    : _image(Image::create(size, scale, opaque ? Color::white() : Color::clear())) {
    if (!_image) {
        // Drawing still has somewhere harmless to go.
        _image = std::make_shared<Image>(0, 0, scale);
        _refused = true;
    }
    _context = std::make_unique<CairoContext>(*_image);
    pushContext(*_context);
    _pushed = true;
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
    }
    return _refused ? nullptr : _image;
}

}  // namespace plat
