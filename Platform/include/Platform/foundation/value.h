#pragma once
// A dynamically typed value, as the platform's object values are: nil, null, Boolean, integer, double,
// string, date, array, dictionary or object. Numbers live inline (no heap), so bulk reads stay cheap.

#include <cstdint>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "Platform/PlatformExport.h"
#include "Platform/foundation/date.h"

namespace plat {

class Object;
class ClassInfo;
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

    Value() {}  // nil
    Value(std::nullptr_t) {}
    Value(const Value& other) { copyFrom(other); }
    Value& operator=(const Value& other) {
        if (this != &other) {
            Value copy(other);  // `other` may live inside what this value is about to let go of
            *this = std::move(copy);
        }
        return *this;
    }
    // A moved-from value is nil: an object, array or dictionary kind never holds a null pointer.
    [[gnu::always_inline]] Value(Value&& other) noexcept { takeFrom(other); }
    [[gnu::always_inline]] Value& operator=(Value&& other) noexcept {
        // The common step of shifting a list: the slot moved into was itself moved from (nil).
        if (holdsTrivially() && this != &other) [[likely]] {
            takeFrom(other);
            return *this;
        }
        if (this != &other) {
            // Letting go of the current content may end `other` (an entry of a list this value
            // held last), so it is taken out first.
            Value taken(std::move(other));
            destroy();
            takeFrom(taken);
        }
        return *this;
    }
    ~Value() { destroy(); }
    Value(bool b) : _kind(Kind::Bool), _bool(b) {}
    // clang-format off
    template <class T>
        requires(std::is_integral_v<T> && !std::is_same_v<T, bool>)
    Value(T i) {
        // An unsigned 64-bit value past the signed range keeps its magnitude as a double rather than
        // wrapping round to a negative integer.
        if constexpr (std::is_unsigned_v<T> && sizeof(T) >= sizeof(std::int64_t))
            if (i > static_cast<T>(INT64_MAX)) {
                _kind = Kind::Double;
                _double = static_cast<double>(i);
                return;
            }
        _kind = Kind::Integer;
        _integer = static_cast<std::int64_t>(i);
    }
    // clang-format on
    Value(double d) : _kind(Kind::Double), _double(d) {}
    Value(float f) : _kind(Kind::Double), _double(static_cast<double>(f)) {}
    Value(const char* s) : Value(std::string(s ? s : "")) {}
    Value(std::string s) : _kind(Kind::String) { new (&_string) std::string(std::move(s)); }
    Value(std::string_view s) : Value(std::string(s)) {}
    Value(Date d) : _kind(Kind::Date), _date(d) {}
    Value(ArrayPtr a);
    Value(Array a) : Value(std::make_shared<Array>(std::move(a))) {}
    Value(DictionaryPtr d);
    Value(Dictionary d) : Value(std::make_shared<Dictionary>(std::move(d))) {}
    // clang-format off
    template <class T>
        requires std::is_base_of_v<Object, T>
    Value(std::shared_ptr<T> o) {
        // clang-format on
        if (!o) return;
        // The class is complete here, as is_base_of_v requires (or is the root class itself).
        const ClassInfo* cls = &o->classInfo();
        new (&_held) HeldObject{std::move(o), cls};
        _kind = Kind::Object;
    }

    static Value null() {
        Value v;
        v._kind = Kind::Null;
        return v;
    }

