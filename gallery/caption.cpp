#include "caption.h"

#include "Platform/ui/label.h"

namespace gallery {

void addCaption(plat::View& parent, const plat::Rect& frame, const std::string& text, const plat::Color& color) {
    auto label = plat::Label::create(frame);
    label->setText(text);
    label->setFont(plat::Font::system(11));
    label->setTextColor(color);
    parent.addSubview(label);
}

}  // namespace gallery
