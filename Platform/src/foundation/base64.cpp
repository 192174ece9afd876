#include "Platform/foundation/base64.h"

#include <glib.h>

#include <memory>

#include "Platform/foundation/log.h"

namespace plat {
namespace {

struct GFree {
    void operator()(void* p) const { g_free(p); }
};

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool inAlphabet(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' || c == '/';
}

// The text without blanks when it is well formed: GLib's decoder skips what it does not know and
// decodes a truncated group silently, so a damaged text would come back as different bytes.
std::optional<std::string> compacted(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t padding = 0;
    for (char c : text) {
        if (isBlank(c)) continue;
        if (c == '=') {
            ++padding;
        } else if (!inAlphabet(c) || padding > 0) {
            return std::nullopt;
        }
        out.push_back(c);
    }
    if (out.size() % 4 != 0 || padding > 2) return std::nullopt;
    return out;
}

}  // namespace

std::string base64Encode(std::string_view bytes, const Base64Lines& lines) {
    if (bytes.empty()) return {};
    std::unique_ptr<char, GFree> encoded(g_base64_encode(reinterpret_cast<const guchar*>(bytes.data()), bytes.size()));
    const std::string_view line(encoded.get());
    if (lines.length == 0 || line.size() <= lines.length) return std::string(line);
    std::string out;
    const std::size_t breaks = (line.size() - 1) / lines.length;
    out.reserve(line.size() + breaks * lines.ending.size());
    for (std::size_t at = 0; at < line.size(); at += lines.length) {
        if (at > 0) out += lines.ending;
        out += line.substr(at, lines.length);
    }
    return out;
}

std::optional<std::string> base64Decode(std::string_view text) {
    auto clean = compacted(text);
    if (!clean) {
        log("Base64: refused a text that is not Base64 (" + std::to_string(text.size()) + " bytes)");
        return std::nullopt;
    }
    if (clean->empty()) return std::string();
    gsize size = 0;
    std::unique_ptr<guchar, GFree> decoded(g_base64_decode(clean->c_str(), &size));
    return std::string(reinterpret_cast<const char*>(decoded.get()), size);
}

}  // namespace plat
