// Made from an interface file: the same internal initialiser as from a frame, after the platform
// view has decoded its own keys. The classes register by name when the library loads.

#include "KivoAutoComplete/KivoAutoComplete.h"
#include "Platform/ui/view_coding.h"

std::shared_ptr<KivoAutoComplete> KivoAutoComplete::create(const plat::Coder& coder) {
    return initializedFromCoder(std::shared_ptr<KivoAutoComplete>(new KivoAutoComplete(decodedFrame(coder))), coder);
}

namespace {

[[maybe_unused]] const bool registeredKivoAutoComplete = plat::registerCodedView<KivoAutoComplete>("KivoAutoComplete");

}  // namespace
