#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "KivoCore/KivoPropertyReader.h"
#include "KivoCore/KivoReflector.h"
#include "Platform/foundation/reflect.h"
#include "Platform/testing/log_capture.h"

namespace {

class Leaf : public plat::Object {
public:
    PLAT_CLASS()
    double price = 0;
    std::string name;
    std::int64_t big = 0;
    std::shared_ptr<Leaf> next;
    // A getter with a visible side effect.
    int counted() const { return ++calls; }
    std::string shout() const { return name + "!"; }
    mutable int calls = 0;
};
PLAT_DEFINE_CLASS(Leaf, plat::Object, plat::property("price", &Leaf::price), plat::property("name", &Leaf::name),
                  plat::property("big", &Leaf::big), plat::property("next", &Leaf::next),
                  plat::property("counted", &Leaf::counted), plat::property("shout", &Leaf::shout))

// Inherits the keys of Leaf at other offsets: a reader that used Leaf's resolution for it would read
// the wrong bytes.
class Branch : public Leaf {
public:
    PLAT_CLASS()
    std::array<double, 3> padding{};
    double price2 = 0;
};
PLAT_DEFINE_CLASS(Branch, Leaf, plat::property("price", &Branch::price2))

// Many classes, each with its key at another offset, to go past the classes a reader remembers.
template <int N>
class Shaped : public plat::Object {
public:
    static const plat::ClassInfo& staticClassInfo() {
        static const auto info = plat::ClassInfo::make<Shaped, plat::Object>(
            "Shaped" + std::to_string(N), plat::property("price", &Shaped::price), plat::property("name", &Shaped::name));
        return info;
    }
    const plat::ClassInfo& classInfo() const override { return staticClassInfo(); }
    std::array<double, N> padding{};
    double price = N;
    std::string name = "shape " + std::to_string(N);
};

// Answers every key itself, and counts the questions.
class Dynamic : public plat::DynamicObject {
public:
    unsigned answeredMethods() const override { return GetPropertyValue; }
    plat::Value getPropertyValue(const std::string& key) override {
        ++asked;
        return key == "price" ? plat::Value(9.5) : plat::Value("dyn");
    }
    int asked = 0;
};

// A getter that empties the list holding its item, while the reader still has the item in hand.
class Dropper : public plat::Object {
public:
    PLAT_CLASS()
    double value() const {
        list.lock()->clear();
        return 4;
    }
    std::weak_ptr<plat::Array> list;
};
PLAT_DEFINE_CLASS(Dropper, plat::Object, plat::property("value", &Dropper::value))

// A getter that reads other keys through the reflector while the reflector is reading it.
class Reentrant : public plat::Object {
public:
    PLAT_CLASS()
    double a = 1, b = 2, c = 3, d = 4, e = 5;
    double total() const {
        double sum = 0;
        auto self = std::const_pointer_cast<plat::Object>(shared_from_this());
        for (const char* key : {"a", "b", "c", "d", "e"}) sum += KivoReflector::getValue(plat::Value(self), key).asDouble();
        return sum;
    }
};
PLAT_DEFINE_CLASS(Reentrant, plat::Object, plat::property("a", &Reentrant::a), plat::property("b", &Reentrant::b),
                  plat::property("c", &Reentrant::c), plat::property("d", &Reentrant::d), plat::property("e", &Reentrant::e),
                  plat::property("total", &Reentrant::total))

std::shared_ptr<Leaf> leaf(double price, std::string name) {
    auto l = std::make_shared<Leaf>();
    l->price = price;
    l->name = std::move(name);
    return l;
}

}  // namespace

