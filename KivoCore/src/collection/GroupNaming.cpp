#include "collection/GroupNaming.h"

#include <bit>
#include <typeinfo>

#include "KivoCore/KivoCollectionViewGroup.h"
#include "KivoCore/KivoPropertyGroupDescription.h"
#include "KivoCore/KivoReflector.h"

namespace kivo::detail {

namespace {

std::uint64_t scalarBits(const plat::Value& v) {
    switch (v.kind()) {
        case plat::Value::Kind::Bool:
            return v.asBool();
        case plat::Value::Kind::Integer:
            return static_cast<std::uint64_t>(v.asInteger());
        case plat::Value::Kind::Double:
            return std::bit_cast<std::uint64_t>(v.asDouble());
        case plat::Value::Kind::Date:
            return std::bit_cast<std::uint64_t>(v.asDate().seconds);
        default:
            return 0;
    }
}

bool isScalar(plat::Value::Kind k) {
    using K = plat::Value::Kind;
    return k == K::Nil || k == K::Null || k == K::Bool || k == K::Integer || k == K::Double || k == K::Date;
}

}  // namespace

GroupLevel::GroupLevel(std::shared_ptr<KivoGroupDescription> description, std::uint32_t depth, bool isBottom)
    : _description(std::move(description)),
      _depth(depth),
      _isBottom(isBottom),
      _byEquality(typeid(*_description) == typeid(KivoGroupDescription) ||
                  typeid(*_description) == typeid(KivoPropertyGroupDescription)) {
    auto* property = dynamic_cast<const KivoPropertyGroupDescription*>(_description.get());
    if (property && typeid(*property) == typeid(KivoPropertyGroupDescription) && !property->converter())
        _reader = std::make_unique<ItemKeyReader>(property->property());
    _emptyName = intern(std::string());
}

std::uint32_t GroupLevel::intern(const std::string& name) {
    auto [it, added] = _ids.try_emplace(name, static_cast<std::uint32_t>(_names.size()));
    if (added) _names.push_back(name);
    return it->second;
}

std::optional<std::string> GroupLevel::name(std::uint32_t id) const {
    if (id >= _names.size()) return std::nullopt;
    return _names[id];
}

bool GroupLevel::namesMatch(const KivoCollectionViewGroup& group, std::uint32_t id) const {
    return _description->namesMatch(group.name(), name(id));
}

std::uint32_t GroupLevel::nameOf(const plat::Value& item) {
    if (!_reader) {
        std::optional<std::string> name = _description->groupNameFromItem(item, _depth);
        if (!name) {
            _sawNil = true;
            return NilName;
        }
        return intern(*name);
    }
    std::uint32_t id;
    if (byNumber(item, id)) return id;
    std::string_view text;
    if (_reader->readString(item, text)) return byText(text);
    return byValue(_reader->read(item));
}

bool GroupLevel::byNumber(const plat::Value& item, std::uint32_t& id) {
    double number;
    if (!_reader || !_reader->readNumber(item, number)) return false;
    id = nameOfNumber(number);
    return true;
}

std::uint32_t GroupLevel::nameNewNumber(double number) {
    std::uint32_t id = intern(KivoReflector::formatValue(plat::Value(number)));
    _byScalar[static_cast<size_t>(plat::Value::Kind::Double)].insert(std::bit_cast<std::uint64_t>(number), id);
    return id;
}

std::uint32_t GroupLevel::byText(std::string_view text) {
    std::uint64_t hash = TextIndex::hashOf(text);
    std::uint32_t id = _byString.find(text, hash);
    if (id != ScalarIndex::Empty) return id;
    id = intern(KivoReflector::formatValue(plat::Value(text)));  // once per distinct text
    _byString.insert(text, hash, id);
    return id;
}

std::uint32_t GroupLevel::byValue(const plat::Value& value) {
    if (value.isString()) return byText(value.asString());
    if (!isScalar(value.kind())) return intern(KivoReflector::formatValue(value));
    ScalarIndex& index = _byScalar[static_cast<size_t>(value.kind())];
    std::uint64_t bits = scalarBits(value);
    std::uint32_t id = index.find(bits);
    if (id != ScalarIndex::Empty) return id;
    id = intern(KivoReflector::formatValue(value));
    index.insert(bits, id);
    return id;
}

}  // namespace kivo::detail
