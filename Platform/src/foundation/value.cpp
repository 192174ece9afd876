#include "Platform/foundation/value.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "Platform/foundation/object.h"
#include "foundation/nesting_level.h"
#include "foundation/saturating_cast.h"

namespace plat {

namespace {

// What a description shows for a container that holds itself or nests past MaxNestingDepth.
constexpr const char* ElidedContainer = "...";

std::string formatDouble(double d) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.17g", d);
    // Prefer the shortest text that reads back the same.
    for (int prec = 1; prec <= 17; ++prec) {
        char t[32];
        std::snprintf(t, sizeof t, "%.*g", prec, d);
        if (std::strtod(t, nullptr) == d || std::isnan(d)) return t;
    }
    return buf;
}

using detail::NestingLevel;

// Equality of everything but arrays and dictionaries, which need no walk.
inline bool equalLeaves(const Value& x, const Value& y) {
    if (x.isNumber() && y.isNumber()) {
        if (x.isDouble() || y.isDouble()) return x.asDouble() == y.asDouble();
        return x.asInteger() == y.asInteger();
    }
    if (x.kind() != y.kind()) return false;
    switch (x.kind()) {
        case Value::Kind::Nil:
        case Value::Kind::Null:
            return true;
        case Value::Kind::String:
            return x.asString() == y.asString();
        case Value::Kind::Date:
            return x.asDate() == y.asDate();
        case Value::Kind::Object:
            return x.asObject() == y.asObject() || x.asObject()->isEqual(*y.asObject());
        default:
            return false;
    }
}

bool isContainer(const Value& v) { return v.isArray() || v.isDictionary(); }

bool equal(const Value& x, const Value& y, const NestingLevel* up) {
    if (!isContainer(x) || x.kind() != y.kind()) return equalLeaves(x, y);
    if (x.isArray()) {
        const auto &a = *x.asArray(), &b = *y.asArray();
        if (&a == &b) return true;
        if (a.size() != b.size()) return false;
        const NestingLevel level(&a, &b, up);
        if (level.isCycle()) return true;  // no finite look tells the two apart
        if (level.isTooDeep()) return false;
        for (size_t i = 0; i < a.size(); ++i)
            if (!equal(a[i], b[i], &level)) return false;
        return true;
    }
    const auto &a = *x.asDictionary(), &b = *y.asDictionary();
    if (&a == &b) return true;
    if (a.size() != b.size()) return false;
    const NestingLevel level(&a, &b, up);
    if (level.isCycle()) return true;
    if (level.isTooDeep()) return false;
    for (auto ia = a.begin(), ib = b.begin(); ia != a.end(); ++ia, ++ib)
        if (ia->first != ib->first || !equal(ia->second, ib->second, &level)) return false;
    return true;
}

std::string describe(const Value& v, const NestingLevel* up) {
    switch (v.kind()) {
        case Value::Kind::Nil:
            return "(null)";
        case Value::Kind::Null:
            return "<null>";
        case Value::Kind::Bool:
            return v.asBool() ? "1" : "0";
        case Value::Kind::Integer:
            return std::to_string(v.asInteger());
        case Value::Kind::Double:
            return formatDouble(v.asDouble());
        case Value::Kind::String:
            return v.asString();
        case Value::Kind::Date:
            return formatDouble(v.asDate().seconds);
        case Value::Kind::Array: {
            const auto& a = *v.asArray();
            const NestingLevel level(&a, nullptr, up);
            if (level.isCycle() || level.isTooDeep()) return ElidedContainer;
            std::string s = "(";
            for (size_t i = 0; i < a.size(); ++i) s += (i ? ", " : "") + describe(a[i], &level);
            return s + ")";
        }
        case Value::Kind::Dictionary: {
            const auto& d = *v.asDictionary();
            const NestingLevel level(&d, nullptr, up);
            if (level.isCycle() || level.isTooDeep()) return ElidedContainer;
            std::string s = "{";
            bool first = true;
            for (const auto& [k, e] : d) {
                s += (first ? "" : "; ") + k + " = " + describe(e, &level);
                first = false;
            }
            return s + "}";
        }
        case Value::Kind::Object:
            return v.asObject()->description();
    }
    return {};
}

}  // namespace

const std::string Value::NoString;
const ArrayPtr Value::NoArray;
const DictionaryPtr Value::NoDictionary;
const ObjectPtr Value::NoObject;

Value::Value(ArrayPtr a) {
    if (!a) return;
    new (&_array) ArrayPtr(std::move(a));
    _kind = Kind::Array;
}

Value::Value(DictionaryPtr d) {
    if (!d) return;
    new (&_dictionary) DictionaryPtr(std::move(d));
    _kind = Kind::Dictionary;
}

double Value::asDouble() const {
    switch (kind()) {
        case Kind::Bool:
            return _bool ? 1.0 : 0.0;
        case Kind::Integer:
            return static_cast<double>(_integer);
        case Kind::Double:
            return _double;
        default:
            return std::numeric_limits<double>::quiet_NaN();
    }
}

std::int64_t Value::asInteger() const {
    switch (kind()) {
        case Kind::Bool:
            return _bool ? 1 : 0;
        case Kind::Integer:
            return _integer;
        case Kind::Double: {
            return detail::saturatingCast<std::int64_t>(_double);
        }
        default:
            return 0;
    }
}

bool Value::asBool() const {
    switch (kind()) {
        case Kind::Bool:
            return _bool;
        case Kind::Integer:
            return _integer != 0;
        case Kind::Double:
            return _double != 0;  // NaN counts as true, as a C conversion does
        default:
            return false;
    }
}

bool Value::isEqual(const Value& o) const { return isContainer(*this) ? equal(*this, o, nullptr) : equalLeaves(*this, o); }

bool Value::isIdentical(const Value& o) const {
    if (kind() != o.kind()) return false;
    switch (kind()) {
        case Kind::Array:
            return asArray() == o.asArray();
        case Kind::Dictionary:
            return asDictionary() == o.asDictionary();
        case Kind::Object:
            return asObject() == o.asObject();
        default:
            return isEqual(o);
    }
}

std::string Value::description() const { return describe(*this, nullptr); }

}  // namespace plat
