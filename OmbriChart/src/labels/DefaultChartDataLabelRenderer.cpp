#include "OmbriChart/DefaultChartDataLabelRenderer.h"

#include <array>
#include <string_view>

#include "KivoCore/KivoNumberFormatter.h"
#include "OmbriChart/OmbriChart.h"

namespace {

enum class Placeholder { SeriesName, PointIndex, X, Y };

constexpr std::array<std::pair<std::string_view, Placeholder>, 4> Placeholders{{
    {"{seriesName}", Placeholder::SeriesName},
    {"{pointIndex}", Placeholder::PointIndex},
    {"{x}", Placeholder::X},
    {"{y}", Placeholder::Y},
}};

std::string formatNumber(double value, const std::string& format) {
    return KivoNumberFormatter::numberToStringWithParameters(plat::Value(value), format).value_or("");
}

// The top-left corner of a w × h text placed against `r` by a label position.
KivoPoint anchorFor(std::int64_t position, const KivoRect& r, double w, double h) {
    const double middleY = r.top() + r.height() / 2 - h / 2;
    const double middleX = r.left() + r.width() / 2 - w / 2;
    switch (position) {
        case KivoDataLabelPositionLeft:
            return {r.left() - w, middleY};
        case KivoDataLabelPositionRight:
            return {r.left() + r.width(), middleY};
        case KivoDataLabelPositionBelow:
            return {middleX, r.top() + r.height()};
        case KivoDataLabelPositionCenter:
            return {middleX, middleY};
        default:
            return {middleX, r.top() - h};
    }
}

}  // namespace

std::string DefaultChartDataLabelRenderer::labelText(const std::string& seriesName, std::int64_t pointIndex, double x,
                                                     double y) const {
    if (!_label || !_label->content()) return {};
    const std::string& content = *_label->content();
    auto replacement = [&](Placeholder p) -> std::string {
        switch (p) {
            case Placeholder::SeriesName:
                return seriesName;
            case Placeholder::PointIndex:
                return std::to_string(pointIndex);
            case Placeholder::X: {
                const auto chart = _chart.lock();
                if (chart && static_cast<std::uint64_t>(pointIndex) < chart->xlabels().size())
                    return chart->xlabels()[static_cast<std::size_t>(pointIndex)];
                return formatNumber(x, _label->dataLabelFormat());
            }
            case Placeholder::Y:
                return formatNumber(y, _label->dataLabelFormat());
        }
        return {};
    };

    std::string text;
    text.reserve(content.size());
    for (std::size_t i = 0; i < content.size();) {
        bool replaced = false;
        if (content[i] == '{') {
            for (const auto& [name, placeholder] : Placeholders) {
                if (content.compare(i, name.size(), name) != 0) continue;
                text += replacement(placeholder);
                i += name.size();
                replaced = true;
                break;
            }
        }
        if (!replaced) text += content[i++];
    }
    return text;
}

void DefaultChartDataLabelRenderer::render(const std::string& seriesName, const std::shared_ptr<KivoRect>& rect,
                                           std::int64_t seriesIndex, std::int64_t pointIndex, double x, double y,
                                           const plat::Value& valueX) {
    if (_label && _label->position() != KivoDataLabelPositionNone)
        render(seriesName, rect, seriesIndex, pointIndex, x, y, valueX, 0.0);
}

void DefaultChartDataLabelRenderer::render(const std::string& seriesName, const std::shared_ptr<KivoRect>& rect, std::int64_t,
                                           std::int64_t pointIndex, double x, double y, const plat::Value&, double) {
    const auto chart = _chart.lock();
    if (!chart || !_label || !rect || _label->position() == KivoDataLabelPositionNone) return;
    const auto& engine = chart->renderEngine();
    const std::string text = labelText(seriesName, pointIndex, x, y);
    if (!engine || text.empty()) return;

    // The font is the chart's current label's, the rest this renderer's label's.
    const auto& current = chart->dataLabel() ? chart->dataLabel() : _label;
    engine->setFont(current->dataLabelFont());
    const auto size = engine->measureString(text);
    const double w = size->width(), h = size->height();
    KivoPoint at = anchorFor(_label->position(), *rect, w, h);

    const double b = _label->dataLabelBorderWidth();
    engine->setStroke(_label->dataLabelBorderColor());
    const auto saved = engine->saveState();
    engine->setFill(_label->dataLabelBackgroundColor());
    engine->setStroke(_label->dataLabelBorderColor());
    engine->setStrokeThickness(b);
    engine->setSelectedDashes({});
    engine->setBorderDashes({});

    // Inside the plot area; the right and bottom edges win over the left and top ones. The box reaches
    // 2b beyond the text and its border half a width further: at the left and top edges that is what
    // is kept inside, not the text alone (the right and bottom tests already leave room for it).
    if (const auto& plot = chart->plotRect()) {
        const double boxOutside = 2.5 * b;
        if (at.x() - boxOutside < plot->left()) at.setX(plot->left() + boxOutside);
        if (at.y() - boxOutside < plot->top()) at.setY(plot->top() + boxOutside);
        if (at.x() + w + 4 * b > plot->right()) at.setX(plot->right() - w - 4 * b);
        if (at.y() + h + 4 * b > plot->bottom()) at.setY(plot->bottom() - h - 4 * b);
    }
    engine->drawRect(at.x() - 2 * b, at.y() - 2 * b, w + 4 * b, h + 4 * b);

    engine->restoreState(saved);
    engine->setTextFill(_label->dataLabelFontColor());
    engine->drawString(text, at.clone());
}
