#pragma once
// The arrow button at the right end of a drop-down's header: a chevron that points down while the
// popup is closed and up while it is open, drawn through a render engine.

#include <memory>
#include <optional>

#include "KivoInput/KivoInputExport.h"
#include "Platform/graphics/color.h"
#include "Platform/ui/button.h"

class KivoDropDown;
class KivoRenderEngine;

class KIVO_INPUT_EXPORT KivoDropDownButton : public plat::Button {
public:
    static std::shared_ptr<KivoDropDownButton> create(const plat::Rect& frame = {});
    // From an interface file, with the same defaults as from a frame; raises plat::CoderException.
    static std::shared_ptr<KivoDropDownButton> create(const plat::Coder& coder);

    static constexpr plat::Color DefaultButtonColor = plat::Color::lightGray();
    static constexpr double ChevronLineWidth = 1.0;
    // The chevron keeps this share of the button's width clear on every side.
    static constexpr double ChevronInsetRatio = 1.0 / 6;

    // The colour the chevron is drawn in; changing it redraws the button.
    void setDropDownButtonColor(const plat::Color& color);
    // Stores the colour only: the chevron keeps the colour it is drawn in.
    const plat::Color& buttonColor() const { return _buttonColor; }
    void setButtonColor(const plat::Color& color) { _buttonColor = color; }

    bool isDropDownOpen() const { return _isDropDownOpen; }
    // Points the chevron up (open) or down (closed).
    void updateDropDownButton(bool open);

    // Not set by the drop-down; held weakly.
    std::shared_ptr<KivoDropDown> kivoDropDown() const { return _kivoDropDown.lock(); }
    void setKivoDropDown(const std::shared_ptr<KivoDropDown>& dropDown) { _kivoDropDown = dropDown; }

    const std::shared_ptr<KivoRenderEngine>& renderEngine() const { return _renderEngine; }

    void drawRect(plat::Context& context, const plat::Rect& rect) override;

protected:
    explicit KivoDropDownButton(const plat::Rect& frame) : plat::Button(frame) {}
    void initialize() override;
    void _initInternals();

private:
    std::shared_ptr<KivoRenderEngine> _renderEngine;
    bool _isDropDownOpen = false;
    plat::Color _buttonColor = DefaultButtonColor;
    std::weak_ptr<KivoDropDown> _kivoDropDown;
};
