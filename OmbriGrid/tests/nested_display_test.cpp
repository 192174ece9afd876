// A handler or delegate that redraws the window from inside the grid's drawing pass: the outer pass
// carries on into its own context.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "OmbriGrid/OmbriGridDelegate.h"
#include "OmbriGrid/OmbriGridEventArgs.h"
#include "Platform/ui/window.h"
#include "grid_drawing.h"

namespace {

enum class Hook { FormatItem, Overlay, DelegateFormatItem };

struct Redrawing : OmbriGridDelegate {
    std::optional<bool> formatItem(const Grid&, const Panel& p, const Range& r, plat::Context*) override {
        if (p->cellType() == GridCellTypeCell && r->row() == 1 && r->col() == 1) redraw();
        return std::nullopt;
    }
    std::function<void()> redraw;
};

class NestedDisplay : public grid_test::DrawnGrid, public ::testing::WithParamInterface<Hook> {};

TEST_P(NestedDisplay, TheOuterPassKeepsItsContext) {
    auto window = plat::Window::create({0, 0, 400, 300});
    window->addSubview(grid);
    bindRecords(40);
    // The text reaches the recordings rather than the cell images.
    drawStraight();
    grid->setScrollIndicatorColor(plat::Color::red());
    int passes = 0, nested = 0;
    auto token = std::make_shared<int>();
    grid->ombriGridRendering()->addHandler([&](const auto&) { ++passes; }, token);
    plat::RecordingContext inner;
    // Once only: the nested pass raises the same hooks.
    auto redraw = [&] {
        if (nested > 0) return;
        nested = 1;
        grid->setNeedsDisplay();
        window->display(inner);
    };
    auto onCell = [&](const std::shared_ptr<KivoEventContainer>& e) {
        const auto args = e->args<GridFormatItemEventArgs>();
        if (args->panel()->cellType() == GridCellTypeCell && args->row() == 1 && args->col() == 1) redraw();
    };
    const auto delegate = std::make_shared<Redrawing>();
    delegate->redraw = redraw;
    switch (GetParam()) {
        case Hook::FormatItem:
            grid->ombriGridFormatItem()->addHandler(onCell, token);
            break;
        case Hook::Overlay:
            grid->ombriGridProcessItemOverlay()->addHandler(onCell, token);
            break;
        case Hook::DelegateFormatItem:
            grid->setDelegate(delegate);
            break;
    }
    plat::RecordingContext outer;
    window->display(outer);
    ASSERT_EQ(nested, 1);
    EXPECT_EQ(passes, 2) << "the nested display drew the grid";
    // The outer recording has the cells after the nested pass, their text and the indicator.
    for (const auto* rec : {&outer, &inner}) {
        EXPECT_NE(rec->findText("r1"), nullptr);
        EXPECT_NE(rec->findText("r5"), nullptr);
        bool bar = false;
        for (const auto* op : rec->fills()) bar = bar || op->color == plat::Color::red();
        EXPECT_TRUE(bar) << (rec == &outer ? "outer" : "inner") << " pass has its scroll indicator";
    }
}

INSTANTIATE_TEST_SUITE_P(Hooks, NestedDisplay, ::testing::Values(Hook::FormatItem, Hook::Overlay, Hook::DelegateFormatItem),
                         [](const auto& info) {
                             switch (info.param) {
                                 case Hook::FormatItem:
                                     return std::string("FormatItemHandler");
                                 case Hook::Overlay:
                                     return std::string("ProcessItemOverlayHandler");
                                 default:
                                     return std::string("DelegateFormatItem");
                             }
                         });

}  // namespace
