#include "ChartCore/KivoLegend.h"

#include <cmath>

#include "ChartCore/OmbriChartBase.h"
#include "support/Assign.h"

using kivo::detail::assign;
#include "KivoCore/KivoRenderState.h"

namespace {

bool isPlaced(std::int64_t position) { return position >= KivoAxisPositionLeft && position <= KivoAxisPositionBottom; }

double nonNegative(double v) { return v > 0 ? v : 0.0; }  // NaN too becomes 0

// The legend's font and text colour on the engine while the control measures or draws its items; the
// engine's own are put back afterwards.
class LabelStyleScope {
public:
    LabelStyleScope(IKivoRenderEngine& engine, const plat::Font& font, const plat::Color& color)
        : _engine(engine), _saved(engine.saveState()), _textFill(engine.getTextFill()) {
        _engine.setFont(font);
        _engine.setTextFill(color);
    }
    ~LabelStyleScope() {
        _engine.setTextFill(_textFill);
        _engine.restoreState(_saved);
    }
    LabelStyleScope(const LabelStyleScope&) = delete;
    LabelStyleScope& operator=(const LabelStyleScope&) = delete;

private:
    IKivoRenderEngine& _engine;
    std::shared_ptr<KivoRenderState> _saved;
    plat::Color _textFill;
};

}  // namespace

KivoLegend::KivoLegend(const std::shared_ptr<OmbriChartBase>& chart) : _chart(chart) {}

void KivoLegend::invalidateChart() const {
    if (auto chart = _chart.lock()) chart->invalidate();
}

void KivoLegend::setPosition(std::int64_t position) {
    if (assign(_position, position)) invalidateChart();
}

void KivoLegend::setOrientation(std::int64_t orientation) {
    if (assign(_orientation, orientation)) invalidateChart();
}

bool KivoLegend::isVertical() const {
    if (_orientation == KivoLegendOrientationVertical) return true;
    if (_orientation == KivoLegendOrientationHorizontal) return false;
    return _position == KivoAxisPositionLeft || _position == KivoAxisPositionRight;
}

void KivoLegend::setBackgroundColor(std::optional<plat::Color> color) {
    if (assign(_backgroundColor, color)) invalidateChart();
}

void KivoLegend::setBorderColor(const plat::Color& color) {
    if (assign(_borderColor, color)) invalidateChart();
}

void KivoLegend::setBorderWidth(double width) {
    width = nonNegative(width);
    if (assign(_borderWidth, width)) invalidateChart();
}

void KivoLegend::setPadding(double padding) {
    padding = nonNegative(padding);
    if (assign(_padding, padding)) invalidateChart();
}

void KivoLegend::setLabelFont(const plat::Font& font) {
    if (assign(_labelFont, font)) invalidateChart();
}

void KivoLegend::setLabelTextColor(std::optional<plat::Color> color) {
    if (assign(_labelTextColor, color)) invalidateChart();
}

std::shared_ptr<KivoSize> KivoLegend::getDesiredSize(const std::shared_ptr<IKivoRenderEngine>& engine) {
    _desiredSize.reset();
    auto chart = _chart.lock();
    if (!chart || !engine || !isPlaced(_position)) return nullptr;
    std::shared_ptr<KivoSize> content;
    {
        const LabelStyleScope style(*engine, _labelFont,
                                    _labelTextColor.value_or(chart->textColor().value_or(plat::Color::black())));
        content = chart->getLegendDesiredSize(engine, isVertical());
    }
    if (!content || !(content->width() > 0) || !(content->height() > 0)) return nullptr;
    _desiredSize = KivoSize::create(content->width() + 2 * inset(), content->height() + 2 * inset());
    return _desiredSize->clone();
}

void KivoLegend::render(const std::shared_ptr<IKivoRenderEngine>& engine, const std::shared_ptr<KivoPoint>& point) {
    _areas.clear();
    _bounds.reset();
    auto chart = _chart.lock();
    if (!chart || !engine || !point || !_desiredSize) return;
    _bounds = KivoRect::create(point->x(), point->y(), _desiredSize->width(), _desiredSize->height());

    const bool hasBorder = _borderWidth > 0 && !_borderColor.isClear();
    if (hasBorder || (_backgroundColor && !_backgroundColor->isClear())) {
        const auto saved = engine->saveState();
        engine->setFill(_backgroundColor.value_or(plat::Color::clear()));
        engine->setStroke(hasBorder ? _borderColor : plat::Color::clear());
        engine->setStrokeThickness(_borderWidth);
        // The border line lies inside the box, so the items keep their padding from it.
        const double half = _borderWidth / 2;
        engine->drawRect(_bounds->left() + half, _bounds->top() + half, _bounds->width() - _borderWidth,
                         _bounds->height() - _borderWidth);
        engine->restoreState(saved);
    }

    const LabelStyleScope style(*engine, _labelFont, _labelTextColor.value_or(chart->textColor().value_or(plat::Color::black())));
    chart->renderLegend(engine, KivoPoint::create(point->x() + inset(), point->y() + inset()), isVertical(), _areas);
}

std::int32_t KivoLegend::hitTest(const std::shared_ptr<KivoPoint>& point) const {
    for (std::size_t i = 0; i < _areas.size(); ++i)
        if (OmbriChartBase::contains(_areas[i], point)) return static_cast<std::int32_t>(i);
    return -1;
}
