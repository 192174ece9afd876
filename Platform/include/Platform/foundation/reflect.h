#pragma once
// The runtime's description of a class: its name, its base and its ordered own property list, each
// property with the type-encoding attribute string the runtime reports ("Td,N,V_sales"), a read-only
// flag and typed accessors. Plus key-value access (by key and dotted key path) over objects,
// dictionaries and arrays.

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "Platform/PlatformExport.h"
#include "Platform/foundation/exception.h"
#include "Platform/foundation/object.h"

namespace plat {

// A member or method pointer kept in place, so that reading a property costs one plain function call
// (no std::function, no allocation): bulk reads over many items stay cheap.
struct PLAT_EXPORT MemberRef {
    alignas(16) unsigned char bytes[16] = {};

    template <class P>
    static MemberRef of(P p) {
        static_assert(sizeof(P) <= sizeof(bytes) && std::is_trivially_copyable_v<P>);
        MemberRef r;
        std::memcpy(r.bytes, &p, sizeof(P));
        return r;
    }
    template <class P>
    P as() const {
        P p;
        std::memcpy(&p, bytes, sizeof(P));
        return p;
    }
};

class PLAT_EXPORT Property {
public:
    using Getter = Value (*)(const Object&, const MemberRef&);
    using NumberGetter = double (*)(const Object&, const MemberRef&);
    using StringGetter = const std::string& (*)(const Object&, const MemberRef&);
    using Setter = std::function<bool(Object&, const Value&)>;  // false: value not storable

    Property(std::string name, std::string attributes, Getter get, MemberRef ref, Setter set, bool isDataMember);

    const std::string& name() const { return _name; }
    // The runtime's attribute string: type encoding first ("T..."), then ",R" when read-only, ",N,V_<name>".
    const std::string& attributes() const { return _attributes; }
    bool isReadOnly() const { return !_set; }
    // A plain data member: reading it runs no code of the class, so one read equals two.
    bool isDataMember() const { return _isDataMember; }

    Value get(const Object& o) const { return _get(o, _ref); }
    // Throws InvalidArgumentException when the property is read-only or the value does not fit its type.
    void set(Object& o, const Value& v) const;

    // Reads a numeric data member without building a Value; for bulk reads over many items of one class.
    bool hasDirectNumber() const { return _number != nullptr; }
    double number(const Object& o) const { return _number(o, _ref); }
    // Internal: set by property() for plain numeric data members.
    void setDirectNumber(NumberGetter f) { _number = f; }

    // Reads a string data member in place, without copying it into a Value.
    bool hasDirectString() const { return _string != nullptr; }
    const std::string& string(const Object& o) const { return _string(o, _ref); }
    // Internal: set by property() for plain string data members.
    void setDirectString(StringGetter f) { _string = f; }

private:
    std::string _name, _attributes;
    Getter _get;
    MemberRef _ref;
    Setter _set;
    NumberGetter _number = nullptr;
    StringGetter _string = nullptr;
    bool _isDataMember;
};

class PLAT_EXPORT ClassInfo {
public:
    using Factory = ObjectPtr (*)();

    // `ownDescription`: see hasOwnDescription.
    ClassInfo(std::string name, const ClassInfo* base, std::vector<Property> properties, Factory factory = nullptr,
              bool ownDescription = true);

    template <class C, class Base, class... P>
    static ClassInfo make(std::string name, P&&... props) {
        static_assert(std::is_base_of_v<Base, C>);
        Factory factory = nullptr;
        if constexpr (std::is_default_constructible_v<C> && !std::is_abstract_v<C>)
            factory = [] { return ObjectPtr(std::make_shared<C>()); };
        // Named through C, `description` is Object's own unless C or a class between declares one.
        constexpr bool ownDescription = !std::is_same_v<decltype(&C::description), std::string (Object::*)() const>;
        return ClassInfo(std::move(name), &Base::staticClassInfo(), std::vector<Property>{std::forward<P>(props)...}, factory,
                         ownDescription);
    }

