#pragma once
// A button whose image view always fills the whole button.

#include <memory>

#include "KivoCore/KivoCoreExport.h"
#include "Platform/ui/button.h"

class KIVO_CORE_EXPORT KivoButton : public plat::Button {
public:
    static std::shared_ptr<KivoButton> create(const plat::Rect& frame = {});

    // The button's own layout, then the image view stretched over the whole button (no insets).
    // The button stays where its superview placed it.
    void layoutSubviews() override;

protected:
    explicit KivoButton(const plat::Rect& frame) : plat::Button(frame) {}
};
