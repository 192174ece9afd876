#include <gtest/gtest.h>

#include "Platform/foundation/utf16.h"

using namespace plat;

TEST(Utf16, OffsetsCountUtf16UnitsOverUtf8Text) {
    // "a", "é" (2 bytes, 1 unit), "😀" (4 bytes, 2 units), "b".
    const std::string text = "a\u00e9\U0001F600b";
    EXPECT_EQ(utf16Length(text), 5);
    struct Case {
        std::int64_t offset;
        std::size_t byte;
    };
    for (const Case c : {Case{0, 0}, {1, 1}, {2, 3}, {3, 3}, {4, 7}, {5, 8}, {99, 8}, {-3, 0}}) {
        EXPECT_EQ(utf16OffsetToByte(text, c.offset), c.byte) << "offset " << c.offset;
    }
    EXPECT_EQ(byteOffsetToUtf16(text, 7), 4);
    EXPECT_EQ(byteOffsetToUtf16(text, 5), 2) << "inside the emoji counts from its start";
    EXPECT_EQ(toUtf8(toUtf16(text)), text);
}

TEST(Utf16, IllFormedInputBecomesReplacementCharacters) {
    EXPECT_EQ(toUtf16("a\xff"
                      "b"),
              u"a\uFFFDb");
    EXPECT_EQ(toUtf16("\xe2\x82"), u"\uFFFD\uFFFD") << "a truncated sequence: one per byte";
    EXPECT_EQ(utf16Length("\xc0\xaf"), 2) << "an overlong form is refused";
    EXPECT_EQ(toUtf8(std::u16string(1, char16_t(0xD800))), "\uFFFD");
}

TEST(Utf16, RangesAreClampedIntoTheText) {
    EXPECT_EQ(clampRange({2, 10}, 5), (TextRange{2, 3}));
    EXPECT_EQ(clampRange({-4, 2}, 5), (TextRange{0, 2}));
    EXPECT_EQ(clampRange({7, 1}, 5), (TextRange{5, 0}));
    EXPECT_EQ(clampRange({1, -1}, 5), (TextRange{1, 0}));
}
