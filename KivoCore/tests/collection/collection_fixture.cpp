#include "collection/collection_fixture.h"

#include <utility>

#include "KivoCore/KivoPropertyInfo.h"

namespace kivo::detail {

PLAT_DEFINE_CLASS(Product, plat::Object, plat::property("name", &Product::name), plat::property("price", &Product::price),
                  plat::property("rating", &Product::rating), plat::property("released", &Product::released),
                  plat::property("active", &Product::active), plat::property("tags", &Product::tags),
                  plat::property("extra", &Product::extra))
PLAT_DEFINE_CLASS(Gadget, Product, plat::property("stock", &Gadget::stock), plat::property("maker", &Gadget::maker))

unsigned Record::answeredMethods() const {
    return GetPropertyValue | SetPropertyValue | GetPropertyDescriptors | GetPropertyNames;
}
plat::Value Record::getPropertyValue(const std::string& key) {
    auto it = values.find(key);
    return it == values.end() ? plat::Value() : it->second;
}
void Record::setPropertyValue(const std::string& key, const plat::Value& value) { values[key] = value; }
plat::ArrayPtr Record::getPropertyDescriptors() {
    auto list = std::make_shared<plat::Array>();
    for (const auto& [key, value] : values) list->push_back(std::make_shared<KivoPropertyInfo>(key, KivoDataTypeObject));
    return list;
}
std::vector<std::string> Record::getPropertyNames() {
    std::vector<std::string> keys;
    for (const auto& [key, value] : values) keys.push_back(key);
    return keys;
}
std::string Record::description() const {
    auto it = values.find("name");
    return it == values.end() ? "record" : it->second.asString();
}

std::shared_ptr<Product> product(const std::string& name, double price) { return std::make_shared<Product>(name, price); }
std::shared_ptr<Gadget> gadget(const std::string& name, double price) { return std::make_shared<Gadget>(name, price); }

std::shared_ptr<Product> made(const std::string& name, const std::string& maker, double price) {
    auto g = gadget(name, price);
    g->maker = maker;
    return g;
}

std::string tree(const KivoCollectionViewGroupList& groups) {
    std::string s;
    for (const auto& g : groups) {
        s += (s.empty() ? "" : " ") + g->name();
        s += g->isBottomLevel() ? "(" + names(g->items()) + ")" : "[" + tree(g->groups()) + "]";
    }
    return s;
}

bool CaseBlindDescription::namesMatch(const std::optional<std::string>& a, const std::optional<std::string>& b) const {
    auto lower = [](std::string s) {
        for (auto& ch : s) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        return s;
    };
    return a && b && lower(*a) == lower(*b);
}

plat::ArrayPtr listOf(std::initializer_list<plat::Value> items) { return std::make_shared<plat::Array>(items); }

std::string nameOf(const plat::Value& item) { return item.description(); }

std::string names(const plat::Array& items) { return kivo::testing::describeItems(items); }
std::string names(const plat::ArrayPtr& items) { return items ? names(*items) : "(nil)"; }

}  // namespace kivo::detail
