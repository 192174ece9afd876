#include <gtest/gtest.h>

#include "KivoMaskedTextField/KivoMaskedTextField.h"
#include "Platform/testing/archives.h"

namespace {

#define SAME(getter) PLAT_SAME_GETTER(KivoMaskedTextField, getter)

TEST(MaskedTextFieldCoding, AMaskedTextFieldFromAnInterfaceFileStartsAsFromAFrame) {
    plat::testing::expectSameAsFromFrame<KivoMaskedTextField>(
        "KivoMaskedTextField", {0, 0, 200, 30},
        {SAME(mask), SAME(promptChar), SAME(maskFull), SAME(placeholder), SAME(placeHolderColor), SAME(text), SAME(borderStyle)});
}

TEST(MaskedTextFieldCoding, AnArchiveWithABadKeyIsRefused) { plat::testing::expectBadKeysRefused("KivoMaskedTextField"); }

}  // namespace
