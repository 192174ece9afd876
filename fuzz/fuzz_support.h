#pragma once
// Shared by the fuzz targets: a fixed process state, a quiet log that a target can read, a reader of
// the input's bytes, and the check that stops the run when an invariant breaks.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "Platform/foundation/locale/locale.h"
#include "Platform/foundation/locale/timezone.h"
#include "Platform/foundation/log.h"

namespace fuzz {

// The log lines of the current input (the log is not printed: libFuzzer runs millions of inputs).
inline std::vector<std::string>& logLines() {
    static std::vector<std::string> lines;
    return lines;
}

// Once per process: en_US and UTC whatever the machine's settings, the log into logLines().
inline void prepareProcess() {
    static const bool done = [] {
        plat::Locale::setCurrent(plat::Locale::withIdentifier("en_US"));
        plat::TimeZone::setCurrent(plat::TimeZone::utc());
        plat::setLogSink([](const std::string& line) { logLines().push_back(line); });
        return true;
    }();
    (void)done;
    logLines().clear();
}

// Control bytes and bytes above ASCII written as \xNN, so the detail reads whole on a terminal.
inline std::string escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b < 0x7f) {
            out.push_back(c);
        } else {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02x", b);
            out += hex;
        }
    }
    return out;
}

[[noreturn]] inline void fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "fuzz invariant broken: %s\n  %s\n", what, escaped(detail).c_str());
    std::abort();
}

// Takes the input apart: small numbers, then strings up to a separator byte.
class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : _data(data), _size(size) {}
    bool empty() const { return _at >= _size; }
    std::uint8_t byte() { return empty() ? 0 : _data[_at++]; }
    // Up to the next `separator` (consumed) or the end, at most `limit` bytes.
    std::string text(char separator = '\n', std::size_t limit = 256) {
        std::string out;
        while (!empty() && out.size() < limit) {
            const char c = static_cast<char>(_data[_at++]);
            if (c == separator) break;
            out.push_back(c);
        }
        return out;
    }
    std::string rest() {
        std::string out(reinterpret_cast<const char*>(_data + _at), _size - _at);
        _at = _size;
        return out;
    }

private:
    const std::uint8_t* _data;
    std::size_t _size;
    std::size_t _at = 0;
};

}  // namespace fuzz
