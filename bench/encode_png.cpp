// Encoding an 800 × 600 chart as PNG against libpng writing the same rows once (the rows an opaque
// picture is written with: RGB, no alpha), so the ratio shows what the encoder adds to the one
// compression it cannot avoid. The goal is a ratio within 1.1.
#include <benchmark/benchmark.h>

#include <png.h>

#include <cstring>
#include <memory>
#include <vector>

#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "chart_scene.h"

namespace {

constexpr plat::Rect Screen{0, 0, 800, 600};
constexpr int SeriesCount = 3;
constexpr int PointCount = 200;

// A line chart of three wandering series, drawn once onto an opaque picture.
std::shared_ptr<plat::Image> chartPicture() {
    static const std::shared_ptr<plat::Image> picture = [] {
        ChartSceneBase<> scene(OmbriChart::create(Screen), Screen);
        auto items = std::make_shared<plat::Array>();
        std::uint32_t seed = 7;
        double level[SeriesCount] = {40, 60, 80};
        for (int i = 0; i < PointCount; ++i) {
            plat::Dictionary d{{"x", i}};
            for (int s = 0; s < SeriesCount; ++s) {
                seed = seed * 1664525u + 1013904223u;
                level[s] += (seed >> 8) / double(1u << 24) - 0.5;
                d[numbered("s", s)] = level[s];
            }
            items->push_back(plat::Value(std::move(d)));
        }
        scene.chart->setChartType(OmbriChartTypeLine);
        scene.chart->setIsAnimated(false);
        scene.chart->setBindingX("x");
        scene.chart->setItemsSource(items);
        for (int s = 0; s < SeriesCount; ++s)
            scene.chart->series()->addObject(
                plat::Value(KivoSeries::create(scene.chart, numbered("s", s), numbered("Series ", s))));
        scene.window->addSubview(scene.chart);
        scene.pass();
        return scene.image.snapshot();
    }();
    return picture;
}

void BM_EncodePNGChart(benchmark::State& state) {
    const auto picture = chartPicture();
    std::size_t bytes = 0;
    for (auto _ : state) {
        const auto png = picture->encodePNG();
        bytes = png.size();
        benchmark::DoNotOptimize(png.data());
    }
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_EncodePNGChart)->Unit(benchmark::kMillisecond);

// The baseline: the picture's RGB rows, made once outside the loop, written by libpng once per pass.
void BM_LibpngWritesTheRowsOnce(benchmark::State& state) {
    const auto picture = chartPicture();
    const int width = picture->pixelWidth(), height = picture->pixelHeight();
    std::vector<std::uint8_t> rows;
    rows.reserve(std::size_t(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = picture->rawPixel(x, y);
            rows.insert(rows.end(), {std::uint8_t(p >> 16), std::uint8_t(p >> 8), std::uint8_t(p)});
        }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(width);
    image.height = png_uint_32(height);
    image.format = PNG_FORMAT_RGB;
    const png_alloc_size_t room = PNG_IMAGE_PNG_SIZE_MAX(image);
    std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[room]);
    png_alloc_size_t size = 0;
    for (auto _ : state) {
        size = room;
        if (!png_image_write_to_memory(&image, buffer.get(), &size, 0, rows.data(), 0, nullptr)) state.SkipWithError("libpng");
        benchmark::DoNotOptimize(buffer.get());
    }
    state.counters["bytes"] = double(size);
}
BENCHMARK(BM_LibpngWritesTheRowsOnce)->Unit(benchmark::kMillisecond);

}  // namespace
