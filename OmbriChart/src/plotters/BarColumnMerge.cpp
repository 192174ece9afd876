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
// The held columns span at most this many device pixels (a plot is far narrower): a bar further away
// has what is held drawn first.
constexpr std::int64_t MaxHeldColumns = 1 << 16;

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

std::vector<BarColumnMerger::Piece>* BarColumnMerger::columnAt(std::int64_t column) {
    if (!_holding || _columns.empty()) {
        _columns.clear();
        _base = column;
        _columns.emplace_back();
        return &_columns.front();
    }
    const auto held = static_cast<std::int64_t>(_columns.size());
    const std::int64_t low = std::min(_base, column), high = std::max(_base + held - 1, column);
    if (high - low >= MaxHeldColumns) return nullptr;
    for (; _base > column; --_base) _columns.emplace_front();
    while (static_cast<std::int64_t>(_columns.size()) <= column - _base) _columns.emplace_back();
    return &_columns[static_cast<std::size_t>(column - _base)];
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
    // Along the values a piece stays one piece: the bar joins every piece whose span meets or overlaps
    // its own (segments of a stack standing apart stay apart), and those pieces become one.
    const double lo = _rotated ? bar.left() : bar.top(), hi = _rotated ? bar.right() : bar.bottom();
    const auto meets = [&](const Piece& p) { return _rotated ? p.left <= hi && p.right >= lo : p.top <= hi && p.bottom >= lo; };
    const auto join = [](Piece& into, double left, double top, double right, double bottom) {
        into.single = false;
        into.left = std::min(into.left, left);
        into.top = std::min(into.top, top);
        into.right = std::max(into.right, right);
        into.bottom = std::max(into.bottom, bottom);
    };
    const bool sameColumn = _holding && column == _lastColumn;
    // The usual bar of a dense series: in the column of the bar before, meeting its one piece.
    if (sameColumn && _last->size() == 1 && meets(_last->front())) {
        join(_last->front(), bar.left(), bar.top(), bar.right(), bar.bottom());
        return true;
    }
    auto* pieces = sameColumn ? _last : columnAt(column);
    if (!pieces) {
        flush();
        pieces = columnAt(column);
    }
    _holding = true;
    _lastColumn = column;
    _last = pieces;
    Piece* into = nullptr;
    for (std::size_t k = 0; k < pieces->size();) {
        Piece& p = (*pieces)[k];
        if (!meets(p)) {
            ++k;
        } else if (!into) {
            join(p, bar.left(), bar.top(), bar.right(), bar.bottom());
            into = &p;
            ++k;
        } else {
            // Earlier pieces stay where they are: `into` comes before k.
            join(*into, p.left, p.top, p.right, p.bottom);
            pieces->erase(pieces->begin() + static_cast<std::ptrdiff_t>(k));
        }
    }
    if (!into)
        pieces->push_back(
            {bar.left(), bar.top(), bar.right(), bar.bottom(), bar.left(), bar.top(), bar.width(), bar.height(), true});
    return true;
}

void BarColumnMerger::flush() {
    if (!_holding) return;
    _holding = false;
    // Along the category axis from its low values to its high ones: rightwards for columns, upwards
    // for bars along X, in device pixels.
    const double scale = _rotated ? _ctm.d : _ctm.a;
    const bool ascending = _rotated ? scale < 0 : scale > 0;
    const auto draw = [&](std::vector<Piece>& pieces) {
        if (pieces.size() > 1)
            std::sort(pieces.begin(), pieces.end(),
                      [&](const Piece& a, const Piece& b) { return _rotated ? a.left < b.left : a.top < b.top; });
        // One bar spanning each piece, drawn as any bar is: filled, its outline clipped to it. A bar
        // alone keeps its own numbers.
        for (const Piece& p : pieces) {
            if (p.single)
                DefaultBarElementRender(_engine, p.x, p.y, p.width, p.height).execute();
            else
                DefaultBarElementRender(_engine, p.left, p.top, p.right - p.left, p.bottom - p.top).execute();
        }
    };
    if (ascending)
        for (auto& pieces : _columns) draw(pieces);
    else
        for (auto it = _columns.rbegin(); it != _columns.rend(); ++it) draw(*it);
    _columns.clear();
}

}  // namespace kivo::detail
