#include "mask/MaskContent.h"

#include <algorithm>

#include "KivoMaskedTextField/KivoMaskHandler.h"

namespace kivo::detail {

namespace {

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

MaskContent::MaskContent(const KivoMaskHandler& handler, std::string_view text) : _handler(handler) {
    const auto& mask = handler._maskArr;
    _maskSize = static_cast<std::int64_t>(mask.size());
    std::vector<bool> filled;
    const std::u16string shown = handler.contentOf(plat::toUtf16(text), filled);
    for (std::size_t i = 0; i < mask.size(); ++i) {
        if (mask[i].isLiteral()) continue;
        _positions.push_back(static_cast<std::int64_t>(i));
        _slots.push_back({filled[i] ? shown[i] : handler.prompt(), static_cast<bool>(filled[i])});
    }
}

std::size_t MaskContent::slotAtOrAfter(std::int64_t position) const {
    return static_cast<std::size_t>(std::lower_bound(_positions.begin(), _positions.end(), position) - _positions.begin());
}

bool MaskContent::anyFilled() const {
    return std::ranges::any_of(_slots, [](const Slot& s) { return s.typed; });
}

std::u16string MaskContent::text() const {
    std::u16string out;
    out.reserve(static_cast<std::size_t>(_maskSize));
    std::size_t slot = 0;
    for (const KivoMaskElement& e : _handler._maskArr) out += e.isLiteral() ? e.literal() : _slots[slot++].shown;
    return out;
}

void MaskContent::adoptInto(const KivoMaskHandler& handler) const {
    std::vector<bool> filled(static_cast<std::size_t>(_maskSize), false);
    for (std::size_t k = 0; k < _slots.size(); ++k) filled[static_cast<std::size_t>(_positions[k])] = _slots[k].typed;
    handler.remember(text(), std::move(filled));
}

std::optional<std::vector<MaskContent::Slot>> MaskContent::moved(const std::vector<Slot>& tail, std::size_t to) const {
    std::vector<Slot> out;
    out.reserve(std::min(tail.size(), _slots.size() - std::min(to, _slots.size())));
    for (std::size_t t = 0; t < tail.size(); ++t) {
        const std::size_t slot = to + t;
        if (slot >= _slots.size()) {
            if (tail[t].typed) return std::nullopt;
            continue;
        }
        Slot s{_handler.prompt(), false};
        if (tail[t].typed) {
            const auto& e = _handler._maskArr[static_cast<std::size_t>(_positions[slot])];
            if (_handler.fit(e, tail[t].shown, KivoMaskHandler::From::Moved, s.shown) != KivoMaskHandler::Fit::Filled)
                return std::nullopt;
            s.typed = true;
        }
        out.push_back(s);
    }
    return out;
}

bool MaskContent::tailFits(const std::vector<Slot>& tail, const std::vector<std::size_t>& typed, std::int64_t to) const {
    const auto count = static_cast<std::int64_t>(_slots.size());
    for (const std::size_t t : typed) {
        const std::int64_t slot = to + static_cast<std::int64_t>(t);
        if (slot < 0 || slot >= count) return false;
        char16_t shown = 0;
        const auto& e = _handler._maskArr[static_cast<std::size_t>(_positions[static_cast<std::size_t>(slot)])];
        if (_handler.fit(e, tail[t].shown, KivoMaskHandler::From::Moved, shown) != KivoMaskHandler::Fit::Filled) return false;
    }
    return true;
}

void MaskContent::place(std::size_t from, const std::vector<Slot>& entries, const std::vector<Slot>& tail) {
    // The caller checked that the tail's typed slots fit there.
    const std::vector<Slot> shifted = moved(tail, from + entries.size()).value_or(std::vector<Slot>());
    _slots.resize(from);
    _slots.insert(_slots.end(), entries.begin(), entries.end());
    _slots.insert(_slots.end(), shifted.begin(), shifted.end());
    _slots.resize(_positions.size(), Slot{_handler.prompt(), false});
}

MaskContent::Insertion MaskContent::insert(plat::TextRange range, std::u16string_view typed) {
    Insertion out;
    const auto& mask = _handler._maskArr;
    const std::int64_t start = std::clamp<std::int64_t>(range.location, 0, _maskSize);
    const std::int64_t end = std::clamp<std::int64_t>(range.end(), start, _maskSize);
    const std::size_t first = slotAtOrAfter(start), last = slotAtOrAfter(end);

    // The typed text laid onto the mask from the range's start, one pass.
    std::vector<Slot> entries;
    std::int64_t at = start;
    for (std::size_t i = 0; i < typed.size();) {
        const char16_t c = typed[i];
        if (isHighSurrogate(c) && i + 1 < typed.size() && isLowSurrogate(typed[i + 1])) {
            ++out.wide;
            i += 2;
            continue;
        }
        if (at >= _maskSize) {
            ++out.dropped;
            ++i;
            continue;
        }
        const KivoMaskElement& e = mask[static_cast<std::size_t>(at)];
        if (e.isLiteral()) {
            // A typed literal takes its own place; anything else goes on to the next position.
            ++at;
            if (c == e.literal()) ++i;
            continue;
        }
        ++i;
        Slot s{_handler.prompt(), false};
        const auto fit = _handler.fit(e, c, KivoMaskHandler::From::Typed, s.shown);
        if (fit == KivoMaskHandler::Fit::No) continue;
        s.typed = fit == KivoMaskHandler::Fit::Filled;
        if (!s.typed) s.shown = _handler.prompt();
        entries.push_back(s);
        ++at;
    }
    if (entries.empty()) return out;

    // What follows the range, and where its typed slots can go: shifted right by what was typed less
    // what the range held, less the unfilled slots right after the range that the typing takes up.
    const std::vector<Slot> tail(_slots.begin() + static_cast<std::ptrdiff_t>(last), _slots.end());
    std::vector<std::size_t> typedInTail;
    for (std::size_t t = 0; t < tail.size(); ++t)
        if (tail[t].typed) typedInTail.push_back(t);
    const auto wanted = static_cast<std::int64_t>(entries.size());
    const auto removed = static_cast<std::int64_t>(last - first);
    const auto leading = static_cast<std::int64_t>(typedInTail.empty() ? tail.size() : typedInTail.front());
    std::int64_t kept = wanted, absorbed = 0;
    if (!typedInTail.empty()) {
        // The largest shift the tail's typed slots take, from the full one down; the slot the tail
        // then starts at gives how many typed slots can stay and how many unfilled ones they take.
        const auto count = static_cast<std::int64_t>(_slots.size());
        const std::int64_t lastTyped = static_cast<std::int64_t>(last + typedInTail.back());
        std::int64_t shift = std::min(wanted - removed, count - 1 - lastTyped);
        const std::int64_t lowest = -(removed + leading);
        while (shift >= lowest && !tailFits(tail, typedInTail, static_cast<std::int64_t>(last) + shift)) --shift;
        if (shift < lowest) {
            out.dropped += wanted;
            return out;
        }
        kept = std::min(wanted, shift + leading + removed);
        absorbed = kept - removed - shift;
    }
    out.dropped += wanted - kept;
    if (kept <= 0) return out;
    entries.resize(static_cast<std::size_t>(kept));
    const std::vector<Slot> rest(tail.begin() + static_cast<std::ptrdiff_t>(absorbed), tail.end());
    place(first, entries, rest);
    out.placed = kept;
    out.caret = _positions[first + static_cast<std::size_t>(kept) - 1] + 1;
    return out;
}

bool MaskContent::remove(plat::TextRange range) {
    const std::int64_t start = std::clamp<std::int64_t>(range.location, 0, _maskSize);
    const std::int64_t end = std::clamp<std::int64_t>(range.end(), start, _maskSize);
    const std::size_t first = slotAtOrAfter(start), last = slotAtOrAfter(end);
    if (first == last) return true;
    const std::vector<Slot> tail(_slots.begin() + static_cast<std::ptrdiff_t>(last), _slots.end());
    if (!moved(tail, first)) return false;
    place(first, {}, tail);
    return true;
}

}  // namespace kivo::detail
