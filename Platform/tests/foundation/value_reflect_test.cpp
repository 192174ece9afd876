#include <gtest/gtest.h>

#include <cmath>

#include "Platform/foundation/reflect.h"

namespace {

class Item : public plat::Object {
public:
    PLAT_CLASS()
    double price = 0;
    int count = 0;
    bool active = false;
    std::string name;
    plat::Date when;
    std::optional<double> maybe;
    double total() const { return price * count; }
};
PLAT_DEFINE_CLASS(Item, plat::Object, plat::property("price", &Item::price), plat::property("count", &Item::count),
                  plat::property("active", &Item::active), plat::property("name", &Item::name),
                  plat::property("when", &Item::when), plat::property("maybe", &Item::maybe),
                  plat::property("total", &Item::total))

class SpecialItem : public Item {
public:
    PLAT_CLASS()
    std::shared_ptr<Item> parent;
};
PLAT_DEFINE_CLASS(SpecialItem, Item, plat::property("parent", &SpecialItem::parent))

}  // namespace

TEST(Value, NumbersCompareAcrossKindsAndNaNNever) {
    EXPECT_EQ(plat::Value(1), plat::Value(1.0));
    EXPECT_EQ(plat::Value(true), plat::Value(1));
    EXPECT_NE(plat::Value(NAN), plat::Value(NAN));
    EXPECT_NE(plat::Value("1"), plat::Value(1));
    EXPECT_EQ(plat::Value(), plat::Value(nullptr));
    EXPECT_NE(plat::Value(), plat::Value::null());
    EXPECT_EQ(plat::Value(plat::Array{1, "a"}), plat::Value(plat::Array{1.0, "a"}));
}

TEST(Value, IntegerViewOfOutOfRangeDoublesIsClamped) {
    EXPECT_EQ(plat::Value(1e300).asInteger(), INT64_MAX);
    EXPECT_EQ(plat::Value(-1e300).asInteger(), INT64_MIN);
    EXPECT_EQ(plat::Value(NAN).asInteger(), 0);
    EXPECT_TRUE(std::isnan(plat::Value("x").asDouble()));
}

TEST(Reflect, AttributeStringsAndOwnProperties) {
    const auto& props = Item::staticClassInfo().ownProperties();
    ASSERT_EQ(props.size(), 7u);
    EXPECT_EQ(props[0].attributes(), "Td,N,V_price");
    EXPECT_EQ(props[1].attributes(), "Ti,N,V_count");
    EXPECT_EQ(props[2].attributes(), "TB,N,V_active");
    EXPECT_EQ(props[3].attributes(), "T@\"NSString\",N,V_name");
    EXPECT_EQ(props[4].attributes(), "T@\"NSDate\",N,V_when");
    EXPECT_EQ(props[5].attributes(), "T@\"NSNumber\",N,V_maybe");
    EXPECT_EQ(props[6].attributes(), "Td,R,N,V_total");
    EXPECT_EQ(SpecialItem::staticClassInfo().ownProperties().size(), 1u);
    EXPECT_NE(SpecialItem::staticClassInfo().findProperty("price"), nullptr);
}

TEST(Reflect, KeyValueAccessOnObjectsDictionariesAndPaths) {
    auto child = std::make_shared<SpecialItem>();
    child->parent = std::make_shared<Item>();
    plat::Value v(child);
    plat::setValueForKey(v, "price", 2.5);
    plat::setValueForKey(v, "count", 4);
    EXPECT_EQ(plat::valueForKey(v, "total").asDouble(), 10.0);
    EXPECT_EQ(child->className(), "SpecialItem");
    plat::setValueForKeyPath(v, "parent.name", "root");
    EXPECT_EQ(plat::valueForKeyPath(v, "parent.name").asString(), "root");
    EXPECT_EQ(child->parent->name, "root");

    EXPECT_THROW(plat::valueForKey(v, "missing"), plat::UndefinedKeyException);
    EXPECT_THROW(plat::setValueForKey(v, "total", 1), plat::InvalidArgumentException);
    EXPECT_THROW(plat::setValueForKey(v, "count", NAN), plat::InvalidArgumentException);
    EXPECT_THROW(plat::setValueForKey(v, "count", 1e20), plat::InvalidArgumentException);
    EXPECT_THROW(plat::setValueForKey(v, "name", 3), plat::InvalidArgumentException);
    EXPECT_EQ(child->count, 4);
    EXPECT_THROW(plat::valueForKey(plat::Value::null(), "a"), plat::UndefinedKeyException);
    EXPECT_TRUE(plat::valueForKey(plat::Value(), "a").isNil());

    plat::Value dict(plat::Dictionary{{"a", 1}});
    EXPECT_EQ(plat::valueForKey(dict, "a"), plat::Value(1));
    EXPECT_TRUE(plat::valueForKey(dict, "b").isNil());
    plat::setValueForKey(dict, "b", "x");
    EXPECT_EQ(plat::valueForKey(dict, "b").asString(), "x");
}

TEST(Reflect, DirectNumberReadsAvoidBoxing) {
    Item it;
    it.count = 7;
    const auto* p = Item::staticClassInfo().findProperty("count");
    ASSERT_TRUE(p->hasDirectNumber());
    EXPECT_EQ(p->number(it), 7.0);
    EXPECT_FALSE(Item::staticClassInfo().findProperty("total")->hasDirectNumber());
}

TEST(Value, AMovedFromValueIsNil) {
    plat::Value a(plat::Array{1, 2});
    plat::Value b(std::move(a));
    EXPECT_TRUE(a.isNil());  // NOLINT(bugprone-use-after-move): the state after a move is the point
    EXPECT_EQ(a.description(), "(null)");
    plat::Value c;
    c = std::move(b);
    EXPECT_TRUE(b.isNil());  // NOLINT(bugprone-use-after-move)
    EXPECT_EQ(c, plat::Value(plat::Array{1, 2}));
}
