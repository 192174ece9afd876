// Made from an interface file: the same internal initialiser as from a frame, after the platform
// view has decoded its own keys. The classes register by name when the library loads.

#include "OmbriGrid/OmbriGrid.h"
#include "Platform/ui/view_coding.h"

std::shared_ptr<OmbriGrid> OmbriGrid::create(const plat::Coder& coder) {
    return initializedFromCoder(std::shared_ptr<OmbriGrid>(new OmbriGrid(decodedFrame(coder))), coder);
}

namespace {

[[maybe_unused]] const bool registeredOmbriGrid = plat::registerCodedView<OmbriGrid>("OmbriGrid");

}  // namespace
