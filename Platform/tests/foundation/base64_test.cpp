#include <gtest/gtest.h>

#include <string>

#include "Platform/foundation/base64.h"
#include "Platform/testing/log_capture.h"

namespace {

using plat::base64Decode;
using plat::base64Encode;
using plat::Base64Lines;

TEST(Base64, EncodesAndDecodesBackEveryPaddingAndBinaryBytes) {
    struct Case {
        std::string bytes, encoded;
    };
    const Case cases[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {std::string("\0\xff\x10 \xfe", 5), "AP8QIP4="},
        {"Troms\xc3\xb8", "VHJvbXPDuA=="},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(base64Encode(c.bytes), c.encoded) << c.encoded;
        EXPECT_EQ(base64Decode(c.encoded), c.bytes) << c.encoded;
    }
}

TEST(Base64, CutsLinesOnlyBetweenFullLinesAndReadsThemBack) {
    const std::string html = "<table><tr><td>Oslo</td><td>True</td></tr><tr><td>R&amp;D &lt;Bergen&gt;</td>"
                             "<td>False</td></tr></table>";
    const std::string cut = base64Encode(html, Base64Lines{64, "\r\n"});
    EXPECT_EQ(cut,
              "PHRhYmxlPjx0cj48dGQ+T3NsbzwvdGQ+PHRkPlRydWU8L3RkPjwvdHI+PHRyPjx0\r\n"
              "ZD5SJmFtcDtEICZsdDtCZXJnZW4mZ3Q7PC90ZD48dGQ+RmFsc2U8L3RkPjwvdHI+\r\n"
              "PC90YWJsZT4=");
    EXPECT_EQ(base64Decode(cut), html);

    struct Case {
        std::string bytes;
        Base64Lines lines;
        std::string encoded;
    };
    const Case cases[] = {
        {"foob", {4, "\n"}, "Zm9v\nYg=="},     // a short last line
        {"foobar", {4, "\r\n"}, "Zm9v\r\nYmFy"}, // an exact multiple: nothing after the last line
        {"foobar", {8, "\r\n"}, "Zm9vYmFy"},   // fits one line
        {"foobar", {3, "\n"}, "Zm9\nvYm\nFy"}, // lines that split a group
        {"foobar", {0, "\n"}, "Zm9vYmFy"},     // no cutting
    };
    for (const auto& c : cases) {
        EXPECT_EQ(base64Encode(c.bytes, c.lines), c.encoded) << c.encoded;
        EXPECT_EQ(base64Decode(c.encoded), c.bytes) << c.encoded;
    }
}

TEST(Base64, RefusesDamagedTextWithALogLine) {
    for (const char* text : {"Zm9", "Zm9v!", "Zg=a", "Z===", "Zm9vY", "Zg==Zg=="}) {
        plat::testing::LogCapture log;
        EXPECT_EQ(base64Decode(text), std::nullopt) << text;
        ASSERT_EQ(log.lines().size(), 1u) << text;
        EXPECT_NE(log.lines()[0].find("Base64"), std::string::npos);
    }
    EXPECT_EQ(base64Decode(" Zm9v\r\n\tYmFy "), "foobar") << "blanks between characters are skipped";
}

}  // namespace
