// The render engine's look, font scaling, clip and transform pairs, text, images and saved states.
// The shapes are in KivoRenderEngineShapes.cpp.
#include "KivoCore/KivoRenderEngine.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string_view>
#include <utility>

#include "KivoCore/KivoRenderState.h"
#include "Platform/graphics/context.h"
#include "Platform/graphics/image.h"
#include "Platform/graphics/text.h"

namespace {

constexpr double MinFontSize = 7.0;
constexpr double MaxFontSize = 20.0;

}  // namespace

KivoRenderEngine::KivoRenderEngine() { setFont(DEFAULT_FONT); }

void KivoRenderEngine::setStrokeThickness(double thickness) {
    _thickness = std::isnan(thickness) ? DEFAULT_THICKNESS : thickness;
}

void KivoRenderEngine::setOpacity(double opacity) { _opacity = std::isnan(opacity) ? DEFAULT_OPACITY : opacity; }

void KivoRenderEngine::setFontSize(double size) { _fontSize = std::isnan(size) ? DEFAULT_FONTSIZE : size; }

void KivoRenderEngine::setFontFamily(const std::string& family) { _fontFamily = family.empty() ? DEFAULT_FONTFAMILY : family; }

double KivoRenderEngine::fontScaleForContentSizeCategory(const std::string& category) {
    using namespace plat::ContentSizeCategory;
    static constexpr std::array<std::pair<std::string_view, double>, 7> RegularSizes{{
        {ExtraSmall, 0.7},
        {Small, 0.75},
        {Medium, 0.8},
        {Large, 1.0},
        {ExtraLarge, 1.05},
        {ExtraExtraLarge, 1.1},
        {ExtraExtraExtraLarge, 1.2},
    }};
    static constexpr std::array<std::pair<std::string_view, double>, 5> AccessibilitySizes{{
        {AccessibilityMedium, 1.1},
        {AccessibilityLarge, 1.2},
        {AccessibilityExtraLarge, 1.5},
        {AccessibilityExtraExtraLarge, 2.0},
        {AccessibilityExtraExtraExtraLarge, 3.0},
    }};
    auto lookup = [&](const auto& table) {
        for (const auto& [name, factor] : table)
            if (name == category) return factor;
        return 1.0;
    };
    return category.find("Accessibility") != std::string::npos ? lookup(AccessibilitySizes) : lookup(RegularSizes);
}

void KivoRenderEngine::setFont(std::optional<plat::Font> font) {
    _nominal_font = font.value_or(DEFAULT_FONT);
    double base = _nominal_font.size;
    // A font without a usable size is read at the default size rather than drawing nothing.
    if (!std::isfinite(base) || base <= 0) base = DEFAULT_FONTSIZE;
    double factor = fontScaleForContentSizeCategory(plat::preferredContentSizeCategory());
    double size = std::max(std::min(base * factor, MaxFontSize), MinFontSize);
    _font = _nominal_font.withSize(size);
    _fontSize = size;
    _fontFamily = _font.family;
}

void KivoRenderEngine::_setContextBorderDashes(plat::Context& context, std::span<const double> dashes) {
    std::vector<double> lengths(dashes.begin(), dashes.end());
    for (double& d : lengths)
        if (std::isnan(d)) d = 0;
    // The context draws patterns it could not honour (all zero, negative) as solid lines.
    context.setLineDash(0, lengths);
}

// ---- context state ----

void KivoRenderEngine::setClipRect(double x, double y, double w, double h) {
    plat::Context* ctx = plat::currentContext();
    if (!ctx) return;
    ctx->save();
    _clipSaves.push_back({ctx, ctx->saveDepth()});
    ctx->clipToRect({x, y, w, h});
}

