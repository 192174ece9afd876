#pragma once
// The default header of a drop-down: a text field that is its own delegate and gives up the keyboard
// on return.

#include <memory>
#include <optional>
#include <string>

#include "KivoInput/KivoInputExport.h"
#include "Platform/ui/text_field.h"

class KivoDropDown;

class KIVO_INPUT_EXPORT KivoDropDownHeaderView : public plat::TextField, public plat::TextFieldDelegate {
public:
    static std::shared_ptr<KivoDropDownHeaderView> create(const plat::Rect& frame = {});

    // Each changes the field only when the value differs from what it shows.
    void setHeaderText(const std::optional<std::string>& text);
    void setHeaderFont(const plat::Font& font);
    void setHeaderTextAlignment(plat::TextAlignment alignment);
    // Also asks for layout.
    void setHeaderBackgroundColor(const std::optional<plat::Color>& color);
    void refresh() { setNeedsLayout(); }

    // Set by the drop-down that made the header; held weakly.
    std::shared_ptr<KivoDropDown> kivoDropDown() const { return _kivoDropDown.lock(); }
    void setKivoDropDown(const std::shared_ptr<KivoDropDown>& dropDown) { _kivoDropDown = dropDown; }

    bool textFieldShouldReturn(plat::TextField& field) override;

protected:
    explicit KivoDropDownHeaderView(const plat::Rect& frame) : plat::TextField(frame) {}
    void initialize() override;

private:
    std::weak_ptr<KivoDropDown> _kivoDropDown;
};
