// Made from an interface file: the same internal initialiser as from a frame, after the platform
// view has decoded its own keys. The classes register by name when the library loads.

#include "KivoDropDown/KivoDropDown.h"
#include "KivoDropDown/KivoDropDownButton.h"
#include "KivoDropDown/KivoDropDownView.h"
#include "Platform/ui/view_coding.h"

std::shared_ptr<KivoDropDown> KivoDropDown::create(const plat::Coder& coder) {
    return initializedFromCoder(std::shared_ptr<KivoDropDown>(new KivoDropDown(decodedFrame(coder))), coder);
}

std::shared_ptr<KivoDropDownButton> KivoDropDownButton::create(const plat::Coder& coder) {
    return initializedFromCoder(std::shared_ptr<KivoDropDownButton>(new KivoDropDownButton(decodedFrame(coder))), coder);
}

std::shared_ptr<KivoDropDownView> KivoDropDownView::create(const plat::Coder& coder) {
    return initializedFromCoder(std::shared_ptr<KivoDropDownView>(new KivoDropDownView(decodedFrame(coder))), coder);
}

namespace {

[[maybe_unused]] const bool registeredKivoDropDown = plat::registerCodedView<KivoDropDown>("KivoDropDown");
[[maybe_unused]] const bool registeredKivoDropDownButton = plat::registerCodedView<KivoDropDownButton>("KivoDropDownButton");
[[maybe_unused]] const bool registeredKivoDropDownView = plat::registerCodedView<KivoDropDownView>("KivoDropDownView");

}  // namespace
