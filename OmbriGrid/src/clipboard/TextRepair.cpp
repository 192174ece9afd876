#include "clipboard/TextRepair.h"

#include "Platform/foundation/char_case.h"

namespace kivo::detail {

namespace {

constexpr std::string_view Replacement = "\xEF\xBF\xBD";
constexpr std::string_view Ellipsis = "\xE2\x80\xA6";

bool isPlainAscii(unsigned char byte) { return byte != 0 && byte < 0x80; }

// Moves `pos` past the character there; false when its bytes are not a well-formed character (a NUL
// counts as one that is not).
bool stepOver(std::string_view text, std::size_t& pos) {
    const std::size_t start = pos;
    if (isPlainAscii(static_cast<unsigned char>(text[pos]))) {
        ++pos;
        return true;
    }
    if (text[pos] == '\0') {
        ++pos;
        return false;
    }
    // The decoder answers U+FFFD for ill-formed bytes: only the character's own three bytes are one.
    return plat::nextCodePoint(text, pos) != U'\uFFFD' || text.substr(start, pos - start) == Replacement;
}

}  // namespace

std::string wellFormedText(std::string text) {
    std::size_t pos = 0;
    while (pos < text.size() && isPlainAscii(static_cast<unsigned char>(text[pos]))) ++pos;
    if (pos == text.size()) return text;
    std::string out;
    std::size_t kept = 0;  // text[kept, pos) is well-formed and not yet copied
    bool repaired = false;
    while (pos < text.size()) {
        const std::size_t start = pos;
        if (stepOver(text, pos)) continue;
        if (!repaired) out.reserve(text.size() + Replacement.size());
        repaired = true;
        out.append(text, kept, start - kept);
        if (text[start] != '\0') out += Replacement;
        kept = pos;
    }
    if (!repaired) return text;
    out.append(text, kept, std::string::npos);
    return out;
}

std::string excerpt(std::string_view text, std::size_t characters) {
    std::size_t pos = 0, count = 0;
    while (pos < text.size() && count < characters) {
        std::size_t next = pos;
        stepOver(text, next);
        pos = next;
        ++count;
    }
    std::string out = wellFormedText(std::string(text.substr(0, pos)));
    if (pos < text.size()) out += Ellipsis;
    return out;
}

}  // namespace kivo::detail