    // False when the class's instances describe themselves as the root class does ("<Class: address>"),
    // so a caller looking for a text in descriptions can skip formatting them; true when the class or
    // a base declares its own description, and for the root class (undeclared subclasses read as it).
    bool hasOwnDescription() const { return _ownDescription; }

    // A new default instance, as the runtime's alloc/init gives; null for a class that cannot be made
    // without arguments.
    ObjectPtr newInstance() const { return _factory ? _factory() : nullptr; }

    const std::string& name() const { return _name; }
    const ClassInfo* base() const { return _base; }
    // Properties declared by this class itself, in declaration order (not those of its bases).
    const std::vector<Property>& ownProperties() const { return _properties; }
    const Property* ownProperty(std::string_view name) const;
    // This class first, then its bases, as the runtime's lookup goes.
    const Property* findProperty(std::string_view name) const;
    bool isSubclassOf(const ClassInfo& other) const;

private:
    std::string _name;
    const ClassInfo* _base;
    std::vector<Property> _properties;
    Factory _factory;
    bool _ownDescription;
};

#define PLAT_DEFINE_CLASS(Cls, Base, ...)                                                                          \
    const ::plat::ClassInfo& Cls::staticClassInfo() {                                                              \
        static const ::plat::ClassInfo info = ::plat::ClassInfo::make<Cls, Base>(#Cls __VA_OPT__(, ) __VA_ARGS__); \
        return info;                                                                                               \
    }

// ---- typed property declarations -------------------------------------------------------------

namespace detail {

template <class T>
struct PropertyType;  // encoding, boxing and unboxing of one member type

// Whether the number `v` keeps its value in a member of type T. Integers drop a fraction, as the
// platform's conversions do, and must then lie within T's range; NaN fits no integer. A float takes
// any double of float magnitude, and NaN and the infinities.
template <class T>
bool numberFits(const Value& v) {
    if constexpr (std::is_floating_point_v<T>) {
        if constexpr (std::numeric_limits<T>::max() >= std::numeric_limits<double>::max()) {
            return true;
        } else {
            const double d = v.asDouble();
            return !std::isfinite(d) || std::fabs(d) <= static_cast<double>(std::numeric_limits<T>::max());
        }
    } else {
        // The character types have no in_range of their own: ask their signed or unsigned twin.
        using Integer = std::conditional_t<std::is_signed_v<T>, std::make_signed_t<T>, std::make_unsigned_t<T>>;
        if (!v.isDouble()) return std::in_range<Integer>(v.asInteger());
        // [lowest, limit) with limit = max + 1, a power of two that a double holds exactly (max itself
        // may round up to it for 64-bit types, which would let 2^63 or 2^64 through).
        constexpr double lowest = static_cast<double>(std::numeric_limits<T>::min());
        constexpr double limit = static_cast<double>(std::numeric_limits<T>::max() / 2 + 1) * 2;
        const double whole = std::trunc(v.asDouble());
        return whole >= lowest && whole < limit;  // false for NaN
    }
}

// clang-format off
template <class T>
    requires(std::is_arithmetic_v<T> && !std::is_same_v<T, bool>)
struct PropertyType<T> {
    // clang-format on
    static std::string encoding() {
        if constexpr (std::is_same_v<T, double>)
            return "d";
        else if constexpr (std::is_same_v<T, float>)
            return "f";
        else if constexpr (std::is_signed_v<T>)
            return sizeof(T) == 1 ? "c" : sizeof(T) == 2 ? "s" : sizeof(T) == 4 ? "i" : "q";
        else
            return sizeof(T) == 1 ? "C" : sizeof(T) == 2 ? "S" : sizeof(T) == 4 ? "I" : "Q";
    }
    static Value box(const T& v) { return Value(v); }
    static bool unbox(const Value& v, T& out) {
        if (!v.isNumber() || !numberFits<T>(v)) return false;
        if constexpr (std::is_floating_point_v<T>)
            out = static_cast<T>(v.asDouble());
        else
            out = v.isDouble() ? static_cast<T>(v.asDouble()) : static_cast<T>(v.asInteger());
        return true;
    }
    static double number(const T& v) { return static_cast<double>(v); }
};
template <>
struct PropertyType<bool> {
    static std::string encoding() { return "B"; }
    static Value box(bool v) { return Value(v); }
    static bool unbox(const Value& v, bool& out) {
        if (!v.isNumber()) return false;
        out = v.asBool();
        return true;
    }
    static double number(bool v) { return v ? 1 : 0; }
};
template <>
struct PropertyType<std::string> {
    static std::string encoding() { return "@\"NSString\""; }
    static Value box(const std::string& v) { return Value(v); }
    static bool unbox(const Value& v, std::string& out) {
        if (v.isNil()) {
            out.clear();
            return true;
        }
        if (!v.isString()) return false;
        out = v.asString();
        return true;
    }
};
template <>
struct PropertyType<Date> {
    static std::string encoding() { return "@\"NSDate\""; }
    static Value box(const Date& v) { return Value(v); }
    static bool unbox(const Value& v, Date& out) {
        if (!v.isDate()) return false;
        out = v.asDate();
        return true;
    }
};
template <>
struct PropertyType<std::optional<double>> {  // a nullable number
    static std::string encoding() { return "@\"NSNumber\""; }
    static Value box(const std::optional<double>& v) { return v ? Value(*v) : Value(); }
    static bool unbox(const Value& v, std::optional<double>& out) {
        if (v.isNil() || v.isNull()) {
            out.reset();
            return true;
        }
        if (!v.isNumber()) return false;
        out = v.asDouble();
        return true;
    }
};
template <>
struct PropertyType<Value> {
    static std::string encoding() { return "@"; }
    static Value box(const Value& v) { return v; }
    static bool unbox(const Value& v, Value& out) {
        out = v;
        return true;
    }
};
template <>
struct PropertyType<Array> {
    static std::string encoding() { return "@\"NSArray\""; }
    static Value box(const Array& v) { return Value(v); }
    static bool unbox(const Value& v, Array& out) {
        if (v.isNil()) {
            out.clear();
            return true;
        }
        if (!v.isArray()) return false;
        out = *v.asArray();
        return true;
    }
};
template <>
struct PropertyType<ArrayPtr> {
    static std::string encoding() { return "@\"NSArray\""; }
    static Value box(const ArrayPtr& v) { return Value(v); }
    static bool unbox(const Value& v, ArrayPtr& out) {
        if (v.isNil()) {
            out.reset();
            return true;
        }
        if (!v.isArray()) return false;
        out = v.asArray();
        return true;
    }
};
template <>
struct PropertyType<DictionaryPtr> {
    static std::string encoding() { return "@\"NSDictionary\""; }
    static Value box(const DictionaryPtr& v) { return Value(v); }
    static bool unbox(const Value& v, DictionaryPtr& out) {
        if (v.isNil()) {
            out.reset();
            return true;
        }
        if (!v.isDictionary()) return false;
        out = v.asDictionary();
        return true;
    }
};
// clang-format off
template <class T>
    requires std::is_base_of_v<Object, T>
struct PropertyType<std::shared_ptr<T>> {
    // clang-format on
    static std::string encoding() { return "@\"NSObject\""; }
    static Value box(const std::shared_ptr<T>& v) { return Value(v); }
    static bool unbox(const Value& v, std::shared_ptr<T>& out) {
        if (v.isNil()) {
            out.reset();
            return true;
        }
        auto o = v.as<T>();
        if (!o) return false;
        out = std::move(o);
        return true;
    }
};

// Inline: the property templates below call it from every library that declares properties, and
// nothing in a detail namespace is exported.
inline std::string attributes(const std::string& encoding, bool readOnly, const std::string& name) {
    return "T" + encoding + (readOnly ? ",R" : "") + ",N,V_" + name;
}

template <class T>
using Bare = std::remove_cvref_t<T>;

}  // namespace detail

// A data member: property("sales", &Sale::sales).
// clang-format off
template <class C, class M>
    requires std::is_base_of_v<Object, C>
Property property(std::string name, M C::*member) {
    // clang-format on
    using PT = detail::PropertyType<M>;
    using Ptr = M C::*;
    Property p(
        name, detail::attributes(PT::encoding(), false, name),
        [](const Object& o, const MemberRef& r) { return PT::box(static_cast<const C&>(o).*(r.as<Ptr>())); },
        MemberRef::of(member), [member](Object& o, const Value& v) { return PT::unbox(v, static_cast<C&>(o).*member); }, true);
    if constexpr (std::is_arithmetic_v<M>)
        p.setDirectNumber(
            [](const Object& o, const MemberRef& r) { return PT::number(static_cast<const C&>(o).*(r.as<Ptr>())); });
    if constexpr (std::is_same_v<M, std::string>)
        p.setDirectString(
            [](const Object& o, const MemberRef& r) -> const std::string& { return static_cast<const C&>(o).*(r.as<Ptr>()); });
    return p;
}

// A read-only property computed by a getter: property("total", &Order::total).
// clang-format off
template <class C, class R>
    requires std::is_base_of_v<Object, C>
Property property(std::string name, R (C::*getter)() const) {
    // clang-format on
    using PT = detail::PropertyType<detail::Bare<R>>;
    using Ptr = R (C::*)() const;
    return Property(
        name, detail::attributes(PT::encoding(), true, name),
        [](const Object& o, const MemberRef& r) { return PT::box((static_cast<const C&>(o).*(r.as<Ptr>()))()); },
        MemberRef::of(getter), nullptr, false);
}
// clang-format off
template <class C, class R>
    requires std::is_base_of_v<Object, C>
Property property(std::string name, R (C::*getter)()) {
    // clang-format on
    using PT = detail::PropertyType<detail::Bare<R>>;
    using Ptr = R (C::*)();
    return Property(
        name, detail::attributes(PT::encoding(), true, name),
        [](const Object& o, const MemberRef& r) { return PT::box((const_cast<C&>(static_cast<const C&>(o)).*(r.as<Ptr>()))()); },
        MemberRef::of(getter), nullptr, false);
}

// A property with getter and setter methods: property("name", &Person::name, &Person::setName).
// clang-format off
template <class C, class R, class A>
    requires std::is_base_of_v<Object, C>
Property property(std::string name, R (C::*getter)() const, void (C::*setter)(A)) {
    // clang-format on
    using T = detail::Bare<R>;
    using PT = detail::PropertyType<T>;
    using Ptr = R (C::*)() const;
    return Property(
        name, detail::attributes(PT::encoding(), false, name),
        [](const Object& o, const MemberRef& r) { return PT::box((static_cast<const C&>(o).*(r.as<Ptr>()))()); },
        MemberRef::of(getter),
        [setter](Object& o, const Value& v) {
            T tmp{};
            if (!PT::unbox(v, tmp)) return false;
            (static_cast<C&>(o).*setter)(std::move(tmp));
            return true;
        },
        false);
}

// ---- key-value access --------------------------------------------------------------------------

// Reads `key` of an object (its declared properties), a dictionary (the entry, nil when absent) or an
// array (the key read from every element; an array that holds itself or nests past MaxNestingDepth
// throws InvalidArgumentException). nil reads nil. Every value other than a dictionary or an array
// answers "description" (a text itself, a number as it prints) unless it declares the key. Anything
// else, or an object without the key, throws UndefinedKeyException.
PLAT_EXPORT Value valueForKey(const Value& target, std::string_view key);
// Writes `key`; throws UndefinedKeyException for a missing key, InvalidArgumentException for a
// read-only property or a value of the wrong type. Writing to nil does nothing.
PLAT_EXPORT void setValueForKey(const Value& target, std::string_view key, const Value& value);
// Dotted paths: each part read from the previous result.
PLAT_EXPORT Value valueForKeyPath(const Value& target, std::string_view path);
PLAT_EXPORT void setValueForKeyPath(const Value& target, std::string_view path, const Value& value);

}  // namespace plat
