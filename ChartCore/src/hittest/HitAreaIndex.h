#pragma once
// The hit tester's spatial index over one series' areas: a k-d tree over where each area lies (its
// box and radius, IKivoHitArea::bounds), searched nearest bound first. Every node keeps the largest
// insertion number below it, so among areas at the same distance the one added last is found without
// visiting the others: a dense line, where a tap lies inside hundreds of discs, costs about as much as
// a sparse one. Areas that cannot tell where they lie are tried on every query, in their place.
//
// The index answers exactly what a scan in insertion order answers (the nearest area at a finite
// distance, ties to the one added last): a node's bound never exceeds the distance of any area below
// it, and every area that could still win or tie is measured by its own distance.

#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

#include "ChartCore/IKivoHitArea.h"

namespace kivo::detail {

// The best area so far of a query: a later series wins ties over an earlier one, so a query of the
// next series starts from the distance found with no ordinal yet.
struct HitCandidate {
    double distance;
    std::int64_t ordinal = -1;  // insertion number within the series; -1: none yet in this series
    IKivoHitArea* area = nullptr;
    std::uint32_t run = 0;
};

class HitAreaIndex {
public:
    // One area of a series, with the run it came from (which keeps it alive).
    struct Entry {
        IKivoHitArea* area;
        std::uint32_t run;
    };

    // Builds the index over `entries` (in insertion order); the previous content is dropped.
    void build(std::vector<Entry> entries);
    // Improves `best` with an area nearer than it, or as near and added later.
    void nearest(const KivoPoint& point, HitCandidate& best) const;

    std::size_t size() const { return _entries.size(); }

private:
    // Where areas lie, in floats rounded outwards (the radius upwards): a bound from it is still below
    // every distance, and a million areas' tree stays small enough for the caches.
    struct Box {
        float minX, minY, maxX, maxY, radius;
    };
    // 32 bytes: two children side by side fill one cache line.
    struct alignas(32) Node {
        Box box;
        std::uint32_t maxOrdinal;
        std::uint32_t first;  // a leaf: its first item in _items; else its left child (the right one follows)
        std::uint32_t count;  // a leaf: its number of items; 0 for an inner node
    };
    // Storage aligned to a cache line, so that each pair of children (from index 2 on) lies in one.
    template <class T>
    struct LineAligned {
        using value_type = T;
        LineAligned() = default;
        template <class U>
        LineAligned(const LineAligned<U>&) {}
        T* allocate(std::size_t n) { return static_cast<T*>(::operator new(n * sizeof(T), std::align_val_t(64))); }
        void deallocate(T* p, std::size_t) { ::operator delete(p, std::align_val_t(64)); }
        friend bool operator==(const LineAligned&, const LineAligned&) { return true; }
    };
    // An area with its own box, so that a leaf asks only the areas that may still win.
    struct Item {
        IKivoHitArea* area;
        std::uint32_t ordinal;
        Box box;
    };
    // An area's centre while the tree is built (the split needs no more precision than this).
    struct Placed {
        float x, y;
        std::uint32_t ordinal;
    };
    static constexpr std::size_t LeafSize = 8;

    void buildNode(std::uint32_t index, std::uint32_t begin, std::uint32_t end, std::vector<Placed>& placed,
                   const std::vector<KivoHitBounds>& bounds);
    static Box boxOf(const KivoHitBounds& b);
    static double bound(const Box& box, const KivoPoint& p);
    void scan(const std::vector<std::uint32_t>& ordinals, const KivoPoint& p, HitCandidate& best) const;
    void scanItems(std::uint32_t begin, std::uint32_t end, const KivoPoint& p, HitCandidate& best) const;
    void consider(IKivoHitArea* area, std::uint32_t ordinal, const KivoPoint& p, HitCandidate& best) const;

    std::vector<Entry> _entries;
    std::vector<Item> _items;
    std::vector<Node, LineAligned<Node>> _nodes;
    // Areas without known bounds, by insertion number.
    std::vector<std::uint32_t> _unbounded;
    // A node waiting in the search: its bound, its latest area and where it is.
    struct Pending {
        double bound;
        std::uint32_t maxOrdinal;
        std::uint32_t index;
    };
    // Scratch of the search, kept between queries.
    mutable std::vector<Pending> _heap;
};

}  // namespace kivo::detail
