// Made from an interface file: the same internal initialiser as from a frame, after the platform
// view has decoded its own keys. The classes register by name when the library loads.

#include "ChartCore/OmbriChartBase.h"
#include "Platform/ui/view_coding.h"

std::shared_ptr<OmbriChartBase> OmbriChartBase::create(const plat::Coder& coder) {
    return initializedFromCoder(std::shared_ptr<OmbriChartBase>(new OmbriChartBase(decodedFrame(coder))), coder);
}

namespace {

[[maybe_unused]] const bool registeredOmbriChartBase = plat::registerCodedView<OmbriChartBase>("OmbriChartBase");

}  // namespace
