#pragma once
// A vector path of subpaths (move, line, quadratic and cubic curves, arcs, rectangles, ellipses,
// close) with bounds and a plain C++ point-in-path test, used for drawing and for hit outlines.

#include <cstdint>
#include <vector>

#include "Platform/PlatformExport.h"
#include "Platform/foundation/geometry.h"

namespace plat {

enum class FillRule { NonZero, EvenOdd };

// Which way an arc runs. Angles are radians measured from the +x axis towards +y, so on the
// y-down view surface IncreasingAngle turns clockwise.
enum class ArcDirection { IncreasingAngle, DecreasingAngle };

class PLAT_EXPORT Path {
public:
    enum class Verb : std::uint8_t { Move, Line, Quad, Cubic, Close };

    Path() = default;

    // Starts a new subpath.
    void moveTo(Point p);
    // A line, quadratic or cubic from the current point; with no current point the segment starts
    // with an implicit move to its first point.
    void lineTo(Point p);
    void quadTo(Point control, Point end);
    void cubicTo(Point c1, Point c2, Point end);
    // An arc of the circle about `center`, from angle `start` to `end` in `direction`: the point at
    // angle a is center + radius·(cos a, sin a). A line joins the current point to the arc's start
    // (a move when there is none). The end is reached by adding or removing whole turns as the
    // direction asks; sweeps of several turns are kept to at most two. Non-finite input is ignored.
    void addArc(Point center, double radius, double start, double end, ArcDirection direction = ArcDirection::IncreasingAngle);
    // Closed subpaths of their own, clockwise on screen, starting at the top-left corner
    // (rectangle) or at the right-most point (ellipse inscribed in the rectangle).
    void addRect(const Rect& r);
    void addEllipse(const Rect& r);
    // An open polyline through the points (a new subpath).
    void addLines(const Point* points, std::size_t count);
    void addPath(const Path& other);
    void close();

    bool isEmpty() const { return _verbs.empty(); }
    bool hasCurrentPoint() const { return _hasCurrent; }
    Point currentPoint() const { return _current; }
    void reserve(std::size_t verbs, std::size_t points);

    const std::vector<Verb>& verbs() const { return _verbs; }
    // Points in verb order: Move and Line take one, Quad two, Cubic three, Close none.
    const std::vector<Point>& points() const { return _points; }

    // Tight bounds of the drawn geometry (curves included, control points excluded).
    // Empty paths give the zero rectangle.
    Rect bounds() const;
    // Point-in-path with every subpath implicitly closed, as a fill sees it.
    bool contains(Point p, FillRule rule = FillRule::NonZero) const;
    Path transformed(const AffineTransform& t) const;

    // The path as polygons: one per subpath, curves divided until they deviate from the chords by
    // less than `tolerance`. `closed` says whether the subpath was closed explicitly.
    struct Polygon {
        std::vector<Point> points;
        bool closed = false;
    };
    std::vector<Polygon> flattened(double tolerance = 0.05) const;

    friend bool operator==(const Path&, const Path&) = default;

private:
    PLAT_NO_EXPORT void ensureStart(Point p);

    std::vector<Verb> _verbs;
    std::vector<Point> _points;
    Point _current;
    Point _subpathStart;
    bool _hasCurrent = false;
};

}  // namespace plat
