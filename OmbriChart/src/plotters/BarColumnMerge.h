#pragma once
// Bars narrower than a device pixel, merged per pixel column. A column series of a million points
// puts hundreds of bars into every device-pixel column (row, for bars along X), where they can only
// paint the span from the lowest to the highest of them: consecutive such bars of one series in one
// pixel column whose spans meet are drawn as one bar spanning their extremes, with the series' look,
// its outline clipped to that bar as every bar's outline is clipped to its own. A bar a pixel wide or
// more, or one alone in its run, is drawn as it always was.

#include <cstdint>
#include <memory>

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

    // Takes a bar of the default path when it can be merged, holding it while its neighbours may join
    // it (what was held and cannot join it is drawn first). Answers false for a bar that cannot be
    // merged (a pixel wide or more, or merging is off), after drawing what was held: the caller draws
    // that bar itself.
    bool take(const KivoRect& bar);

private:
    // Draws the held run as one bar.
    void flush();

    std::shared_ptr<IKivoRenderEngine> _engine;
    plat::AffineTransform _ctm;
    bool _rotated = false;
    // The run held: its pixel column (row), its first bar as given and the rectangle spanning its bars.
    bool _holding = false, _single = true;
    std::int64_t _column = 0;
    double _x = 0, _y = 0, _width = 0, _height = 0;
    double _left = 0, _top = 0, _right = 0, _bottom = 0;
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
