#include "KivoCore/KivoBinding.h"

#include "KivoCore/KivoReflector.h"
#include "Platform/foundation/log.h"
#include "Platform/foundation/reflect.h"
#include "reflect/PropertyStep.h"

KivoBinding::KivoBinding(const std::string& path) { setPath(path); }
KivoBinding::KivoBinding(const KivoBinding& other) = default;
KivoBinding& KivoBinding::operator=(const KivoBinding& other) = default;
KivoBinding::~KivoBinding() = default;

void KivoBinding::setPath(const std::string& path) {
    _path = path;
    _parts = kivo::detail::propertySteps(path);
}

plat::Value KivoBinding::getValueForTarget(const plat::Value& target) const {
    // The first step reads the target in place: copying it would touch its reference count per item.
    plat::Value value = _parts.front().readProbed(target);
    for (size_t i = 1; i < _parts.size(); ++i) value = _parts[i].readProbed(value);
    return value;
}

plat::Value KivoBinding::ownerOf(const plat::Value& target) const {
    plat::Value owner = target;
    for (size_t i = 0; i + 1 < _parts.size(); ++i) owner = _parts[i].readProbed(owner);
    return owner;
}

void KivoBinding::setValue(const plat::Value& value, const plat::Value& target) const {
    plat::Value owner = ownerOf(target);
    const std::string& key = _parts.back().key();
    if (auto* dyn = plat::DynamicObject::answering(owner, plat::DynamicObject::SetPropertyValue)) {
        dyn->setPropertyValue(key, value);
        return;
    }
    // A write must never bring the application down: a key the owner lacks, or a value it cannot take,
    // is reported and ignored.
    try {
        plat::setValueForKey(owner, key, value);
    } catch (const plat::UndefinedKeyException&) {
        plat::log(KivoReflector::missingKeyMessage(key));
    } catch (const plat::Exception& e) {
        plat::log(std::string("Exception:") + e.what());
    }
}

std::int64_t KivoBinding::getDataTypeForTarget(const plat::Value& target) const {
    return KivoReflector::getProperty(ownerOf(target), _parts.back().key())->dataType();
}
