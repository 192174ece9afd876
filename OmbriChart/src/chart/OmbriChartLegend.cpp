// OmbriChart: the legend's items, measured and placed in a column, in one line, or in rows that wrap
// at the available width, and drawn by their series.

#include <algorithm>

#include "ChartCore/KivoLegend.h"
#include "KivoCore/IKivoRenderEngine.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"

namespace {

bool isListed(const KivoSeries& s) {
    return s.name() && !s.name()->empty() &&
           (s.visibility() == KivoSeriesVisibilityVisible || s.visibility() == KivoSeriesVisibilityLegend);
}

std::vector<std::shared_ptr<KivoSeries>> listedSeries(const KivoObservableArray& series) {
    std::vector<std::shared_ptr<KivoSeries>> listed;
    for (const auto& entry : series)
        if (auto s = entry.as<KivoSeries>(); s && isListed(*s)) listed.push_back(std::move(s));
    return listed;
}

bool isAboveOrBelow(std::int64_t position) { return position == KivoAxisPositionTop || position == KivoAxisPositionBottom; }

}  // namespace

std::int32_t OmbriChart::legendItemSeries(std::int32_t item) const {
    std::int32_t listed = 0;
    for (std::size_t i = 0; i < _series->count() && item >= 0; ++i) {
        const auto s = _series->objectAtIndexAs<KivoSeries>(i);
        if (s && isListed(*s) && listed++ == item) return static_cast<std::int32_t>(i);
    }
    return -1;
}

std::shared_ptr<KivoSize> OmbriChart::getLegendDesiredSize(const std::shared_ptr<IKivoRenderEngine>& engine, bool isVertical) {
    if (!_series || _series->count() == 0) return nullptr;
    const auto legend = this->legend();
    const std::int64_t position = legend ? legend->getPosition() : KivoAxisPositionNone;
    const bool wraps = !isVertical && isAboveOrBelow(position) && legend->getOrientation() == KivoLegendOrientationAuto;

    double width = 0, height = 0;
    _legendRow = 0;
    _legendColumn = 0;
    _nextLineWidth = 0;
    _caculatedWidth = 0;
    _rowsWidth.clear();
    for (const auto& s : listedSeries(*_series)) {
        const auto m = s->measureLegendItem(engine);
        if (isVertical) {
            height += m->height();
            width = std::max(width, m->width());
        } else if (!wraps) {
            width += m->width();
            height = std::max(height, m->height());
        }
        if (!wraps) {
            // One column or one line: every item on the first row, whatever an earlier wrap said.
            s->setItemRowNum(0);
            s->setItemColumnNum(0);
            continue;
        }

        height = std::max(height, m->height());
        if (_legendRow == 0 && (_legendColumn == 0 || width + m->width() <= _legendWidth)) {
            // The first row takes items while they fit (and its first item whatever its width).
            width += m->width();
            ++_legendColumn;
            _caculatedWidth = width;
        } else if (_legendRow == 0) {
            // The item opens the second row; the first row's width becomes every row's limit.
            _legendWidth = width;
            _nextLineWidth = _caculatedWidth = m->width();
            height += m->height();
            _legendRow = 1;
            _legendColumn = 1;
        } else if (_nextLineWidth + m->width() > _legendWidth) {
            _rowsWidth[_legendRow] = _caculatedWidth = _nextLineWidth;
            _nextLineWidth = m->width();
            height += m->height();
            ++_legendRow;
            _legendColumn = 1;
        } else {
            _nextLineWidth += m->width();
            _caculatedWidth = _nextLineWidth;
            ++_legendColumn;
        }
        s->setItemRowNum(_legendRow);
        s->setItemColumnNum(_legendColumn);
    }
    // The last row is centred by its width like every other row after the first.
    if (_legendRow > 0) _rowsWidth[_legendRow] = _nextLineWidth;
    return KivoSize::create(width, height);
}

void OmbriChart::renderLegend(const std::shared_ptr<IKivoRenderEngine>& engine, const std::shared_ptr<KivoPoint>& point,
                              bool isVertical, std::vector<std::shared_ptr<KivoRect>>& areas) {
    if (!engine || !point || !_series) return;
    const auto legend = this->legend();
    const bool rows = !isVertical && legend && isAboveOrBelow(legend->getPosition());
    auto p = point->clone();
    double rowOffset = 0;
    for (const auto& s : listedSeries(*_series)) {
        const auto m = s->measureLegendItem(engine);
        if (rows) {
            const std::int32_t row = s->itemRowNum();
            if (row >= 1) {
                const auto it = _rowsWidth.find(row);
                rowOffset = (_chartWidth - (it == _rowsWidth.end() ? 0.0 : it->second)) * 0.5;
            }
            if (s->itemColumnNum() == 1) p->setX(row == 0 ? point->x() : rowOffset);
            p->setY(point->y() + m->height() * row);
        }
        auto item = KivoRect::create(p->x(), p->y(), m->width(), m->height());
        engine->startGroup("legendItem");
        s->drawLegendItem(engine, item);
        engine->endGroup();
        areas.push_back(std::move(item));
        if (isVertical)
            p->setY(p->y() + m->height());
        else
            p->setX(p->x() + m->width());
    }
}
