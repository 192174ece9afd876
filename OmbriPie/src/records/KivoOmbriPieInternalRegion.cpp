#include "OmbriPie/KivoOmbriPieInternalRegion.h"

#include "Platform/foundation/reflect.h"

PLAT_DEFINE_CLASS(KivoOmbriPieInternalRegion, plat::Object, plat::property("name", &KivoOmbriPieInternalRegion::name),
                  plat::property("value", &KivoOmbriPieInternalRegion::value),
                  plat::property("value2", &KivoOmbriPieInternalRegion::value2),
                  plat::property("value3", &KivoOmbriPieInternalRegion::value3))

plat::ArrayPtr KivoOmbriPieInternalRegion::demo() {
    return std::make_shared<plat::Array>(plat::Array{
        plat::Value(std::make_shared<KivoOmbriPieInternalRegion>("Oranges", 62)),
        plat::Value(std::make_shared<KivoOmbriPieInternalRegion>("South", 63)),
        plat::Value(std::make_shared<KivoOmbriPieInternalRegion>("East", 28)),
        plat::Value(std::make_shared<KivoOmbriPieInternalRegion>("West", 13)),
    });
}

plat::ArrayPtr KivoOmbriPieInternalRegion::demo2() {
    return std::make_shared<plat::Array>(plat::Array{
        plat::Value(std::make_shared<KivoOmbriPieInternalRegion>("North", 20, 40, 60)),
        plat::Value(std::make_shared<KivoOmbriPieInternalRegion>("South", 40, 60, 80)),
        plat::Value(std::make_shared<KivoOmbriPieInternalRegion>("East", 60, 80, 20)),
        plat::Value(std::make_shared<KivoOmbriPieInternalRegion>("West", 80, 20, 40)),
    });
}
