#include <gtest/gtest.h>

#include "KivoDropDown/KivoDropDown.h"
#include "KivoDropDown/KivoDropDownButton.h"
#include "KivoDropDown/KivoDropDownView.h"
#include "Platform/testing/archives.h"

namespace {

#define SAME(T, getter) PLAT_SAME_GETTER(T, getter)

TEST(DropDownCoding, DropDownViewsFromAnInterfaceFileStartAsFromAFrame) {
    plat::testing::expectSameAsFromFrame<KivoDropDown>(
        "KivoDropDown", {20, 40, 200, 30},
        {SAME(KivoDropDown, headerText), SAME(KivoDropDown, dropDownBehavior), SAME(KivoDropDown, headerBackgroundColor),
         SAME(KivoDropDown, headerBorderColor), SAME(KivoDropDown, headerBorderWidth), SAME(KivoDropDown, showButton),
         SAME(KivoDropDown, buttonColor), SAME(KivoDropDown, dropDownWidth), SAME(KivoDropDown, dropDownHeight),
         SAME(KivoDropDown, dropDownBackgroundColor), SAME(KivoDropDown, maxDropDownHeight),
         SAME(KivoDropDown, minDropDownHeight), SAME(KivoDropDown, dropDownDirection), SAME(KivoDropDown, dropDownMode),
         SAME(KivoDropDown, autoClose), SAME(KivoDropDown, isAnimated), SAME(KivoDropDown, duration),
         SAME(KivoDropDown, isDropDownOpen)});
    // A zero frame takes the place on the main screen that the initialiser gives it, either way.
    plat::testing::expectSameAsFromFrame<KivoDropDown>("KivoDropDown", {}, {});
    plat::testing::expectSameAsFromFrame<KivoDropDownButton>(
        "KivoDropDownButton", {0, 0, 30, 30}, {SAME(KivoDropDownButton, buttonColor), SAME(KivoDropDownButton, isDropDownOpen)});
    plat::testing::expectSameAsFromFrame<KivoDropDownView>(
        "KivoDropDownView", {0, 0, 200, 150},
        {SAME(KivoDropDownView, maxHeight), SAME(KivoDropDownView, minHeight), SAME(KivoDropDownView, autoClose),
         SAME(KivoDropDownView, isDropDownOpen), SAME(KivoDropDownView, dropDownDirection)});
}

TEST(DropDownCoding, AnArchiveWithABadKeyIsRefused) {
    for (const char* cls : {"KivoDropDown", "KivoDropDownButton", "KivoDropDownView"}) plat::testing::expectBadKeysRefused(cls);
}

}  // namespace
