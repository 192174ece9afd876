#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "plotters/ColumnReduction.h"

namespace {

using kivo::detail::reduceToPixelColumns;

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

struct Line {
    std::vector<double> along, across;
};

struct Reduced {
    bool reduced = false;
    Line line;
};

Reduced reduce(const Line& in, double start, double extent, double scale) {
    Reduced r;
    r.reduced = reduceToPixelColumns(in.along, in.across, start, extent, scale, r.line.along, r.line.across);
    return r;
}

// The same column of a plot one point wide: every point lands in column 0.
Line oneColumn(std::vector<double> across) {
    Line l{{}, std::move(across)};
    for (std::size_t i = 0; i < l.across.size(); ++i) l.along.push_back(0.1 + 0.8 * double(i) / double(l.across.size()));
    return l;
}

// A deterministic random walk over [from, to) along.
Line randomWalk(std::size_t n, double from, double to) {
    Line l;
    std::uint32_t seed = 7;
    double level = 0;
    for (std::size_t i = 0; i < n; ++i) {
        seed = seed * 1664525u + 1013904223u;
        level += (seed >> 8) / double(1u << 24) - 0.5;
        l.along.push_back(from + (to - from) * double(i) / double(n));
        l.across.push_back(level);
    }
    return l;
}

TEST(ColumnReduction, ReducesOnlyAboveTwoPointsPerDeviceColumn) {
    struct Case {
        double extent, scale;
        std::size_t points;
        bool reduced;
    };
    // Columns are the device pixels of the plot, rounded up: 10 pt at 2× are 20 columns, 10.2 pt at 1× 11.
    const Case cases[] = {{10, 2, 40, false},  {10, 2, 41, true},  {10, 1, 20, false}, {10, 1, 21, true}, {10.2, 1, 22, false},
                          {10.2, 1, 23, true}, {10, 3, 60, false}, {10, 3, 61, true},  {0, 1, 2, false},  {0, 1, 3, true}};
    for (const Case& c : cases) {
        Line in;
        for (std::size_t i = 0; i < c.points; ++i) {
            in.along.push_back(c.extent * double(i) / double(c.points));
            in.across.push_back(double(i % 5));
        }
        Line out{{-1}, {-1}};
        const bool reduced = reduceToPixelColumns(in.along, in.across, 0, c.extent, c.scale, out.along, out.across);
        EXPECT_EQ(reduced, c.reduced) << c.extent << " pt at " << c.scale << "x, " << c.points << " points";
        if (!reduced) {
            EXPECT_EQ(out.along, std::vector<double>{-1}) << "outputs untouched below the threshold";
            EXPECT_EQ(out.across, std::vector<double>{-1});
        }
    }
}

TEST(ColumnReduction, RefusesAPlotItCannotMeasure) {
    const Line in = randomWalk(100, 0, 10);
    for (double start : {NaN, Inf}) EXPECT_FALSE(reduce(in, start, 10, 1).reduced);
    for (double extent : {NaN, Inf, -1.0}) EXPECT_FALSE(reduce(in, 0, extent, 1).reduced);
    for (double scale : {NaN, Inf, 0.0, -2.0}) EXPECT_FALSE(reduce(in, 0, 10, scale).reduced);
}

TEST(ColumnReduction, KeepsFirstExtremesAndLastInDrawingOrder) {
    struct Case {
        std::vector<double> across, kept;
    };
    const Case cases[] = {
        {{5, 9, 8, 1, 7, 3}, {5, 9, 1, 3}},  // highest before lowest
        {{5, 1, 2, 9, 7, 3}, {5, 1, 9, 3}},  // lowest before highest
        {{0, 4, 2, 3, 1, 9}, {0, 9}},        // the first is the lowest, the last the highest
        {{9, 4, 2, 3, 1, 0}, {9, 0}},        // and the other way round
        {{2, 2, 7, 7, 1, 1}, {2, 7, 1, 1}},  // ties keep the first extreme, here apart from the last
        {{3, 3, 3}, {3, 3}},                 // a flat column keeps its first and last
    };
    for (const Case& c : cases) {
        const Line in = oneColumn(c.across);
        const Reduced r = reduce(in, 0, 1, 1);
        ASSERT_TRUE(r.reduced);
        EXPECT_EQ(r.line.across, c.kept);
        ASSERT_EQ(r.line.along.size(), c.kept.size());
        EXPECT_EQ(r.line.along.front(), in.along.front()) << "the first point is kept exactly";
    }
}

TEST(ColumnReduction, ReducesConsecutiveRunsSoALineThatGoesBackKeepsItsOrder) {
    // Columns 0, 1, 2, then back to 1 and 0, then 2 again: six runs, each kept in place.
    Line in;
    const double columns[] = {0, 0, 0, 1, 1, 2, 1, 1, 1, 0, 2};
    const double values[] = {1, 5, 2, 3, 4, 6, 8, 0, 7, 9, 10};
    for (std::size_t i = 0; i < std::size(columns); ++i) {
        in.along.push_back(columns[i] + 0.5);
        in.across.push_back(values[i]);
    }
    const Reduced r = reduce(in, 0, 3, 1);  // 3 columns, 11 points
    ASSERT_TRUE(r.reduced);
    EXPECT_EQ(r.line.across, (std::vector<double>{1, 5, 2, 3, 4, 6, 8, 0, 7, 9, 10}));
    // Now denser runs: each reduced alone, never merged with the column's other run.
    in = oneColumn({4, 9, 2, 1, 5});
    Line back = oneColumn({6, 0, 3, 8, 2});
    in.along.push_back(1.5);  // a point in the next column splits the two runs of column 0
    in.across.push_back(3);
    in.along.insert(in.along.end(), back.along.begin(), back.along.end());
    in.across.insert(in.across.end(), back.across.begin(), back.across.end());
    const Reduced twice = reduce(in, 0, 2, 1);
    ASSERT_TRUE(twice.reduced);
    EXPECT_EQ(twice.line.across, (std::vector<double>{4, 9, 1, 5, 3, 6, 0, 8, 2}));
}

TEST(ColumnReduction, KeepsGapsWhereTheInputBrokeTheLine) {
    struct Case {
        std::vector<double> along, across, kept;
    };
    const Case cases[] = {
        // A gap inside a column splits it into two runs, each reduced alone.
        {{.1, .2, .3, .4, .5, .6, .7, .8, .9}, {5, 9, 1, 3, NaN, 4, 0, 8, 2}, {5, 9, 1, 3, NaN, 4, 0, 8, 2}},
        {{.1, .2, .3, .4, .5, .6, .7, .8, .9, .95}, {5, 9, 1, 2, 3, NaN, 4, 0, 8, 2}, {5, 9, 1, 3, NaN, 4, 0, 8, 2}},
        // Consecutive gaps (NaN or infinite, in either coordinate) break the line once.
        {{.1, .2, .3, NaN, .5, .6, .7}, {1, 2, 3, 4, Inf, -Inf, 5}, {1, 3, NaN, 5}},
        {{.1, Inf, .3, .4, .5}, {1, 2, NaN, 4, 5}, {1, NaN, 4, 5}},
        // Gaps at either end stay: an isolated point between two gaps stays alone.
        {{NaN, .2, .3, .4}, {0, 2, NaN, 4}, {NaN, 2, NaN, 4}},
        {{.1, .2, .3, .4, .5}, {1, 7, 3, NaN, NaN}, {1, 7, 3, NaN}},
    };
    for (const Case& c : cases) {
        const Reduced r = reduce({c.along, c.across}, 0, 1, 1);
        ASSERT_TRUE(r.reduced);
        ASSERT_EQ(r.line.across.size(), c.kept.size());
        for (std::size_t i = 0; i < c.kept.size(); ++i) {
            if (std::isnan(c.kept[i])) {
                EXPECT_TRUE(std::isnan(r.line.across[i]) && std::isnan(r.line.along[i])) << i;
            } else {
                EXPECT_EQ(r.line.across[i], c.kept[i]) << i;
                EXPECT_TRUE(std::isfinite(r.line.along[i])) << i;
            }
        }
    }
}

TEST(ColumnReduction, OffThePlotColumnsGoOnThroughTheEdgeBandThenFormOneColumnEachSide) {
    // Plot from 100 to 102 at 1x: two columns, then EdgeBand one-pixel columns on either side.
    ASSERT_LT(50 + kivo::detail::EdgeBand, 99);
    ASSERT_GT(130 - kivo::detail::EdgeBand, 103);
    const Line in{{10, 20, 30, 40, 50, 99.2, 99.4, 99.6, 99.8, 100.5, 102.5, 102.7, 130, 140, 150, 160},
                  {1, 2, 3, 4, 5, 7, 0, 9, 6, 5, 3, 8, 1, 9, 5, 2}};
    const Reduced r = reduce(in, 100, 2, 1);
    ASSERT_TRUE(r.reduced);
    // Far left one column (first and highest = last), the column next to the plot on its own (a line
    // that wide still reaches in), far right one column: the segments into the band keep their ends.
    EXPECT_EQ(r.line.along, (std::vector<double>{10, 50, 99.2, 99.4, 99.6, 99.8, 100.5, 102.5, 102.7, 130, 140, 160}));
}

TEST(ColumnReduction, AnAbsurdScaleOnAnEmptyPlotStillReduces) {
    // An empty plot is one column; a scale this large must not overflow the edge band's columns.
    const Line in = randomWalk(10, 0, 0.5);
    const Reduced r = reduce(in, 0, 0, 1e300);
    ASSERT_TRUE(r.reduced);
    EXPECT_EQ(r.line.along.front(), in.along.front());
    EXPECT_EQ(r.line.along.back(), in.along.back());
}

// The statistics that one pixel column shows of a run of points: where it starts, ends, and spans.
struct ColumnRunStats {
    std::int64_t column;
    double first, last, lowest, highest;
    bool operator==(const ColumnRunStats&) const = default;
};

std::vector<ColumnRunStats> columnRuns(const Line& l, double start, double scale) {
    std::vector<ColumnRunStats> runs;
    for (std::size_t i = 0; i < l.along.size(); ++i) {
        const auto column = static_cast<std::int64_t>(std::floor((l.along[i] - start) * scale));
        const double v = l.across[i];
        if (!runs.empty() && runs.back().column == column) {
            runs.back().last = v;
            runs.back().lowest = std::min(runs.back().lowest, v);
            runs.back().highest = std::max(runs.back().highest, v);
        } else {
            runs.push_back({column, v, v, v, v});
        }
    }
    return runs;
}

TEST(ColumnReduction, DenseWalkShowsTheSameExtentInEveryColumnUprightAndRotated) {
    struct Case {
        const char* name;
        double from, to, start, extent, scale;
    };
    const Case cases[] = {
        {"upright, 400 pt at 2x", 20, 420, 20, 400, 2},
        // A rotated chart runs its X axis up the screen: along falls from the bottom of the plot.
        {"rotated, 300 pt at 3x", 330, 30, 30, 300, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Line in = randomWalk(100'000, c.from, c.to);
        const Reduced r = reduce(in, c.start, c.extent, c.scale);
        ASSERT_TRUE(r.reduced);
        const auto columns = static_cast<std::size_t>(c.extent * c.scale);
        EXPECT_LE(r.line.along.size(), 4 * (columns + 1));
        EXPECT_GE(r.line.along.size(), 2 * columns);
        EXPECT_EQ(columnRuns(r.line, c.start, c.scale), columnRuns(in, c.start, c.scale));
        // Every kept point is one of the input's, in the input's order.
        std::size_t at = 0;
        for (std::size_t k = 0; k < r.line.along.size(); ++k) {
            while (at < in.along.size() && (in.along[at] != r.line.along[k] || in.across[at] != r.line.across[k])) ++at;
            ASSERT_LT(at, in.along.size()) << "kept point " << k << " is not in the input after the previous one";
            ++at;
        }
    }
}

}  // namespace

TEST(ColumnReduction, PointsAddedInFiniteChunksReduceAsPointsAddedOneByOne) {
    // Walks that wander off the plot on both sides, through the edge bands and far beyond, back and
    // forth, with repeated values (equal extremes keep the first), fed in chunks of several sizes.
    std::vector<Line> lines{randomWalk(5000, -60, 160), randomWalk(3000, 160, -60), randomWalk(4000, 99, 103)};
    Line repeats;
    for (int i = 0; i < 3000; ++i) {
        repeats.along.push_back(100 + std::fmod(i * 0.37, 2.5) - 0.2);
        repeats.across.push_back(double(i % 5));
    }
    lines.push_back(repeats);
    // Equal extremes that are zeros of both signs, many points to a column: the first one stays.
    Line zeros;
    const double cycle[] = {0.0, -0.0, -1, 1, -1, 0.0, 1, -0.0};
    for (int i = 0; i < 3000; ++i) {
        zeros.along.push_back(99 + i * 0.002);
        zeros.across.push_back(cycle[(i * 3) % 8] * (i % 7 == 0 ? 0 : 1));
    }
    lines.push_back(zeros);
    for (const Line& in : lines)
        for (const std::size_t chunk : {std::size_t{1}, std::size_t{7}, std::size_t{512}, in.along.size()}) {
            const Reduced whole = reduce(in, 100, 2.4, 2);
            ASSERT_TRUE(whole.reduced);
            kivo::detail::PixelColumnReducer reducer;
            Line chunked;
            ASSERT_TRUE(reducer.begin(in.along.size(), 100, 2.4, 2, chunked.along, chunked.across));
            for (std::size_t k = 0; k < in.along.size(); k += chunk)
                reducer.addFinite(in.along.data() + k, in.across.data() + k, std::min(chunk, in.along.size() - k));
            reducer.finish();
            EXPECT_EQ(chunked.along, whole.line.along) << "chunks of " << chunk;
            EXPECT_EQ(chunked.across, whole.line.across) << "chunks of " << chunk;
        }
}
