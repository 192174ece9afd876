#include "hittest/HitAreaIndex.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace kivo::detail {

namespace {

// A little less than how far a point lies from a box: the areas measure with std::hypot, and a plain
// square root may come out an ulp above it; shaving a part in 10^12 keeps the bound below every area's
// own distance at a fraction of hypot's cost.
constexpr double Shave = 1 - 1e-12;
double boxDistance(double minX, double minY, double maxX, double maxY, const KivoPoint& p) {
    const double dx = p.x() < minX ? minX - p.x() : (p.x() > maxX ? p.x() - maxX : 0.0);
    const double dy = p.y() < minY ? minY - p.y() : (p.y() > maxY ? p.y() - maxY : 0.0);
    const double squared = dx * dx + dy * dy;
    return (std::isfinite(squared) ? std::sqrt(squared) : std::hypot(dx, dy)) * Shave;
}

// The float at or below (above) a double.
float down(double v) {
    const auto f = static_cast<float>(std::clamp(v, -double(FLT_MAX), double(FLT_MAX)));
    return static_cast<double>(f) > v ? std::nextafter(f, -INFINITY) : f;
}
float up(double v) {
    const auto f = static_cast<float>(std::clamp(v, -double(FLT_MAX), double(FLT_MAX)));
    return static_cast<double>(f) < v ? std::nextafter(f, INFINITY) : f;
}

}  // namespace

void HitAreaIndex::build(std::vector<Entry> entries) {
    _entries = std::move(entries);
    _items.clear();
    _nodes.clear();
    _unbounded.clear();

    // The bounds by insertion number; the tree is built over small records of the centres.
    std::vector<KivoHitBounds> bounds(_entries.size());
    std::vector<Placed> placed;
    placed.reserve(_entries.size());
    for (std::uint32_t i = 0; i < _entries.size(); ++i) {
        bounds[i] = _entries[i].area->bounds();
        const auto& b = bounds[i];
        if (b.isKnown())
            placed.push_back({static_cast<float>((b.minX + b.maxX) / 2), static_cast<float>((b.minY + b.maxY) / 2), i});
        else
            _unbounded.push_back(i);
    }
    if (placed.empty()) return;
    _nodes.reserve(4 * (placed.size() / LeafSize + 1));
    // The root alone in the first line; index 1 stays unused so that every pair of children shares one.
    _nodes.resize(2);
    _items.resize(placed.size());
    buildNode(0, 0, static_cast<std::uint32_t>(placed.size()), placed, bounds);
}

void HitAreaIndex::buildNode(std::uint32_t index, std::uint32_t begin, std::uint32_t end, std::vector<Placed>& placed,
                             const std::vector<KivoHitBounds>& bounds) {
    if (end - begin <= LeafSize) {
        auto box = bounds[placed[begin].ordinal];
        std::uint32_t maxOrdinal = 0;
        for (std::uint32_t i = begin; i < end; ++i) {
            const auto ordinal = placed[i].ordinal;
            const auto& b = bounds[ordinal];
            _items[i] = {_entries[ordinal].area, ordinal, boxOf(b)};
            box.minX = std::min(box.minX, b.minX);
            box.minY = std::min(box.minY, b.minY);
            box.maxX = std::max(box.maxX, b.maxX);
            box.maxY = std::max(box.maxY, b.maxY);
            box.radius = std::max(box.radius, b.radius);
            maxOrdinal = std::max(maxOrdinal, ordinal);
        }
        _nodes[index] = {boxOf(box), maxOrdinal, begin, end - begin};
        return;
    }

    // Split at the median centre along the longer side of the centres' spread.
    float x0 = placed[begin].x, x1 = x0, y0 = placed[begin].y, y1 = y0;
    for (std::uint32_t i = begin; i < end; ++i) {
        x0 = std::min(x0, placed[i].x), x1 = std::max(x1, placed[i].x);
        y0 = std::min(y0, placed[i].y), y1 = std::max(y1, placed[i].y);
    }
    const bool alongX = x1 - x0 >= y1 - y0;
    const std::uint32_t mid = begin + (end - begin) / 2;
    std::nth_element(placed.begin() + begin, placed.begin() + mid, placed.begin() + end,
                     [alongX](const Placed& a, const Placed& b) { return alongX ? a.x < b.x : a.y < b.y; });
    // The two children side by side: a step down reads both boxes from one place.
    const auto left = static_cast<std::uint32_t>(_nodes.size());
    _nodes.resize(left + 2);
    buildNode(left, begin, mid, placed, bounds);
    buildNode(left + 1, mid, end, placed, bounds);
    // The union of the children's boxes, already rounded outwards.
    const Box& l = _nodes[left].box;
    const Box& r = _nodes[left + 1].box;
    _nodes[index] = {{std::min(l.minX, r.minX), std::min(l.minY, r.minY), std::max(l.maxX, r.maxX), std::max(l.maxY, r.maxY),
                      std::max(l.radius, r.radius)},
                     std::max(_nodes[left].maxOrdinal, _nodes[left + 1].maxOrdinal),
                     left,
                     0};
}

HitAreaIndex::Box HitAreaIndex::boxOf(const KivoHitBounds& b) {
    return {down(b.minX), down(b.minY), up(b.maxX), up(b.maxY), up(b.radius)};
}

double HitAreaIndex::bound(const Box& box, const KivoPoint& p) {
    const double d = boxDistance(box.minX, box.minY, box.maxX, box.maxY, p);
    return d <= box.radius ? 0.0 : d - box.radius;
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
    for (std::uint32_t i = begin; i < end; ++i) {
        const auto& item = _items[i];
        const double lb = bound(item.box, p);
        if (lb > best.distance || (lb == best.distance && static_cast<std::int64_t>(item.ordinal) <= best.ordinal)) continue;
        consider(item.area, item.ordinal, p, best);
    }
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
    const auto later = [](const Pending& a, const Pending& b) {
        if (a.bound != b.bound) return a.bound > b.bound;
        return a.maxOrdinal < b.maxOrdinal;
    };
    const auto hopeless = [&best](const Pending& n) {
        return n.bound > best.distance || (n.bound == best.distance && static_cast<std::int64_t>(n.maxOrdinal) <= best.ordinal);
    };
    const auto pending = [this, &p](std::uint32_t index) {
        return Pending{bound(_nodes[index].box, p), _nodes[index].maxOrdinal, index};
    };
    _heap.clear();
    _heap.push_back(pending(0));
    while (!_heap.empty()) {
        std::pop_heap(_heap.begin(), _heap.end(), later);
        auto next = _heap.back();
        _heap.pop_back();
        // Every node left has a bound at least as large, and no later area at that bound.
        if (hopeless(next)) break;
        // Down the nearer side at once, leaving the other for later: a walk to the nearest leaf first
        // makes the best distance small early, which prunes most of what was left.
        for (;;) {
            const Node& node = _nodes[next.index];
            if (node.count != 0) {
                scanItems(node.first, node.first + node.count, p, best);
                break;
            }
            auto a = pending(node.first), b = pending(node.first + 1);
            if (later(a, b)) std::swap(a, b);
            if (!hopeless(b)) {
                _heap.push_back(b);
                std::push_heap(_heap.begin(), _heap.end(), later);
            }
            if (hopeless(a)) break;
            next = a;
        }
    }
}

}  // namespace kivo::detail
