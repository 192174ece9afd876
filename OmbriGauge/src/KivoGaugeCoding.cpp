// Made from an interface file: the same internal initialiser as from a frame, after the platform
// view has decoded its own keys. The classes register by name when the library loads.

#include "OmbriGauge/KivoBulletGraph.h"
#include "OmbriGauge/KivoLinearGauge.h"
#include "OmbriGauge/KivoRadialGauge.h"
#include "Platform/ui/view_coding.h"

std::shared_ptr<KivoLinearGauge> KivoLinearGauge::create(const plat::Coder& coder) {
    return initializedFromCoder(std::shared_ptr<KivoLinearGauge>(new KivoLinearGauge(decodedFrame(coder))), coder);
}

std::shared_ptr<KivoRadialGauge> KivoRadialGauge::create(const plat::Coder& coder) {
    return initializedFromCoder(std::shared_ptr<KivoRadialGauge>(new KivoRadialGauge(decodedFrame(coder))), coder);
}

std::shared_ptr<KivoBulletGraph> KivoBulletGraph::create(const plat::Coder& coder) {
    return initializedFromCoder(std::shared_ptr<KivoBulletGraph>(new KivoBulletGraph(decodedFrame(coder))), coder);
}

namespace {

[[maybe_unused]] const bool registeredKivoLinearGauge = plat::registerCodedView<KivoLinearGauge>("KivoLinearGauge");
[[maybe_unused]] const bool registeredKivoRadialGauge = plat::registerCodedView<KivoRadialGauge>("KivoRadialGauge");
[[maybe_unused]] const bool registeredKivoBulletGraph = plat::registerCodedView<KivoBulletGraph>("KivoBulletGraph");

}  // namespace
