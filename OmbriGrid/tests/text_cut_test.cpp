#include <gtest/gtest.h>

#include <string>

#include "Platform/graphics/text.h"
#include "drawing/TextCut.h"

namespace {

using kivo::detail::cutText;
using kivo::detail::shownCharacters;

TEST(TextCut, CutsCountCharactersNotBytes) {
    // "a", a two-byte "é", a four-byte "😀", "b": four characters in 8 bytes.
    const std::string text = "a\u00e9\U0001F600b";
    struct Case {
        std::size_t characters;
        bool keepEnd;
        std::string expected;
    };
    for (const auto& k : std::vector<Case>{
             {0, false, ""},
             {1, false, "a"},
             {2, false, "a\u00e9"},
             {3, false, "a\u00e9\U0001F600"},
             {4, false, text},
             {1, true, "ab"},  // a beginning and an end of one character each
             {2, true, text},  // the two halves meet
         })
        EXPECT_EQ(cutText(text, k.characters, k.keepEnd), k.expected) << k.characters << (k.keepEnd ? " keeping the end" : "");
}

TEST(TextCut, TheRoomGrowsWithTheBoxAndIsBounded) {
    const plat::Font font = plat::Font::system(12);
    const std::size_t cell = shownCharacters({112, 28}, font);
    EXPECT_GT(cell, 112u / 6 * 2) << "at least two lines of ordinary letters";
    EXPECT_LT(cell, 8u * 1024);
    EXPECT_GT(shownCharacters({224, 28}, font), cell);
    EXPECT_GT(shownCharacters({112, 56}, font), cell);
    for (const plat::Size huge : {plat::Size{1e9, 1e9}, plat::Size{NAN, 10}, plat::Size{10, INFINITY}})
        EXPECT_EQ(shownCharacters(huge, font), kivo::detail::LongestLaidOutText);
    EXPECT_EQ(shownCharacters({112, 28}, plat::Font::system(0)), kivo::detail::LongestLaidOutText);
    EXPECT_LT(shownCharacters({112, 28}, plat::Font::system(1e9)), 16u) << "a giant font shows a character";
}

}  // namespace
