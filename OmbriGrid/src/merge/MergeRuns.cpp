#include "merge/MergeRuns.h"

namespace kivo::detail {

std::uint64_t MergeRuns::lineKey(std::int64_t cellType, bool down, std::int32_t index) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(index)) << 4) | (down ? 8u : 0u) |
           static_cast<std::uint64_t>(cellType & 7);
}

std::optional<MergeRun> MergeRuns::find(std::uint64_t line, std::int32_t at) const {
    const auto l = _lines.find(line);
    if (l == _lines.end()) return std::nullopt;
    auto it = l->second.upper_bound(at);
    if (it == l->second.begin()) return std::nullopt;
    --it;
    if (at > it->second) return std::nullopt;
    return MergeRun{it->first, it->second};
}

void MergeRuns::store(std::uint64_t line, MergeRun run) {
    if (run.last < run.first) return;
    if (_lines[line].emplace(run.first, run.last).second) ++_count;
}

void MergeRuns::clear() {
    // Cleared once per written cell while an edit fills a block: an empty index costs nothing to clear.
    if (_lines.empty()) return;
    _lines = {};
    _count = 0;
}

void MergeRuns::keepFor(const MergeSettings& now) {
    if (now == _settings) return;
    clear();
    _settings = now;
}

}  // namespace kivo::detail
