#include "graphics/path_memo.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>

#include "Platform/graphics/image.h"

namespace plat::detail {

namespace {

// Pixels that antialiasing may touch beyond the shape's reach, on every side.
constexpr double AntialiasMargin = 2;

std::uint64_t word(double v) { return std::bit_cast<std::uint64_t>(v); }
std::uint64_t word(int v) { return static_cast<std::uint64_t>(static_cast<std::int64_t>(v)); }

std::uint64_t hashOf(std::span<const std::uint64_t> words) {
    std::uint64_t h = 0x243F6A8885A308D3ull;
    for (std::uint64_t w : words) {
        h ^= w * 0x9E3779B97F4A7C15ull;
        h = std::rotl(h, 27) * 0xC2B2AE3D27D4EB4Full;
    }
    return h ^ (h >> 33);
}

// How far beyond its path a draw's pixels can reach, in device pixels.
double reachOf(const MemoStyle& style, bool hasJoins) {
    const auto mode = style.mode;
    const bool strokes = mode == 2 || mode == 3 || mode == 4;
    if (!strokes) return 0;
    // A square cap's corners lie √2 half widths out, a mitred corner up to the limit's half widths.
    double factor = style.squareCap ? std::numbers::sqrt2 : 1.0;
    if (hasJoins && style.miterJoin) factor = std::max(factor, style.miterLimit);
    return std::fabs(style.lineWidth) / 2 * style.stretch * factor;
}

std::size_t variantBytes(const MemoBox& box) {
    return 2 * static_cast<std::size_t>(box.width) * static_cast<std::size_t>(box.height) * sizeof(std::uint32_t);
}

}  // namespace

bool deviceGeometry(const Path& path, const AffineTransform& ctm, DeviceGeometry& out) {
    out.verbs.clear();
    out.points.clear();
    out.hasJoins = false;
    out.minX = out.minY = std::numeric_limits<double>::infinity();
    out.maxX = out.maxY = -std::numeric_limits<double>::infinity();
    const auto add = [&](Point user) {
        const Point p = ctm.apply(user);
        out.points.push_back(p);
        out.minX = std::min(out.minX, p.x), out.maxX = std::max(out.maxX, p.x);
        out.minY = std::min(out.minY, p.y), out.maxY = std::max(out.maxY, p.y);
    };
    const auto& pts = path.points();
    std::size_t i = 0;
    Point last, start;
    int segments = 0;  // of the subpath in hand
    for (Path::Verb v : path.verbs()) {
        switch (v) {
            case Path::Verb::Move:
                last = start = pts[i++];
                add(last);
                segments = 0;
                break;
            case Path::Verb::Line:
                last = pts[i++];
                add(last);
                ++segments;
                break;
            case Path::Verb::Quad: {
                // The cubic the backend hands Cairo, made in user space as it makes it.
                const Point q = pts[i], e = pts[i + 1];
                i += 2;
                add({last.x + 2.0 / 3.0 * (q.x - last.x), last.y + 2.0 / 3.0 * (q.y - last.y)});
                add({e.x + 2.0 / 3.0 * (q.x - e.x), e.y + 2.0 / 3.0 * (q.y - e.y)});
                add(e);
                last = e;
                v = Path::Verb::Cubic;
                segments += 2;  // a curve is stroked as pieces that meet
                break;
            }
            case Path::Verb::Cubic:
                add(pts[i]), add(pts[i + 1]), add(pts[i + 2]);
                last = pts[i + 2];
                i += 3;
                segments += 2;
                break;
            case Path::Verb::Close:
                last = start;
                out.hasJoins = true;
                break;
        }
        if (segments > 1) out.hasJoins = true;
        out.verbs.push_back(v);
    }
    return std::isfinite(out.minX) && std::isfinite(out.maxX) && std::isfinite(out.minY) && std::isfinite(out.maxY);
}

PathMemo& PathMemo::forThread() {
    thread_local PathMemo memo;
    return memo;
}

bool PathMemo::prepare(const MemoStyle& style, const std::array<int, 4>& area, const ClipEntry* clip, bool underRects) {
    const DeviceGeometry& g = _geometry;
    const double reach = reachOf(style, g.hasJoins) + AntialiasMargin;
    if (!std::isfinite(reach) || g.points.empty()) return false;
    const double left = std::floor(g.minX - reach), top = std::floor(g.minY - reach);
    const double right = std::ceil(g.maxX + reach), bottom = std::ceil(g.maxY + reach);
    if (!(left >= area[0] && top >= area[1] && right <= area[2] && bottom <= area[3])) return false;
    if (right - left > MaxSide || bottom - top > MaxSide) return false;
    _box = {static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left), static_cast<int>(bottom - top)};

    // The key: the box's size, the style, the geometry from the box's corner and the clip, if any.
    _key.clear();
    _key.insert(_key.end(), {word(_box.width), word(_box.height), word(style.mode), word(style.antialias), word(style.op),
                             word(style.format), word(style.tolerance)});
    for (double c : style.fill) _key.push_back(word(c));
    const bool strokes = style.mode == 2 || style.mode == 3 || style.mode == 4;
    if (strokes) {
        for (double c : style.stroke) _key.push_back(word(c));
        for (double c : style.linear) _key.push_back(word(c));
        _key.insert(_key.end(), {word(style.lineWidth), word(style.miterLimit), word(style.cap), word(style.join),
                                 word(style.dashPhase), word(static_cast<int>(style.dash.size()))});
        for (double d : style.dash) _key.push_back(word(d));
    }
    if (!appendGeometry(g)) return false;
    if (clip) {
        // Rectangles around the box clip none of it, but Cairo combines them with the shape's clip
        // by a way of its own: draws under both are kept apart from draws under the shape alone.
        _key.insert(_key.end(), {word(static_cast<int>(clip->rule)), word(underRects ? 1 : 0)});
        if (!deviceGeometry(clip->devicePath, AffineTransform{}, _clipGeometry) || !appendGeometry(_clipGeometry)) return false;
    }
    _keyHash = hashOf(_key);
    return true;
}

