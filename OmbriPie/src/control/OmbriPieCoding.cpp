// Made from an interface file: the same internal initialiser as from a frame, after the platform
// view has decoded its own keys. The classes register by name when the library loads.

#include "OmbriPie/OmbriPie.h"
#include "Platform/ui/view_coding.h"

std::shared_ptr<OmbriPie> OmbriPie::create(const plat::Coder& coder) {
    return initializedFromCoder(std::shared_ptr<OmbriPie>(new OmbriPie(decodedFrame(coder))), coder);
}

namespace {

[[maybe_unused]] const bool registeredOmbriPie = plat::registerCodedView<OmbriPie>("OmbriPie");

}  // namespace
