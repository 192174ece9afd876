#include "Platform/ui/table_view.h"

#include <algorithm>
#include <cmath>

#include "Platform/ui/gestures.h"

namespace plat {

std::shared_ptr<TableView> TableView::create(const Rect& frame, TableViewStyle style) {
    return initialized(std::shared_ptr<TableView>(new TableView(frame, style)));
}

TableView::TableView(const Rect& frame, TableViewStyle style) : ScrollView(frame), _style(style) {}

void TableView::initialize() {
    ScrollView::initialize();
    setAlwaysBounceVertical(true);
    setBackgroundColor(Color::white());
    std::weak_ptr<TableView> weak = sharedAs<TableView>();
    _tap = TapGestureRecognizer::create([weak](GestureRecognizer&) {
        if (auto self = weak.lock()) self->handleTap();
    });
    // The cells' own controls still hear their touches.
    _tap->setCancelsTouchesInView(false);
    addGestureRecognizer(_tap);
}

void TableView::setDataSource(std::weak_ptr<TableViewDataSource> dataSource) {
    _dataSource = std::move(dataSource);
    reloadData();
}

void TableView::setDelegate(std::weak_ptr<TableViewDelegate> delegate) {
    _tableDelegate = delegate;
    ScrollView::setDelegate(std::move(delegate));
    reloadData();
}

void TableView::setRowHeight(double height) {
    if (!std::isfinite(height) || height < 0) return;
    _rowHeight = height;
    reloadData();
}

// ---- Geometry ----

void TableView::reloadData() {
    while (!_visible.empty()) enqueue(_visible.begin()->first);
    _selected.clear();
    _geometryStale = true;
    setNeedsLayout();
}

void TableView::ensureGeometry() {
    if (!_geometryStale) return;
    _geometryStale = false;
    _sectionStarts.clear();
    _rowTops.assign(1, 0.0);
    auto source = dataSource();
    if (!source) return;
    auto keep = sharedAs<TableView>();
    const auto delegate = this->delegate();
    const std::int64_t sections = std::max<std::int64_t>(0, source->numberOfSectionsInTableView(*this));
    for (std::int64_t s = 0; s < sections; ++s) {
        _sectionStarts.push_back(static_cast<std::int64_t>(_rowTops.size()) - 1);
        const std::int64_t rows = std::max<std::int64_t>(0, source->numberOfRowsInSection(*this, s));
        for (std::int64_t r = 0; r < rows; ++r) {
            double h = _rowHeight;
            if (delegate) {
                if (auto asked = delegate->heightForRowAtIndexPath(*this, {s, r}); asked && std::isfinite(*asked) && *asked >= 0)
                    h = *asked;
            }
            _rowTops.push_back(_rowTops.back() + h);
        }
    }
}

std::int64_t TableView::numberOfSections() {
    ensureGeometry();
    return static_cast<std::int64_t>(_sectionStarts.size());
}

std::int64_t TableView::numberOfRowsInSection(std::int64_t section) {
    ensureGeometry();
    if (section < 0 || section >= static_cast<std::int64_t>(_sectionStarts.size())) return 0;
    const auto s = static_cast<std::size_t>(section);
    const std::int64_t end =
        s + 1 < _sectionStarts.size() ? _sectionStarts[s + 1] : static_cast<std::int64_t>(_rowTops.size()) - 1;
    return end - _sectionStarts[s];
}

std::int64_t TableView::flatIndex(const IndexPath& ip) const {
    if (ip.section < 0 || ip.section >= static_cast<std::int64_t>(_sectionStarts.size()) || ip.row < 0) return -1;
    const auto s = static_cast<std::size_t>(ip.section);
    const std::int64_t end =
        s + 1 < _sectionStarts.size() ? _sectionStarts[s + 1] : static_cast<std::int64_t>(_rowTops.size()) - 1;
    const std::int64_t flat = _sectionStarts[s] + ip.row;
    return flat < end ? flat : -1;
}

IndexPath TableView::indexPathOf(std::int64_t flat) const {
    // The last section that starts at or before the row (empty sections share its start).
    auto it = std::upper_bound(_sectionStarts.begin(), _sectionStarts.end(), flat);
    const auto section = static_cast<std::int64_t>(it - _sectionStarts.begin()) - 1;
    return {section, flat - _sectionStarts[static_cast<std::size_t>(section)]};
}

Rect TableView::rectForRowAtIndexPath(const IndexPath& indexPath) {
    ensureGeometry();
    const std::int64_t flat = flatIndex(indexPath);
    if (flat < 0) return {};
    const auto i = static_cast<std::size_t>(flat);
    return {0, _rowTops[i], bounds().width(), _rowTops[i + 1] - _rowTops[i]};
}

std::optional<IndexPath> TableView::indexPathForRowAtPoint(Point point) {
    ensureGeometry();
    if (!(point.y >= 0) || point.x < 0 || point.x >= bounds().width()) return std::nullopt;
    auto it = std::upper_bound(_rowTops.begin(), _rowTops.end(), point.y);
    if (it == _rowTops.begin() || it == _rowTops.end()) return std::nullopt;
    return indexPathOf(static_cast<std::int64_t>(it - _rowTops.begin()) - 1);
}

// ---- Cells ----

void TableView::enqueue(std::int64_t flat) {
    auto it = _visible.find(flat);
    if (it == _visible.end()) return;
    auto cell = it->second;
    _visible.erase(it);
    cell->removeFromSuperview();
    if (!_geometryStale) {
        if (auto d = delegate()) d->didEndDisplayingCell(*this, *cell, indexPathOf(flat));
    }
    if (!cell->reuseIdentifier().empty()) _reusePool[cell->reuseIdentifier()].push_back(std::move(cell));
}

std::shared_ptr<TableViewCell> TableView::dequeueReusableCellWithIdentifier(const std::string& identifier) {
    auto it = _reusePool.find(identifier);
    if (it == _reusePool.end() || it->second.empty()) return nullptr;
    auto cell = std::move(it->second.back());
    it->second.pop_back();
    cell->prepareForReuse();
    return cell;
}

std::size_t TableView::reusableCellCount() const {
    std::size_t n = 0;
    for (const auto& [id, cells] : _reusePool) n += cells.size();
    return n;
}

std::shared_ptr<TableViewCell> TableView::cellForRowAtIndexPath(const IndexPath& indexPath) const {
    if (_geometryStale) return nullptr;
    auto it = _visible.find(flatIndex(indexPath));
    return it == _visible.end() ? nullptr : it->second;
}

std::optional<IndexPath> TableView::indexPathForCell(const TableViewCell& cell) const {
    for (const auto& [flat, c] : _visible) {
        if (c.get() == &cell) return indexPathOf(flat);
    }
    return std::nullopt;
}

std::vector<std::shared_ptr<TableViewCell>> TableView::visibleCells() const {
    std::vector<std::shared_ptr<TableViewCell>> out;
    for (const auto& [flat, cell] : _visible) out.push_back(cell);
    return out;
}

std::vector<IndexPath> TableView::indexPathsForVisibleRows() const {
    std::vector<IndexPath> out;
    for (const auto& [flat, cell] : _visible) out.push_back(indexPathOf(flat));
    return out;
}

void TableView::styleCell(TableViewCell& cell) const {
    cell.setSeparatorColor(_separatorStyle == TableViewCellSeparatorStyle::None ? std::nullopt
                                                                                : std::optional<Color>(_separatorColor));
}

void TableView::layoutSubviews() {
    auto keep = sharedAs<TableView>();
    ensureGeometry();
    const Rect b = bounds();
    setContentSize({b.width(), _rowTops.back()});

    // Rows that touch the visible part of the content.
    const auto first =
        static_cast<std::int64_t>(std::upper_bound(_rowTops.begin(), _rowTops.end(), b.minY()) - _rowTops.begin()) - 1;
    const auto last =
        static_cast<std::int64_t>(std::lower_bound(_rowTops.begin(), _rowTops.end(), b.maxY()) - _rowTops.begin()) - 1;
    const std::int64_t rows = static_cast<std::int64_t>(_rowTops.size()) - 1;
    const std::int64_t lo = std::max<std::int64_t>(0, first), hi = std::min(rows - 1, last);

    // Off-screen cells go back to the pool before new rows ask for cells, so they can be reused at once.
    std::vector<std::int64_t> gone;
    for (const auto& [flat, cell] : _visible) {
        if (flat < lo || flat > hi) gone.push_back(flat);
    }
    for (auto flat : gone) enqueue(flat);

    auto source = dataSource();
    for (std::int64_t flat = lo; source && flat <= hi; ++flat) {
        const auto i = static_cast<std::size_t>(flat);
        const Rect frame{0, _rowTops[i], b.width(), _rowTops[i + 1] - _rowTops[i]};
        if (auto it = _visible.find(flat); it != _visible.end()) {
            it->second->setFrame(frame);
            continue;
        }
        const IndexPath ip = indexPathOf(flat);
        auto cell = source->cellForRowAtIndexPath(*this, ip);
        if (!cell) continue;
        if (_geometryStale) return;  // the data source reloaded the table from inside: start over next pass
        cell->setFrame(frame);
        styleCell(*cell);
        cell->setSelected(isSelected(ip));
        addSubview(cell);
        _visible[flat] = cell;
        if (auto d = delegate()) d->willDisplayCell(*this, *cell, ip);
    }
    ScrollView::layoutSubviews();
}

// ---- Selection ----

void TableView::setAllowsSelection(bool allows) {
    _allowsSelection = allows;
    if (!allows) selectRowAtIndexPath(std::nullopt, false, TableViewScrollPosition::None);
}

void TableView::setAllowsMultipleSelection(bool allows) {
    _allowsMultipleSelection = allows;
    while (!allows && _selected.size() > 1) setCellSelected(_selected.front(), false);
}

bool TableView::isSelected(const IndexPath& ip) const {
    return std::find(_selected.begin(), _selected.end(), ip) != _selected.end();
}

std::optional<IndexPath> TableView::indexPathForSelectedRow() const {
    if (_selected.empty()) return std::nullopt;
    return _selected.front();
}

void TableView::setCellSelected(const IndexPath& ip, bool selected) {
    if (selected == isSelected(ip)) return;
    if (selected)
        _selected.push_back(ip);
    else
        std::erase(_selected, ip);
    if (auto cell = cellForRowAtIndexPath(ip)) cell->setSelected(selected);
}

void TableView::selectRowAtIndexPath(const std::optional<IndexPath>& indexPath, bool animated, TableViewScrollPosition position) {
    ensureGeometry();
    if (!indexPath) {
        while (!_selected.empty()) setCellSelected(_selected.front(), false);
        return;
    }
    if (flatIndex(*indexPath) < 0) return;
    if (!_allowsMultipleSelection) {
        const auto others = _selected;
        for (const auto& ip : others) {
            if (ip != *indexPath) setCellSelected(ip, false);
        }
    }
    setCellSelected(*indexPath, true);
    if (position != TableViewScrollPosition::None) scrollToRowAtIndexPath(*indexPath, position, animated);
}

void TableView::deselectRowAtIndexPath(const IndexPath& indexPath, bool) { setCellSelected(indexPath, false); }

void TableView::scrollToRowAtIndexPath(const IndexPath& indexPath, TableViewScrollPosition position, bool animated) {
    const Rect row = rectForRowAtIndexPath(indexPath);
    if (flatIndex(indexPath) < 0) return;
    // The content size may not have been laid out yet.
    setContentSize({bounds().width(), _rowTops.back()});
    const double h = bounds().height();
    double y = contentOffset().y;
    switch (position) {
        case TableViewScrollPosition::Top:
            y = row.y();
            break;
        case TableViewScrollPosition::Middle:
            y = row.midY() - h / 2;
            break;
        case TableViewScrollPosition::Bottom:
            y = row.maxY() - h;
            break;
        default:
            scrollRectToVisible(row, animated);
            return;
    }
    y = std::clamp(y, minimumContentOffset().y, maximumContentOffset().y);
    setContentOffset({contentOffset().x, y}, animated);
}

void TableView::handleTap() {
    if (!_allowsSelection || touchStoppedScrolling()) return;
    auto keep = sharedAs<TableView>();
    const auto hit = indexPathForRowAtPoint(_tap->locationInView(this));
    if (!hit) return;
    if (_allowsMultipleSelection && isSelected(*hit)) {
        setCellSelected(*hit, false);
        if (auto d = delegate()) d->didDeselectRowAtIndexPath(*this, *hit);
        return;
    }
    std::optional<IndexPath> target = hit;
    if (auto d = delegate()) target = d->willSelectRowAtIndexPath(*this, *hit);
    if (!target || flatIndex(*target) < 0) return;
    if (!_allowsMultipleSelection) {
        const auto others = _selected;
        for (const auto& ip : others) {
            if (ip == *target) continue;
            setCellSelected(ip, false);
            if (auto d = delegate()) d->didDeselectRowAtIndexPath(*this, ip);
        }
    }
    if (isSelected(*target)) return;
    setCellSelected(*target, true);
    if (auto d = delegate()) d->didSelectRowAtIndexPath(*this, *target);
}

// ---- Look ----

void TableView::setSeparatorStyle(TableViewCellSeparatorStyle style) {
    _separatorStyle = style;
    for (const auto& [flat, cell] : _visible) styleCell(*cell);
}

void TableView::setSeparatorColor(const Color& color) {
    _separatorColor = color;
    for (const auto& [flat, cell] : _visible) styleCell(*cell);
}

}  // namespace plat
