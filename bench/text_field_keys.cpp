// An arrow key in a text field holding 1 MB of text: the press alone (the caret moves and is kept in
// view), and the press with the frame that shows it. The text is laid out when it is set, not again
// for each key.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "Platform/graphics/image_context.h"
#include "Platform/runtime/clock.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/ui/key_command.h"
#include "Platform/ui/text_field.h"
#include "Platform/ui/window.h"

namespace {

constexpr plat::Rect Screen{0, 0, 320, 60};
constexpr std::size_t TextBytes = 1 << 20;

struct FieldScene {
    FieldScene() {
        plat::Clock::useVirtual(plat::Date(0));
        window->addSubview(field);
        std::string text;
        text.reserve(TextBytes);
        while (text.size() < TextBytes) text += "The quick brown fox jumps over the lazy dog. ";
        field->setText(text);
        field->becomeFirstResponder();
        window->display(image.context());
    }
    ~FieldScene() {
        plat::RunLoop::main().discardPendingWork();
        plat::Clock::useSystem();
    }
    // Left and right in turn, so the caret stays near the end of the text.
    void press() {
        field->pressKey({left ? std::string(plat::KeyInputLeftArrow) : std::string(plat::KeyInputRightArrow)});
        left = !left;
    }

    std::shared_ptr<plat::Window> window = plat::Window::create(Screen);
    std::shared_ptr<plat::TextField> field = plat::TextField::create({10, 10, 300, 40});
    plat::ImageContext image{Screen.size, 1, true};
    bool left = true;
};

void BM_TextFieldArrowKey1MB(benchmark::State& state) {
    FieldScene scene;
    for (auto _ : state) scene.press();
}
BENCHMARK(BM_TextFieldArrowKey1MB)->Unit(benchmark::kMicrosecond);

void BM_TextFieldArrowKeyAndFrame1MB(benchmark::State& state) {
    FieldScene scene;
    for (auto _ : state) {
        scene.press();
        scene.window->display(scene.image.context());
    }
}
BENCHMARK(BM_TextFieldArrowKeyAndFrame1MB)->Unit(benchmark::kMicrosecond);

}  // namespace
