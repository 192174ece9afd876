#include "KivoCore/KivoButton.h"

#include "Platform/ui/image_view.h"

std::shared_ptr<KivoButton> KivoButton::create(const plat::Rect& frame) {
    return initialized(std::shared_ptr<KivoButton>(new KivoButton(frame)));
}

void KivoButton::layoutSubviews() {
    plat::Button::layoutSubviews();
    setImageEdgeInsets({});
    const plat::Rect b = bounds();
    // The image view's layer carries its frame, so this places both.
    imageView()->setFrame({0, 0, b.width(), b.height()});
}
