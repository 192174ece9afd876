#include "ui/edit_menu_bar.h"

#include "Platform/graphics/context.h"
#include "Platform/graphics/font.h"
#include "Platform/ui/button.h"
#include "Platform/ui/label.h"
#include "Platform/ui/menu_controller.h"

namespace plat {

std::shared_ptr<EditMenuBar> EditMenuBar::create(const std::vector<EditAction>& actions, Handler onTap) {
    auto bar = initialized(std::shared_ptr<EditMenuBar>(new EditMenuBar()));
    bar->setBackgroundColor(Background);
    bar->layer()->setCornerRadius(MenuController::CornerRadius);
    bar->setClipsToBounds(true);
    for (EditAction action : actions) {
        auto button = Button::create();
        button->titleLabel()->setFont(Font::system(MenuController::TitleFontSize));
        button->setTitleColor(TitleColor, ControlStateNormal);
        button->setTitle(editActionTitle(action));
        button->addTarget([onTap, action](Control&) { onTap(action); }, ControlEventTouchUpInside);
        bar->addSubview(button);
        bar->_buttons.push_back(std::move(button));
    }
    return bar;
}

double EditMenuBar::itemWidth(std::size_t index) const {
    return _buttons[index]->titleLabel()->sizeThatFits({}).width + 2 * MenuController::ItemPadding;
}

double EditMenuBar::preferredWidth() const {
    double width = 0;
    for (std::size_t i = 0; i < _buttons.size(); ++i) width += itemWidth(i);
    return width;
}

void EditMenuBar::layoutSubviews() {
    View::layoutSubviews();
    // Squeezed evenly when the window is narrower than the items.
    const double need = preferredWidth();
    const double scale = need > bounds().width() && need > 0 ? bounds().width() / need : 1;
    double x = 0;
    for (std::size_t i = 0; i < _buttons.size(); ++i) {
        const double w = itemWidth(i) * scale;
        _buttons[i]->setFrame({x, 0, w, bounds().height()});
        x += w;
    }
}

void EditMenuBar::drawRect(Context& context, const Rect&) {
    context.setFillColor(SeparatorColor);
    for (std::size_t i = 1; i < _buttons.size(); ++i) {
        const Rect f = _buttons[i]->frame();
        context.fillRect({f.x() - 0.5, 0, 1, bounds().height()});
    }
}

}  // namespace plat