void KivoRenderEngine::clearClipRect() {
    plat::Context* ctx = plat::currentContext();
    if (!ctx || _clipSaves.empty()) return;
    // Saves made on contexts that are gone (an earlier pass) or below the current depth can never
    // be matched again.
    while (!_clipSaves.empty() && (_clipSaves.back().context != ctx || _clipSaves.back().depth > ctx->saveDepth()))
        _clipSaves.pop_back();
    if (_clipSaves.empty() || _clipSaves.back().depth != ctx->saveDepth()) return;
    _clipSaves.pop_back();
    ctx->restore();
}

void KivoRenderEngine::setScale(float scalex, float scaley) {
    if (plat::Context* ctx = plat::currentContext()) ctx->scale(static_cast<double>(scalex), static_cast<double>(scaley));
}

void KivoRenderEngine::setPan(float x, float y) {
    if (plat::Context* ctx = plat::currentContext()) ctx->translate(static_cast<double>(x), static_cast<double>(y));
}

// ---- text and images ----

void KivoRenderEngine::drawString(const std::string& text, const std::shared_ptr<KivoPoint>& pt) {
    plat::Context* ctx = plat::currentContext();
    if (!ctx || !pt) return;
    ctx->setAlpha(_opacity);
    ctx->drawText(plat::AttributedString(text, _font, _textFill), plat::Point{pt->x(), pt->y()});
}

void KivoRenderEngine::drawStringInRect(const std::string& text, const plat::Rect& rect) {
    plat::Context* ctx = plat::currentContext();
    if (!ctx) return;
    ctx->setAlpha(_opacity);
    ctx->drawText(plat::AttributedString(text, _font, _textFill), rect);
}

void KivoRenderEngine::drawStringRotated(const std::string& text, const std::shared_ptr<KivoPoint>& pt,
                                         const std::shared_ptr<KivoPoint>& center, double angle) {
    plat::Context* ctx = plat::currentContext();
    if (!ctx || !pt || !center) return;
    ctx->save();
    ctx->setAlpha(_opacity);
    ctx->translate(center->x(), center->y());
    ctx->rotate(angle * std::numbers::pi / 180.0);
    ctx->translate(-center->x(), -center->y());
    ctx->drawText(plat::AttributedString(text, _font, _textFill), plat::Point{pt->x(), pt->y()});
    ctx->restore();
}

void KivoRenderEngine::drawImage(const std::shared_ptr<const plat::Image>& image, const plat::Rect& rect) {
    plat::Context* ctx = plat::currentContext();
    if (!ctx || !image) return;
    ctx->save();
    ctx->drawImage(*image, rect);
    ctx->restore();
}

std::shared_ptr<KivoSize> KivoRenderEngine::measureString(const std::string& text) {
    plat::Size s = plat::measureText(text, _font);
    return KivoSize::create(s.width, s.height);
}

std::shared_ptr<KivoSize> KivoRenderEngine::measureString(const std::string& text, double rotated) {
    if (rotated == 0) return measureString(text);
    plat::Size s = plat::measureText(text, _font);
    double theta = rotated * std::numbers::pi / 180.0;
    double c = std::cos(theta), sn = std::sin(theta);
    return KivoSize::create(std::fabs(s.width * c) + std::fabs(s.height * sn), std::fabs(s.width * sn) + std::fabs(s.height * c));
}

// ---- saved states ----

std::shared_ptr<KivoRenderState> KivoRenderEngine::saveState() {
    auto state = std::make_shared<KivoRenderState>();
    state->setFill(_fill);
    state->setStroke(_stroke);
    state->setStrokeThickness(_thickness);
    state->setOpacity(_opacity);
    state->setBorderDashes(_borderDashes);
    state->setFont(_nominal_font);
    return state;
}

void KivoRenderEngine::restoreState(const std::shared_ptr<KivoRenderState>& state) {
    if (!state) return;
    setFill(state->fill());
    setStroke(state->stroke());
    setStrokeThickness(state->strokeThickness());
    setOpacity(state->opacity());
    setBorderDashes(state->borderDashes());
    setFont(state->font());
}
