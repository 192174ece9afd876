#include "plotters/SymbolStamp.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "KivoCore/IKivoRenderEngine.h"
#include "KivoCore/KivoGeometry.h"
#include "KivoCore/KivoRenderEngine.h"
#include "Platform/graphics/context.h"
#include "Platform/graphics/image.h"
#include "Platform/graphics/image_context.h"
#include "plotters/DenseDrawing.h"

namespace kivo::detail {

namespace {

constexpr std::int64_t CircleMarker = 0;
constexpr std::int64_t SquareMarker = 1;
// Beyond this many device pixels from the origin a position is not rounded to steps (it could not be
// held as a whole number): such a symbol is drawn directly.
constexpr double MaxStampedPosition = 1e9;
// Room around a stamp's shape for its antialiased edge.
constexpr int EdgePixels = 1;

void combine(std::size_t& seed, double v) { seed ^= std::hash<double>{}(v) + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2); }

// Floor division by the step count: the whole device pixel of a position in steps.
std::int64_t wholePixel(std::int64_t steps) {
    return steps >= 0 ? steps / StampSteps : -((-steps + StampSteps - 1) / StampSteps);
}

}  // namespace

std::size_t SymbolStamper::StampKeyHash::operator()(const StampKey& key) const {
    std::size_t seed = std::hash<std::int64_t>{}(key.look.marker);
    for (double v : {key.look.size, key.look.width, key.look.alpha, key.look.fill.r, key.look.fill.g, key.look.fill.b,
                     key.look.fill.a, key.look.stroke.r, key.look.stroke.g, key.look.stroke.b, key.look.stroke.a, key.scaleX,
                     key.scaleY, double(key.stepX), double(key.stepY)})
        combine(seed, v);
    return seed;
}

SymbolStamper::SymbolStamper() = default;
SymbolStamper::~SymbolStamper() = default;

bool SymbolStamper::begin(IKivoRenderEngine& engine, std::size_t symbols, const KivoRect* plot) {
    end();
    KivoRenderEngine* platformEngine = plot ? shortcutEngine(engine) : nullptr;
    if (!platformEngine) return false;
    plat::Context* context = plat::currentContext();
    const plat::AffineTransform& m = context->ctm();
    const double devicePixels = std::fabs(plot->width() * m.a) * std::fabs(plot->height() * m.d);
    if (!(devicePixels > 0) || static_cast<double>(symbols) < StampedSymbolsPerDevicePixel * devicePixels) return false;
    // The kept stamps belong to one scale; the steps' shortcut to one pass.
    if (!_stamps.empty() && (_ctm.a != m.a || _ctm.d != m.d || _stamps.size() >= MaxStamps)) _stamps.clear();
    _hasStepsLook = false;
    _engine = platformEngine;
    _context = context;
    _ctm = m;
    return true;
}

void SymbolStamper::end() {
    flush();
    _engine = nullptr;
    _context = nullptr;
    _hasLast = false;
}

void SymbolStamper::draw(double x, double y, double borderWidth, double size, const std::optional<plat::Color>& border,
                         std::int64_t marker) {
    if (!_engine) return;
    KivoRenderEngine& engine = *_engine;
    // The state the default renderer leaves, whether or not anything is drawn.
    if (borderWidth > 0) {
        engine.setStroke(border);
        engine.setStrokeThickness(borderWidth);
    }
    if (marker != CircleMarker && marker != SquareMarker) return;
    const Look look{marker, size, engine.getStrokeThickness(), engine.opacity(), engine.getFill(), engine.getStroke()};

    const double deviceX = (_ctm.a * x + _ctm.tx) * StampSteps, deviceY = (_ctm.d * y + _ctm.ty) * StampSteps;
    if (!(std::fabs(deviceX) < MaxStampedPosition * StampSteps && std::fabs(deviceY) < MaxStampedPosition * StampSteps)) {
        _hasLast = false;
        drawDirectly(x, y, look);
        return;
    }
    const auto stepsX = static_cast<std::int64_t>(std::llround(deviceX));
    const auto stepsY = static_cast<std::int64_t>(std::llround(deviceY));
    if (_hasLast && stepsX == _lastX && stepsY == _lastY && look == _last) return;
    _hasLast = true;
    _last = look;
    _lastX = stepsX;
    _lastY = stepsY;

    const std::int64_t pixelX = wholePixel(stepsX), pixelY = wholePixel(stepsY);
    const Stamp* stamp =
        stampFor(look, static_cast<int>(stepsX - pixelX * StampSteps), static_cast<int>(stepsY - pixelY * StampSteps));
    if (!stamp) {
        drawDirectly(x, y, look);
        return;
    }
    _batch.push_back({stamp->image.get(), static_cast<int>(pixelX - stamp->pad), static_cast<int>(pixelY - stamp->pad)});
    if (_batch.size() >= MaxBatchedStamps) flush();
}

void SymbolStamper::flush() {
    if (_batch.empty() || !_context) return;
    // The stamps hold the symbol's own opacity; the context's alpha would take it twice.
    const double alpha = _context->state().alpha;
    _context->setAlpha(1);
    _context->stampImages(_batch);
    _context->setAlpha(alpha);
    _batch.clear();
}

const SymbolStamper::Stamp* SymbolStamper::stampFor(const Look& look, int stepX, int stepY) {
    if (!_hasStepsLook || !(look == _stepsLook)) {
        _stepsLook = look;
        _hasStepsLook = true;
        _steps.fill(nullptr);
    }
    const Stamp*& kept = _steps[static_cast<std::size_t>(stepY * StampSteps + stepX)];
    if (!kept) kept = lookUp(look, stepX, stepY);
    return kept;
}

const SymbolStamper::Stamp* SymbolStamper::lookUp(const Look& look, int stepX, int stepY) {
    const StampKey key{look, _ctm.a, _ctm.d, stepX, stepY};
    if (const auto found = _stamps.find(key); found != _stamps.end()) return &found->second;
    if (_stamps.size() >= MaxStamps || !std::isfinite(look.size) || !std::isfinite(look.width)) return nullptr;
    const double reach = (std::fabs(look.size) / 2 + std::fabs(look.width) / 2) * std::max(std::fabs(_ctm.a), std::fabs(_ctm.d));
    if (!(reach < MaxStampSide)) return nullptr;
    const int pad = static_cast<int>(std::ceil(reach)) + EdgePixels;
    const int side = 2 * pad + 1;
    if (side > MaxStampSide) return nullptr;

    Stamp stamp;
    stamp.pad = pad;
    {
        // The engine draws into the current context: the stamp's while it is made. Its user space is
        // the chart's, scaled as the device is, with the symbol's centre at its offset from the whole
        // pixel.
        plat::ImageContext image({double(side), double(side)}, 1);
        plat::Context& c = image.context();
        c.translate(pad + double(stepX) / StampSteps, pad + double(stepY) / StampSteps);
        c.scale(_ctm.a, _ctm.d);
        if (look.marker == CircleMarker)
            _engine->drawEllipse(0, 0, look.size, look.size);
        else
            _engine->drawRect(-look.size / 2, -look.size / 2, look.size, look.size);
        stamp.image = image.finish();
    }
    if (!stamp.image) return nullptr;
    return &_stamps.emplace(key, std::move(stamp)).first->second;
}

void SymbolStamper::drawDirectly(double x, double y, const Look& look) {
    flush();
    if (look.marker == CircleMarker)
        _engine->drawEllipse(x, y, look.size, look.size);
    else
        _engine->drawRect(x - look.size / 2, y - look.size / 2, look.size, look.size);
}

}  // namespace kivo::detail