    Kind kind() const { return _kind; }
    bool isNil() const { return _kind == Kind::Nil; }
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
    // Inline: bulk passes over lists of items go through these.
    const std::string& asString() const { return isString() ? _string : NoString; }  // empty for non-strings
    Date asDate() const { return isDate() ? _date : Date(); }
    const ArrayPtr& asArray() const { return isArray() ? _array : NoArray; }  // null for non-arrays
    const DictionaryPtr& asDictionary() const {
        return isDictionary() ? _dictionary : NoDictionary;
    }                                                                                   // null for non-dictionaries
    const ObjectPtr& asObject() const { return isObject() ? _held.object : NoObject; }  // null for non-objects
    // The runtime class of the object held (null for other kinds), known without reading the object:
    // a pass over a long list of model objects asks it without a cache miss per item.
    const ClassInfo* objectClass() const { return isObject() ? _held.cls : nullptr; }
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
    // A tagged union rather than a std::variant: moving a value is the hot step of inserting into or
    // removing from the middle of a long list, and here it is a switch that the common kinds leave
    // after copying a scalar or two pointers, with no generic visit to construct, assign or reset.
    bool holdsTrivially() const { return _kind < Kind::String || _kind == Kind::Date; }
    // Builds this (holding nothing) from `other`, which is left nil.
    [[gnu::always_inline]] void takeFrom(Value& other) noexcept {
        // Objects first: lists of model objects are what gets shifted in bulk.
        if (other._kind == Kind::Object) [[likely]] {
            new (&_held) HeldObject{std::move(other._held.object), other._held.cls};
            // Moved from, `other` holds nothing to release: its storage is left as it is. (Calling its
            // destructor would have the compiler test its pointer again, as the class stored above might
            // lie over it, on every step of shifting a list.)
        } else {
            switch (other._kind) {
                case Kind::String:
                    takeString(other);
                    break;
                case Kind::Array:
                    new (&_array) ArrayPtr(std::move(other._array));
                    other._array.~shared_ptr();
                    break;
                case Kind::Dictionary:
                    new (&_dictionary) DictionaryPtr(std::move(other._dictionary));
                    other._dictionary.~shared_ptr();
                    break;
                default:
                    copyScalar(other);  // nil and null included: they hold nothing
                    break;
            }
        }
        _kind = other._kind;
        other._kind = Kind::Nil;
    }
    // Builds this (holding nothing) as a copy of `other`.
    void copyFrom(const Value& other) {
        switch (other._kind) {
            case Kind::String:
                copyString(other);
                break;
            case Kind::Array:
                new (&_array) ArrayPtr(other._array);
                break;
            case Kind::Dictionary:
                new (&_dictionary) DictionaryPtr(other._dictionary);
                break;
            case Kind::Object:
                new (&_held) HeldObject(other._held);
                break;
            default:
                copyScalar(other);
                break;
        }
        _kind = other._kind;
    }
    // The scalar content of `other`, whatever its kind holds of one (nothing for nil and null).
    void copyScalar(const Value& other) noexcept {
        switch (other._kind) {
            case Kind::Bool:
                _bool = other._bool;
                break;
            case Kind::Integer:
                _integer = other._integer;
                break;
            case Kind::Double:
                _double = other._double;
                break;
            case Kind::Date:
                _date = other._date;
                break;
            default:
                break;
        }
    }
    // Lets go of the content; this holds nothing afterwards (nil).
    [[gnu::always_inline]] void destroy() noexcept {
        switch (_kind) {
            case Kind::String:
                destroyString();
                break;
            case Kind::Array:
                _array.~shared_ptr();
                break;
            case Kind::Dictionary:
                _dictionary.~shared_ptr();
                break;
            case Kind::Object:
                _held.~HeldObject();
                break;
            default:
                break;
        }
        _kind = Kind::Nil;
    }

    // Texts are handled out of line: inlined everywhere, the compiler cannot follow the kind that
    // guards them and warns of an unset string. Defined here, as the inline members above that call
    // them are compiled into every library and application, each of which keeps its own copy.
    [[gnu::noinline]] PLAT_NO_EXPORT void takeString(Value& other) noexcept {
        new (&_string) std::string(std::move(other._string));
        other._string.~basic_string();
    }
    [[gnu::noinline]] PLAT_NO_EXPORT void copyString(const Value& other) { new (&_string) std::string(other._string); }
    [[gnu::noinline]] PLAT_NO_EXPORT void destroyString() noexcept { _string.~basic_string(); }

    struct HeldObject {
        ObjectPtr object;
        // Asked once, as the value is made: an object's class never changes.
        const ClassInfo* cls;
    };
    static const std::string NoString;
    static const ArrayPtr NoArray;
    static const DictionaryPtr NoDictionary;
    static const ObjectPtr NoObject;

    Kind _kind = Kind::Nil;
    union {
        bool _bool;
        std::int64_t _integer = 0;
        double _double;
        Date _date;
        std::string _string;
        ArrayPtr _array;
        DictionaryPtr _dictionary;
        HeldObject _held;
    };
};

}  // namespace plat
