#include "OmbriChart/OmbriChartInternalChartData.h"

#include <mutex>
#include <random>

#include "Platform/foundation/reflect.h"

PLAT_DEFINE_CLASS(OmbriChartInternalChartData, plat::Object, plat::property("name", &OmbriChartInternalChartData::name),
                  plat::property("sales", &OmbriChartInternalChartData::sales),
                  plat::property("expenses", &OmbriChartInternalChartData::expenses),
                  plat::property("downloads", &OmbriChartInternalChartData::downloads))

namespace {

// Upper bounds (exclusive) of the random demonstration values.
constexpr std::uint32_t SalesRange = 10001;
constexpr std::uint32_t ExpensesRange = 5001;
constexpr std::uint32_t DownloadsRange = 20001;
// The demonstration values are the same in every run, so pictures of the designer chart are stable.
constexpr std::uint32_t DemoSeed = 20240611;

}  // namespace

std::int64_t OmbriChartInternalChartData::generateRandom(std::uint32_t n) {
    static std::mutex mutex;
    static std::mt19937 engine{DemoSeed};
    if (n == 0) return 0;
    const std::lock_guard lock(mutex);
    return static_cast<std::int64_t>(static_cast<std::uint32_t>(engine()) % n);
}

const plat::ArrayPtr& OmbriChartInternalChartData::demoData() {
    static const plat::ArrayPtr data = [] {
        auto array = std::make_shared<plat::Array>();
        for (const char* country : {"US", "Germany", "UK", "Japan", "Italy", "Greece"}) {
            array->push_back(plat::Value(std::make_shared<OmbriChartInternalChartData>(
                country, generateRandom(SalesRange), generateRandom(ExpensesRange), generateRandom(DownloadsRange))));
        }
        return array;
    }();
    return data;
}
