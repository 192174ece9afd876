#pragma once
// The description of one property of an application item: name, data type and read-only flag.

#include <memory>
#include <string>

#include "KivoCore/KivoCoreExport.h"
#include "KivoCore/KivoDataType.h"
#include "Platform/foundation/object.h"

class KIVO_CORE_EXPORT KivoPropertyInfo : public plat::Object {
public:
    explicit KivoPropertyInfo(std::string name, std::int64_t dataType = KivoDataTypeNone, bool isReadOnly = false)
        : _name(std::move(name)), _dataType(dataType), _isReadOnly(isReadOnly) {}

    const std::string& name() const { return _name; }
    void setName(std::string name) { _name = std::move(name); }
    std::int64_t dataType() const { return _dataType; }
    void setDataType(std::int64_t type) { _dataType = type; }
    bool isReadOnly() const { return _isReadOnly; }
    void setIsReadOnly(bool readOnly) { _isReadOnly = readOnly; }

    // Sets the data type from the runtime's attribute string of a declared property ("Td,N,V_x");
    // types it does not know leave the data type as it was. Never touches the read-only flag.
    void parseAttributes(const std::string& attributes);

private:
    std::string _name;
    std::int64_t _dataType;
    bool _isReadOnly;
};

using KivoPropertyInfoList = std::vector<std::shared_ptr<KivoPropertyInfo>>;
