#pragma once
// A view that shows an image, scaled into its bounds by a content mode. It takes no touches unless
// user interaction is switched on.

#include <memory>

#include "Platform/ui/view.h"

namespace plat {

class Image;

enum class ContentMode { ScaleToFill, ScaleAspectFit, ScaleAspectFill, Center };

// Where an image of `size` lands in `bounds` under `mode`.
Rect contentRect(ContentMode mode, Size size, const Rect& bounds);

class ImageView : public View {
public:
    static std::shared_ptr<ImageView> create(const Rect& frame = {});
    static std::shared_ptr<ImageView> create(std::shared_ptr<Image> image);

    const std::shared_ptr<Image>& image() const { return _image; }
    void setImage(std::shared_ptr<Image> image);
    ContentMode contentMode() const { return _contentMode; }
    void setContentMode(ContentMode mode);

    // The image's size in points (zero without an image).
    Size sizeThatFits(Size size) const override;
    void drawRect(Context& context, const Rect& rect) override;

protected:
    explicit ImageView(const Rect& frame);

private:
    std::shared_ptr<Image> _image;
    ContentMode _contentMode = ContentMode::ScaleToFill;
};

}  // namespace plat
