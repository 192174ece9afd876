#include <gtest/gtest.h>

#include "KivoComboBox/KivoComboBox.h"
#include "Platform/testing/archives.h"

namespace {

#define SAME(getter) PLAT_SAME_GETTER(KivoComboBox, getter)

TEST(ComboBoxCoding, AComboBoxFromAnInterfaceFileStartsAsFromAFrame) {
    plat::testing::expectSameAsFromFrame<KivoComboBox>(
        "KivoComboBox", {20, 40, 200, 30},
        {SAME(displayMemberPath), SAME(selectedValuePath), SAME(text), SAME(placeholder), SAME(isEditable), SAME(autoComplete),
         SAME(selectedBackgroundColor), SAME(textColor), SAME(showButton), SAME(dropDownHeight), SAME(isDropDownOpen)});
}

TEST(ComboBoxCoding, AnArchiveWithABadKeyIsRefused) { plat::testing::expectBadKeysRefused("KivoComboBox"); }

}  // namespace
