#include "KivoDropDown/KivoDropDownHeaderView.h"

std::shared_ptr<KivoDropDownHeaderView> KivoDropDownHeaderView::create(const plat::Rect& frame) {
    return initialized(std::shared_ptr<KivoDropDownHeaderView>(new KivoDropDownHeaderView(frame)));
}

void KivoDropDownHeaderView::initialize() {
    plat::TextField::initialize();
    setUserInteractionEnabled(true);
    setDelegate(std::static_pointer_cast<KivoDropDownHeaderView>(shared_from_this()));
}

void KivoDropDownHeaderView::setHeaderText(const std::optional<std::string>& text) {
    const std::string value = text.value_or(std::string());
    if (value != this->text()) setText(value);
}

void KivoDropDownHeaderView::setHeaderFont(const plat::Font& font) {
    if (!(font == this->font())) setFont(font);
}

void KivoDropDownHeaderView::setHeaderTextAlignment(plat::TextAlignment alignment) {
    if (alignment != textAlignment()) setTextAlignment(alignment);
}

void KivoDropDownHeaderView::setHeaderBackgroundColor(const std::optional<plat::Color>& color) {
    if (color == backgroundColor()) return;
    setBackgroundColor(color);
    refresh();
}

bool KivoDropDownHeaderView::textFieldShouldReturn(plat::TextField&) {
    if (isFirstResponder()) resignFirstResponder();
    return true;
}