TEST(KivoPropertyReader, ReadsMixedItemsAsTheReflectorDoes) {
    auto branch = std::make_shared<Branch>();
    branch->price2 = 7;
    branch->name = "branch";
    auto dynamic = std::make_shared<Dynamic>();
    const plat::Array items = {
        plat::Value(leaf(1.5, "a")), plat::Value(branch), plat::Value(plat::Dictionary{{"price", 3}, {"name", "dict"}}),
        plat::Value(dynamic),        plat::Value(),       plat::Value(leaf(2.5, "b")),
    };
    for (const char* key : {"price", "name"}) {
        SCOPED_TRACE(key);
        const auto reader = KivoPropertyReader::forKey(key);
        for (int pass = 0; pass < 2; ++pass)  // the second pass reads from the remembered classes
            for (const auto& item : items) EXPECT_EQ(reader.read(item), KivoReflector::getValue(item, key)) << item.description();
    }

    // Typed reads answer plain numbers and texts, and decline the rest without asking the item.
    const auto price = KivoPropertyReader::forKey("price");
    const auto name = KivoPropertyReader::forKey("name");
    double number = 0;
    std::string_view text;
    std::vector<double> numbers;
    std::vector<std::string_view> texts;
    for (const auto& item : items) {
        numbers.push_back(price.readNumber(item, number) ? number : -1);
        texts.push_back(name.readString(item, text) ? text : "-");
    }
    EXPECT_EQ(numbers, (std::vector<double>{1.5, 7, 3, -1, -1, 2.5}));
    EXPECT_EQ(texts, (std::vector<std::string_view>{"a", "branch", "dict", "-", "-", "b"}));
    EXPECT_EQ(dynamic->asked, 8) << "once per read() and per reflector read, never by the typed reads";
}

TEST(KivoPropertyReader, RemembersAFewClassesAndStillReadsEveryOther) {
    const plat::Array items = {
        plat::Value(std::make_shared<Shaped<1>>()),  plat::Value(std::make_shared<Shaped<2>>()),
        plat::Value(std::make_shared<Shaped<3>>()),  plat::Value(std::make_shared<Shaped<4>>()),
        plat::Value(std::make_shared<Shaped<5>>()),  plat::Value(std::make_shared<Shaped<6>>()),
        plat::Value(std::make_shared<Shaped<7>>()),  plat::Value(std::make_shared<Shaped<8>>()),
        plat::Value(std::make_shared<Shaped<9>>()),  plat::Value(std::make_shared<Shaped<10>>()),
        plat::Value(std::make_shared<Shaped<11>>()), plat::Value(std::make_shared<Shaped<12>>()),
    };
    const auto price = KivoPropertyReader::forKey("price");
    const auto name = KivoPropertyReader::forKey("name");
    // Forwards, backwards and in a stride, so that classes leave the cache and come back.
    std::vector<size_t> order;
    for (size_t i = 0; i < items.size(); ++i) order.push_back(i);
    for (size_t i = items.size(); i-- > 0;) order.push_back(i);
    for (size_t i = 0; i < 3 * items.size(); ++i) order.push_back(i * 5 % items.size());
    for (size_t i : order) {
        double number = 0;
        std::string_view text;
        ASSERT_TRUE(price.readNumber(items[i], number));
        EXPECT_EQ(number, static_cast<double>(i + 1));
        EXPECT_EQ(price.read(items[i]), plat::Value(static_cast<double>(i + 1)));
        ASSERT_TRUE(name.readString(items[i], text));
        EXPECT_EQ(text, "shape " + std::to_string(i + 1));
    }
}

TEST(KivoPropertyReader, GettersRunOnceAndNumbersADoubleCannotHoldStayValues) {
    auto l = leaf(1, "x");
    l->big = (std::int64_t{1} << 60) + 1;
    plat::Value item(l);
    double number = 0;
    std::string_view text;

    const auto counted = KivoPropertyReader::forKey("counted");
    EXPECT_EQ(counted.read(item), plat::Value(1));
    ASSERT_TRUE(counted.readNumber(item, number));
    EXPECT_EQ(number, 2);
    EXPECT_EQ(l->calls, 2);

    // A string getter is no member to point into, a 64-bit integer may not fit a double: both decline
    // untouched, and read() gives them whole.
    const auto shout = KivoPropertyReader::forKey("shout");
    EXPECT_FALSE(shout.readString(item, text));
    EXPECT_EQ(shout.read(item), plat::Value("x!"));
    const auto big = KivoPropertyReader::forKey("big");
    EXPECT_FALSE(big.readNumber(item, number));
    EXPECT_EQ(big.read(item).asInteger(), l->big);
    plat::Value hugeEntry(plat::Dictionary{{"big", l->big}, {"small", std::int64_t{42}}});
    EXPECT_FALSE(big.readNumber(hugeEntry, number));
    ASSERT_TRUE(KivoPropertyReader::forKey("small").readNumber(hugeEntry, number));
    EXPECT_EQ(number, 42);
}

