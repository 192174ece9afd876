#pragma once
// The update animation a frame of the bubble plotter belongs to, as its growth rules read it.

#include <cstdint>

#include "KivoCore/KivoNotifyCollectionChangedEventArgs.h"

namespace kivo::detail {

struct BubbleUpdatePhase {
    bool seriesChange = false;  // a change of the chart's series is replayed
    bool itemChange = false;    // a change of the chart's items is replayed
    bool task1 = false;
    bool task2 = false;
    std::int64_t action = KivoNotifyCollectionChangedActionReset;
    std::int64_t startingIndex = -1;
    std::int64_t oldStartingIndex = -1;
};

}  // namespace kivo::detail
