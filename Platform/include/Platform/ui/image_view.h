#pragma once
// A view that shows an image, scaled into its bounds by a content mode. It takes no touches unless
// user interaction is switched on.

#include <memory>

#include "Platform/PlatformExport.h"
#include "Platform/ui/view.h"

namespace plat {

class Image;

// The platform's codes. The scaling modes stretch (ScaleToFill), fit inside (ScaleAspectFit) or fill
// and overflow (ScaleAspectFill, cut by the bounds); the others place the image unscaled.
enum class ContentMode : int {
    ScaleToFill = 0,
    ScaleAspectFit = 1,
    ScaleAspectFill = 2,
    Redraw = 3,  // stretches, as ScaleToFill
    Center = 4,
    Top = 5,
    Bottom = 6,
    Left = 7,
    Right = 8,
    TopLeft = 9,
    TopRight = 10,
    BottomLeft = 11,
    BottomRight = 12
};

// Where an image of `size` lands in `bounds` under `mode`.
PLAT_EXPORT Rect contentRect(ContentMode mode, Size size, const Rect& bounds);

class PLAT_EXPORT ImageView : public View {
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
