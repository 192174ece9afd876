#pragma once
// Interface-file archives written inline in tests, the error a decoding step raises, and the check
// that a view made from an archive starts as the same view made from a frame.

#include <initializer_list>
#include <memory>
#include <string>

#include "Platform/foundation/coder.h"
#include "Platform/ui/view.h"
#include "Platform/ui/view_coding.h"

namespace plat::testing {

// A property-list document around `body` (one value, usually a <dict>).
inline std::string plist(const std::string& body) { return "<?xml version=\"1.0\"?><plist version=\"1.0\">" + body + "</plist>"; }

// The archived view of class `cls` with further `keys` (key/value elements).
inline std::string viewDict(const std::string& cls, const std::string& keys = "") {
    return "<dict><key>class</key><string>" + cls + "</string>" + keys + "</dict>";
}

// The <key>frame</key> element pair of `frame`.
std::string frameKey(const Rect& frame);

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

// The view of class `cls` with `frame`, made from an archive through the registry; null when the
// registry made a view of another type.
template <class T>
std::shared_ptr<T> decodeView(const std::string& cls, const Rect& frame) {
    return std::dynamic_pointer_cast<T>(loadInterface(plist(viewDict(cls, frameKey(frame))), cls));
}

// Expects two view trees to agree on every property of the platform view (geometry, look,
// interaction, gesture recognisers) and, recursively, on the dynamic classes and order of their subviews.
void expectSameViewTree(const View& a, const View& b, const std::string& where = "root");

// Expects archives of class `cls` with a bad key (a value of the wrong kind, a NaN frame, an unknown
// subview class) to be refused with an error naming the key, the partly made control going away
// cleanly (under the sanitizers, a crash or a leak fails the test program).
void expectBadKeysRefused(const std::string& cls);

// One getter of T, read on two objects and compared (PLAT_SAME_GETTER builds one from a name).
template <class T>
struct SameGetter {
    const char* name;
    bool (*same)(const T& a, const T& b);
};
#define PLAT_SAME_GETTER(T, getter)                                              \
    ::plat::testing::SameGetter<T> {                                             \
#getter, [](const T& a, const T& b) { return a.getter() == b.getter(); } \
    }

// Expects every getter to read the same on `a` and `b`, naming those that differ.
template <class T>
void expectSameGetters(const T& a, const T& b, std::initializer_list<SameGetter<T>> getters);

// Expects a T made from an archive of class `cls` to start as T::create(frame) does: the same view
// tree and the same values of `getters`.
template <class T>
void expectSameAsFromFrame(const std::string& cls, const Rect& frame, std::initializer_list<SameGetter<T>> getters);

}  // namespace plat::testing

#include "Platform/testing/archives_impl.h"
