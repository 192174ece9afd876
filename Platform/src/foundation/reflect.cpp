#include "Platform/foundation/reflect.h"

#include "foundation/nesting_level.h"

namespace plat {

Property::Property(std::string name, std::string attributes, Getter get, MemberRef ref, Setter set, bool isDataMember)
    : _name(std::move(name)),
      _attributes(std::move(attributes)),
      _get(get),
      _ref(ref),
      _set(std::move(set)),
      _isDataMember(isDataMember) {}

void Property::set(Object& o, const Value& v) const {
    if (!_set) throw InvalidArgumentException("the property " + _name + " is read-only");
    if (!_set(o, v)) throw InvalidArgumentException("the value " + v.description() + " does not fit the property " + _name);
}

ClassInfo::ClassInfo(std::string name, const ClassInfo* base, std::vector<Property> properties, Factory factory,
                     bool ownDescription)
    : _name(std::move(name)), _base(base), _properties(std::move(properties)), _factory(factory), _ownDescription(ownDescription) {}

const Property* ClassInfo::ownProperty(std::string_view name) const {
    for (const auto& p : _properties)
        if (p.name() == name) return &p;
    return nullptr;
}

const Property* ClassInfo::findProperty(std::string_view name) const {
    for (const ClassInfo* c = this; c; c = c->_base)
        if (const Property* p = c->ownProperty(name)) return p;
    return nullptr;
}

bool ClassInfo::isSubclassOf(const ClassInfo& other) const {
    for (const ClassInfo* c = this; c; c = c->_base)
        if (c == &other) return true;
    return false;
}

namespace {

std::string targetClassName(const Value& target) {
    switch (target.kind()) {
        case Value::Kind::Object:
            return target.asObject()->className();
        case Value::Kind::Null:
            return "Null";
        case Value::Kind::String:
            return "String";
        case Value::Kind::Date:
            return "Date";
        default:
            return target.isNumber() ? "Number" : "Value";
    }
}

std::pair<std::string_view, std::string_view> splitLast(std::string_view path) {
    auto dot = path.rfind('.');
    if (dot == std::string_view::npos) return {{}, path};
    return {path.substr(0, dot), path.substr(dot + 1)};
}

Value readKey(const Value& target, std::string_view key, const detail::NestingLevel* up) {
    switch (target.kind()) {
        case Value::Kind::Nil:
            return {};
        case Value::Kind::Dictionary: {
            const auto& d = *target.asDictionary();
            auto it = d.find(key);
            return it == d.end() ? Value() : it->second;
        }
        case Value::Kind::Array: {
            // Held, and walked by index: an element's getter may drop or grow the array.
            const ArrayPtr array = target.asArray();
            const detail::NestingLevel level(array.get(), nullptr, up);
            if (level.isCycle() || level.isTooDeep())
                throw InvalidArgumentException("the array contains itself or nests deeper than " +
                                               std::to_string(MaxNestingDepth) + " levels: cannot read the key " +
                                               std::string(key) + " of its elements");
            auto out = std::make_shared<Array>();
            out->reserve(array->size());
            for (std::size_t i = 0; i < array->size(); ++i) {
                const Value element = (*array)[i];
                Value v = readKey(element, key, &level);
                out->push_back(v.isNil() ? Value::null() : std::move(v));
            }
            return Value(out);
        }
        case Value::Kind::Object: {
            const ObjectPtr object = target.asObject();  // the getter may let go of the slot `target` is in
            if (const Property* p = object->classInfo().findProperty(key)) return p->get(*object);
            // Every object answers its description, declared or not.
            if (key == "description") return Value(object->description());
            break;
        }
        default:
            // A text, number, date or null answers its description, as every platform object does.
            if (key == "description") return Value(target.description());
            break;
    }
    throw UndefinedKeyException(std::string(key), targetClassName(target));
}

}  // namespace

Value valueForKey(const Value& target, std::string_view key) { return readKey(target, key, nullptr); }

void setValueForKey(const Value& target, std::string_view key, const Value& value) {
    switch (target.kind()) {
        case Value::Kind::Nil:
            return;
        case Value::Kind::Dictionary: {
            auto& d = *target.asDictionary();
            if (value.isNil()) {
                auto it = d.find(key);
                if (it != d.end()) d.erase(it);
            } else {
                d.insert_or_assign(std::string(key), value);
            }
            return;
        }
        case Value::Kind::Object: {
            Object& o = *target.asObject();
            if (const Property* p = o.classInfo().findProperty(key)) return p->set(o, value);
            break;
        }
        default:
            break;
    }
    throw UndefinedKeyException(std::string(key), targetClassName(target));
}

Value valueForKeyPath(const Value& target, std::string_view path) {
    Value cur = target;
    size_t start = 0;
    while (true) {
        size_t dot = path.find('.', start);
        cur = valueForKey(cur, path.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start));
        if (dot == std::string_view::npos) return cur;
        start = dot + 1;
    }
}

void setValueForKeyPath(const Value& target, std::string_view path, const Value& value) {
    auto [owner, last] = splitLast(path);
    setValueForKey(owner.empty() ? target : valueForKeyPath(target, owner), last, value);
}

}  // namespace plat
