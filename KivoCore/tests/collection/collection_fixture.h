#pragma once
// Items for the collection-view tests: a model class and a subclass with number, string, date,
// Boolean and array properties, an item answering the dynamic-object methods, and small helpers.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "KivoCore/KivoCollectionView.h"
#include "KivoCore/KivoPropertyGroupDescription.h"
#include "KivoCore/testing/collection_change_tester.h"
#include "Platform/foundation/reflect.h"
#include "Platform/testing/pinned_locale.h"

namespace kivo::detail {

using kivo::testing::AnnouncementLog;

class Product : public plat::Object {
public:
    PLAT_CLASS()
    Product() = default;
    Product(std::string name, double price) : name(std::move(name)), price(price) {}

    std::string name;
    double price = 0;
    std::optional<double> rating;  // may hold no number
    plat::Date released;
    bool active = false;
    plat::Array tags;
    plat::Value extra;  // any kind: for mixed-kind sorting
    std::string description() const override { return name; }
};

class Gadget : public Product {
public:
    PLAT_CLASS()
    using Product::Product;
    std::int64_t stock = 0;
    std::string maker;
};

// An item that keeps its values in a map and answers all four dynamic-object methods.
class Record : public plat::DynamicObject {
public:
    explicit Record(std::map<std::string, plat::Value> values) : values(std::move(values)) {}
    unsigned answeredMethods() const override;
    plat::Value getPropertyValue(const std::string& key) override;
    void setPropertyValue(const std::string& key, const plat::Value& value) override;
    plat::ArrayPtr getPropertyDescriptors() override;
    std::vector<std::string> getPropertyNames() override;
    std::string description() const override;

    std::map<std::string, plat::Value> values;
};

std::shared_ptr<Product> product(const std::string& name, double price = 0);
std::shared_ptr<Gadget> gadget(const std::string& name, double price = 0);
// A gadget by a maker.
std::shared_ptr<Product> made(const std::string& name, const std::string& maker, double price);
plat::ArrayPtr listOf(std::initializer_list<plat::Value> items);
// The items' descriptions joined by spaces ("a b c"): model objects show their names.
std::string names(const plat::Array& items);
std::string names(const plat::ArrayPtr& items);
std::string nameOf(const plat::Value& item);

using plat::testing::PinnedLocale;

// The group tree as text: "A(a c) B(b)" for one level, "X[A(a) B(b)]" for two.
std::string tree(const KivoCollectionViewGroupList& groups);

// Groups names that differ only in case together: a description whose names do not match by plain
// equality, so the view must ask it for every comparison.
class CaseBlindDescription : public KivoPropertyGroupDescription {
public:
    using KivoPropertyGroupDescription::KivoPropertyGroupDescription;
    bool namesMatch(const std::optional<std::string>& a, const std::optional<std::string>& b) const override;
};

}  // namespace kivo::detail
