// Made from an interface file: the same internal initialiser as from a frame, after the platform
// view has decoded its own keys. The classes register by name when the library loads.

#include "KivoMaskedTextField/KivoMaskedTextField.h"
#include "Platform/ui/view_coding.h"

std::shared_ptr<KivoMaskedTextField> KivoMaskedTextField::create(const plat::Coder& coder) {
    return initializedFromCoder(std::shared_ptr<KivoMaskedTextField>(new KivoMaskedTextField(decodedFrame(coder))), coder);
}

namespace {

[[maybe_unused]] const bool registeredKivoMaskedTextField = plat::registerCodedView<KivoMaskedTextField>("KivoMaskedTextField");

}  // namespace
