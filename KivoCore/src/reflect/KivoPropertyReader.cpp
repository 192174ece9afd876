#include "KivoCore/KivoPropertyReader.h"

#include "reflect/PropertyStep.h"

namespace {

// The owner of the last part, when the parts before it run no code and log nothing: the typed reads
// go no further than that, so that a false answer leaves read() to do everything exactly once.
bool lastOwnerQuietly(const std::vector<kivo::detail::PropertyStep>& steps, const plat::Value& item, plat::Value& owner) {
    owner = item;
    for (size_t i = 0; i + 1 < steps.size(); ++i) {
        plat::Value next;
        if (!steps[i].readQuietly(owner, next)) return false;
        owner = std::move(next);
    }
    return true;
}

}  // namespace

KivoPropertyReader::KivoPropertyReader(std::string_view path) : _path(path), _steps(kivo::detail::propertySteps(path)) {}

KivoPropertyReader::KivoPropertyReader(std::string_view key, KeyTag) : _path(key) { _steps.emplace_back(_path); }

KivoPropertyReader KivoPropertyReader::forKey(std::string_view key) { return KivoPropertyReader(key, KeyTag{}); }

KivoPropertyReader::KivoPropertyReader(const KivoPropertyReader& other) = default;
KivoPropertyReader& KivoPropertyReader::operator=(const KivoPropertyReader& other) = default;
KivoPropertyReader::KivoPropertyReader(KivoPropertyReader&&) noexcept = default;
KivoPropertyReader& KivoPropertyReader::operator=(KivoPropertyReader&&) noexcept = default;
KivoPropertyReader::~KivoPropertyReader() = default;

plat::Value KivoPropertyReader::read(const plat::Value& item) const {
    // The first part reads the item in place: holding it would touch its reference count per read.
    plat::Value value = _steps.front().read(item);
    for (size_t i = 1; i < _steps.size(); ++i) value = _steps[i].read(value);
    return value;
}

bool KivoPropertyReader::readNumber(const plat::Value& item, double& number) const {
    if (_steps.size() == 1) return _steps.front().readNumber(item, number);
    plat::Value owner;
    return lastOwnerQuietly(_steps, item, owner) && _steps.back().readNumber(owner, number);
}

bool KivoPropertyReader::readString(const plat::Value& item, std::string_view& text) const {
    if (_steps.size() == 1) return _steps.front().readString(item, text);
    // The text lives in the last owner, which the objects along the path keep alive.
    plat::Value owner;
    return lastOwnerQuietly(_steps, item, owner) && _steps.back().readString(owner, text);
}
