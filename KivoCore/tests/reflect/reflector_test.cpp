#include <gtest/gtest.h>

#include <functional>

#include "KivoCore/KivoBinding.h"
#include "KivoCore/KivoReflector.h"
#include "Platform/foundation/reflect.h"
#include "Platform/testing/log_capture.h"
#include "Platform/testing/pinned_locale.h"

namespace {

class Part : public plat::Object {
public:
    PLAT_CLASS()
    double weight = 0;
    int64_t count = 0;
    bool fragile = false;
    std::string label;
    plat::Date made;
    plat::Array tags;
    std::optional<double> price;
    std::shared_ptr<Part> child;
    // A getter with a visible side effect.
    double probed() const { return ++probes; }
    mutable int probes = 0;
};
PLAT_DEFINE_CLASS(Part, plat::Object, plat::property("weight", &Part::weight), plat::property("count", &Part::count),
                  plat::property("fragile", &Part::fragile), plat::property("label", &Part::label),
                  plat::property("made", &Part::made), plat::property("tags", &Part::tags), plat::property("price", &Part::price),
                  plat::property("child", &Part::child), plat::property("probed", &Part::probed))

class Bolt : public Part {
public:
    PLAT_CLASS()
    int thread = 0;
    std::uint8_t grade = 1;
};
PLAT_DEFINE_CLASS(Bolt, Part, plat::property("thread", &Bolt::thread), plat::property("grade", &Bolt::grade))

// An item that answers the dynamic-object methods chosen by `methods`.
class Bag : public plat::DynamicObject {
public:
    explicit Bag(unsigned methods) : methods(methods) {}
    unsigned answeredMethods() const override { return methods; }
    plat::Value getPropertyValue(const std::string& key) override {
        ++reads;
        auto it = values.find(key);
        return it == values.end() ? plat::Value() : it->second;
    }
    void setPropertyValue(const std::string& key, const plat::Value& v) override { values[key] = v; }
    plat::ArrayPtr getPropertyDescriptors() override {
        return std::make_shared<plat::Array>(plat::Array{std::make_shared<KivoPropertyInfo>("a", KivoDataTypeDate, true),
                                                         std::make_shared<KivoPropertyInfo>("b", KivoDataTypeString)});
    }
    std::vector<std::string> getPropertyNames() override { return {"x", "y"}; }
    unsigned methods;
    int reads = 0;
    std::map<std::string, plat::Value> values;
};

// An item whose getter grows the list that holds it (moving every element) or empties it (dropping
// the item itself), while the reader still has the item in hand.
class Shifty : public plat::Object {
public:
    PLAT_CLASS()
    std::int64_t shift() const {
        auto l = list.lock();
        if (drop)
            l->clear();
        else
            l->reserve(l->capacity() * 2 + 16);
        return 7;
    }
    std::weak_ptr<plat::Array> list;
    bool drop = false;
};
PLAT_DEFINE_CLASS(Shifty, plat::Object, plat::property("shift", &Shifty::shift))

constexpr unsigned AllMethods = plat::DynamicObject::GetPropertyValue | plat::DynamicObject::SetPropertyValue |
                                plat::DynamicObject::GetPropertyDescriptors | plat::DynamicObject::GetPropertyNames;

}  // namespace

TEST(KivoReflector, GetterRunsTwiceOnPlainObjectsAndOnceOnDynamicOnes) {
    auto part = std::make_shared<Part>();
    EXPECT_EQ(KivoReflector::getValue(part, "probed").asDouble(), 2.0);
    EXPECT_EQ(part->probes, 2);
    auto bag = std::make_shared<Bag>(AllMethods);
    bag->values["k"] = 5;
    EXPECT_EQ(KivoReflector::getValue(bag, "k"), plat::Value(5));
    EXPECT_EQ(bag->reads, 1);
}

TEST(KivoReflector, ReadersHoldTheItemWhileItsGetterMovesOrDropsIt) {
    const std::function<plat::Value(const plat::Value&)> readers[] = {
        [](const plat::Value& item) { return KivoReflector::getValue(item, "shift"); },
        [](const plat::Value& item) { return KivoBinding("shift").getValueForTarget(item); },
    };
    for (const auto& read : readers) {
        for (bool drop : {false, true}) {
            auto list = std::make_shared<plat::Array>();
            auto item = std::make_shared<Shifty>();
            item->list = list;
            item->drop = drop;
            list->push_back(plat::Value(std::move(item)));
            // The reader gets the very slot in the list, which the getter moves or empties.
            EXPECT_EQ(read((*list)[0]), plat::Value(7)) << (drop ? "dropped" : "moved");
        }
    }
}

