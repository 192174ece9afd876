#include "Platform/ui/button.h"

#include <algorithm>

#include "Platform/graphics/image.h"
#include "Platform/ui/image_view.h"
#include "Platform/ui/label.h"

namespace plat {

std::shared_ptr<Button> Button::create(const Rect& frame) { return initialized(std::shared_ptr<Button>(new Button(frame))); }

std::shared_ptr<Button> Button::create(ButtonType type, const Rect& frame) {
    if (type != ButtonType::System) type = ButtonType::Custom;
    return initialized(std::shared_ptr<Button>(new Button(frame, type)));
}

std::uint32_t Button::state() const {
    std::uint32_t s = ControlStateNormal;
    if (isHighlighted()) s |= ControlStateHighlighted;
    if (!isEnabled()) s |= ControlStateDisabled;
    if (isSelected()) s |= ControlStateSelected;
    return s;
}

namespace {

template <typename T>
std::optional<T> forState(const std::map<std::uint32_t, T>& values, std::uint32_t state) {
    auto it = values.find(state);
    if (it == values.end()) it = values.find(ControlStateNormal);
    if (it == values.end()) return std::nullopt;
    return it->second;
}

template <typename T>
void setForState(std::map<std::uint32_t, T>& values, std::optional<T> value, std::uint32_t state) {
    if (value) {
        values.insert_or_assign(state, std::move(*value));
    } else {
        values.erase(state);
    }
}

}  // namespace

void Button::setTitle(std::optional<std::string> title, std::uint32_t state) {
    setForState(_titles, std::move(title), state);
    updateTitle();
}

std::optional<std::string> Button::titleForState(std::uint32_t state) const { return forState(_titles, state); }

void Button::setTitleColor(std::optional<Color> color, std::uint32_t state) {
    setForState(_titleColors, color, state);
    updateTitle();
}

std::optional<Color> Button::titleColorForState(std::uint32_t state) const { return forState(_titleColors, state); }

Color Button::currentTitleColor() const {
    if (_type == ButtonType::System) {
        Color tint = tintColor();
        if (isHighlighted()) tint.a *= SystemHighlightedTitleAlpha;
        return tint;
    }
    if (auto color = titleColorForState(state())) return *color;
    return _titleLabel ? _titleLabel->textColor() : tintColor();
}

void Button::updateTitle() {
    std::string shown = titleForState(state()).value_or(std::string());
    if (!_titleLabel && shown.empty()) return;
    const auto& label = titleLabel();
    label->setTextColor(currentTitleColor());
    if (shown == _title) return;
    _title = std::move(shown);
    label->setText(_title);
    setNeedsLayout();
}

void Button::setEnabled(bool enabled) {
    Control::setEnabled(enabled);
    updateTitle();
}

void Button::setSelected(bool selected) {
    Control::setSelected(selected);
    updateTitle();
}

void Button::setHighlighted(bool highlighted) {
    Control::setHighlighted(highlighted);
    updateTitle();
}

void Button::tintColorDidChange() {
    Control::tintColorDidChange();
    updateTitle();
}

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
