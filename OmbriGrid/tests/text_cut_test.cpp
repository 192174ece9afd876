#include <gtest/gtest.h>

#include <string>

#include "Platform/graphics/text.h"
#include "drawing/TextCut.h"

namespace {

using kivo::detail::cutText;
using kivo::detail::shownTextBytes;

TEST(TextCut, CutsFallBetweenCharacters) {
    // "a", a two-byte "é", a four-byte "😀", "b": 8 bytes.
    const std::string text = "a\u00e9\U0001F600b";
    struct Case {
        std::size_t bytes;
        bool keepEnd;
        std::string expected;
    };
    for (const auto& k : std::vector<Case>{
             {8, false, text},
             {0, false, ""},
             {2, false, "a"},
             {3, false, "a\u00e9"},
             {6, false, "a\u00e9"},
             {7, false, "a\u00e9\U0001F600"},
             {3, true, "a\u00e9b"},  // the end starts after the emoji's tail bytes
             {4, true, text},        // within twice the room the text stays whole
         })
        EXPECT_EQ(cutText(text, k.bytes, k.keepEnd), k.expected) << k.bytes << (k.keepEnd ? " keeping the end" : "");
}

TEST(TextCut, TheRoomGrowsWithTheBoxAndIsBounded) {
    const plat::Font font = plat::Font::system(12);
    const std::size_t cell = shownTextBytes({112, 28}, font);
    EXPECT_GT(cell, 112u / 6 * 2) << "at least two lines of ordinary letters";
    EXPECT_LT(cell, 8u * 1024);
    EXPECT_GT(shownTextBytes({224, 28}, font), cell);
    EXPECT_GT(shownTextBytes({112, 56}, font), cell);
    for (const plat::Size huge : {plat::Size{1e9, 1e9}, plat::Size{NAN, 10}, plat::Size{10, INFINITY}})
        EXPECT_EQ(shownTextBytes(huge, font), kivo::detail::LongestLaidOutText);
    EXPECT_EQ(shownTextBytes({112, 28}, plat::Font::system(0)), kivo::detail::LongestLaidOutText);
    EXPECT_LT(shownTextBytes({112, 28}, plat::Font::system(1e9)), 16u) << "a giant font shows a character";
}

}  // namespace
