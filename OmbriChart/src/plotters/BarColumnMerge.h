#pragma once
// Bars narrower than a device pixel, merged per pixel column. A column series of a million points
// puts hundreds of bars into every device-pixel column (row, for bars along X), where they can only
// paint the span from the lowest to the highest of them: the bars of one series in one pixel column
// whose spans meet are drawn as one bar spanning their extremes, whatever order they come in, with the
// series' look, its outline clipped to that bar as every bar's outline is clipped to its own. A bar a
// pixel wide or more, or one alone in its piece, is drawn as it always was.
//
// The merged bars are drawn when the series ends (or a bar that cannot be merged comes): column by
// column along the category axis, from its low values to its high ones, and in each column from the
// top (left) down, so a series draws the same picture whether its X values come ascending or shuffled.

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "Platform/foundation/geometry.h"

class IKivoRenderEngine;
class KivoRect;
namespace plat {
class Context;
}

namespace kivo::detail {

class BarColumnMerger {
public:
    // Starts one series' bars, drawn with the engine's look as it stands: merging is on when the dense
    // shortcuts are enabled, the engine has no border dash pattern (a pattern lasts for one bar only),
    // and the current context's transform neither turns nor skews; `rotated` bars stand in pixel rows.
    // Answers whether it is on.
    bool begin(const std::shared_ptr<IKivoRenderEngine>& engine, bool rotated);
    // Draws what is still held and stops.
    void end();
    bool active() const { return _engine != nullptr; }

    // Takes a bar of the default path when it can be merged, holding it with the bars of its pixel
    // column. Answers false for a bar that cannot be merged (a pixel wide or more, or merging is off),
    // after drawing what was held: the caller draws that bar itself.
    bool take(const KivoRect& bar);

private:
    // Bars of one pixel column whose spans along the values meet: the rectangle spanning them, and the
    // first one as given (drawn with its own numbers while it is alone).
    struct Piece {
        double left, top, right, bottom;
        double x, y, width, height;
        bool single;
    };
    // Draws every held piece, in the order told above, and holds nothing.
    void flush();
    // The pieces of pixel column `column`, made room for; null when the held columns would grow past
    // their bound (the caller draws what is held and starts again).
    std::vector<Piece>* columnAt(std::int64_t column);

    std::shared_ptr<IKivoRenderEngine> _engine;
    plat::AffineTransform _ctm;
    bool _rotated = false;
    // The held pieces by pixel column: column _base + k in _columns[k], the pieces of a column apart.
    bool _holding = false;
    std::int64_t _base = 0;
    std::deque<std::vector<Piece>> _columns;
    // The column of the bar taken last and its pieces (a deque keeps its elements in place as it grows).
    std::int64_t _lastColumn = 0;
    std::vector<Piece>* _last = nullptr;
};

// A series' merging for the length of a scope: draws what is held when it ends.
class BarColumnMergeScope {
public:
    BarColumnMergeScope(BarColumnMerger& merger, const std::shared_ptr<IKivoRenderEngine>& engine, bool rotated)
        : _merger(merger) {
        _merger.begin(engine, rotated);
    }
    ~BarColumnMergeScope() { _merger.end(); }
    BarColumnMergeScope(const BarColumnMergeScope&) = delete;
    BarColumnMergeScope& operator=(const BarColumnMergeScope&) = delete;

private:
    BarColumnMerger& _merger;
};

}  // namespace kivo::detail
