#include <gtest/gtest.h>

#include "OmbriGrid/OmbriGrid.h"
#include "Platform/testing/archives.h"

namespace {

#define SAME(getter) PLAT_SAME_GETTER(OmbriGrid, getter)

TEST(GridCoding, AGridFromAnInterfaceFileStartsAsFromAFrame) {
    plat::testing::expectSameAsFromFrame<OmbriGrid>("OmbriGrid", {0, 0, 480, 320},
                                                    {SAME(selectionMode),
                                                     SAME(alternatingRowBackgroundColor),
                                                     SAME(frozenCellsBorderColor),
                                                     SAME(textColor),
                                                     SAME(columnHeaderBackgroundColor),
                                                     SAME(columnHeaderTextColor),
                                                     SAME(gridLinesColor),
                                                     SAME(groupRowBackgroundColor),
                                                     SAME(headerSelectedBackgroundColor),
                                                     SAME(rowHeaderBackgroundColor),
                                                     SAME(selectionBackgroundColor),
                                                     SAME(selectionTextColor),
                                                     SAME(fontSize),
                                                     SAME(columnHeaderFontSize),
                                                     SAME(headersVisibility),
                                                     SAME(gridLinesVisibility),
                                                     SAME(gridLinesWidth),
                                                     SAME(groupHeaderFormat),
                                                     SAME(treeIndent),
                                                     SAME(autoSizeMode),
                                                     SAME(allowMerging),
                                                     SAME(touchFeedback),
                                                     SAME(allowResizing),
                                                     SAME(autoGenerateColumns),
                                                     SAME(isEnabled)});
}

TEST(GridCoding, AnArchiveWithABadKeyIsRefused) { plat::testing::expectBadKeysRefused("OmbriGrid"); }

}  // namespace
