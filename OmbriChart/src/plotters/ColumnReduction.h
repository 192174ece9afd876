// Thins a dense polyline to what a pixel column can show: each column's first, last, lowest and
// highest point, so a line of a million points costs what a few thousand cost to stroke.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kivo::detail {

// How far beyond the plot's edges, in points, columns stay one device pixel wide: half the widest line
// whose round joins and caps may reach back into the plot from there.
constexpr double EdgeBand = 16;

// When the polyline has more than two points per device-pixel column along `along`, keeps each column's
// first, last, lowest and highest point (in drawing order), keeps NaN gaps as gaps, and returns true with
// the result in outAlong/outAcross; returns false (outputs untouched) below that threshold.
//
// `along` is the screen coordinate that advances with the data (x for an upright chart, y when rotated)
// and `across` the other one; `start` and `extent` give the plot along `along` in points, `deviceScale`
// the device pixels per point. Off the plot, pixel columns go on for `EdgeBand` points (a stroke that far
// out still reaches into the plot); beyond that band each side is one column, so the segments that cross
// the band keep their exact end points. A point with a non-finite coordinate is a gap: each run of them
// becomes one NaN point in the output.
bool reduceToPixelColumns(std::span<const double> along, std::span<const double> across, double start, double extent,
                          double deviceScale, std::vector<double>& outAlong, std::vector<double>& outAcross);

// Device pixels per point along the category axis (x; y when rotated) of the context being drawn
// into: the columns' width. 1 outside a drawing pass.
double deviceScaleAlong(bool rotated);

// The same reduction fed one point at a time, for a loop that places the points as it goes and keeps
// none of them: begin, add each point in drawing order, finish. The result equals reduceToPixelColumns'.
class PixelColumnReducer {
public:
    // Whether `n` points are reduced (the threshold above); when not, nothing is to be added and the
    // outputs are untouched. When they are, the outputs are emptied and filled as points come.
    bool begin(std::size_t n, double start, double extent, double deviceScale, std::vector<double>& outAlong,
               std::vector<double>& outAcross);
    void add(double along, double across) {
        const std::size_t i = _count++;
        if (!std::isfinite(along) || !std::isfinite(across)) {
            gap();
            return;
        }
        const double offset = (along - _start) * _scale;
        std::int64_t column;
        if (offset >= 0 && offset < _afterOffset)
            column = static_cast<std::int64_t>(offset);
        else if (offset < 0)
            column = offset >= -_band ? static_cast<std::int64_t>(std::floor(offset)) : _before;
        else
            column = _after;
        if (_inRun && column == _runColumn) {
            _last = {along, across, i};
            if (across < _lowest.across)
                _lowest = _last;
            else if (across > _highest.across)
                _highest = _last;
            return;
        }
        if (_inRun) emitRun();
        _inGap = false;
        _first = _last = _lowest = _highest = {along, across, i};
        _runColumn = column;
        _inRun = true;
    }
    // Points as add() takes them, `count` of them, every coordinate finite: a run of points in one column
    // is followed in a loop that keeps its extremes in registers.
    void addFinite(const double* along, const double* across, std::size_t count);
    void finish();

private:
    struct Point {
        double along = 0, across = 0;
        std::size_t index = 0;
    };
    void gap();
    void emitRun();

    std::vector<double>* _outAlong = nullptr;
    std::vector<double>* _outAcross = nullptr;
    double _start = 0, _scale = 1, _band = 0, _afterOffset = 0;
    std::int64_t _before = 0, _after = 0, _runColumn = 0;
    std::size_t _count = 0;
    bool _inRun = false, _inGap = false;
    Point _first, _last, _lowest, _highest;
};

}  // namespace kivo::detail