TEST(KivoReflector, MissingKeyIsLoggedAndReadsNil) {
    plat::testing::LogCapture log;
    auto part = std::make_shared<Part>();
    EXPECT_TRUE(KivoReflector::getValue(part, "nope").isNil());
    EXPECT_TRUE(KivoReflector::getValue(plat::Value::null(), "weight").isNil());
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"Exception:the key nope is not available!",
                                                     "Exception:the key weight is not available!"}));
    EXPECT_TRUE(KivoReflector::getValue(plat::Value(), "weight").isNull());
    EXPECT_EQ(KivoReflector::getDataType(plat::Value::null()), KivoDataTypeObject);
}

TEST(KivoReflector, ReadsDictionariesAndInheritedKeys) {
    plat::Value row(plat::Dictionary{{"name", "Ann"}, {"age", 31}});
    EXPECT_EQ(KivoReflector::getValue(row, "name").asString(), "Ann");
    EXPECT_TRUE(KivoReflector::getValue(row, "missing").isNil());
    auto bolt = std::make_shared<Bolt>();
    bolt->weight = 2.5;
    EXPECT_EQ(KivoReflector::getValue(bolt, "weight").asDouble(), 2.5);
    // Alternating classes and keys must not confuse the lookup cache.
    auto part = std::make_shared<Part>();
    part->weight = 1;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(KivoReflector::getValue(part, "weight").asDouble(), 1);
        EXPECT_EQ(KivoReflector::getValue(bolt, "weight").asDouble(), 2.5);
        EXPECT_EQ(KivoReflector::getValue(bolt, "thread").asInteger(), 0);
    }
}

TEST(KivoReflector, ClassifiesValues) {
    struct Case {
        plat::Value v;
        std::int64_t type;
    } cases[] = {{plat::Value(), 0},
                 {plat::Value(true), 4},
                 {plat::Value(1), 3},
                 {plat::Value(1.5), 3},
                 {plat::Value("s"), 2},
                 {plat::Value(plat::Date(5)), 5},
                 {plat::Value(plat::Array{}), 6},
                 {plat::Value(plat::Dictionary{}), 1},
                 {plat::Value(std::make_shared<Part>()), 1}};
    for (const auto& c : cases) EXPECT_EQ(KivoReflector::getDataType(c.v), c.type) << c.v.description();
}

TEST(KivoPropertyInfo, ParseAttributesTable) {
    struct Case {
        const char* attributes;
        std::int64_t type;
    } cases[] = {
        {"T@\"NSNumber\",&,N,V_n", 3},
        {"T@\"NSDate\",&,N,V_d", 5},
        {"T@\"NSString\",C,N,V_s", 2},
        {"TI,N", 3},
        {"TL,N", 3},
        {"TQ,N", 3},
        {"TS,N", 3},
        {"Td,N", 3},
        {"Tf,N", 3},
        {"Ti,N", 3},
        {"Tl,N", 3},
        {"Tq,N", 3},
        {"Ts,N", 3},
        {"TB,N", 4},
        {"TC,N", 4},
        {"Tc,N", 4},
        {"T@\"NSArray\",&,N", -1},
        {"T{CGRect=dddd},N", -1},
        {"T^v,N", -1},
        {"T", -1},
        {"", -1},
    };
    for (const auto& c : cases) {
        KivoPropertyInfo info("p", -1, true);
        info.parseAttributes(c.attributes);
        EXPECT_EQ(info.dataType(), c.type) << c.attributes;
        EXPECT_TRUE(info.isReadOnly());
    }
}

TEST(KivoReflector, ListsOnlyTheClassesOwnPropertiesNeverReadOnly) {
    auto props = KivoReflector::getProperties(std::make_shared<Bolt>());
    ASSERT_EQ(props.size(), 2u);
    EXPECT_EQ(props[0]->name(), "thread");
    EXPECT_EQ(props[0]->dataType(), KivoDataTypeNumber);

    props = KivoReflector::getProperties(std::make_shared<Part>());
    std::vector<std::pair<std::string, std::int64_t>> got;
    for (const auto& p : props) {
        got.emplace_back(p->name(), p->dataType());
        EXPECT_FALSE(p->isReadOnly()) << p->name();  // also the computed, read-only "probed"
    }
    EXPECT_EQ(got, (std::vector<std::pair<std::string, std::int64_t>>{{"weight", 3},
                                                                      {"count", 3},
                                                                      {"fragile", 4},
                                                                      {"label", 2},
                                                                      {"made", 5},
                                                                      {"tags", 0},
                                                                      {"price", 3},
                                                                      {"child", 0},
                                                                      {"probed", 3}}));
    EXPECT_TRUE(KivoReflector::getProperties(plat::Value()).empty());
}

