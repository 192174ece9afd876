#pragma once
// The root class of the platform's objects: shared ownership, a runtime class with its declared
// properties, kind-of tests, equality and description. Application model classes derive from it.

#include <memory>
#include <string>

#include "Platform/PlatformExport.h"
#include "Platform/foundation/value.h"

namespace plat {

class ClassInfo;
class DynamicObject;

// Declares a class to the runtime; put it in the public section of a class derived from Object and
// define the table with PLAT_DEFINE_CLASS in the source file.
#define PLAT_CLASS()                                   \
    static const ::plat::ClassInfo& staticClassInfo(); \
    const ::plat::ClassInfo& classInfo() const override { return staticClassInfo(); }

class PLAT_EXPORT Object : public std::enable_shared_from_this<Object> {
public:
    Object() = default;
    Object(const Object&) = default;
    Object& operator=(const Object&) = default;
    virtual ~Object();

    static const ClassInfo& staticClassInfo();
    virtual const ClassInfo& classInfo() const;
    const std::string& className() const;
    bool isKindOf(const ClassInfo& cls) const;

    // Identity unless a subclass defines value equality.
    virtual bool isEqual(const Object& other) const { return this == &other; }
    virtual std::string description() const;

    // Non-null when the object answers any of the dynamic-object methods.
    virtual DynamicObject* asDynamicObject() { return nullptr; }
    const DynamicObject* asDynamicObject() const { return const_cast<Object*>(this)->asDynamicObject(); }

protected:
    // Held for the length of a member that calls application code (a delegate, an event handler, a
    // formatter): that code may drop the last reference to this object, which must live on until the
    // member returns. Empty for an object that no shared pointer owns.
    std::shared_ptr<const Object> keepAlive() const { return weak_from_this().lock(); }
};

// The dynamic-object methods that an application item may answer in place of its declared properties
// (a host layer hands in items that are not native objects this way). `answeredMethods` says which
// of the four the object answers; the others are never called.
class PLAT_EXPORT DynamicObject : public Object {
public:
    enum Method : unsigned { GetPropertyValue = 1, SetPropertyValue = 2, GetPropertyDescriptors = 4, GetPropertyNames = 8 };

    virtual unsigned answeredMethods() const = 0;
    bool answers(Method m) const { return (answeredMethods() & m) != 0; }
    // The dynamic object held by `value` when it answers `method`, else null.
    static DynamicObject* answering(const Value& value, Method method);

    virtual Value getPropertyValue(const std::string& key);
    virtual void setPropertyValue(const std::string& key, const Value& value);
    // A list of property-descriptor objects (the core's property info class).
    virtual ArrayPtr getPropertyDescriptors();
    virtual std::vector<std::string> getPropertyNames();

    DynamicObject* asDynamicObject() override { return this; }
};

}  // namespace plat
