#include "detail/OpenDetails.h"

#include <algorithm>

#include "OmbriGrid/GridRowColCollection.h"

namespace kivo::detail {

namespace {
// The row's index when it still stands among `rows`, else -1.
std::int32_t placeOf(const GridRowCollection& rows, const GridDetailRow& row) {
    // A row put in while the positions wait for a rebuild is owned from the next layout on.
    if (row.owner().get() != &rows) (void)rows.totalSize();
    if (row.owner().get() != &rows) return -1;
    const std::int32_t i = row.index();
    if (i < 0 || static_cast<std::size_t>(i) >= rows.count() || rows.sourceArray().countingAt(static_cast<std::size_t>(i)))
        return -1;
    const plat::Value& stored = rows.sourceArray()[static_cast<std::size_t>(i)];
    return stored.isObject() && stored.asObject().get() == &row ? i : -1;
}
}  // namespace

bool isDetailAt(const GridRowCollection& rows, std::int64_t index) {
    // A placeholder of a counting run is no detail row, and reading it as a value would make its run.
    if (index < 0 || static_cast<std::size_t>(index) >= rows.count() ||
        rows.sourceArray().countingAt(static_cast<std::size_t>(index)))
        return false;
    const plat::Value& stored = rows.sourceArray()[static_cast<std::size_t>(index)];
    return stored.isObject() && dynamic_cast<const GridDetailRow*>(stored.asObject().get()) != nullptr;
}

void OpenDetails::added(const std::shared_ptr<GridDetailRow>& row) {
    if (_trusted) _rows.push_back(row);
}

void OpenDetails::refresh(const GridRowCollection& rows) {
    if (!_trusted) {
        _rows.clear();
        const kivo::ValueList& stored = rows.sourceArray();
        for (std::size_t i = 0; i < stored.size(); ++i)
            if (!stored.countingAt(i) && stored[i].isObject())
                if (auto detail = std::dynamic_pointer_cast<GridDetailRow>(stored[i].asObject())) _rows.push_back(detail);
        _trusted = true;
        return;
    }
    std::erase_if(_rows, [&](const std::weak_ptr<GridDetailRow>& weak) {
        const auto row = weak.lock();
        return !row || placeOf(rows, *row) < 0;
    });
}

std::vector<OpenDetails::Found> OpenDetails::all(const GridRowCollection& rows) {
    refresh(rows);
    std::vector<Found> found;
    for (const auto& weak : _rows)
        if (auto row = weak.lock())
            if (const std::int32_t i = placeOf(rows, *row); i >= 0) found.push_back({std::move(row), i});
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) { return a.index < b.index; });
    found.erase(std::unique(found.begin(), found.end(), [](const Found& a, const Found& b) { return a.index == b.index; }),
                found.end());
    return found;
}

OpenDetails::Found OpenDetails::first(const GridRowCollection& rows, const GridDetailRow* except) {
    refresh(rows);
    Found best;
    for (const auto& weak : _rows) {
        auto row = weak.lock();
        if (!row || row.get() == except) continue;
        const std::int32_t i = placeOf(rows, *row);
        if (i >= 0 && (best.index < 0 || i < best.index)) best = {std::move(row), i};
    }
    return best;
}

}  // namespace kivo::detail
