#include "hittest/HitAreaIndex.h"

#include <algorithm>
#include <cmath>

namespace kivo::detail {

namespace {

// How far a point lies from a box, measured as the areas measure it (so that a box of one area gives
// that area's own distance to the last bit).
double boxDistance(double minX, double minY, double maxX, double maxY, const KivoPoint& p) {
    const double dx = p.x() < minX ? minX - p.x() : (p.x() > maxX ? p.x() - maxX : 0.0);
    const double dy = p.y() < minY ? minY - p.y() : (p.y() > maxY ? p.y() - maxY : 0.0);
    return std::hypot(dx, dy);
}

}  // namespace

void HitAreaIndex::build(std::vector<Entry> entries) {
    _entries = std::move(entries);
    _items.clear();
    _nodes.clear();
    _unbounded.clear();

    std::vector<Placed> placed;
    placed.reserve(_entries.size());
    for (std::uint32_t i = 0; i < _entries.size(); ++i) {
        const auto b = _entries[i].area->bounds();
        if (b.isKnown())
            placed.push_back({{_entries[i].area, i}, b});
        else
            _unbounded.push_back(i);
    }
    if (placed.empty()) return;
    _nodes.reserve(2 * (placed.size() / LeafSize + 1));
    buildNode(0, static_cast<std::uint32_t>(placed.size()), placed);
    _items.reserve(placed.size());
    for (const auto& p : placed) _items.push_back(p.item);
}

std::uint32_t HitAreaIndex::buildNode(std::uint32_t begin, std::uint32_t end, std::vector<Placed>& placed) {
    const auto index = static_cast<std::uint32_t>(_nodes.size());
    const auto& first = placed[begin].bounds;
    Node node{first.minX, first.minY, first.maxX, first.maxY, first.radius, 0, begin, end};
    double cx0 = HUGE_VAL, cx1 = -HUGE_VAL, cy0 = HUGE_VAL, cy1 = -HUGE_VAL;
    for (std::uint32_t i = begin; i < end; ++i) {
        const auto& b = placed[i].bounds;
        node.minX = std::min(node.minX, b.minX);
        node.minY = std::min(node.minY, b.minY);
        node.maxX = std::max(node.maxX, b.maxX);
        node.maxY = std::max(node.maxY, b.maxY);
        node.radius = std::max(node.radius, b.radius);
        node.maxOrdinal = std::max(node.maxOrdinal, placed[i].item.ordinal);
        const double cx = b.minX + b.maxX, cy = b.minY + b.maxY;
        cx0 = std::min(cx0, cx), cx1 = std::max(cx1, cx);
        cy0 = std::min(cy0, cy), cy1 = std::max(cy1, cy);
    }
    _nodes.push_back(node);
    if (end - begin <= LeafSize) return index;

    // Split at the median centre along the longer side of the centres' spread.
    const bool alongX = cx1 - cx0 >= cy1 - cy0;
    const std::uint32_t mid = begin + (end - begin) / 2;
    std::nth_element(placed.begin() + begin, placed.begin() + mid, placed.begin() + end,
                     [alongX](const Placed& a, const Placed& b) {
                         return alongX ? a.bounds.minX + a.bounds.maxX < b.bounds.minX + b.bounds.maxX
                                       : a.bounds.minY + a.bounds.maxY < b.bounds.minY + b.bounds.maxY;
                     });
    const std::uint32_t left = buildNode(begin, mid, placed);
    const std::uint32_t right = buildNode(mid, end, placed);
    _nodes[index].left = left;
    _nodes[index].right = right;
    return index;
}

double HitAreaIndex::bound(const Node& node, const KivoPoint& p) {
    const double d = boxDistance(node.minX, node.minY, node.maxX, node.maxY, p);
    return d <= node.radius ? 0.0 : d - node.radius;
}

void HitAreaIndex::consider(IKivoHitArea* area, std::uint32_t ordinal, const KivoPoint& p, HitCandidate& best) const {
    const double d = area->distance(p);
    if (!std::isfinite(d)) return;
    if (d < best.distance || (d == best.distance && static_cast<std::int64_t>(ordinal) > best.ordinal)) {
        best.distance = d;
        best.ordinal = ordinal;
        best.area = area;
        best.run = _entries[ordinal].run;
    }
}

void HitAreaIndex::scan(const std::vector<std::uint32_t>& ordinals, const KivoPoint& p, HitCandidate& best) const {
    for (const auto ordinal : ordinals) consider(_entries[ordinal].area, ordinal, p, best);
}

void HitAreaIndex::scanItems(std::uint32_t begin, std::uint32_t end, const KivoPoint& p, HitCandidate& best) const {
    for (std::uint32_t i = begin; i < end; ++i) consider(_items[i].area, _items[i].ordinal, p, best);
}

void HitAreaIndex::nearest(const KivoPoint& p, HitCandidate& best) const {
    if (_entries.empty()) return;
    if (!std::isfinite(p.x()) || !std::isfinite(p.y())) {
        // No bound holds for such a point: ask every area, as a scan would.
        for (std::uint32_t i = 0; i < _entries.size(); ++i) consider(_entries[i].area, i, p, best);
        return;
    }
    scan(_unbounded, p, best);
    if (_nodes.empty()) return;

    // Nearest bound first; among equal bounds the node with the latest area first.
    const auto later = [this](const std::pair<double, std::uint32_t>& a, const std::pair<double, std::uint32_t>& b) {
        if (a.first != b.first) return a.first > b.first;
        return _nodes[a.second].maxOrdinal < _nodes[b.second].maxOrdinal;
    };
    const auto hopeless = [&best](double lb, std::uint32_t maxOrdinal) {
        return lb > best.distance || (lb == best.distance && static_cast<std::int64_t>(maxOrdinal) <= best.ordinal);
    };
    _heap.clear();
    _heap.emplace_back(bound(_nodes[0], p), 0);
    while (!_heap.empty()) {
        std::pop_heap(_heap.begin(), _heap.end(), later);
        const auto [lb, index] = _heap.back();
        _heap.pop_back();
        const Node& node = _nodes[index];
        // Every node left has a bound at least as large, and no later area at that bound.
        if (hopeless(lb, node.maxOrdinal)) break;
        if (node.left == 0) {
            scanItems(node.begin, node.end, p, best);
            continue;
        }
        for (const auto child : {node.left, node.right}) {
            const double childBound = bound(_nodes[child], p);
            if (hopeless(childBound, _nodes[child].maxOrdinal)) continue;
            _heap.emplace_back(childBound, child);
            std::push_heap(_heap.begin(), _heap.end(), later);
        }
    }
}

}  // namespace kivo::detail
