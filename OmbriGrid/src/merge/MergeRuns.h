#pragma once
// The merge runs found so far: per line of a panel (the rows of one column, or the columns of one
// row), the stretches of neighbours that show one text. A run is found once, by stepping outward
// from the first cell asked about, and then answers every cell inside it in a logarithm of the runs
// known on its line. Runs describe the data, so they are kept across repaints and selection changes
// and forgotten only when the data, the rows or columns, or the merging settings change.

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <unordered_map>

namespace kivo::detail {

struct MergeRun {
    std::int32_t first = 0;
    std::int32_t last = 0;
    bool operator==(const MergeRun&) const = default;
};

// The grid's settings that decide which cells merge or what they read, beyond the data itself.
struct MergeSettings {
    std::int64_t merging = 0;
    std::int32_t frozenRows = 0, frozenColumns = 0;
    bool showSort = false;
    const void* formatter = nullptr;
    const void* headerRow = nullptr;
    bool operator==(const MergeSettings&) const = default;
};

class MergeRuns {
public:
    // One line of one panel: the panel kind, whether it runs down (the rows of a column) or across
    // (the columns of a row), and that column's or row's index.
    static std::uint64_t lineKey(std::int64_t cellType, bool down, std::int32_t index);

    // The run of `line` that covers `at`, when one is known.
    std::optional<MergeRun> find(std::uint64_t line, std::int32_t at) const;
    // Runs of one line never overlap: a cell inside a known run is answered by it and never grown again.
    void store(std::uint64_t line, MergeRun run);

    void clear();
    std::size_t size() const { return _count; }
    // Runs found under other settings are not reused: forgets them all when `now` differs.
    void keepFor(const MergeSettings& now);

private:
    // Per line: each run's first index, mapping to its last.
    std::unordered_map<std::uint64_t, std::map<std::int32_t, std::int32_t>> _lines;
    std::size_t _count = 0;
    MergeSettings _settings;
};

}  // namespace kivo::detail
