#include "Platform/testing/geometry_matchers.h"

#include <cmath>
#include <ostream>

namespace plat::testing {

namespace {

// Compares named components within the tolerance and explains the first that is off. NaN agrees with
// NaN, so a test can expect an undefined coordinate.
template <class T>
class NearMatcher : public ::testing::MatcherInterface<T> {
public:
    NearMatcher(T expected, double tolerance, const char* (*components)(std::size_t), std::size_t count,
                double (*component)(const T&, std::size_t))
        : _expected(expected), _tolerance(tolerance), _name(components), _count(count), _component(component) {}

    bool MatchAndExplain(T actual, ::testing::MatchResultListener* listener) const override {
        for (std::size_t i = 0; i < _count; ++i) {
            double a = _component(actual, i), e = _component(_expected, i);
            bool same = (std::isnan(a) && std::isnan(e)) || std::fabs(a - e) <= _tolerance || a == e;
            if (!same) {
                *listener << _name(i) << " is off by " << (a - e);
                return false;
            }
        }
        return true;
    }
    void DescribeTo(std::ostream* os) const override {
        *os << "is within " << _tolerance << " of ";
        *os << _expected;
    }
    void DescribeNegationTo(std::ostream* os) const override {
        *os << "is not within " << _tolerance << " of ";
        *os << _expected;
    }

private:
    T _expected;
    double _tolerance;
    const char* (*_name)(std::size_t);
    std::size_t _count;
    double (*_component)(const T&, std::size_t);
};

}  // namespace

::testing::Matcher<Point> PointNear(Point expected, double tolerance) {
    return ::testing::MakeMatcher(new NearMatcher<Point>(
        expected, tolerance, [](std::size_t i) { return i == 0 ? "x" : "y"; }, 2,
        [](const Point& p, std::size_t i) { return i == 0 ? p.x : p.y; }));
}

::testing::Matcher<Size> SizeNear(Size expected, double tolerance) {
    return ::testing::MakeMatcher(new NearMatcher<Size>(
        expected, tolerance, [](std::size_t i) { return i == 0 ? "width" : "height"; }, 2,
        [](const Size& s, std::size_t i) { return i == 0 ? s.width : s.height; }));
}

::testing::Matcher<Rect> RectNear(Rect expected, double tolerance) {
    static constexpr const char* names[] = {"x", "y", "width", "height"};
    return ::testing::MakeMatcher(new NearMatcher<Rect>(
        expected, tolerance, [](std::size_t i) { return names[i]; }, 4,
        [](const Rect& r, std::size_t i) {
            const double parts[] = {r.x(), r.y(), r.width(), r.height()};
            return parts[i];
        }));
}

}  // namespace plat::testing
