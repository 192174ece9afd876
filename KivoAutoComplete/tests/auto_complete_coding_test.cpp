#include <gtest/gtest.h>

#include "KivoAutoComplete/KivoAutoComplete.h"
#include "Platform/testing/archives.h"

namespace {

#define SAME(getter) PLAT_SAME_GETTER(KivoAutoComplete, getter)

TEST(AutoCompleteCoding, AnAutoCompleteBoxFromAnInterfaceFileStartsAsFromAFrame) {
    plat::testing::expectSameAsFromFrame<KivoAutoComplete>(
        "KivoAutoComplete", {20, 40, 200, 30},
        {SAME(delay), SAME(maxItems), SAME(minLength), SAME(operatorType), SAME(isCustomFiltering), SAME(filterString),
         SAME(highlightedColor), SAME(isEditable), SAME(placeholder), SAME(showButton), SAME(isDropDownOpen)});
}

TEST(AutoCompleteCoding, AnArchiveWithABadKeyIsRefused) { plat::testing::expectBadKeysRefused("KivoAutoComplete"); }

}  // namespace
