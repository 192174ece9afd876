#pragma once
// A dynamically typed value, as the platform's object values are: nil, null, Boolean, integer, double,
// string, date, array, dictionary or object. Numbers live inline (no heap), so bulk reads stay cheap.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "Platform/PlatformExport.h"
#include "Platform/foundation/date.h"

namespace plat {

class Object;
class Value;
using ObjectPtr = std::shared_ptr<Object>;
using Array = std::vector<Value>;
using ArrayPtr = std::shared_ptr<Array>;
using Dictionary = std::map<std::string, Value, std::less<>>;
using DictionaryPtr = std::shared_ptr<Dictionary>;

// The index that lookups answer when nothing is found (the largest signed index, as the platform has it).
inline constexpr std::size_t NotFound = static_cast<std::size_t>(INT64_MAX);

// How deeply arrays and dictionaries may nest for the walks that recurse into them (isEqual,
// description, key reads mapped over arrays); the walks also notice a container that holds itself.
// Past the bound or on a cycle: isEqual answers false past the bound and true on a cycle (no finite
// look tells the two apart), description shows "..." in place of the container, and a key read
// throws InvalidArgumentException. So no value, however built, overflows the stack there. (An
// object's own isEqual or description is its class's code: recursion there is the class's.)
inline constexpr int MaxNestingDepth = 512;

class PLAT_EXPORT Value {
public:
    enum class Kind : std::uint8_t { Nil, Null, Bool, Integer, Double, String, Date, Array, Dictionary, Object };
    struct NullTag {
        friend bool operator==(NullTag, NullTag) { return true; }
    };

    Value() = default;  // nil
    Value(std::nullptr_t) {}
    Value(const Value&) = default;
    Value& operator=(const Value&) = default;
    // A moved-from value is nil: an object, array or dictionary kind never holds a null pointer.
    Value(Value&& other) noexcept : _v(std::move(other._v)) { other._v = std::monostate{}; }
    Value& operator=(Value&& other) noexcept {
        if (this != &other) {
            _v = std::move(other._v);
            other._v = std::monostate{};
        }
        return *this;
    }
    Value(bool b) : _v(b) {}
    // clang-format off
    template <class T>
        requires(std::is_integral_v<T> && !std::is_same_v<T, bool>)
    Value(T i) {
        // An unsigned 64-bit value past the signed range keeps its magnitude as a double rather than
        // wrapping round to a negative integer.
        if constexpr (std::is_unsigned_v<T> && sizeof(T) >= sizeof(std::int64_t))
            if (i > static_cast<T>(INT64_MAX)) {
                _v = static_cast<double>(i);
                return;
            }
        _v = static_cast<std::int64_t>(i);
    }
    // clang-format on
    Value(double d) : _v(d) {}
    Value(float f) : _v(static_cast<double>(f)) {}
    Value(const char* s) : _v(std::string(s ? s : "")) {}
    Value(std::string s) : _v(std::move(s)) {}
    Value(std::string_view s) : _v(std::string(s)) {}
    Value(Date d) : _v(d) {}
    Value(ArrayPtr a);
    Value(Array a) : _v(std::make_shared<Array>(std::move(a))) {}
    Value(DictionaryPtr d);
    Value(Dictionary d) : _v(std::make_shared<Dictionary>(std::move(d))) {}
    // clang-format off
    template <class T>
        requires std::is_base_of_v<Object, T>
    Value(std::shared_ptr<T> o) {
        // clang-format on
        if (o) _v = ObjectPtr(std::move(o));
    }

    static Value null() {
        Value v;
        v._v = NullTag{};
        return v;
    }

    Kind kind() const { return static_cast<Kind>(_v.index()); }
    bool isNil() const { return _v.index() == 0; }
    bool isNull() const { return kind() == Kind::Null; }
    bool isBool() const { return kind() == Kind::Bool; }
    bool isInteger() const { return kind() == Kind::Integer; }
    bool isDouble() const { return kind() == Kind::Double; }
    // Booleans count as numbers, as the platform's boxed Booleans do.
    bool isNumber() const {
        auto k = kind();
        return k == Kind::Bool || k == Kind::Integer || k == Kind::Double;
    }
    bool isString() const { return kind() == Kind::String; }
    bool isDate() const { return kind() == Kind::Date; }
    bool isArray() const { return kind() == Kind::Array; }
    bool isDictionary() const { return kind() == Kind::Dictionary; }
    bool isObject() const { return kind() == Kind::Object; }

    // Numeric views: NaN / 0 / false for values that are not numbers.
    double asDouble() const;
    std::int64_t asInteger() const;  // doubles are truncated and clamped; NaN gives 0
    bool asBool() const;
    const std::string& asString() const;  // empty for non-strings
    Date asDate() const { return isDate() ? std::get<Date>(_v) : Date(); }
    const ArrayPtr& asArray() const;            // null for non-arrays
    const DictionaryPtr& asDictionary() const;  // null for non-dictionaries
    const ObjectPtr& asObject() const;          // null for non-objects
    template <class T>
    std::shared_ptr<T> as() const {
        return std::dynamic_pointer_cast<T>(asObject());
    }

    // The platform's equality: numbers compare by value across kinds, strings by content, containers
    // element-wise, objects through Object::isEqual (see MaxNestingDepth for cycles and deep nesting).
    bool isEqual(const Value& other) const;
    friend bool operator==(const Value& a, const Value& b) { return a.isEqual(b); }
    // Same object (for objects and containers) or equal scalar.
    bool isIdentical(const Value& other) const;

    // Containers past MaxNestingDepth, or holding themselves, show as "...".
    std::string description() const;

private:
    std::variant<std::monostate, NullTag, bool, std::int64_t, double, std::string, Date, ArrayPtr, DictionaryPtr, ObjectPtr> _v;
};

}  // namespace plat
