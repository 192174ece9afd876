// Group rows, drawn as one band across the cells panel: the collapse glyph and the header made from
// the grid's format, indented by the group's level, with the aggregates of the columns that have one.

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <string_view>

#include "KivoCore/KivoCollectionView.h"
#include "KivoCore/KivoCollectionViewGroup.h"
#include "KivoCore/KivoObservableArray.h"
#include "KivoCore/KivoPropertyGroupDescription.h"
#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "OmbriGrid/OmbriGridEventArgs.h"
#include "Platform/graphics/context.h"
#include "Platform/graphics/path.h"
#include "drawing/TextCut.h"

namespace {
constexpr const char* CollapsedGlyph = "\u25B6\uFE0E";
constexpr const char* ExpandedGlyph = "\u25E2";
constexpr double HeaderInset = 4.0;

// The frozen-area divider on a band's edge, across the whole band, as an ordinary row has it cell by
// cell: without it the plain grid line of the band would stand where the divider runs.
void strokeFrozenRowEdges(plat::Context& c, const OmbriGrid& g, std::int32_t row, const plat::Rect& band, double lineWidth) {
    const std::int32_t frozenRows = g.frozenRows();
    if (frozenRows <= 0) return;
    c.setStrokeColor(g.frozenCellsBorderColor());
    c.setLineWidth(lineWidth);
    if (row == frozenRows - 1) c.strokeLine({band.x(), band.maxY()}, {band.maxX(), band.maxY()});
    if (row == frozenRows) c.strokeLine({band.x(), band.y()}, {band.maxX(), band.y()});
}
}  // namespace

std::optional<std::string> GridPanel::getGroupRowHeader(std::int32_t row) const {
    const auto g = grid();
    if (!g || !inside(row, 0) || !isGroupRow(row)) return std::nullopt;
    const auto item = std::dynamic_pointer_cast<GridGroupRow>(_rows->row(row));
    if (!item || !item->isVisible()) return std::nullopt;
    const std::string glyph = item->isCollapsed() ? CollapsedGlyph : ExpandedGlyph;
    const std::string& format = g->groupHeaderFormat();
    const auto group = item->dataItem().as<KivoCollectionViewGroup>();

    // One pass over the format, so that a value holding a placeholder's text shows as it is.
    auto replacement = [&](std::string_view token) -> std::optional<std::string> {
        if (!group) return std::nullopt;
        if (token == "{name}") {
            const auto& view = g->collectionView();
            const auto descriptions = view ? view->groupDescriptions() : nullptr;
            if (descriptions && group->level() < descriptions->count()) {
                const plat::Value d = descriptions->objectAtIndex(static_cast<std::size_t>(group->level()));
                if (const auto property = d.as<KivoPropertyGroupDescription>()) return property->property();
            }
            return std::nullopt;
        }
        if (token == "{value}") return group->name();
        if (token == "{level}") return std::to_string(group->level());
        if (token == "{count}") return std::to_string(group->totalItemCount());
        return std::nullopt;
    };
    static constexpr std::array<std::string_view, 4> tokens{"{name}", "{value}", "{level}", "{count}"};
    std::string text;
    for (std::size_t i = 0; i < format.size();) {
        bool replaced = false;
        if (format[i] == '{') {
            for (const auto token : tokens) {
                if (format.compare(i, token.size(), token) != 0) continue;
                if (const auto value = replacement(token)) {
                    text += *value;
                    i += token.size();
                    replaced = true;
                }
                break;
            }
        }
        if (!replaced) text += format[i++];
    }
    return glyph + " " + text + " ";
}

void GridPanel::strokeBandOutline(const plat::Rect& band) const {
    const auto g = grid();
    const bool horizontal = (g->gridLinesVisibility() & GridLinesVisibilityHorizontal) != 0;
    const bool vertical = (g->gridLinesVisibility() & GridLinesVisibilityVertical) != 0;
    if (!horizontal && !vertical) return;
    const double x = band.x(), y = band.y(), r = band.maxX(), b = band.maxY();
    plat::Path path;
    path.moveTo({x, y});
    auto edge = [&](bool drawn, plat::Point to) { drawn ? path.lineTo(to) : path.moveTo(to); };
    edge(horizontal, {r, y});
    edge(vertical, {r, b});
    edge(horizontal, {x, b});
    edge(vertical, {x, y});
    _context->setStrokeColor(_lineColor);
    _context->setLineWidth(_lineWidth);
    _context->strokePath(path);
}

