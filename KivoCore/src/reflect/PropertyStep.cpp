#include "reflect/PropertyStep.h"

#include "KivoCore/KivoReflector.h"
#include "Platform/foundation/log.h"

namespace kivo::detail {

namespace {

// Declared types whose every value a double holds exactly (64-bit integers may not: they stay values).
bool exactInDouble(const plat::Property& p) {
    const std::string& a = p.attributes();
    if (a.size() < 2 || a[0] != 'T') return false;
    switch (a[1]) {
        case 'd':
        case 'f':
        case 'B':
        case 'c':
        case 'C':
        case 's':
        case 'S':
        case 'i':
        case 'I':
            return true;
        default:
            return false;
    }
}

constexpr double ExactLimit = 9007199254740992.0;  // 2^53

bool exactNumber(const plat::Value& v, double& number) {
    switch (v.kind()) {
        case plat::Value::Kind::Bool:
        case plat::Value::Kind::Double:
            number = v.asDouble();
            return true;
        case plat::Value::Kind::Integer: {
            const double d = static_cast<double>(v.asInteger());
            if (d <= -ExactLimit || d >= ExactLimit) return false;
            number = d;
            return true;
        }
        default:
            return false;
    }
}

const plat::Value* dictionaryEntry(const plat::Value& item, const std::string& key) {
    const auto& d = *item.asDictionary();
    auto it = d.find(key);
    return it == d.end() ? nullptr : &it->second;
}

plat::Value missing(const std::string& key) {
    plat::log(KivoReflector::missingKeyMessage(key));
    return {};
}

}  // namespace

const PropertyStep::Resolution& PropertyStep::resolveSlow(const plat::Object& o) const {
    // The type read last moves among the others, where the next type that misses would evict it only
    // after RememberedClasses others.
    const std::type_info* type = &typeid(o);
    const Entry previous = _last;
    for (auto& e : _others)
        if (e.type == type) {
            _last = e;
            e = previous;
            return _last.resolution;
        }
    Resolution r;
    if (const plat::Property* p = o.classInfo().findProperty(_key)) {
        r.property = p;
        if (p->isDataMember()) r.flags |= DataMember;
        if (exactInDouble(*p) && (!p->isDataMember() || p->hasDirectNumber())) r.flags |= Number;
        if (p->hasDirectString()) r.flags |= String;
    }
    if (previous.type) {
        _others[_nextSlot] = previous;
        _nextSlot = (_nextSlot + 1) % RememberedClasses;
    }
    _last = {type, r};
    return _last.resolution;
}

bool PropertyStep::dictionaryNumber(const plat::Value& item, double& number) const {
    const plat::Value* v = dictionaryEntry(item, _key);
    return v && exactNumber(*v, number);
}

bool PropertyStep::dictionaryString(const plat::Value& item, std::string_view& text) const {
    const plat::Value* v = dictionaryEntry(item, _key);
    if (!v || !v->isString()) return false;
    text = v->asString();
    return true;
}

bool PropertyStep::getterNumber(const plat::Property* property, const plat::Value& item, double& number) {
    const plat::ObjectPtr held = item.asObject();
    number = property->get(*held).asDouble();
    return true;
}

plat::Value PropertyStep::read(const plat::Value& item) const {
    switch (item.kind()) {
        case plat::Value::Kind::Nil:
            return plat::Value::null();
        case plat::Value::Kind::Dictionary: {
            const plat::Value* v = dictionaryEntry(item, _key);
            return v ? *v : plat::Value();
        }
        case plat::Value::Kind::Object: {
            if (const plat::Object* o = declaredObject(item)) {
                const Resolution& r = resolve(*o);
                if (!r.property) return missing(_key);
                // A data member runs no code of the item, which may then be read in place; a getter
                // may drop the slot that `item` refers to (an entry of the list that holds it).
                if (r.flags & DataMember) return r.property->get(*o);
                const plat::ObjectPtr held = item.asObject();
                return r.property->get(*held);
            }
            const plat::ObjectPtr held = item.asObject();
            return held->asDynamicObject()->getPropertyValue(_key);
        }
        default:
            try {
                const plat::Value held = item;
                return plat::valueForKey(held, _key);
            } catch (const plat::Exception&) {
                return missing(_key);
            }
    }
}

plat::Value PropertyStep::readProbed(const plat::Value& item) const {
    switch (item.kind()) {
        case plat::Value::Kind::Nil:
        case plat::Value::Kind::Dictionary:
            return read(item);
        case plat::Value::Kind::Object: {
            const plat::Object* o = declaredObject(item);
            if (!o) return read(item);
            const Resolution& r = resolve(*o);
            if (!r.property || (r.flags & DataMember)) return read(item);  // one read equals two
            // Kept apart from the cache, which the getter may change by reading through this step.
            const plat::Property* property = r.property;
            const plat::ObjectPtr held = item.asObject();
            try {
                property->get(*held);
            } catch (const plat::Exception&) {
                return missing(_key);
            }
            return property->get(*held);
        }
        default: {
            const plat::Value held = item;
            try {
                plat::valueForKey(held, _key);
            } catch (const plat::Exception&) {
                return missing(_key);
            }
            return plat::valueForKey(held, _key);
        }
    }
}

bool PropertyStep::readQuietly(const plat::Value& item, plat::Value& value) const {
    switch (item.kind()) {
        case plat::Value::Kind::Nil:
            value = plat::Value::null();
            return true;
        case plat::Value::Kind::Dictionary: {
            const plat::Value* v = dictionaryEntry(item, _key);
            value = v ? *v : plat::Value();
            return true;
        }
        case plat::Value::Kind::Object: {
            const plat::Object* o = declaredObject(item);
            if (!o) return false;
            const Resolution& r = resolve(*o);
            if (!(r.flags & DataMember)) return false;
            value = r.property->get(*o);
            return true;
        }
        default:
            return false;
    }
}

std::vector<PropertyStep> propertySteps(std::string_view path) {
    std::vector<PropertyStep> steps;
    size_t start = 0;
    while (true) {
        const size_t dot = path.find('.', start);
        steps.emplace_back(std::string(path.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start)));
        if (dot == std::string_view::npos) return steps;
        start = dot + 1;
    }
}

}  // namespace kivo::detail
