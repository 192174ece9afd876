#pragma once
// A keyed archive decoder: the values of one archived object, read by key. Views use it to rebuild
// themselves from an interface file.
//
// The archive is an XML property list whose root is a <dict>; one <dict> is one object:
//   <plist version="1.0"><dict>
//     <key>class</key>     <string>OmbriChart</string>          (the class to make, for views)
//     <key>frame</key>     <array><real>0</real><real>0</real><real>320</real><real>200</real></array>
//     <key>alpha</key>     <real>0.5</real>
//     <key>hidden</key>    <false/>
//     <key>tag</key>       <integer>7</integer>
//     <key>backgroundColor</key> <array><real>1</real><real>0.5</real><real>0</real></array>
//     <key>subviews</key>  <array><dict>…</dict></array>
//   </dict></plist>
// Elements: dict (key/value pairs), array, string, integer, real, true, false. A rectangle is an
// array of four finite numbers (x, y, width, height; no negative size), a colour an array of three or
// four numbers in 0…1 (red, green, blue, alpha). There are no references between objects, so an
// archive is a tree and cannot hold a cycle.
//
// A missing key decodes as the type's empty value (0, false, nil), as keyed archives have it. A file
// that is not such a property list, and a key whose value is of the wrong kind, raise CoderException
// naming the file and the key path ("subviews[1].alpha").

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Platform/PlatformExport.h"
#include "Platform/foundation/exception.h"
#include "Platform/foundation/geometry.h"
#include "Platform/foundation/value.h"
#include "Platform/graphics/color.h"

namespace plat {

// A malformed archive or a value of the wrong kind. The message names the file and the key.
class PLAT_EXPORT CoderException : public Exception {
public:
    explicit CoderException(const std::string& reason) : Exception("InvalidArchive", reason) {}
};

// What a reader accepts before refusing an archive.
struct CoderLimits {
    // Bytes of the whole file.
    std::size_t maxBytes = 4 * 1024 * 1024;
    // Nested dicts and arrays, the root dict counting as one.
    int maxDepth = 64;
};

class PLAT_EXPORT Coder {
public:
    // Parses a property list held in memory; `source` names it in error messages.
    static Coder fromData(std::string_view data, const std::string& source, const CoderLimits& limits = {});
    // Reads and parses a file; a file larger than the limit is refused before it is read.
    static Coder fromFile(const std::string& path, const CoderLimits& limits = {});

    const std::string& source() const { return _source; }
    // Where this object sits in the archive: empty for the root, else "subviews[1]" and so on.
    const std::string& path() const { return _path; }

    bool containsValueForKey(std::string_view key) const;
    bool decodeBoolForKey(std::string_view key) const;
    // An <integer>; a <real> is refused.
    std::int64_t decodeIntegerForKey(std::string_view key) const;
    // An <integer> or a finite <real>.
    double decodeDoubleForKey(std::string_view key) const;
    std::optional<std::string> decodeStringForKey(std::string_view key) const;
    std::optional<Color> decodeColorForKey(std::string_view key) const;
    // The zero rectangle when missing.
    Rect decodeRectForKey(std::string_view key) const;
    // A nested object (a <dict>).
    std::optional<Coder> decodeObjectForKey(std::string_view key) const;
    // A list of nested objects; empty when missing.
    std::vector<Coder> decodeObjectsForKey(std::string_view key) const;
    // The value as parsed (numbers, strings, arrays, dictionaries), for what the typed readers miss.
    Value decodeValueForKey(std::string_view key) const;

    // Raises CoderException for a key of this object, with the file and the key path.
    [[noreturn]] void fail(std::string_view key, const std::string& what) const;

private:
    Coder(DictionaryPtr values, std::string source, std::string path)
        : _values(std::move(values)), _source(std::move(source)), _path(std::move(path)) {}
    PLAT_NO_EXPORT const Value* find(std::string_view key) const;
    PLAT_NO_EXPORT std::string keyPath(std::string_view key) const;

    DictionaryPtr _values;
    std::string _source;
    std::string _path;
};

}  // namespace plat
