// Made from an interface file: the same internal initialiser as from a frame, after the platform
// view has decoded its own keys. The classes register by name when the library loads.

#include "KivoComboBox/KivoComboBox.h"
#include "Platform/ui/view_coding.h"

std::shared_ptr<KivoComboBox> KivoComboBox::create(const plat::Coder& coder) {
    return initializedFromCoder(std::shared_ptr<KivoComboBox>(new KivoComboBox(decodedFrame(coder))), coder);
}

namespace {

[[maybe_unused]] const bool registeredKivoComboBox = plat::registerCodedView<KivoComboBox>("KivoComboBox");

}  // namespace
