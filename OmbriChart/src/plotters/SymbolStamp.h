#pragma once
// Symbols of a dense series drawn as stamps. A series with at least one symbol per four device pixels
// of its plot area draws most of its symbols over each other: there each symbol's shape is rendered
// once per look and quarter-pixel offset into a small image at the device's resolution, and painted
// pixel for pixel where the symbol lies; a symbol that would land on the same quarter pixel with the
// same look as the symbol drawn just before it is not drawn again. Sparser series, element handlers
// and hosts see every symbol drawn as before.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "Platform/foundation/geometry.h"
#include "Platform/graphics/color.h"
#include "Platform/graphics/context.h"

class IKivoRenderEngine;
class KivoRect;
class KivoRenderEngine;
namespace plat {
class Image;
}  // namespace plat

namespace kivo::detail {

// The density from which a series' symbols are stamped: symbols per device pixel of the plot area.
constexpr double StampedSymbolsPerDevicePixel = 0.25;
// Positions are rounded to this many steps per device pixel, each step a stamp of its own.
constexpr int StampSteps = 4;
// At most this many stamps are kept; further looks are drawn symbol by symbol (a dense series of
// bubbles of every size would otherwise render a stamp for nearly every bubble).
constexpr std::size_t MaxStamps = 256;
// A stamp wider than this many device pixels is not worth keeping: such symbols are drawn directly.
constexpr int MaxStampSide = 128;
// At most this many stamps wait to be painted together.
constexpr std::size_t MaxBatchedStamps = std::size_t{1} << 18;

class SymbolStamper {
public:
    SymbolStamper();
    ~SymbolStamper();
    SymbolStamper(const SymbolStamper&) = delete;
    SymbolStamper& operator=(const SymbolStamper&) = delete;

    // Starts one series' symbols: stamping is on when `symbols` reach the density above over the plot
    // area in device pixels, the engine is the platform's render engine drawing into the current
    // context without a dash pattern, that context's transform neither turns nor skews, and the dense
    // shortcuts are enabled. Answers whether it is on.
    bool begin(IKivoRenderEngine& engine, std::size_t symbols, const KivoRect* plot);
    void end();
    bool active() const { return _engine != nullptr; }
    // Paints the stamps waiting in the batch: before anything else is drawn while stamping is on.
    void flush();

    // One symbol as the default renderer draws it (centre, border width and colour, size, marker 0
    // circle or 1 square), with the engine state left as that renderer leaves it.
    void draw(double x, double y, double borderWidth, double size, const std::optional<plat::Color>& border, std::int64_t marker);

private:
    struct Look {
        std::int64_t marker = 0;
        double size = 0, width = 0, alpha = 0;
        plat::Color fill, stroke;
        bool operator==(const Look&) const = default;
    };
    struct StampKey {
        Look look;
        double scaleX = 1, scaleY = 1;
        int stepX = 0, stepY = 0;
        bool operator==(const StampKey&) const = default;
    };
    struct StampKeyHash {
        std::size_t operator()(const StampKey& key) const;
    };
    struct Stamp {
        std::shared_ptr<plat::Image> image;
        int pad = 0;  // device pixels from the image's top-left corner to the whole pixel of the centre
    };

    // The stamp of a look at a quarter-pixel step (rendered when new); null when it cannot be kept.
    const Stamp* stampFor(const Look& look, int stepX, int stepY);
    const Stamp* lookUp(const Look& look, int stepX, int stepY);
    void drawDirectly(double x, double y, const Look& look);

    // The stamps of the look drawn last, by step (row-major), looked up in the map when first needed:
    // a series' look seldom changes, and a hash of every symbol's look costs more than its stamp.
    Look _stepsLook;
    bool _hasStepsLook = false;
    std::array<const Stamp*, StampSteps * StampSteps> _steps{};

    KivoRenderEngine* _engine = nullptr;
    plat::Context* _context = nullptr;
    // The stamps not painted yet, in order: painted together, a stamp hidden under later ones costs
    // little.
    std::vector<plat::StampPlacement> _batch;
    plat::AffineTransform _ctm;
    std::unordered_map<StampKey, Stamp, StampKeyHash> _stamps;
    // The symbol drawn last in this series: its look and quarter-pixel position.
    bool _hasLast = false;
    Look _last;
    std::int64_t _lastX = 0, _lastY = 0;
};

// A series' stamping for the length of a scope.
class SymbolStampScope {
public:
    SymbolStampScope(SymbolStamper& stamper, IKivoRenderEngine& engine, std::size_t symbols, const KivoRect* plot)
        : _stamper(stamper) {
        _stamper.begin(engine, symbols, plot);
    }
    ~SymbolStampScope() { _stamper.end(); }
    SymbolStampScope(const SymbolStampScope&) = delete;
    SymbolStampScope& operator=(const SymbolStampScope&) = delete;

private:
    SymbolStamper& _stamper;
};

}  // namespace kivo::detail
