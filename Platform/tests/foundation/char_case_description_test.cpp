#include <gtest/gtest.h>

#include "Platform/foundation/char_case.h"
#include "Platform/foundation/exception.h"
#include "Platform/foundation/object.h"
#include "Platform/foundation/reflect.h"

namespace {

class Plain : public plat::Object {
public:
    PLAT_CLASS()
    double amount = 0;
};
class Told : public Plain {
public:
    PLAT_CLASS()
    std::string description() const override { return "told"; }
};
class ToldToo : public Told {
public:
    PLAT_CLASS()
};
PLAT_DEFINE_CLASS(Plain, plat::Object, plat::property("amount", &Plain::amount))
PLAT_DEFINE_CLASS(Told, Plain)
PLAT_DEFINE_CLASS(ToldToo, Told)

TEST(CharCase, UpperCaseTestAndMapping) {
    EXPECT_TRUE(plat::isUppercaseLetter(U'A'));
    EXPECT_TRUE(plat::isUppercaseLetter(U'É'));
    EXPECT_TRUE(plat::isUppercaseLetter(U'ǅ')) << "title case counts";
    EXPECT_FALSE(plat::isUppercaseLetter(U'a'));
    EXPECT_FALSE(plat::isUppercaseLetter(U'1'));
    EXPECT_EQ(plat::upperCased(U'é'), "É");
    EXPECT_EQ(plat::upperCased(U'ß'), "SS");
    EXPECT_EQ(plat::upperCased(U'1'), "1");
    std::string_view text = "a\xC3\xA9\xFF";
    std::size_t pos = 0;
    EXPECT_EQ(plat::nextCodePoint(text, pos), U'a');
    EXPECT_EQ(plat::nextCodePoint(text, pos), U'é');
    EXPECT_EQ(plat::nextCodePoint(text, pos), U'\uFFFD');
    EXPECT_EQ(pos, text.size());
}

TEST(ClassInfo, TellsWhetherAClassDescribesItself) {
    EXPECT_FALSE(Plain::staticClassInfo().hasOwnDescription());
    EXPECT_TRUE(Told::staticClassInfo().hasOwnDescription());
    EXPECT_TRUE(ToldToo::staticClassInfo().hasOwnDescription()) << "inherited from a base that declares it";
    EXPECT_TRUE(plat::Object::staticClassInfo().hasOwnDescription()) << "undeclared classes may describe themselves";
}

TEST(KeyValue, EveryValueAnswersItsDescription) {
    EXPECT_EQ(plat::valueForKey(plat::Value("text"), "description").asString(), "text");
    EXPECT_EQ(plat::valueForKey(plat::Value(std::int64_t{42}), "description").asString(), plat::Value(std::int64_t{42}).description());
    EXPECT_EQ(plat::valueForKey(plat::Value(std::make_shared<Told>()), "description").asString(), "told");
    const plat::Value list(plat::Array{plat::Value("a"), plat::Value(1.5)});
    const plat::Value read = plat::valueForKey(list, "description");
    ASSERT_TRUE(read.isArray());
    EXPECT_EQ((*read.asArray())[1].asString(), plat::Value(1.5).description());
    EXPECT_TRUE(plat::valueForKey(plat::Value(), "description").isNil());
    EXPECT_THROW(plat::valueForKey(plat::Value("text"), "length"), plat::UndefinedKeyException);
}

}  // namespace
