#include <gtest/gtest.h>

#include "Platform/foundation/reflect.h"

namespace {

class Part : public plat::Object {
public:
    PLAT_CLASS()
    double weight = 0;
};
PLAT_DEFINE_CLASS(Part, plat::Object, plat::property("weight", &Part::weight))

// Declares no properties of its own: the macro takes the class and its base alone.
class Spare : public Part {
public:
    PLAT_CLASS()
};
PLAT_DEFINE_CLASS(Spare, Part)

}  // namespace

TEST(ClassDeclaration, AClassWithoutPropertiesOfItsOwnFindsItsBasesOnes) {
    const plat::ClassInfo& info = Spare::staticClassInfo();
    EXPECT_EQ(info.name(), "Spare");
    EXPECT_TRUE(info.ownProperties().empty());
    EXPECT_TRUE(info.isSubclassOf(Part::staticClassInfo()));
    ASSERT_NE(info.findProperty("weight"), nullptr);
    EXPECT_EQ(info.findProperty("weight"), Part::staticClassInfo().ownProperty("weight"));
}
