#include "Platform/ui/image_view.h"

#include <algorithm>

#include "Platform/graphics/context.h"
#include "Platform/graphics/image.h"

namespace plat {

Rect contentRect(ContentMode mode, Size size, const Rect& bounds) {
    if (mode == ContentMode::ScaleToFill || mode == ContentMode::Redraw || !(size.width > 0) || !(size.height > 0)) return bounds;
    if (mode == ContentMode::ScaleAspectFit || mode == ContentMode::ScaleAspectFill) {
        const double sx = bounds.width() / size.width, sy = bounds.height() / size.height;
        const double s = mode == ContentMode::ScaleAspectFit ? std::min(sx, sy) : std::max(sx, sy);
        const double w = size.width * s, h = size.height * s;
        return {bounds.midX() - w / 2, bounds.midY() - h / 2, w, h};
    }
    // Unscaled: each placement pins the image to an edge (or corner), centred along the rest.
    double x = bounds.midX() - size.width / 2, y = bounds.midY() - size.height / 2;
    switch (mode) {
        case ContentMode::Left:
        case ContentMode::TopLeft:
        case ContentMode::BottomLeft:
            x = bounds.minX();
            break;
        case ContentMode::Right:
        case ContentMode::TopRight:
        case ContentMode::BottomRight:
            x = bounds.maxX() - size.width;
            break;
        default:
            break;
    }
    switch (mode) {
        case ContentMode::Top:
        case ContentMode::TopLeft:
        case ContentMode::TopRight:
            y = bounds.minY();
            break;
        case ContentMode::Bottom:
        case ContentMode::BottomLeft:
        case ContentMode::BottomRight:
            y = bounds.maxY() - size.height;
            break;
        default:
            break;
    }
    return {x, y, size.width, size.height};
}

std::shared_ptr<ImageView> ImageView::create(const Rect& frame) {
    return initialized(std::shared_ptr<ImageView>(new ImageView(frame)));
}

std::shared_ptr<ImageView> ImageView::create(std::shared_ptr<Image> image) {
    const Size size = image ? image->size() : Size{};
    auto view = create(Rect{{0, 0}, size});
    view->setImage(std::move(image));
    return view;
}

ImageView::ImageView(const Rect& frame) : View(frame) { setUserInteractionEnabled(false); }

void ImageView::setImage(std::shared_ptr<Image> image) {
    if (image == _image) return;
    _image = std::move(image);
    setNeedsDisplay();
}

void ImageView::setContentMode(ContentMode mode) {
    if (mode == _contentMode) return;
    _contentMode = mode;
    setNeedsDisplay();
}

Size ImageView::sizeThatFits(Size) const { return _image ? _image->size() : Size{}; }

void ImageView::drawRect(Context& context, const Rect&) {
    if (!_image || _image->isEmpty()) return;
    context.drawImage(*_image, contentRect(_contentMode, _image->size(), bounds()));
}

}  // namespace plat
