#include "graphics/image_sampling.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "Platform/graphics/image.h"

namespace plat::detail {

namespace {

// The reduction one side needs: its pixels plus the shrink must fit the sampled extent.
double sideReduction(int pixels, double devicePixels) {
    if (!(devicePixels > 0)) return pixels;  // vanishing: reduce as far as there is to reduce
    const double shrink = pixels / devicePixels;
    return (pixels + shrink) / MaxSampledExtent;
}

}  // namespace

int sourceReduction(const Image& image, const Rect& userRect, const AffineTransform& ctm) {
    const double deviceWidth = std::hypot(ctm.a, ctm.b) * std::fabs(userRect.width());
    const double deviceHeight = std::hypot(ctm.c, ctm.d) * std::fabs(userRect.height());
    const double needed =
        std::max(sideReduction(image.pixelWidth(), deviceWidth), sideReduction(image.pixelHeight(), deviceHeight));
    if (!(needed > 1)) return 1;
    // Past one pixel a side there is nothing left to reduce.
    const int largest = std::max(image.pixelWidth(), image.pixelHeight());
    return static_cast<int>(std::min(std::ceil(needed), static_cast<double>(largest)));
}

std::shared_ptr<Image> boxReduced(const Image& image, int factor) {
    factor = std::max(factor, 1);
    const int w = image.pixelWidth(), h = image.pixelHeight();
    const int outW = (w + factor - 1) / factor, outH = (h + factor - 1) / factor;
    auto out = std::make_shared<Image>(outW, outH, image.scale());
    // One row of channel sums for a band of `factor` source rows.
    std::vector<std::uint64_t> sums(static_cast<std::size_t>(outW) * 4);
    for (int oy = 0; oy < outH; ++oy) {
        std::fill(sums.begin(), sums.end(), 0);
        const int y0 = oy * factor, y1 = std::min(h, y0 + factor);
        for (int y = y0; y < y1; ++y) {
            for (int x = 0; x < w; ++x) {
                const std::uint32_t p = image.rawPixel(x, y);
                std::uint64_t* s = &sums[static_cast<std::size_t>(x / factor) * 4];
                s[0] += p >> 24;
                s[1] += (p >> 16) & 0xff;
                s[2] += (p >> 8) & 0xff;
                s[3] += p & 0xff;
            }
        }
        std::uint32_t* row = out->data() + static_cast<std::size_t>(oy) * outW;
        for (int ox = 0; ox < outW; ++ox) {
            const int x0 = ox * factor, x1 = std::min(w, x0 + factor);
            const std::uint64_t count = static_cast<std::uint64_t>(x1 - x0) * static_cast<std::uint64_t>(y1 - y0);
            const std::uint64_t* s = &sums[static_cast<std::size_t>(ox) * 4];
            auto mean = [&](int i) { return static_cast<std::uint32_t>((s[i] + count / 2) / count); };
            row[ox] = (mean(0) << 24) | (mean(1) << 16) | (mean(2) << 8) | mean(3);
        }
    }
    return out;
}

}  // namespace plat::detail
