#pragma once
// A push button: a control with an image (in an image view made on first use) and a title (in a
// label made on first use), laid out side by side in the middle of its bounds, each inside its own
// edge insets.

#include <memory>
#include <string>

#include "Platform/PlatformExport.h"
#include "Platform/ui/control.h"

namespace plat {

class Image;
class ImageView;
class Label;

class PLAT_EXPORT Button : public Control {
public:
    static std::shared_ptr<Button> create(const Rect& frame = {});

    // Made on first use, so a button without an image has no image view.
    const std::shared_ptr<ImageView>& imageView();
    bool hasImageView() const { return _imageView != nullptr; }
    std::shared_ptr<Image> image() const;
    void setImage(std::shared_ptr<Image> image);
    const EdgeInsets& imageEdgeInsets() const { return _imageInsets; }
    void setImageEdgeInsets(const EdgeInsets& insets);

    const std::shared_ptr<Label>& titleLabel();
    const std::string& title() const { return _title; }
    void setTitle(std::string title);
    const EdgeInsets& titleEdgeInsets() const { return _titleInsets; }
    void setTitleEdgeInsets(const EdgeInsets& insets);

    void layoutSubviews() override;
    Size sizeThatFits(Size size) const override;

protected:
    explicit Button(const Rect& frame) : Control(frame) {}

private:
    Size imageSize() const;
    Size titleSize() const;

    std::shared_ptr<ImageView> _imageView;
    std::shared_ptr<Label> _titleLabel;
    std::string _title;
    EdgeInsets _imageInsets, _titleInsets;
};

}  // namespace plat