bool PathMemo::appendGeometry(const DeviceGeometry& g) {
    // Cairo keeps a path's points in 24.8 fixed point, rounded as it rounds them: two paths whose
    // numbers agree there are one path to it, and a path moved by whole pixels moves by whole units.
    // Farther out than this the numbers would wrap.
    constexpr double Farthest = 1 << 22;
    const auto fixed = [](double v) {
        const double magic = v + 26388279066624.0;  // 1.5 · 2^44: the 2^-8 place lands in the low bits
        return static_cast<std::int64_t>(
            static_cast<std::int32_t>(static_cast<std::uint32_t>(std::bit_cast<std::uint64_t>(magic))));
    };
    if (!(std::fabs(g.minX) < Farthest && std::fabs(g.maxX) < Farthest && std::fabs(g.minY) < Farthest &&
          std::fabs(g.maxY) < Farthest))
        return false;
    const std::int64_t left = std::int64_t{_box.left} * 256, top = std::int64_t{_box.top} * 256;
    _key.push_back(word(static_cast<int>(g.verbs.size())));
    for (Path::Verb v : g.verbs) _key.push_back(static_cast<std::uint64_t>(v));
    for (const Point& p : g.points)
        _key.insert(_key.end(), {static_cast<std::uint64_t>(fixed(p.x) - left), static_cast<std::uint64_t>(fixed(p.y) - top)});
    return true;
}

PathMemo::Outcome PathMemo::lookUp(Image& target) {
    _pending = nullptr;
    // Noted only, by its hash, the first time: a shape drawn once may never come again.
    std::uint64_t& seen = _seen[_keyHash % _seen.size()];
    if (seen != _keyHash) {
        seen = _keyHash;
        _unseenRun = std::min(_unseenRun + 1, UnseenRunLimit);
        return Outcome::Draw;
    }
    _unseenRun = 0;
    auto found = _shapes.find(_keyHash);
    if (found == _shapes.end()) {
        if (_shapes.size() >= MaxShapes || _bytes + _key.size() * sizeof(std::uint64_t) > MaxBytes) clear();
        found = _shapes.emplace(_keyHash, Shape{_key, {}}).first;
        _bytes += _key.size() * sizeof(std::uint64_t);
    }
    Shape& shape = found->second;
    if (shape.key != _key) return Outcome::Draw;  // another key of the same hash
    const auto stride = static_cast<std::size_t>(target.pixelWidth());
    const auto width = static_cast<std::size_t>(_box.width);
    const std::uint32_t* corner = static_cast<const Image&>(target).data() + static_cast<std::size_t>(_box.top) * stride +
                                  static_cast<std::size_t>(_box.left);
    for (Variant& v : shape.variants) {
        bool same = true;
        for (int y = 0; y < _box.height && same; ++y)
            same = std::memcmp(corner + y * stride, v.before.data() + y * width, width * sizeof(std::uint32_t)) == 0;
        if (!same) continue;
        std::uint32_t* to = target.data() + static_cast<std::size_t>(_box.top) * stride + static_cast<std::size_t>(_box.left);
        for (int y = 0; y < _box.height; ++y)
            std::memcpy(to + y * stride, v.after.data() + y * width, width * sizeof(std::uint32_t));
        v.lastUse = ++_uses;
        return Outcome::Replayed;
    }
    _before.resize(width * static_cast<std::size_t>(_box.height));
    for (int y = 0; y < _box.height; ++y)
        std::memcpy(_before.data() + y * width, corner + y * stride, width * sizeof(std::uint32_t));
    _pending = &shape;
    return Outcome::Record;
}

void PathMemo::record(const Image& target) {
    if (!_pending) return;
    const std::size_t bytes = variantBytes(_box);
    if (_entries + 1 > MaxEntries || _bytes + bytes > MaxBytes) {
        clear();
        Shape& shape = _shapes[_keyHash];
        shape.key = _key;
        _bytes += _key.size() * sizeof(std::uint64_t);
        _pending = &shape;
    }
    Shape& shape = *_pending;
    _pending = nullptr;
    if (shape.variants.size() >= MaxVariants) {
        const auto oldest = std::min_element(shape.variants.begin(), shape.variants.end(),
                                             [](const Variant& a, const Variant& b) { return a.lastUse < b.lastUse; });
        shape.variants.erase(oldest);
        --_entries;
        _bytes -= bytes;
    }
    Variant v;
    v.before = _before;
    const auto stride = static_cast<std::size_t>(target.pixelWidth());
    const auto width = static_cast<std::size_t>(_box.width);
    const std::uint32_t* corner =
        target.data() + static_cast<std::size_t>(_box.top) * stride + static_cast<std::size_t>(_box.left);
    v.after.resize(_before.size());
    for (int y = 0; y < _box.height; ++y)
        std::memcpy(v.after.data() + y * width, corner + y * stride, width * sizeof(std::uint32_t));
    v.lastUse = ++_uses;
    shape.variants.push_back(std::move(v));
    ++_entries;
    _bytes += bytes;
}

void PathMemo::clear() {
    _seen.fill(0);
    _unseenRun = 0;
    _shapes.clear();
    _pending = nullptr;
    _entries = 0;
    _bytes = 0;
}

bool& pathMemoEnabled() {
    thread_local bool enabled = true;
    return enabled;
}

}  // namespace plat::detail