TEST(KivoPropertyReader, HoldsTheItemWhileItsGetterDropsIt) {
    const std::function<double(const KivoPropertyReader&, const plat::Value&)> reads[] = {
        [](const KivoPropertyReader& r, const plat::Value& item) { return r.read(item).asDouble(); },
        [](const KivoPropertyReader& r, const plat::Value& item) {
            double n = 0;
            return r.readNumber(item, n) ? n : -1;
        },
    };
    const auto reader = KivoPropertyReader::forKey("value");
    for (const auto& read : reads) {
        auto list = std::make_shared<plat::Array>();
        auto item = std::make_shared<Dropper>();
        item->list = list;
        list->push_back(plat::Value(std::move(item)));
        EXPECT_EQ(read(reader, (*list)[0]), 4);  // the very slot the getter empties
        EXPECT_TRUE(list->empty());
    }
}

TEST(KivoPropertyReader, FollowsPathsLikeABinding) {
    plat::testing::LogCapture log;
    auto root = leaf(1, "root");
    root->next = leaf(2, "middle");
    root->next->next = leaf(3, "end");
    plat::Value item(root);
    double number = 0;
    std::string_view text;

    const KivoPropertyReader twoDeep("next.next.price");
    EXPECT_EQ(twoDeep.read(item), plat::Value(3.0));
    ASSERT_TRUE(twoDeep.readNumber(item, number));
    EXPECT_EQ(number, 3);
    ASSERT_TRUE(KivoPropertyReader("next.name").readString(item, text));
    EXPECT_EQ(text, "middle");
    ASSERT_TRUE(KivoPropertyReader("row.name").readString(plat::Value(plat::Dictionary{{"row", root}}), text));
    EXPECT_EQ(text, "root");
    EXPECT_EQ(KivoPropertyReader::forKey("next.name").read(plat::Value(plat::Dictionary{{"next.name", 5}})), plat::Value(5));

    // A nil part reads as the null value at the next part, which the part after that cannot read: the
    // typed reads decline without logging, read() logs once as the binding does.
    root->next->next = nullptr;
    EXPECT_TRUE(twoDeep.read(item).isNull());
    EXPECT_TRUE(log.lines().empty());
    const KivoPropertyReader threeDeep("next.next.next.price");
    EXPECT_FALSE(threeDeep.readNumber(item, number));
    EXPECT_TRUE(log.lines().empty());
    EXPECT_TRUE(threeDeep.read(item).isNil());
    EXPECT_EQ(log.lines(), std::vector<std::string>{"Exception:the key price is not available!"});

    // A getter along the way declines the typed read untouched; read() runs it once.
    log.clear();
    auto counting = std::make_shared<Leaf>();
    KivoPropertyReader throughGetter("counted.price");
    EXPECT_FALSE(throughGetter.readNumber(plat::Value(counting), number));
    EXPECT_EQ(counting->calls, 0);
    EXPECT_TRUE(throughGetter.read(plat::Value(counting)).isNil());  // a number has no keys
    EXPECT_EQ(counting->calls, 1);
    EXPECT_EQ(log.lines(), std::vector<std::string>{"Exception:the key price is not available!"});
}

TEST(KivoReflector, AGetterMayReadThroughTheReflectorWhileItIsRead) {
    auto r = std::make_shared<Reentrant>();
    for (int i = 0; i < 3; ++i) EXPECT_EQ(KivoReflector::getValue(plat::Value(r), "total"), plat::Value(15.0));
}
