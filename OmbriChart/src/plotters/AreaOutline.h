#pragma once
// The outline of one area series in one frame: its top line (points without a coordinate left out)
// and the bottom edge it closes along. A line far denser than the plot's pixel columns is handed to
// the engine reduced to each column's extremes; the full top line stays for symbols and labels.

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "KivoCore/KivoGeometry.h"

namespace kivo::detail {

class AreaOutline {
public:
    // The top line from lists whose entry k is the loop's point k; `cut`: the last entry is a point on
    // a segment, behind which no point stands. `allValid`: no entry lacks a coordinate (the lists are
    // then used in place and must outlive the outline).
    void setTop(std::span<const double> xs, std::span<const double> ys, bool cut, bool allValid = false);
    std::size_t topSize() const { return _topX.size(); }
    std::span<const double> topX() const { return _topX; }
    std::span<const double> topY() const { return _topY; }
    double lastTopX() const { return _topX.back(); }
    double lastTopY() const { return _topY.back(); }
    // The loop's point behind top position k, if any.
    std::optional<std::size_t> entryOf(std::size_t k) const;

    // Reduces the top line for drawing when it is far denser than the plot's pixel columns.
    void reduceTop(const KivoRect* plot, bool rotated);
    std::span<const double> drawnTopX() const { return _topReduced ? std::span<const double>(_drawnX) : _topX; }
    std::span<const double> drawnTopY() const { return _topReduced ? std::span<const double>(_drawnY) : _topY; }
    bool reduced() const { return _topReduced || _bottomReduced; }

    // The closing points, in drawing order after the top line; a long edge (a stacked series' bottom)
    // is reduced as the top line is when `reducible`.
    void setBottom(std::vector<double> xs, std::vector<double> ys, const KivoRect* plot, bool rotated, bool reducible);
    // The whole outline as drawn: top line, then the bottom edge.
    void polygon(std::vector<double>& xs, std::vector<double>& ys) const;

private:
    std::span<const double> _topX, _topY;
    std::vector<double> _ownX, _ownY;
    std::vector<std::size_t> _entries;  // empty: position k is entry k
    bool _filtered = false, _cut = false, _topReduced = false, _bottomReduced = false;
    std::vector<double> _drawnX, _drawnY;
    std::vector<double> _bottomX, _bottomY;
};

}  // namespace kivo::detail
