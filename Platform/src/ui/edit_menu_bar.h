#pragma once
// The edit menu's bar: one button per action, side by side, on a dark rounded background with thin
// separators between the items.

#include <functional>
#include <memory>
#include <vector>

#include "Platform/ui/responder.h"
#include "Platform/ui/view.h"

namespace plat {

class Button;

class EditMenuBar : public View {
public:
    using Handler = std::function<void(EditAction)>;
    static std::shared_ptr<EditMenuBar> create(const std::vector<EditAction>& actions, Handler onTap);

    static constexpr Color Background = Color(0.12, 0.12, 0.12, 0.95);
    static constexpr Color TitleColor = Color(1, 1, 1);
    static constexpr Color SeparatorColor = Color(1, 1, 1, 0.3);

    // The width the items need side by side.
    double preferredWidth() const;
    const std::vector<std::shared_ptr<Button>>& buttons() const { return _buttons; }

    void layoutSubviews() override;
    void drawRect(Context& context, const Rect& rect) override;

protected:
    EditMenuBar() : View(Rect{}) {}

private:
    double itemWidth(std::size_t index) const;

    std::vector<std::shared_ptr<Button>> _buttons;
};

}  // namespace plat
