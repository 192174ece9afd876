#pragma once
// A dotted property path ("customer.address.city") evaluated against an item: it reads, writes and
// tells the kind of the value at the path's end, walking the path key by key the way the reflector
// reads a single key.

#include <string>
#include <vector>

#include "KivoCore/KivoCoreExport.h"
#include "Platform/foundation/object.h"

namespace kivo::detail {
class PropertyStep;
}

class KIVO_CORE_EXPORT KivoBinding : public plat::Object {
public:
    explicit KivoBinding(const std::string& path);
    KivoBinding(const KivoBinding& other);
    KivoBinding& operator=(const KivoBinding& other);
    ~KivoBinding() override;

    const std::string& path() const { return _path; }
    void setPath(const std::string& path);

    plat::Value getValueForTarget(const plat::Value& target) const;
    // Writes the last part on the owner the path leads to; a key the owner does not have, or a value
    // it cannot take, is logged and changes nothing.
    void setValue(const plat::Value& value, const plat::Value& target) const;
    // The declared type of the last part on its owner, not the type of the current value.
    std::int64_t getDataTypeForTarget(const plat::Value& target) const;

private:
    KIVO_CORE_NO_EXPORT plat::Value ownerOf(const plat::Value& target) const;

    std::string _path;
    // One per part of the path, each resolving its key once per class of owner.
    std::vector<kivo::detail::PropertyStep> _parts;
};
