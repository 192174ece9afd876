#pragma once
// What the pie hands its drawing view before each of the view's passes: everything a pass reads that
// the pie owns (labels, colours, the selection and its look, the data labels), fixed for the pass. The
// drawing view never reaches back into the pie while it lays out or draws.

#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Platform/graphics/color.h"

class OmbriPieDataLabelRenderer;

namespace kivo::detail {

struct PieFrame {
    // The pie's labels as bound now, one per value.
    std::vector<std::string> labels;
    // Fill and outline of each slice, for as many slices as the old or the new values have.
    std::vector<plat::Color> fills;
    std::vector<plat::Color> strokes;
    plat::Color background;
    // The selected slice's look.
    double selectedBorderWidth = 0;
    std::vector<double> selectedDashes;
    std::optional<plat::Color> selectedBorderColor;
    // The data labels: where they go (a KivoPieLabelPosition), and who measures and draws them.
    std::int64_t labelPosition = 0;
    bool xamarinLabel = false;
    std::shared_ptr<OmbriPieDataLabelRenderer> labelRenderer;

    plat::Color fill(std::size_t i) const { return i < fills.size() ? fills[i] : plat::Color::clear(); }
    plat::Color stroke(std::size_t i) const { return i < strokes.size() ? strokes[i] : plat::Color::clear(); }
};

// The sum of the magnitudes: a slice's share of the turn is its magnitude over this.
inline double absoluteSum(const std::vector<double>& values) {
    double s = 0;
    for (const double v : values) s += std::abs(v);
    return s;
}

}  // namespace kivo::detail

namespace kivo::detail {

// The mid angle (radians) of each slice, from `start`, each slice taking its share of `sum`.
template <class Sweep>
std::vector<double> pieMidAngles(const std::vector<double>& values, double sum, double start, bool reversed, Sweep sweep) {
    std::vector<double> mids;
    mids.reserve(values.size());
    double a = start;
    for (const double v : values) {
        const double w = sweep(v, sum);
        mids.push_back(reversed ? a - w / 2 : a + w / 2);
        a = reversed ? a - w : a + w;
    }
    return mids;
}

}  // namespace kivo::detail
