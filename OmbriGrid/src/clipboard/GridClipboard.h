#pragma once
// The grid's clipboard: its own copy of the last copied block (raw values, so that a paste back into
// the grid keeps them), whether that copy is a cut, and the paste that runs. The grid writes the
// copy and places pastes; the copy stays here between them.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "OmbriGrid/GridCellRange.h"
#include "Platform/foundation/value.h"

namespace kivo::detail {

struct PasteRun;

// Each copied data row's raw values by column offset (nil: no value), the row's item, identity and
// index (so that a cut finds its cells where they were, or after a sort by what they show), the
// copied block, and the text put on the pasteboard with it.
struct LocalCopy {
    std::vector<std::vector<plat::Value>> values;
    std::vector<plat::Value> items;
    std::vector<std::uint64_t> rowIds;
    std::vector<std::int32_t> rows;
    std::optional<std::string> text;
    std::shared_ptr<GridCellRange> range;
};

class GridClipboard {
public:
    // The copy, and whether one was made.
    const LocalCopy& copy() const { return _copy; }
    bool hasCopy() const { return _copy.range != nullptr; }
    // Keeps a new copy; it is a cut when `cut`.
    void keep(LocalCopy copy) { _copy = std::move(copy); }
    bool isCut() const { return _cut; }
    void setCut(bool cut) { _cut = cut; }
    // The paste that runs, if any: a write of one value it places reports to it.
    PasteRun* run() const { return _run; }

    // Marks `run` as the paste that runs while the scope lives.
    class RunScope {
    public:
        RunScope(GridClipboard& clipboard, PasteRun& run) : _slot(clipboard._run) { _slot = &run; }
        ~RunScope() { _slot = nullptr; }
        RunScope(const RunScope&) = delete;
        RunScope& operator=(const RunScope&) = delete;

    private:
        PasteRun*& _slot;
    };

private:
    LocalCopy _copy;
    bool _cut = false;
    PasteRun* _run = nullptr;
};

}  // namespace kivo::detail
