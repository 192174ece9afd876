#include <gtest/gtest.h>

#include <string>

#include "Platform/foundation/shared_value.h"
#include "Platform/graphics/color.h"

using namespace plat;

namespace {

// A setter that reacts to a new object even when its value is equal (as some controls' text setters
// do), counting the changes it saw.
struct IdentitySetter {
    StringObject held;
    int changes = 0;
    void set(const StringObject& text) {
        if (text.isSameObject(held)) return;
        held = text;
        ++changes;
    }
};

}  // namespace

TEST(SharedValue, CopiesShareTheObjectWhileEqualValuesInOtherObjectsAreNotTheSame) {
    const StringObject a = "March", b = std::string("March"), copy = a, nil;
    EXPECT_TRUE(a == b);
    EXPECT_FALSE(a.isSameObject(b)) << "equal text held in another object";
    EXPECT_TRUE(a.isSameObject(copy));
    EXPECT_EQ(copy.get(), a.get());
    EXPECT_TRUE(nil == StringObject(nullptr));
    EXPECT_TRUE(nil.isSameObject(StringObject()));
    EXPECT_FALSE(nil == a);
    EXPECT_EQ(nil.valueOr("none"), "none");
    EXPECT_EQ(*a, "March");
    EXPECT_EQ(a->size(), 5u);

    IdentitySetter setter;
    setter.set(a);
    setter.set(copy);  // the same object: nothing
    setter.set(b);     // an equal text in another object: a change
    setter.set(nil);
    EXPECT_EQ(setter.changes, 3);

    const DateObject d1 = Date(86400), d2 = Date(86400);
    EXPECT_TRUE(d1 == d2);
    EXPECT_FALSE(d1.isSameObject(d2));
}

TEST(SharedValue, TheSharedNamedColoursAreOneObjectEach) {
    EXPECT_TRUE(sharedWhiteColor().isSameObject(sharedWhiteColor()));
    const ColorObject madeWhite = Color(1, 1, 1);
    EXPECT_TRUE(madeWhite == sharedWhiteColor());
    EXPECT_FALSE(madeWhite.isSameObject(sharedWhiteColor()));
    EXPECT_EQ(*sharedBlackColor(), Color::black());
    EXPECT_EQ(*sharedClearColor(), Color::clear());
    EXPECT_FALSE(sharedBlackColor() == sharedClearColor());
}
