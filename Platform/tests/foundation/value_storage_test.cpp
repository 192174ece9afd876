// Copying and moving values of every kind into values of every kind: the content arrives whole, a
// moved-from value is nil, and counted references are neither lost nor kept twice.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "Platform/foundation/object.h"
#include "Platform/foundation/value.h"

namespace {

class Thing : public plat::Object {};

struct Sample {
    const char* name;
    std::function<plat::Value()> make;  // a new value of the kind, the same content every time
};

const std::shared_ptr<Thing>& sharedThing() {
    static const auto thing = std::make_shared<Thing>();
    return thing;
}

std::vector<Sample> everyKind() {
    return {
        {"nil", [] { return plat::Value(); }},
        {"null", [] { return plat::Value::null(); }},
        {"bool", [] { return plat::Value(true); }},
        {"integer", [] { return plat::Value(-7); }},
        {"double", [] { return plat::Value(2.5); }},
        {"short string", [] { return plat::Value("abc"); }},
        {"long string", [] { return plat::Value(std::string(100, 'x')); }},
        {"date", [] { return plat::Value(plat::Date(1234.5)); }},
        {"array",
         [] {
             return plat::Value(plat::Array{1, "two"});
         }},
        {"dictionary",
         [] {
             return plat::Value(plat::Dictionary{{"k", 3}});
         }},
        {"object", [] { return plat::Value(sharedThing()); }},
    };
}

// The value holds what `sample` makes: the same kind and an equal content (objects: the very one).
void expectHolds(const plat::Value& v, const Sample& sample) {
    plat::Value expected = sample.make();
    EXPECT_EQ(v.kind(), expected.kind()) << sample.name;
    EXPECT_TRUE(v.isEqual(expected)) << sample.name << ": " << v.description();
    if (expected.isObject()) {
        EXPECT_EQ(v.asObject(), sharedThing());
        EXPECT_EQ(v.objectClass(), &sharedThing()->classInfo()) << "the class travels with the object";
    } else {
        EXPECT_EQ(v.objectClass(), nullptr) << sample.name;
    }
}

TEST(ValueStorage, MovesAndCopiesBetweenEveryPairOfKinds) {
    const long baseCount = sharedThing().use_count();
    for (const Sample& from : everyKind()) {
        SCOPED_TRACE(from.name);
        {
            plat::Value source = from.make();
            plat::Value moved(std::move(source));
            EXPECT_TRUE(source.isNil());  // NOLINT(bugprone-use-after-move): the state after a move is the point
            expectHolds(moved, from);
            plat::Value copied(moved);
            expectHolds(copied, from);
            expectHolds(moved, from);
        }
        for (const Sample& into : everyKind()) {
            SCOPED_TRACE(into.name);
            plat::Value target = into.make();
            plat::Value source = from.make();
            target = std::move(source);
            EXPECT_TRUE(source.isNil());  // NOLINT(bugprone-use-after-move)
            expectHolds(target, from);

            plat::Value copyTarget = into.make();
            const plat::Value original = from.make();
            copyTarget = original;
            expectHolds(copyTarget, from);
            expectHolds(original, from);
        }
        EXPECT_EQ(sharedThing().use_count(), baseCount) << "every value made above is gone";
    }
}

TEST(ValueStorage, AssigningAValueToItselfKeepsIt) {
    for (const Sample& sample : everyKind()) {
        SCOPED_TRACE(sample.name);
        plat::Value v = sample.make();
        plat::Value& alias = v;
        v = alias;
        expectHolds(v, sample);
        v = std::move(alias);
        expectHolds(v, sample);
    }
}

// A value that holds the only reference to a list, assigned one of that list's own entries: the
// entry must be taken before the list goes.
TEST(ValueStorage, AssigningAnEntryOfTheListItHolds) {
    for (const Sample& sample : everyKind()) {
        SCOPED_TRACE(sample.name);
        plat::Value moved(plat::Array{sample.make(), 0});
        moved = std::move((*moved.asArray())[0]);
        expectHolds(moved, sample);

        plat::Value copied(plat::Dictionary{{"entry", sample.make()}});
        copied = copied.asDictionary()->at("entry");
        expectHolds(copied, sample);
    }
}

TEST(ValueStorage, ShiftingAListKeepsEveryEntryAndReference) {
    plat::Array list;
    for (int round = 0; round < 3; ++round)
        for (const Sample& sample : everyKind()) list.push_back(sample.make());
    const long withList = sharedThing().use_count();
    list.insert(list.begin() + 5, plat::Value(sharedThing()));
    list.erase(list.begin() + 5);
    list.erase(list.begin());  // a nil leaves: everything after it moves down by one
    list.insert(list.begin(), plat::Value());
    EXPECT_EQ(sharedThing().use_count(), withList);
    const auto kinds = everyKind();
    for (size_t i = 0; i < list.size(); ++i) expectHolds(list[i], kinds[i % kinds.size()]);
}

}  // namespace
