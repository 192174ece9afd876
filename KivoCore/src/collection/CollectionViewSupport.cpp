#include "collection/CollectionViewSupport.h"

#include <algorithm>

#include "Platform/foundation/reflect.h"

namespace kivo::detail {

size_t indexOfEqual(const plat::Array& list, const plat::Value& item) {
    auto it = std::find_if(list.begin(), list.end(), [&](const plat::Value& v) { return v.isEqual(item); });
    return it == list.end() ? plat::NotFound : static_cast<size_t>(it - list.begin());
}

size_t indexOfIdentical(const plat::Array& list, const plat::Value& item) {
    auto it = std::find_if(list.begin(), list.end(), [&](const plat::Value& v) { return v.isIdentical(item); });
    return it == list.end() ? plat::NotFound : static_cast<size_t>(it - list.begin());
}

std::vector<std::shared_ptr<KivoGroupDescription>> groupDescriptionsOf(const KivoObservableArray& descriptions) {
    std::vector<std::shared_ptr<KivoGroupDescription>> list;
    for (const auto& entry : descriptions)
        if (auto d = entry.as<KivoGroupDescription>()) list.push_back(std::move(d));
    return list;
}

std::string describeException(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "an exception of an unknown type";
    }
}

plat::Value defaultInstanceLike(const plat::Value& like) {
    using K = plat::Value::Kind;
    switch (like.kind()) {
        case K::Null:
            return plat::Value::null();
        case K::Bool:
            return false;
        case K::Integer:
            return 0;
        case K::Double:
            return 0.0;
        case K::String:
            return std::string();
        case K::Date:
            return plat::Date::now();
        case K::Array:
            return plat::Array{};
        case K::Dictionary:
            return plat::Dictionary{};
        case K::Object:
            return like.asObject()->classInfo().newInstance();
        default:
            return {};
    }
}

}  // namespace kivo::detail
