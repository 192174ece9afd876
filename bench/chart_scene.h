#pragma once
// The frame of the chart benchmarks: a chart filling a window that is drawn into an image, on a
// virtual clock so that nothing moves between measured passes. Each benchmark's scene derives from it
// and sets its chart up in its own constructor.

#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "OmbriChart/OmbriChart.h"
#include "Platform/graphics/image_context.h"
#include "Platform/runtime/clock.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/ui/window.h"

// "s0", "Series 3": a prefix and a number. Built by appending, because GCC 12 at -O2 warns falsely
// (-Wrestrict) about `"literal" + std::string&&`.
inline std::string numbered(std::string_view prefix, int n) {
    std::string name(prefix);
    name += std::to_string(n);
    return name;
}

template <class Chart = OmbriChart>
struct ChartSceneBase {
    static constexpr double VirtualStart = 1704067200;  // 2024-01-01 00:00 UTC

    ChartSceneBase(std::shared_ptr<Chart> chart, const plat::Rect& screen, double deviceScale = 1)
        : window(plat::Window::create(screen)), chart(std::move(chart)), image{screen.size, deviceScale, true} {
        plat::Clock::useVirtual(plat::Date(VirtualStart));
    }
    ~ChartSceneBase() {
        plat::RunLoop::main().discardPendingWork();
        plat::Clock::useSystem();
    }
    ChartSceneBase(const ChartSceneBase&) = delete;
    ChartSceneBase& operator=(const ChartSceneBase&) = delete;

    // One measured pass: the chart redrawn from its data.
    void pass() {
        chart->invalidate();
        window->display(image.context());
    }

    std::shared_ptr<plat::Window> window;
    std::shared_ptr<Chart> chart;
    plat::ImageContext image;
};
