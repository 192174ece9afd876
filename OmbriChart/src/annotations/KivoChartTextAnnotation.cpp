// KivoChartTextAnnotation and KivoChartShapeAnnotation: a text in its measured box, and the look and
// box drawing that the ellipse and the rectangle share.

#include "OmbriChart/KivoChartTextAnnotation.h"

#include <cmath>

#include "KivoCore/IKivoRenderEngine.h"
#include "OmbriChart/OmbriChart.h"
#include "annotations/AnnotationSupport.h"

namespace {

bool hasText(const std::optional<std::string>& text) { return text && !text->empty(); }

}  // namespace

// ---- Text ----

plat::Size KivoChartTextAnnotation::measureText(const std::shared_ptr<IKivoRenderEngine>& engine) const {
    if (!engine || !hasText(_text)) return {};
    std::shared_ptr<KivoSize> size;
    if (_font) {
        const kivo::detail::EngineStateScope state(*engine);
        engine->setFont(_font);
        size = engine->measureString(*_text);
    } else {
        size = engine->measureString(*_text);
    }
    return size ? plat::Size{size->width(), size->height()} : plat::Size{};
}

void KivoChartTextAnnotation::renderText(const std::shared_ptr<IKivoRenderEngine>& engine, const plat::Rect& rect) {
    if (!engine || !hasText(_text)) return;
    const kivo::detail::EngineStateScope state(*engine);
    engine->setTextFill(_textColor);
    engine->setFont(_font);
    plat::Point origin{rect.x(), rect.y()};
    if (rect.width() != 0 && rect.height() != 0) {
        const auto measured = engine->measureString(*_text);
        if (measured) {
            origin.x = rect.x() + rect.width() * 0.5 - measured->width() * 0.5;
            origin.y = rect.y() + rect.height() * 0.5 - measured->height() * 0.5;
        }
    }
    const auto owner = chart();
    const kivo::detail::PlotClipScope clip(*engine, owner ? owner->plotRect() : nullptr, isNeedClipRect());
    engine->drawString(*_text, KivoPoint::create(origin.x, origin.y));
}

bool KivoChartTextAnnotation::render(const std::shared_ptr<IKivoRenderEngine>& engine) {
    if (!isNeedRender(engine)) return false;
    const auto corner = getAbsolutePoint(point(), position(), attachment(), engine);
    if (!corner) return false;
    const plat::Rect box{corner->x(), corner->y(), width(), height()};
    renderText(engine, box);
    plat::Path outline;
    outline.addRect(box);
    replaceHitPath(outline);
    return true;
}

void KivoChartTextAnnotation::setText(std::optional<std::string> text) {
    if (isOrphaned()) return;
    _text = std::move(text);
    invalidateChart();
}

void KivoChartTextAnnotation::setTextColor(const plat::Color& color) {
    if (isOrphaned()) return;
    _textColor = color;
    invalidateChart();
}

void KivoChartTextAnnotation::setFont(std::optional<plat::Font> font) {
    if (isOrphaned()) return;
    _font = std::move(font);
    invalidateChart();
}

// ---- Shapes ----

void KivoChartShapeAnnotation::applyShapeLook(IKivoRenderEngine& engine) const {
    engine.setFill(_color);
    engine.setStroke(_borderColor);
    engine.setStrokeThickness(_borderWidth);
}

bool KivoChartShapeAnnotation::renderBoxFigure(const std::shared_ptr<IKivoRenderEngine>& engine, bool ellipse) {
    if (!isNeedRender(engine) || !kivo::detail::usableSide(width()) || !kivo::detail::usableSide(height())) return false;
    const auto corner = getAbsolutePoint(point(), position(), attachment(), nullptr);
    if (!corner) return false;
    const plat::Rect box{corner->x(), corner->y(), width(), height()};
    {
        const kivo::detail::EngineStateScope state(*engine);
        applyShapeLook(*engine);
        const auto owner = chart();
        const kivo::detail::PlotClipScope clip(*engine, owner ? owner->plotRect() : nullptr, isNeedClipRect());
        if (ellipse)
            engine->drawEllipse(box.x() + box.width() * 0.5, box.y() + box.height() * 0.5, box.width(), box.height());
        else
            engine->drawRect(box.x(), box.y(), box.width(), box.height());
    }
    renderText(engine, box);
    plat::Path outline;
    if (ellipse)
        outline.addEllipse(box);
    else
        outline.addRect(box);
    replaceHitPath(outline);
    return true;
}

void KivoChartShapeAnnotation::setColor(const plat::Color& color) {
    if (isOrphaned()) return;
    _color = color;
    invalidateChart();
}

void KivoChartShapeAnnotation::setBorderColor(const plat::Color& color) {
    if (isOrphaned()) return;
    _borderColor = color;
    invalidateChart();
}

void KivoChartShapeAnnotation::setBorderWidth(double width) {
    if (isOrphaned()) return;
    _borderWidth = width;
    invalidateChart();
}
