// Rendering a screen of cards with Cairo, opaque and at half alpha: a translucent card is composited
// through a transparency group, which costs an offscreen surface per card.
#include <benchmark/benchmark.h>

#include "Platform/graphics/image_context.h"
#include "Platform/ui/screen.h"
#include "Platform/ui/window.h"

namespace {

constexpr int CardRows = 8, CardColumns = 2;
constexpr double CardWidth = 140, CardHeight = 60, CardGap = 10;

std::shared_ptr<plat::Window> cardScreen(double alpha) {
    auto window = plat::Window::create(plat::Screen::DefaultBounds);
    window->setBackgroundColor(plat::Color::white());
    for (int i = 0; i < CardRows * CardColumns; ++i) {
        const double x = CardGap + (i % CardColumns) * (CardWidth + CardGap);
        const double y = CardGap + (i / CardColumns) * (CardHeight + CardGap);
        auto card = plat::View::create({x, y, CardWidth, CardHeight});
        card->setBackgroundColor(plat::Color::gray());
        auto left = plat::View::create({5, 5, 80, 50}), right = plat::View::create({55, 5, 80, 50});
        left->setBackgroundColor(plat::Color::orange());
        right->setBackgroundColor(plat::Color::blue());
        card->addSubview(left);
        card->addSubview(right);
        card->setAlpha(alpha);
        window->addSubview(card);
    }
    return window;
}

// Arg: the cards' alpha in percent.
void BM_RenderCards(benchmark::State& state) {
    auto window = cardScreen(static_cast<double>(state.range(0)) / 100);
    window->layoutPass();
    for (auto _ : state) {
        plat::ImageContext image(window->bounds().size, plat::Screen::DefaultScale, true);
        window->display(image.context());
        benchmark::DoNotOptimize(image.finish());
    }
    state.SetItemsProcessed(state.iterations() * CardRows * CardColumns);
}
BENCHMARK(BM_RenderCards)->Arg(100)->Arg(50)->Unit(benchmark::kMillisecond);

}  // namespace
