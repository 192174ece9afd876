#include "plotters/BarColumnMerge.h"

#include <algorithm>
#include <cmath>

#include "KivoCore/IKivoRenderEngine.h"
#include "KivoCore/KivoGeometry.h"
#include "KivoCore/KivoRenderEngine.h"
#include "OmbriChart/BasePlotElementRender.h"
#include "Platform/graphics/context.h"
#include "plotters/DenseDrawing.h"

namespace kivo::detail {

namespace {

// Beyond this many device pixels from the origin a bar is not placed in a column (it could not be held
// as a whole number): it is drawn as it is.
constexpr double MaxMergedPosition = 1e15;

}  // namespace

bool BarColumnMerger::begin(const std::shared_ptr<IKivoRenderEngine>& engine, bool rotated) {
    end();
    if (!engine || !shortcutEngine(*engine)) return false;
    _engine = engine;
    _ctm = plat::currentContext()->ctm();
    _rotated = rotated;
    return true;
}

void BarColumnMerger::end() {
    flush();
    _engine.reset();
}

bool BarColumnMerger::take(const KivoRect& bar) {
    if (!_engine) return false;
    // Across the category axis: x and width for columns, y and height for bars along X.
    const double scale = _rotated ? _ctm.d : _ctm.a, offset = _rotated ? _ctm.ty : _ctm.tx;
    const double start = _rotated ? bar.top() : bar.left(), extent = _rotated ? bar.height() : bar.width();
    const double middle = scale * (start + extent / 2) + offset;
    if (!(std::fabs(scale * extent) < 1) || !(std::fabs(middle) < MaxMergedPosition)) {
        flush();
        return false;
    }
    const auto column = static_cast<std::int64_t>(std::floor(middle));
    // Along the values the run must stay one piece: a bar whose span neither meets nor overlaps the
    // run's (segments of a stack standing apart) starts a run of its own.
    const bool meets = _rotated ? bar.left() <= _right && bar.right() >= _left : bar.top() <= _bottom && bar.bottom() >= _top;
    if (_holding && column == _column && meets) {
        _single = false;
        _left = std::min(_left, bar.left());
        _top = std::min(_top, bar.top());
        _right = std::max(_right, bar.right());
        _bottom = std::max(_bottom, bar.bottom());
        return true;
    }
    flush();
    _holding = true;
    _single = true;
    _column = column;
    _x = bar.left();
    _y = bar.top();
    _width = bar.width();
    _height = bar.height();
    _left = bar.left();
    _top = bar.top();
    _right = bar.right();
    _bottom = bar.bottom();
    return true;
}

void BarColumnMerger::flush() {
    if (!_holding) return;
    _holding = false;
    // One bar spanning the run, drawn as any bar is: filled, its outline clipped to it. A bar alone
    // keeps its own numbers.
    if (_single)
        DefaultBarElementRender(_engine, _x, _y, _width, _height).execute();
    else
        DefaultBarElementRender(_engine, _left, _top, _right - _left, _bottom - _top).execute();
}

}  // namespace kivo::detail
