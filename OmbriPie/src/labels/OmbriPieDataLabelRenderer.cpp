#include "OmbriPie/OmbriPieDataLabelRenderer.h"

#include <array>
#include <string_view>

#include "KivoCore/KivoNumberFormatter.h"
#include "OmbriPie/OmbriPie.h"
#include "Platform/graphics/context.h"
#include "foundation/saturating_cast.h"

namespace {

enum class Placeholder { Name, PointIndex, Value };

constexpr std::array<std::pair<std::string_view, Placeholder>, 3> Placeholders{{
    {"{name}", Placeholder::Name},
    {"{pointIndex}", Placeholder::PointIndex},
    {"{value}", Placeholder::Value},
}};

// The placeholder that starts at `i`, or null.
const std::pair<std::string_view, Placeholder>* placeholderAt(const std::string& content, std::size_t i) {
    if (content[i] != '{') return nullptr;
    for (const auto& entry : Placeholders)
        if (content.compare(i, entry.first.size(), entry.first) == 0) return &entry;
    return nullptr;
}

// The label settings the pie reads for fonts: its current label, else this renderer's.
const OmbriPieDataLabel& fontLabel(const OmbriPie& pie, const OmbriPieDataLabel& own) {
    return pie.dataLabel() ? *pie.dataLabel() : own;
}

}  // namespace

std::string OmbriPieDataLabelRenderer::labelText(const std::string& name, std::int64_t index, double value) const {
    if (!_label || !_label->content()) return std::to_string(plat::detail::saturatingCast<std::int32_t>(value));
    const std::string& content = *_label->content();
    std::string text;
    text.reserve(content.size());
    for (std::size_t i = 0; i < content.size();) {
        const auto* hit = placeholderAt(content, i);
        if (!hit) {
            text += content[i++];
            continue;
        }
        switch (hit->second) {
            case Placeholder::Name:
                text += name;
                break;
            case Placeholder::PointIndex:
                text += std::to_string(index);
                break;
            case Placeholder::Value:
                text += KivoNumberFormatter::numberToStringWithParameters(plat::Value(value), _label->dataLabelFormat()).value_or("");
                break;
        }
        i += hit->first.size();
    }
    return text;
}

double OmbriPieDataLabelRenderer::dataLabelDimension(const std::string& name, std::int64_t index, double value) {
    const auto p = pie();
    if (!p || !_label || _label->position() == KivoPieLabelPositionNone) return 0;
    const auto& engine = p->renderEngine();
    if (!engine) return 0;
    engine->setFont(fontLabel(*p, *_label).dataLabelFont());
    return engine->measureString(labelText(name, index, value))->width() + 4 * _label->dataLabelBorderWidth();
}

void OmbriPieDataLabelRenderer::render(const std::string&, const std::shared_ptr<KivoRect>&, std::int64_t, double,
                                       const std::vector<double>&) {}

void DefaultOmbriPieDataLabelRenderer::render(const std::string& name, const std::shared_ptr<KivoRect>& rect, std::int64_t index,
                                              double value, const std::vector<double>&) {
    const auto p = pie();
    plat::Context* context = plat::currentContext();
    if (!p || !_label || !rect || !context || _label->position() == KivoPieLabelPositionNone) return;
    const auto& engine = p->renderEngine();
    if (!engine) return;
    const OmbriPieDataLabel& look = fontLabel(*p, *_label);
    const std::string text = labelText(name, index, value);
    engine->setFont(look.dataLabelFont());
    const auto size = engine->measureString(text);
    const double w = size->width(), h = size->height();

    const double b = _label->dataLabelBorderWidth();
    engine->setStroke(_label->dataLabelBorderColor());
    const auto saved = engine->saveState();
    engine->setFill(_label->dataLabelBackgroundColor());
    engine->setSelectedDashes({});
    engine->setBorderDashes({});
    engine->setStroke(_label->dataLabelBorderColor());
    engine->setStrokeThickness(b);

    // Turned back by the view's turn about the text's centre, so the label reads upright on screen.
    const double left = rect->left() + rect->width() / 2 - w / 2, top = rect->top() + rect->height() / 2 - h / 2;
    context->save();
    context->translate(left + w / 2, top + h / 2);
    context->rotate(-p->rotation());
    context->translate(-w / 2, -h / 2);
    engine->drawRect(-2 * b, -2 * b, w + 4 * b, h + 4 * b);
    engine->restoreState(saved);
    engine->setFont(look.dataLabelFont());
    engine->setTextFill(look.dataLabelFontColor());
    engine->drawString(text, KivoPoint::create(0, 0));
    context->restore();
}
