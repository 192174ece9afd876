#pragma once
// Interface-file archives written inline in tests, and the error a decoding step raises.

#include <string>

#include "Platform/foundation/coder.h"

namespace plat::testing {

// A property-list document around `body` (one value, usually a <dict>).
inline std::string plist(const std::string& body) { return "<?xml version=\"1.0\"?><plist version=\"1.0\">" + body + "</plist>"; }

// The archived view of class `cls` with further `keys` (key/value elements).
inline std::string viewDict(const std::string& cls, const std::string& keys = "") {
    return "<dict><key>class</key><string>" + cls + "</string>" + keys + "</dict>";
}

// The message of the CoderException that `f` raises, or "" when it raises none.
template <class F>
std::string coderErrorOf(F&& f) {
    try {
        f();
    } catch (const plat::CoderException& e) {
        return e.what();
    }
    return "";
}

}  // namespace plat::testing
