#include "collection/ItemKeyReader.h"

#include "KivoCore/KivoReflector.h"

namespace kivo::detail {

namespace {

// Members whose every value a double holds exactly; 64-bit integers are read through their value.
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

}  // namespace

ItemKeyReader::Resolved ItemKeyReader::resolve(const plat::Object& object) {
    const plat::ClassInfo& cls = object.classInfo();
    if (&cls != _class) {
        _class = &cls;
        _resolved = {};
        if (const plat::Property* p = cls.findProperty(_key)) _resolved = {p, p->hasDirectNumber() && exactInDouble(*p)};
    }
    return _resolved;
}

plat::Value ItemKeyReader::read(const plat::Value& item) {
    if (auto* dyn = plat::DynamicObject::answering(item, plat::DynamicObject::GetPropertyValue))
        return dyn->getPropertyValue(_key);
    if (item.isObject()) {
        plat::Object& o = *item.asObject();
        if (const plat::Property* p = resolve(o).property) return p->get(o);
    }
    return KivoReflector::getValue(item, _key);
}

bool ItemKeyReader::readNumber(const plat::Value& item, double& number) {
    if (!item.isObject() || plat::DynamicObject::answering(item, plat::DynamicObject::GetPropertyValue)) return false;
    const plat::Object& o = *item.asObject();
    Resolved r = resolve(o);
    if (!r.direct) return false;
    number = r.property->number(o);
    return true;
}

}  // namespace kivo::detail