TEST(KivoReflector, DynamicObjectsDescribeThemselves) {
    auto withDescriptors = std::make_shared<Bag>(AllMethods);
    auto props = KivoReflector::getProperties(withDescriptors);
    ASSERT_EQ(props.size(), 2u);
    EXPECT_TRUE(props[0]->isReadOnly());
    EXPECT_EQ(KivoReflector::getProperty(withDescriptors, "a")->dataType(), KivoDataTypeDate);
    EXPECT_EQ(KivoReflector::getProperty(withDescriptors, "zzz")->dataType(), KivoDataTypeNone);

    auto withNames = std::make_shared<Bag>(plat::DynamicObject::GetPropertyNames);
    props = KivoReflector::getProperties(withNames);
    ASSERT_EQ(props.size(), 2u);
    EXPECT_EQ(props[1]->name(), "y");
    EXPECT_EQ(props[1]->dataType(), KivoDataTypeObject);
    EXPECT_EQ(KivoReflector::getProperty(withNames, "anything")->dataType(), KivoDataTypeObject);
}

TEST(KivoReflector, DescribesOnePropertyIncludingInheritedOnes) {
    auto bolt = std::make_shared<Bolt>();
    EXPECT_EQ(KivoReflector::getProperty(bolt, "label")->dataType(), KivoDataTypeString);
    EXPECT_EQ(KivoReflector::getProperty(bolt, "thread")->dataType(), KivoDataTypeNumber);
    EXPECT_EQ(KivoReflector::getProperty(bolt, "tags")->dataType(), KivoDataTypeNone);
    EXPECT_EQ(KivoReflector::getProperty(bolt, "nope")->dataType(), KivoDataTypeNone);
    auto none = KivoReflector::getProperty(plat::Value(), "x");
    ASSERT_NE(none, nullptr);
    EXPECT_EQ(none->name(), "x");
}

TEST(KivoBinding, FollowsPathsAndWritesTheLastPart) {
    plat::testing::LogCapture log;
    auto root = std::make_shared<Part>();
    root->child = std::make_shared<Bolt>();
    root->child->label = "inner";
    KivoBinding path("child.label");
    EXPECT_EQ(path.getValueForTarget(root).asString(), "inner");
    path.setValue("changed", root);
    EXPECT_EQ(root->child->label, "changed");
    EXPECT_EQ(path.getDataTypeForTarget(root), KivoDataTypeString);
    EXPECT_EQ(KivoBinding("weight").getDataTypeForTarget(root), KivoDataTypeNumber);
    EXPECT_TRUE(log.lines().empty());

    // A nil in the middle becomes the null value at the next step, which the step after cannot read.
    root->child = nullptr;
    EXPECT_TRUE(KivoBinding("child.label").getValueForTarget(root).isNull());
    EXPECT_TRUE(log.lines().empty());
    EXPECT_TRUE(KivoBinding("child.child.label").getValueForTarget(root).isNil());
    EXPECT_EQ(log.lines(), std::vector<std::string>{"Exception:the key label is not available!"});
}

TEST(KivoBinding, BadWritesAreLoggedAndChangeNothing) {
    plat::testing::LogCapture log;
    auto part = std::make_shared<Part>();
    part->weight = 3;
    KivoBinding("missing").setValue(1, part);
    KivoBinding("weight").setValue("heavy", part);
    KivoBinding("probed").setValue(1, part);
    KivoBinding("child.label").setValue("x", part);        // the owner is nil: nothing happens
    KivoBinding("child.child.label").setValue("x", part);  // the owner is the null value: no keys
    EXPECT_EQ(part->weight, 3);
    auto lines = log.lines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "Exception:the key missing is not available!");
    EXPECT_EQ(lines[3], "Exception:the key label is not available!");

    // A number that does not fit the member is refused whole, never stored wrapped round.
    auto bolt = std::make_shared<Bolt>();
    log.clear();
    KivoBinding("grade").setValue(300, bolt);
    EXPECT_EQ(bolt->grade, 1);
    EXPECT_EQ(log.lines().size(), 1u);

    auto bag = std::make_shared<Bag>(plat::DynamicObject::SetPropertyValue);
    KivoBinding("anything").setValue(7, bag);
    EXPECT_EQ(bag->values["anything"], plat::Value(7));
}

TEST(KivoReflector, ShallowCopyCopiesEveryListedProperty) {
    auto a = std::make_shared<Bolt>();
    a->thread = 8;
    auto b = std::make_shared<Bolt>();
    KivoReflector::shallowCopyTo(b, a);
    EXPECT_EQ(b->thread, 8);
    KivoReflector::shallowCopyTo(plat::Value(), a);
    KivoReflector::shallowCopyTo(b, plat::Value());
}

TEST(KivoReflector, FormatValueByKind) {
    const plat::testing::PinnedLocale pinned("en_US", "UTC");
    EXPECT_EQ(KivoReflector::formatValue(plat::Value()), "");
    EXPECT_EQ(KivoReflector::formatValue(1234.567), "1,234.57");
    EXPECT_EQ(KivoReflector::formatValue(1234567), "1,234,567");
    EXPECT_EQ(KivoReflector::formatValue(plat::Date(0)), "1/1/70");
    EXPECT_EQ(KivoReflector::formatValue("text"), "text");
}
