// Made from an interface file: the same internal initialiser as from a frame, after the platform
// view has decoded its own keys. The classes register by name when the library loads.

#include "OmbriChart/OmbriChart.h"
#include "Platform/ui/view_coding.h"

std::shared_ptr<OmbriChart> OmbriChart::create(const plat::Coder& coder) {
    return initializedFromCoder(std::shared_ptr<OmbriChart>(new OmbriChart(decodedFrame(coder))), coder);
}

namespace {

[[maybe_unused]] const bool registeredOmbriChart = plat::registerCodedView<OmbriChart>("OmbriChart");

}  // namespace
