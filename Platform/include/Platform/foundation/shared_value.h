#pragma once
// Immutable values in shared objects, for the few setters whose behaviour rests on the identity of
// a string, colour or date (an equal text "held in another object" counts as a change; the one
// shared white colour object is ignored). Copies share the object: isSameObject() compares identity,
// == compares values. Everywhere else the plain values (std::string, Color, Date) are used.

#include <concepts>
#include <cstddef>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>

#include "Platform/foundation/date.h"

namespace plat {

template <class T>
class SharedValue {
public:
    SharedValue() = default;  // nil: no object
    SharedValue(std::nullptr_t) {}
    // A new object holding the value: equal to every other object with that value, the same as none.
    // clang-format off
    template <class U>
        requires(std::constructible_from<T, U&&> && !std::same_as<std::remove_cvref_t<U>, SharedValue> &&
                 !std::same_as<std::remove_cvref_t<U>, std::nullptr_t>)
    SharedValue(U&& value) : _object(std::make_shared<const T>(std::forward<U>(value))) {}
    // clang-format on

    bool isNil() const { return !_object; }
    explicit operator bool() const { return static_cast<bool>(_object); }
    const T& operator*() const { return *_object; }
    const T* operator->() const { return _object.get(); }
    const T* get() const { return _object.get(); }
    T valueOr(T fallback) const { return _object ? *_object : std::move(fallback); }

    // Identity: both nil, or both the very same object.
    bool isSameObject(const SharedValue& other) const { return _object == other._object; }
    // Values: both nil, or equal values.
    friend bool operator==(const SharedValue& a, const SharedValue& b) {
        return a._object == b._object || (a._object && b._object && *a._object == *b._object);
    }

private:
    std::shared_ptr<const T> _object;
};

using StringObject = SharedValue<std::string>;
using DateObject = SharedValue<Date>;

}  // namespace plat