std::int32_t GridPanel::drawGroupRow(std::int32_t row) {
    const auto g = grid();
    const LentContext lent(*this);
    if (!g || !_context || !inside(row, 0)) return 0;
    const auto item = std::dynamic_pointer_cast<GridGroupRow>(_rows->row(row));
    if (!item || !item->isVisible()) return 0;
    plat::Context& c = *_context;
    const plat::Rect first = getCellRect(row, 0);
    const plat::Rect band{first.x(), first.y(), static_cast<double>(width()), first.height()};

    const auto& sel = g->selection();
    if (sel && sel->containsRow(row)) {
        _fillColor = g->selectionBackgroundColor();
        _textColor = g->selectionTextColor();
    } else {
        _fillColor = g->groupRowBackgroundColor();
        _textColor = g->groupRowTextColor();
    }
    c.setFillColor(_fillColor);
    c.fillRect(band);
    strokeBandOutline(band);

    // Only what the band can show is laid out: a group's name comes from the data.
    const std::string header = kivo::detail::cutText(getGroupRowHeader(row).value_or(""),
                                                     kivo::detail::shownCharacters(band.size, _textAttributes.font), false);
    const auto group = item->dataItem().as<KivoCollectionViewGroup>();
    const double level = group ? static_cast<double>(group->level()) : 0.0;
    const plat::Color kept = _textAttributes.color;
    _textAttributes.color = _textColor;
    const double textHeight = plat::measureText(plat::AttributedString(header, _textAttributes)).height;
    const double tx = band.x() + level * g->treeIndent() + HeaderInset;
    const double ty = band.y() + (band.height() - textHeight) * 0.5;

    // The header's room ends where the first aggregate begins (never narrower than that column).
    std::optional<double> textWidth;
    const auto C = static_cast<std::int32_t>(_columns->count());
    for (std::int32_t col = 0; col < C; ++col) {
        const auto column = _columns->column(col);
        if (!column || column->aggregate() == 0) continue;
        if (!textWidth) {
            const double a = std::max(0.0, getCellRect(row, col).x() - tx);
            textWidth = std::max(static_cast<double>(column->renderWidth()), a);
        }
        drawCell(row, col, false);
        _context = &c;
    }
    // The first cell gives way to the header, whatever aggregate it showed.
    c.setFillColor(_fillColor);
    c.fillRect(first);
    strokeBandOutline(band);
    strokeFrozenRowEdges(c, *g, row, band, _lineWidth);
    plat::TextOptions options;
    options.fitHeight = true;
    c.drawText(plat::AttributedString(header, _textAttributes), {tx, ty, textWidth.value_or(band.width()), band.height()},
               options);
    _textAttributes.color = kept;

    // Told after the band is drawn; the answers change nothing, as the band is never cached.
    const auto self = std::static_pointer_cast<GridPanel>(shared_from_this());
    auto announce = [&](const std::shared_ptr<KivoEvent>& event) {
        if (!event) return;
        if (const auto handlers = event->handlers(); handlers && !handlers->empty())
            event->raise(g, std::make_shared<GridFormatItemEventArgs>(self, std::make_shared<GridCellRange>(row, 0), &c));
    };
    announce(g->ombriGridFormatItem());
    if (const auto d = g->delegate()) (void)d->formatItem(g, self, std::make_shared<GridCellRange>(row, 0), &c);
    announce(g->ombriGridProcessItemOverlay());
    if (const auto d = g->delegate()) d->processItemOverlay(g, self, std::make_shared<GridCellRange>(row, 0), &c);

    if (!item->isCollapsed() || !group || !group->items()) return 0;
    return static_cast<std::int32_t>(std::min<std::size_t>(group->items()->size(), static_cast<std::size_t>(INT32_MAX)));
}
