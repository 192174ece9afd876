#pragma once
// Text drawn on its own into a small white image, for tests that compare the pixels of two ways of
// drawing the same text.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Platform/graphics/context.h"
#include "Platform/graphics/image.h"
#include "Platform/graphics/image_context.h"
#include "Platform/graphics/text.h"

namespace plat::testing {

struct TextDraw {
    std::string name;
    AttributedString text;
    Rect rect;
    TextOptions options = {};
    double scale = 1;
    std::function<void(Context&)> prepare = [](Context&) {};
};

inline std::vector<std::uint32_t> textPixels(const TextDraw& d, Size canvas) {
    ImageContext image(canvas, d.scale, true);
    Context& c = image.context();
    c.setFillColor(Color::white(1));
    c.fillRect({{0, 0}, canvas});
    d.prepare(c);
    c.drawText(d.text, d.rect, d.options);
    const auto picture = image.finish();
    if (!picture) return {};
    const std::uint32_t* p = picture->data();
    return {p, p + static_cast<std::size_t>(picture->pixelWidth()) * static_cast<std::size_t>(picture->pixelHeight())};
}

inline AttributedString sansText(const std::string& s, double size = 12, const Color& color = Color::black()) {
    return AttributedString(s, Font("DejaVu Sans", size), color);
}

}  // namespace plat::testing
