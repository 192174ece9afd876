// Made from an interface file: the same internal initialiser as from a frame, after the platform
// view has decoded its own keys. The classes register by name when the library loads.

#include "KivoCalendar/KivoCalendar.h"
#include "Platform/ui/view_coding.h"

std::shared_ptr<KivoCalendar> KivoCalendar::create(const plat::Coder& coder) {
    return initializedFromCoder(std::shared_ptr<KivoCalendar>(new KivoCalendar(decodedFrame(coder))), coder);
}

namespace {

[[maybe_unused]] const bool registeredKivoCalendar = plat::registerCodedView<KivoCalendar>("KivoCalendar");

}  // namespace
