#pragma once
// Internal: small path draws remembered by what they did to the pixels. Cairo rasterises a path moved
// by whole device pixels into the same pixels moved, so the same shape in the same style at the same
// sub-pixel position over the same pixels always comes out the same. A grid draws the same check box in
// cell after cell, a chart the same marker at point after point: the memo keeps, a thread, what a small
// box of pixels became, found by everything that decides it, and writes that back instead of asking
// Cairo again.
//
// A shape is first only noted, by the hash of its key; pixels are kept from its second draw on, so a
// stream of shapes that never repeat costs a key and a look at one slot each, not a copy of their pixels.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

#include "Platform/foundation/geometry.h"
#include "Platform/graphics/context.h"
#include "Platform/graphics/path.h"

namespace plat {
class Image;
}

namespace plat::detail {

// A path in device space as Cairo is given it: quadratic curves already made cubic, each point
// transformed as Cairo transforms a user point.
struct DeviceGeometry {
    std::vector<Path::Verb> verbs;
    std::vector<Point> points;
    double minX = 0, minY = 0, maxX = 0, maxY = 0;  // of every point, control points included
    bool hasJoins = false;                          // some subpath turns a corner or is closed
};

// `path` through `ctm` into `out` (its storage reused); false when a point is not finite.
bool deviceGeometry(const Path& path, const AffineTransform& ctm, DeviceGeometry& out);

// Everything besides the geometry that decides a draw's pixels, as Cairo is given it.
struct MemoStyle {
    int mode = 0;  // a DrawingMode's code
    std::array<double, 4> fill{}, stroke{};
    // The linear part of the transform Cairo strokes under, and how much it stretches a length at most.
    std::array<double, 4> linear{1, 0, 0, 1};
    double stretch = 1;
    double lineWidth = 1, miterLimit = 10, dashPhase = 0;
    int cap = 0, join = 0;  // Cairo's codes
    bool squareCap = false, miterJoin = false;
    std::span<const double> dash;
    // The Cairo context's and surface's settings that reach the rasteriser and the compositing.
    int antialias = 0, op = 0, format = 0;
    double tolerance = 0;
};

// Device pixels from (left, top), width × height.
struct MemoBox {
    int left = 0, top = 0, width = 0, height = 0;
};

class PathMemo {
public:
    // A box larger than this either way is left to Cairo.
    static constexpr int MaxSide = 32;
    // Kept pixel boxes and the bytes they hold with their keys; past either everything is let go of.
    static constexpr std::size_t MaxEntries = 256;
    static constexpr std::size_t MaxBytes = std::size_t{1} << 20;
    // Boxes kept for one shape (one per background it was drawn over); past this the oldest goes.
    static constexpr std::size_t MaxVariants = 8;
    // Shapes kept (drawn at least twice); past this everything is let go of.
    static constexpr std::size_t MaxShapes = 2048;
    static constexpr int UnseenRunLimit = 256;

    static PathMemo& forThread();

    // Whether to look at the next draw at all. After a long run of shapes never seen before (a chart's
    // markers, each at its own place), only one draw in eight is, so such a stream pays little for a
    // memo it gains nothing from; any shape seen again ends the run.
    bool worthLooking() { return _unseenRun < UnseenRunLimit || (++_skipped & 7) == 0; }

    // The scratch geometry of the draw in hand.
    DeviceGeometry& geometry() { return _geometry; }

    // The pixels the draw of geometry() in `style` can touch, when they make a small box inside `area`
    // (left, top, right, bottom, inside the target); false otherwise (then the memo has nothing to do
    // with the draw). `area` is what the whole-pixel rectangular clips leave (the target when there
    // are none); `clip`, when not null, the one clip of another shape in force (device space), which
    // then becomes part of the key, as does whether rectangles clip too (`underRects`). The draw's key
    // is made here.
    bool prepare(const MemoStyle& style, const std::array<int, 4>& area, const ClipEntry* clip = nullptr,
                 bool underRects = false);

    enum class Outcome {
        Replayed,  // the box's pixels are written: nothing is left to draw
        Record,    // draw with Cairo, then record()
        Draw,      // draw with Cairo
    };
    // Looks up the prepared draw over the box's pixels in `target` now (read directly: the caller has
    // flushed the surface; on Replayed it marks the box dirty).
    Outcome lookUp(Image& target);
    // Keeps the box's pixels after Cairo drew the draw looked up last.
    void record(const Image& target);

    const MemoBox& box() const { return _box; }
    std::size_t entryCount() const { return _entries; }
    std::size_t byteCount() const { return _bytes; }
    void clear();

private:
    struct Variant {
        std::vector<std::uint32_t> before, after;
        std::uint64_t lastUse = 0;
    };
    struct Shape {
        std::vector<std::uint64_t> key;
        std::vector<Variant> variants;
    };

    // Appends `g` to the key: its verbs and its points as Cairo's fixed-point numbers, from the box's
    // corner; false when a point is too far out for those.
    bool appendGeometry(const DeviceGeometry& g);

    DeviceGeometry _geometry, _clipGeometry;
    std::vector<std::uint64_t> _key;
    std::uint64_t _keyHash = 0;
    MemoBox _box;
    // The shape a Record outcome is for, and the box's pixels before the draw.
    Shape* _pending = nullptr;
    std::vector<std::uint32_t> _before;

    // The hashes of keys drawn once, a slot each by hash: a shape is kept from its second draw on.
    std::array<std::uint64_t, 4096> _seen{};
    std::unordered_map<std::uint64_t, Shape> _shapes;
    std::size_t _entries = 0, _bytes = 0;
    std::uint64_t _uses = 0;
    int _unseenRun = 0;
    unsigned _skipped = 0;
};

// Whether the backend takes this way at all (on by default): tests turn it off to draw the same
// shapes through Cairo alone and compare the pixels. This thread's setting.
bool& pathMemoEnabled();

}  // namespace plat::detail
