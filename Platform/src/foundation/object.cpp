#include "Platform/foundation/object.h"

#include <cstdio>

#include "Platform/foundation/reflect.h"

namespace plat {

Object::~Object() = default;

const ClassInfo& Object::staticClassInfo() {
    static const ClassInfo info("Object", nullptr, {});
    return info;
}

const ClassInfo& Object::classInfo() const { return staticClassInfo(); }

const std::string& Object::className() const { return classInfo().name(); }

bool Object::isKindOf(const ClassInfo& cls) const { return classInfo().isSubclassOf(cls); }

std::string Object::description() const {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%p", static_cast<const void*>(this));
    return "<" + className() + ": " + buf + ">";
}

DynamicObject* DynamicObject::answering(const Value& value, Method method) {
    if (!value.isObject()) return nullptr;
    DynamicObject* dyn = value.asObject()->asDynamicObject();
    return dyn && dyn->answers(method) ? dyn : nullptr;
}

Value DynamicObject::getPropertyValue(const std::string&) { return {}; }
void DynamicObject::setPropertyValue(const std::string&, const Value&) {}
ArrayPtr DynamicObject::getPropertyDescriptors() { return nullptr; }
std::vector<std::string> DynamicObject::getPropertyNames() { return {}; }

}  // namespace plat
