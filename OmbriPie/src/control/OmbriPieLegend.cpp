// OmbriPie: the legend's items. At the top or bottom (orientation Auto) they wrap into rows: the first
// row keeps the width of the items that fit, and each later row is centred on the width the legend
// had at the start of the pass.

#include <algorithm>

#include "ChartCore/KivoLegend.h"
#include "OmbriPie/OmbriPie.h"

std::shared_ptr<KivoSize> OmbriPie::measureLegendItem(const std::shared_ptr<IKivoRenderEngine>& engine,
                                                      const std::optional<std::string>& name) {
    auto size = KivoSize::create(LEGEND_ITEM_WIDTH, LEGEND_ITEM_HEIGHT);
    if (name && engine) {
        engine->setFont(legend()->labelFont());
        if (const auto m = engine->measureString(*name)) {
            size->setWidth(size->width() + m->width());
            size->setHeight(std::max(size->height(), m->height()));
        }
    }
    size->setWidth(size->width() + LegendItemExtraWidth);
    size->setHeight(size->height() + LegendItemExtraHeight);
    return size;
}

void OmbriPie::drawLegendItem(const std::shared_ptr<IKivoRenderEngine>& engine, const std::shared_ptr<KivoRect>& rect,
                              std::int64_t i, const std::optional<std::string>& name) {
    engine->setStrokeThickness(1.0);
    engine->setFill(getColor(i));
    engine->setStroke(getColorDark(i));
    const double middle = rect->top() + rect->height() * 0.5;
    engine->drawRect(rect->left() + LEGEND_ITEM_MARGIN, middle - LEGEND_ITEM_HEIGHT / 2, LEGEND_ITEM_WIDTH, LEGEND_ITEM_HEIGHT);
    if (name) renderText(engine, *name, KivoPoint::create(rect->left() + LEGEND_ITEM_WIDTH + LegendTextGap, middle), 0, 1);
}

bool OmbriPie::wrapsLegendRows() const {
    const auto position = legend()->getPosition();
    return (position == KivoAxisPositionTop || position == KivoAxisPositionBottom) &&
           legend()->getOrientation() == KivoLegendOrientationAuto;
}

std::shared_ptr<KivoSize> OmbriPie::getLegendDesiredSize(const std::shared_ptr<IKivoRenderEngine>& engine, bool isVertical) {
    double width = 0, height = 0;
    _legendRow = _legendColumn = 0;
    _nextLineWidth = 0;
    _rowsWidth.clear();
    _itemsSize.clear();
    _rowNumberDic.clear();
    _columnNumberDic.clear();
    const bool wraps = !isVertical && wrapsLegendRows();
    const std::size_t n = _labels.size();

    for (std::size_t i = 0; i < n; ++i) {
        const auto s = measureLegendItem(engine, _labels[i]);
        _itemsSize.push_back(s);
        const bool last = i + 1 == n;
        if (isVertical) {
            height += s->height();
            width = std::max(width, s->width());
        } else if (wraps) {
            height = std::max(height, s->height());
            if (width < _legendWidth) {
                width += s->width();
                ++_legendColumn;
                if (width > _legendWidth && _legendRow == 0) {
                    width -= s->width();
                    _legendWidth = width;
                    _nextLineWidth = _caculatedWidth = s->width();
                    height += s->height();
                    ++_legendRow;
                    _legendColumn = 1;
                    if (last && _nextLineWidth < _legendWidth) _rowsWidth[_legendRow] = _nextLineWidth;
                }
            } else {
                _nextLineWidth += s->width();
                _caculatedWidth = _nextLineWidth;
                if (_nextLineWidth > _legendWidth) {
                    _caculatedWidth -= s->width();
                    _nextLineWidth = s->width();
                    height += s->height();
                    _rowsWidth[_legendRow] = _caculatedWidth;
                    ++_legendRow;
                    _legendColumn = 1;
                } else {
                    ++_legendColumn;
                }
                if (last && _nextLineWidth < _legendWidth) _rowsWidth[_legendRow] = _nextLineWidth;
            }
            _columnNumberDic[static_cast<std::int64_t>(i)] = _legendColumn;
            _rowNumberDic[static_cast<std::int64_t>(i)] = _legendRow;
        } else {
            width += s->width();
            height = std::max(height, s->height());
        }
    }
    return KivoSize::create(width, height);
}

void OmbriPie::renderLegend(const std::shared_ptr<IKivoRenderEngine>& engine, const std::shared_ptr<KivoPoint>& point,
                            bool isVertical, std::vector<std::shared_ptr<KivoRect>>& areas) {
    if (!engine || !point) return;
    auto p = point->clone();
    double x0 = 0;
    const auto position = legend()->getPosition();
    const bool rows = !isVertical && (position == KivoAxisPositionTop || position == KivoAxisPositionBottom);
    // A pass that measured fewer items than there are labels draws the ones it measured.
    const std::size_t n = std::min(_labels.size(), _itemsSize.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto& s = _itemsSize[i];
        if (rows) {
            const auto key = static_cast<std::int64_t>(i);
            const std::int32_t row = _rowNumberDic.count(key) ? _rowNumberDic.at(key) : 0;
            const std::int32_t column = _columnNumberDic.count(key) ? _columnNumberDic.at(key) : 0;
            if (row >= 1) x0 = (_chartWidth - (_rowsWidth.count(row) ? _rowsWidth.at(row) : 0.0)) * 0.5;
            if (column == 1) p->setX(row == 0 ? point->x() : x0);
            p->setY(point->y() + row * s->height());
        }
        auto rect = KivoRect::create(p->x(), p->y(), s->width(), s->height());
        drawLegendItem(engine, rect, static_cast<std::int64_t>(i), _labels[i]);
        areas.push_back(rect);
        if (isVertical)
            p->setY(p->y() + s->height());
        else
            p->setX(p->x() + s->width());
    }
}
