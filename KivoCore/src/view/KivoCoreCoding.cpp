// Made from an interface file: the same internal initialiser as from a frame, after the platform
// view has decoded its own keys. The classes register by name when the library loads.

#include "KivoCore/KivoCheckBox.h"
#include "KivoCore/KivoView.h"
#include "Platform/ui/view_coding.h"

std::shared_ptr<KivoView> KivoView::create(const plat::Coder& coder) {
    return initializedFromCoder(std::shared_ptr<KivoView>(new KivoView(decodedFrame(coder))), coder);
}

std::shared_ptr<KivoCheckBox> KivoCheckBox::create(const plat::Coder& coder) {
    return initializedFromCoder(std::shared_ptr<KivoCheckBox>(new KivoCheckBox(decodedFrame(coder))), coder);
}

namespace {

[[maybe_unused]] const bool registeredKivoView = plat::registerCodedView<KivoView>("KivoView");
[[maybe_unused]] const bool registeredKivoCheckBox = plat::registerCodedView<KivoCheckBox>("KivoCheckBox");

}  // namespace
