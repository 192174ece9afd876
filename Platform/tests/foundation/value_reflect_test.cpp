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

// The class a value reports is the object's own, however the pointer it was made from was typed.
TEST(Value, KnowsTheRuntimeClassOfItsObject) {
    const auto special = std::make_shared<SpecialItem>();
    const plat::Value typedAsRoot{plat::ObjectPtr(special)};
    EXPECT_EQ(typedAsRoot.objectClass(), &SpecialItem::staticClassInfo());
    EXPECT_EQ(plat::Value(std::make_shared<Item>()).objectClass(), &Item::staticClassInfo());
    plat::Array list{typedAsRoot, 3, "text"};
    list.insert(list.begin(), plat::Value());  // shifts the object along
    EXPECT_EQ(list[1].objectClass(), &SpecialItem::staticClassInfo());
    EXPECT_EQ(list[2].objectClass(), nullptr);
    EXPECT_EQ(list[3].objectClass(), nullptr);
}

namespace {

// One member of every numeric width, to write out-of-range values into.
class Widths : public plat::Object {
public:
    PLAT_CLASS()
    std::int8_t i8 = 1;
    std::uint8_t u8 = 1;
    std::int16_t i16 = 1;
    std::uint16_t u16 = 1;
    std::int32_t i32 = 1;
    std::uint32_t u32 = 1;
    std::int64_t i64 = 1;
    std::uint64_t u64 = 1;
    float f = 1;
};
PLAT_DEFINE_CLASS(Widths, plat::Object, plat::property("i8", &Widths::i8), plat::property("u8", &Widths::u8),
                  plat::property("i16", &Widths::i16), plat::property("u16", &Widths::u16), plat::property("i32", &Widths::i32),
                  plat::property("u32", &Widths::u32), plat::property("i64", &Widths::i64), plat::property("u64", &Widths::u64),
                  plat::property("f", &Widths::f))

}  // namespace

TEST(Reflect, NumbersThatDoNotFitTheMemberAreRefusedAtEveryWidth) {
    struct Case {
        const char* key;
        plat::Value value;
        bool fits;
    } cases[] = {
        {"i8", 127, true},
        {"i8", -128, true},
        {"i8", 300, false},
        {"i8", -129, false},
        {"i8", 127.9, true},
        {"i8", 128.0, false},
        {"u8", 255, true},
        {"u8", 300, false},
        {"u8", -1, false},
        {"u8", 256.0, false},
        {"u8", -0.5, true},
        {"i16", 40000, false},
        {"i16", -32768, true},
        {"u16", 65535, true},
        {"u16", 70000, false},
        {"i32", 3000000000LL, false},
        {"i32", -2147483648LL, true},
        {"u32", 4294967295LL, true},
        {"u32", 10000000000LL, false},
        {"u32", 1e10, false},
        {"i64", INT64_MIN, true},
        {"i64", 9223372036854775808.0, false},
        {"i64", -9223372036854775808.0, true},
        {"u64", INT64_MAX, true},
        {"u64", -1, false},
        {"u64", 18446744073709551616.0, false},
        {"u64", 18446744073709549568.0, true},
        {"f", 1e300, false},
        {"f", -1e300, false},
        {"f", 3.5e38, false},
        {"f", 3.4e38, true},
        {"f", INFINITY, true},
        {"f", 0.1, true},
    };
    for (const auto& c : cases) {
        auto w = std::make_shared<Widths>();
        plat::Value target(w);
        const plat::Value before = plat::valueForKey(target, c.key);
        if (c.fits) {
            EXPECT_NO_THROW(plat::setValueForKey(target, c.key, c.value)) << c.key << " " << c.value.description();
        } else {
            EXPECT_THROW(plat::setValueForKey(target, c.key, c.value), plat::InvalidArgumentException)
                << c.key << " " << c.value.description();
            EXPECT_EQ(plat::valueForKey(target, c.key), before) << c.key << " keeps its value";
        }
    }
    // Reading back: an unsigned value past the signed range does not turn negative.
    Widths w;
    w.u64 = UINT64_MAX;
    EXPECT_EQ(Widths::staticClassInfo().findProperty("u64")->get(w).asDouble(), 18446744073709551615.0);
}

TEST(Value, CyclicArraysCompareDescribeAndReadWithoutEndlessRecursion) {
    // Each array holds itself twice: without cycle detection even a depth bound would take 2^depth steps.
    auto a = std::make_shared<plat::Array>(), b = std::make_shared<plat::Array>(), c = std::make_shared<plat::Array>();
    *a = {plat::Value(a), plat::Value(a), 1};
    *b = {plat::Value(b), plat::Value(b), 1};
    *c = {plat::Value(c), plat::Value(c), 2};
    EXPECT_TRUE(plat::Value(a).isEqual(plat::Value(b))) << "no finite look tells them apart";
    EXPECT_FALSE(plat::Value(a).isEqual(plat::Value(c)));
    EXPECT_EQ(plat::Value(a).description(), "(..., ..., 1)");
    EXPECT_THROW(plat::valueForKey(plat::Value(a), "count"), plat::InvalidArgumentException);
    EXPECT_THROW(plat::valueForKeyPath(plat::Value(plat::Array{plat::Value(b)}), "x.y"), plat::InvalidArgumentException);
    for (const auto& array : {a, b, c}) array->clear();  // break the cycles, or they leak
}

TEST(Value, NestingPastTheBoundEndsEveryRecursiveWalk) {
    auto nest = [](int depth) {
        plat::Value v(plat::Array{});
        for (int i = 1; i < depth; ++i) v = plat::Value(plat::Array{v});
        return v;
    };
    EXPECT_TRUE(nest(100).isEqual(nest(100)));
    EXPECT_EQ(nest(3).description(), "((()))");

    const plat::Value deep = nest(plat::MaxNestingDepth + 10);
    EXPECT_FALSE(deep.isEqual(nest(plat::MaxNestingDepth + 10))) << "too deep to compare";
    EXPECT_TRUE(deep.isEqual(deep)) << "the same container still equals itself";
    EXPECT_EQ(deep.description(), std::string(plat::MaxNestingDepth, '(') + "..." + std::string(plat::MaxNestingDepth, ')'));
    EXPECT_THROW(plat::valueForKey(deep, "count"), plat::InvalidArgumentException);
    EXPECT_NO_THROW(plat::valueForKey(nest(plat::MaxNestingDepth), "count"));
}
