#pragma once
// Reads, lists and classifies the values of application items by property name. Items are model
// objects with declared properties, dictionaries, or objects answering the dynamic-object methods
// (asked through those instead). A missing key is logged and reads as nil.

#include <memory>
#include <string>

#include "KivoCore/KivoCoreExport.h"
#include "KivoCore/KivoDataType.h"
#include "KivoCore/KivoPropertyInfo.h"
#include "Platform/foundation/value.h"

class KIVO_CORE_EXPORT KivoReflector {
public:
    KivoReflector() = delete;

    // The kind of the platform's boxed Booleans, which classify apart from other numbers.
    static plat::Value::Kind boolClass() { return plat::Value::Kind::Bool; }

    // nil object → the null value; a dynamic object → its getPropertyValue; otherwise key-value access
    // (the getter runs twice: a guarded probe, then the read); a missing key logs
    // "Exception:the key <key> is not available!" and reads nil.
    static plat::Value getValue(const plat::Value& object, const std::string& key);
    static std::int64_t getDataType(const plat::Value& value);
    static KivoPropertyInfoList getProperties(const plat::Value& object);
    static std::shared_ptr<KivoPropertyInfo> getProperty(const plat::Value& object, const std::string& name);
    // nil → ""; numbers in the decimal style with at most 2 fraction digits; dates as the short date;
    // anything else its description. Current locale.
    static std::string formatValue(const plat::Value& value);
    // Copies every listed property of `source` onto `target` (the collection view's edit snapshots).
    static void shallowCopyTo(const plat::Value& target, const plat::Value& source);

    // The log line of a missing key.
    static std::string missingKeyMessage(const std::string& key);
};
