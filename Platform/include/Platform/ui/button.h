#pragma once
// A push button: a control with an image (in an image view made on first use) and a title (in a
// label made on first use), laid out side by side in the middle of its bounds, each inside its own
// edge insets. Titles and title colours are set per control state; the one shown follows the
// button's state, falling back to the normal state's.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "Platform/PlatformExport.h"
#include "Platform/ui/control.h"

namespace plat {

class Image;
class ImageView;
class Label;

// The platform's control state bits; a state is a combination of them.
enum ControlState : std::uint32_t {
    ControlStateNormal = 0,
    ControlStateHighlighted = 1u << 0,
    ControlStateDisabled = 1u << 1,
    ControlStateSelected = 1u << 2,
};

// The platform's button type codes.
enum class ButtonType : int {
    // Titles in their state's title colour (a button without title colours leaves its title label's
    // colour as it is).
    Custom = 0,
    // Titles in the tint colour, dimmed while highlighted.
    System = 1,
};

class PLAT_EXPORT Button : public Control {
public:
    static std::shared_ptr<Button> create(const Rect& frame = {});
    // An unknown type code makes a custom button.
    static std::shared_ptr<Button> create(ButtonType type, const Rect& frame = {});

    // How opaque a system button's title is while highlighted.
    static constexpr double SystemHighlightedTitleAlpha = 0.2;

    ButtonType buttonType() const { return _type; }
    // The combination of ControlState bits the button is in now.
    std::uint32_t state() const;

    // Made on first use, so a button without an image has no image view.
    const std::shared_ptr<ImageView>& imageView();
    bool hasImageView() const { return _imageView != nullptr; }
    std::shared_ptr<Image> image() const;
    void setImage(std::shared_ptr<Image> image);
    const EdgeInsets& imageEdgeInsets() const { return _imageInsets; }
    void setImageEdgeInsets(const EdgeInsets& insets);

    const std::shared_ptr<Label>& titleLabel();
    // The title shown now.
    const std::string& title() const { return _title; }
    const std::string& currentTitle() const { return _title; }
    // The normal state's title.
    void setTitle(std::string title) { setTitle(std::optional<std::string>(std::move(title)), ControlStateNormal); }
    // Nothing takes the state's own title away, so that the state shows the normal one.
    void setTitle(std::optional<std::string> title, std::uint32_t state);
    // The state's own title, else the normal state's (nothing when neither is set).
    std::optional<std::string> titleForState(std::uint32_t state) const;
    void setTitleColor(std::optional<Color> color, std::uint32_t state);
    std::optional<Color> titleColorForState(std::uint32_t state) const;
    // The colour the title is drawn in now.
    Color currentTitleColor() const;
    const EdgeInsets& titleEdgeInsets() const { return _titleInsets; }
    void setTitleEdgeInsets(const EdgeInsets& insets);

    void setEnabled(bool enabled) override;
    void setSelected(bool selected) override;
    void setHighlighted(bool highlighted) override;
    void tintColorDidChange() override;

    void layoutSubviews() override;
    Size sizeThatFits(Size size) const override;

protected:
    explicit Button(const Rect& frame, ButtonType type = ButtonType::Custom) : Control(frame), _type(type) {}

private:
    PLAT_NO_EXPORT Size imageSize() const;
    PLAT_NO_EXPORT Size titleSize() const;
    // Shows the title and title colour of the state the button is in.
    PLAT_NO_EXPORT void updateTitle();

    std::shared_ptr<ImageView> _imageView;
    std::shared_ptr<Label> _titleLabel;
    ButtonType _type;
    std::map<std::uint32_t, std::string> _titles;
    std::map<std::uint32_t, Color> _titleColors;
    std::string _title;
    EdgeInsets _imageInsets, _titleInsets;
};

}  // namespace plat
