#include "Platform/ui/button.h"

#include <algorithm>

#include "Platform/graphics/image.h"
#include "Platform/ui/image_view.h"
#include "Platform/ui/label.h"

namespace plat {

std::shared_ptr<Button> Button::create(const Rect& frame) { return initialized(std::shared_ptr<Button>(new Button(frame))); }

const std::shared_ptr<ImageView>& Button::imageView() {
    if (!_imageView) {
        _imageView = ImageView::create();
        _imageView->setContentMode(ContentMode::ScaleAspectFit);
        addSubview(_imageView);
        setNeedsLayout();
    }
    return _imageView;
}

std::shared_ptr<Image> Button::image() const { return _imageView ? _imageView->image() : nullptr; }

void Button::setImage(std::shared_ptr<Image> image) {
    if (!image && !_imageView) return;
    imageView()->setImage(std::move(image));
    setNeedsLayout();
}

void Button::setImageEdgeInsets(const EdgeInsets& insets) {
    if (insets == _imageInsets) return;
    _imageInsets = insets;
    setNeedsLayout();
}

const std::shared_ptr<Label>& Button::titleLabel() {
    if (!_titleLabel) {
        _titleLabel = Label::create();
        _titleLabel->setTextAlignment(TextAlignment::Center);
        _titleLabel->setTextColor(tintColor());
        addSubview(_titleLabel);
        setNeedsLayout();
    }
    return _titleLabel;
}

void Button::setTitle(std::string title) {
    if (title == _title) return;
    _title = std::move(title);
    titleLabel()->setText(_title);
    setNeedsLayout();
}

void Button::setTitleEdgeInsets(const EdgeInsets& insets) {
    if (insets == _titleInsets) return;
    _titleInsets = insets;
    setNeedsLayout();
}

Size Button::imageSize() const {
    auto img = image();
    return img ? img->size() : Size{};
}

Size Button::titleSize() const { return _titleLabel && !_title.empty() ? _titleLabel->sizeThatFits({}) : Size{}; }

Size Button::sizeThatFits(Size) const {
    const Size i = imageSize(), t = titleSize();
    return {i.width + t.width, std::max(i.height, t.height)};
}

void Button::layoutSubviews() {
    Control::layoutSubviews();
    const Rect b = bounds();
    const Size i = imageSize(), t = titleSize();
    // Image and title side by side, centred together.
    const double total = i.width + t.width;
    double x = b.midX() - total / 2;
    if (_imageView) {
        Rect area = Rect(x, b.y(), i.width, b.height()).inset(_imageInsets);
        const double w = std::clamp(i.width, 0.0, std::max(0.0, area.width()));
        const double h = std::clamp(i.height, 0.0, std::max(0.0, area.height()));
        _imageView->setFrame({area.midX() - w / 2, area.midY() - h / 2, w, h});
        x += i.width;
    }
    if (_titleLabel) {
        Rect area = Rect(x, b.y(), t.width, b.height()).inset(_titleInsets);
        _titleLabel->setFrame({area.x(), area.midY() - t.height / 2, std::max(0.0, area.width()), t.height});
        _titleLabel->setHidden(_title.empty());
    }
}

}  // namespace plat
