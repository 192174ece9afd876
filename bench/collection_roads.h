#pragma once
// The ways a change reaches a control bound to a collection view, for benchmarks that compare what one
// change costs on a short and on a long list: each iteration makes five changes of one kind near the
// middle of the list (at the end for an append) and, untimed, takes them back, so that the list keeps
// its length from one iteration to the next.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <functional>
#include <string>

#include "KivoCore/KivoCollectionView.h"

namespace bench_roads {

enum Road : int { Append = 0, Insert = 1, Replace = 2, Remove = 3 };

inline const char* roadName(std::int64_t road) {
    switch (road) {
        case Append:
            return "append to the source";
        case Insert:
            return "insert";
        case Replace:
            return "replace";
        default:
            return "remove";
    }
}

constexpr int ChangesPerIteration = 5;

// Runs the benchmark's loop: `makeItem` gives a new item for each added or replacing one.
inline void runRoad(benchmark::State& state, KivoCollectionView& view, std::int64_t road,
                    const std::function<plat::Value()>& makeItem) {
    for (auto _ : state) {
        const auto middle = static_cast<std::size_t>(view.itemCount() / 2);
        for (int i = 0; i < ChangesPerIteration; ++i) {
            switch (road) {
                case Append:
                    view.addObject(makeItem());
                    break;
                case Insert:
                    view.insertObject(makeItem(), middle);
                    break;
                case Replace:
                    view.replaceObjectAtIndex(middle + static_cast<std::size_t>(i), makeItem());
                    break;
                default:
                    view.removeAt(static_cast<std::int32_t>(middle));
                    break;
            }
        }
        state.PauseTiming();
        for (int i = 0; i < ChangesPerIteration; ++i) {
            if (road == Append) view.removeAt(view.itemCount() - 1);
            if (road == Insert) view.removeAt(static_cast<std::int32_t>(middle));
            if (road == Remove) view.insertObject(makeItem(), middle);
        }
        state.ResumeTiming();
    }
    state.SetLabel(roadName(road));
}

}  // namespace bench_roads
