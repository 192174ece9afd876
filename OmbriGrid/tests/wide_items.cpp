#include "wide_items.h"

#include <memory>

namespace grid_test {

PLAT_DEFINE_CLASS(Wide, plat::Object, plat::property("c0", &Wide::c0), plat::property("c1", &Wide::c1),
                  plat::property("c2", &Wide::c2), plat::property("c3", &Wide::c3), plat::property("c4", &Wide::c4),
                  plat::property("c5", &Wide::c5), plat::property("c6", &Wide::c6), plat::property("c7", &Wide::c7),
                  plat::property("c8", &Wide::c8), plat::property("c9", &Wide::c9))

plat::ArrayPtr wideItems(long count, long step) {
    auto items = std::make_shared<plat::Array>();
    items->reserve(static_cast<std::size_t>(count > 0 ? count : 0));
    for (long i = 0; i < count; ++i) items->push_back(plat::Value(std::make_shared<Wide>(i * step)));
    return items;
}

}  // namespace grid_test
