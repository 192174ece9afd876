#include "Platform/foundation/value.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "Platform/foundation/object.h"
#include "foundation/nesting_guard.h"

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

}  // namespace

Value::Value(ArrayPtr a) {
    if (a) _v = std::move(a);
}

Value::Value(DictionaryPtr d) {
    if (d) _v = std::move(d);
}

double Value::asDouble() const {
    switch (kind()) {
        case Kind::Bool:
            return std::get<bool>(_v) ? 1.0 : 0.0;
        case Kind::Integer:
            return static_cast<double>(std::get<std::int64_t>(_v));
        case Kind::Double:
            return std::get<double>(_v);
        default:
            return std::numeric_limits<double>::quiet_NaN();
    }
}

std::int64_t Value::asInteger() const {
    switch (kind()) {
        case Kind::Bool:
            return std::get<bool>(_v) ? 1 : 0;
        case Kind::Integer:
            return std::get<std::int64_t>(_v);
        case Kind::Double: {
            double d = std::get<double>(_v);
            if (std::isnan(d)) return 0;
            // Clamp before converting: a double outside the range would be undefined behaviour.
            if (d >= 9223372036854775807.0) return std::numeric_limits<std::int64_t>::max();
            if (d <= -9223372036854775808.0) return std::numeric_limits<std::int64_t>::min();
            return static_cast<std::int64_t>(d);
        }
        default:
            return 0;
    }
}

bool Value::asBool() const {
    switch (kind()) {
        case Kind::Bool:
            return std::get<bool>(_v);
        case Kind::Integer:
            return std::get<std::int64_t>(_v) != 0;
        case Kind::Double:
            return std::get<double>(_v) != 0;  // NaN counts as true, as a C conversion does
        default:
            return false;
    }
}

const std::string& Value::asString() const {
    static const std::string empty;
    return isString() ? std::get<std::string>(_v) : empty;
}

const ArrayPtr& Value::asArray() const {
    static const ArrayPtr none;
    return isArray() ? std::get<ArrayPtr>(_v) : none;
}

const DictionaryPtr& Value::asDictionary() const {
    static const DictionaryPtr none;
    return isDictionary() ? std::get<DictionaryPtr>(_v) : none;
}

const ObjectPtr& Value::asObject() const {
    static const ObjectPtr none;
    return isObject() ? std::get<ObjectPtr>(_v) : none;
}

bool Value::isEqual(const Value& o) const {
    if (isNumber() && o.isNumber()) {
        if (isDouble() || o.isDouble()) return asDouble() == o.asDouble();
        return asInteger() == o.asInteger();
    }
    if (kind() != o.kind()) return false;
    switch (kind()) {
        case Kind::Nil:
        case Kind::Null:
            return true;
        case Kind::String:
            return asString() == o.asString();
        case Kind::Date:
            return asDate() == o.asDate();
        case Kind::Array: {
            const auto &a = *asArray(), &b = *o.asArray();
            if (&a == &b) return true;
            if (a.size() != b.size()) return false;
            detail::NestingGuard level(detail::Walk::Equality, &a, &b);
            if (level.isCycle()) return true;
            if (level.isTooDeep()) return false;
            for (size_t i = 0; i < a.size(); ++i)
                if (!a[i].isEqual(b[i])) return false;
            return true;
        }
        case Kind::Dictionary: {
            const auto &a = *asDictionary(), &b = *o.asDictionary();
            if (&a == &b) return true;
            if (a.size() != b.size()) return false;
            detail::NestingGuard level(detail::Walk::Equality, &a, &b);
            if (level.isCycle()) return true;
            if (level.isTooDeep()) return false;
            for (auto ia = a.begin(), ib = b.begin(); ia != a.end(); ++ia, ++ib)
                if (ia->first != ib->first || !ia->second.isEqual(ib->second)) return false;
            return true;
        }
        case Kind::Object: {
            const Object &a = *asObject(), &b = *o.asObject();
            if (&a == &b) return true;
            // A subclass's isEqual may compare values that lead back to this pair.
            detail::NestingGuard level(detail::Walk::Equality, &a, &b);
            if (level.isCycle()) return true;
            if (level.isTooDeep()) return false;
            return a.isEqual(b);
        }
        default:
            return false;
    }
}

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

std::string Value::description() const {
    switch (kind()) {
        case Kind::Nil:
            return "(null)";
        case Kind::Null:
            return "<null>";
        case Kind::Bool:
            return std::get<bool>(_v) ? "1" : "0";
        case Kind::Integer:
            return std::to_string(std::get<std::int64_t>(_v));
        case Kind::Double:
            return formatDouble(std::get<double>(_v));
        case Kind::String:
            return asString();
        case Kind::Date:
            return formatDouble(asDate().seconds);
        case Kind::Array: {
            const auto& a = *asArray();
            detail::NestingGuard level(detail::Walk::Description, &a);
            if (level.isCycle() || level.isTooDeep()) return ElidedContainer;
            std::string s = "(";
            for (size_t i = 0; i < a.size(); ++i) s += (i ? ", " : "") + a[i].description();
            return s + ")";
        }
        case Kind::Dictionary: {
            const auto& d = *asDictionary();
            detail::NestingGuard level(detail::Walk::Description, &d);
            if (level.isCycle() || level.isTooDeep()) return ElidedContainer;
            std::string s = "{";
            bool first = true;
            for (const auto& [k, v] : d) {
                s += (first ? "" : "; ") + k + " = " + v.description();
                first = false;
            }
            return s + "}";
        }
        case Kind::Object: {
            const Object& object = *asObject();
            detail::NestingGuard level(detail::Walk::Description, &object);
            if (level.isCycle() || level.isTooDeep()) return ElidedContainer;
            return object.description();
        }
    }
    return {};
}

}  // namespace plat
