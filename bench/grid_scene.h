#pragma once
// The frame of the grid benchmarks: a grid of ten columns (numbers, texts, dates and Booleans whose
// values repeat every 1,000 rows, so every row count shows the same texts) filling a window that is
// drawn into an image, on a virtual clock so that nothing moves between measured passes.

#include <memory>
#include <string>
#include <string_view>

#include "KivoCore/KivoCollectionView.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "Platform/foundation/date.h"
#include "Platform/foundation/reflect.h"
#include "Platform/graphics/image_context.h"
#include "Platform/runtime/clock.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/ui/window.h"

class GridSceneRecord : public plat::Object {
public:
    PLAT_CLASS()
    double amount = 0, price = 0, ratio = 0;
    std::string code, city, note;
    plat::Date opened, closed;
    bool active = false, flagged = false;
};

struct GridScene {
    static constexpr double VirtualStart = 1704067200;  // 2024-01-01 00:00 UTC
    static constexpr long Period = 1000;

    explicit GridScene(long rows, const plat::Rect& screen = {0, 0, 800, 600})
        : window(plat::Window::create(screen)), grid(OmbriGrid::create(screen)), image{screen.size, 1, true} {
        plat::Clock::useVirtual(plat::Date(VirtualStart));
        auto items = std::make_shared<plat::Array>();
        items->reserve(static_cast<std::size_t>(rows));
        for (long i = 0; i < rows; ++i) items->push_back(record(i % Period));
        view = KivoCollectionView::create(items);
        grid->setCollectionView(view);
        window->addSubview(grid);
        window->display(image.context());
        // The middle: half the rows' height down.
        grid->setScrollPosition({0, grid->rows()->totalSize() / 2.0});
        window->display(image.context());
    }
    ~GridScene() {
        plat::RunLoop::main().discardPendingWork();
        plat::Clock::useSystem();
    }
    GridScene(const GridScene&) = delete;
    GridScene& operator=(const GridScene&) = delete;

    // A pass that makes every visible cell's image again.
    void fullPass() {
        grid->invalidate();
        window->display(image.context());
    }
    // A pass that draws the visible cells from their cached images.
    void cachedPass() {
        grid->setNeedsDisplay();
        window->display(image.context());
    }

    // A prefix and a number, built by appending: GCC 12 at -O2 warns falsely (-Wrestrict) about
    // `"literal" + std::string&&`.
    static std::string labelled(std::string_view prefix, long n) {
        std::string s(prefix);
        s += std::to_string(n);
        return s;
    }

    static plat::Value record(long k) {
        auto r = std::make_shared<GridSceneRecord>();
        r->amount = static_cast<double>(k) * 1.25;
        r->price = static_cast<double>(k % 97) + 0.99;
        r->ratio = static_cast<double>(k) / Period;
        r->code = labelled("C", k);
        r->city = labelled("City ", k % 50);
        r->note = labelled("n", k * 7);
        r->opened = plat::Date(VirtualStart + static_cast<double>(k) * 86400);
        r->closed = plat::Date(VirtualStart + static_cast<double>(k) * 3600);
        r->active = k % 2 == 0;
        r->flagged = k % 3 == 0;
        return plat::Value(std::move(r));
    }

    std::shared_ptr<plat::Window> window;
    std::shared_ptr<OmbriGrid> grid;
    std::shared_ptr<KivoCollectionView> view;
    plat::ImageContext image;
};
