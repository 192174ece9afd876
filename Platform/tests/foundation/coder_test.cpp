#include "Platform/foundation/coder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>

#include "Platform/testing/archives.h"

namespace {

using plat::testing::plist;

TEST(Coder, DecodesEachKindOfValueByKey) {
    const auto coder = plat::Coder::fromData(plist(R"(<dict>
        <key>b</key><true/> <key>i</key><integer>-42</integer> <key>d</key><real>2.5</real>
        <key>s</key><string>a &amp; b</string> <key>c</key><array><real>1</real><real>0.5</real><integer>0</integer></array>
        <key>r</key><array><real>1</real><real>2</real><real>30</real><real>40</real></array>
        <key>o</key><dict><key>n</key><integer>7</integer></dict>
        <key>l</key><array><dict><key>n</key><integer>1</integer></dict><dict/></array>
        <!-- a comment is allowed between elements -->
        <key>v</key><array><string>x</string><false/></array></dict>)"),
                                             "mem");
    EXPECT_TRUE(coder.decodeBoolForKey("b"));
    EXPECT_EQ(coder.decodeIntegerForKey("i"), -42);
    EXPECT_EQ(coder.decodeDoubleForKey("d"), 2.5);
    EXPECT_EQ(coder.decodeDoubleForKey("i"), -42.0);
    EXPECT_EQ(coder.decodeStringForKey("s"), "a & b");
    EXPECT_EQ(coder.decodeColorForKey("c"), plat::Color(1, 0.5, 0, 1));
    EXPECT_EQ(coder.decodeRectForKey("r"), plat::Rect(1, 2, 30, 40));
    ASSERT_TRUE(coder.decodeObjectForKey("o"));
    EXPECT_EQ(coder.decodeObjectForKey("o")->decodeIntegerForKey("n"), 7);
    EXPECT_EQ(coder.decodeObjectForKey("o")->path(), "o");
    const auto list = coder.decodeObjectsForKey("l");
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].decodeIntegerForKey("n"), 1);
    EXPECT_EQ(list[1].path(), "l[1]");
    const auto v = coder.decodeValueForKey("v");
    ASSERT_TRUE(v.isArray());
    EXPECT_EQ(v.asArray()->at(0), plat::Value("x"));
}

TEST(Coder, AMissingKeyDecodesAsTheEmptyValue) {
    const auto coder = plat::Coder::fromData(plist("<dict/>"), "mem");
    EXPECT_FALSE(coder.containsValueForKey("x"));
    EXPECT_FALSE(coder.decodeBoolForKey("x"));
    EXPECT_EQ(coder.decodeIntegerForKey("x"), 0);
    EXPECT_EQ(coder.decodeDoubleForKey("x"), 0);
    EXPECT_EQ(coder.decodeStringForKey("x"), std::nullopt);
    EXPECT_EQ(coder.decodeColorForKey("x"), std::nullopt);
    EXPECT_EQ(coder.decodeRectForKey("x"), plat::Rect());
    EXPECT_FALSE(coder.decodeObjectForKey("x"));
    EXPECT_TRUE(coder.decodeObjectsForKey("x").empty());
    EXPECT_TRUE(coder.decodeValueForKey("x").isNil());
}

TEST(Coder, AValueOfTheWrongKindIsRefusedNamingTheFileAndTheKeyPath) {
    const auto coder = plat::Coder::fromData(plist(R"(<dict>
        <key>s</key><string>1</string> <key>d</key><real>1.5</real> <key>nan</key><real>nan</real>
        <key>inf</key><real>-inf</real> <key>i</key><integer>1</integer>
        <key>short</key><array><real>1</real><real>2</real></array>
        <key>neg</key><array><real>0</real><real>0</real><real>-1</real><real>5</real></array>
        <key>nanRect</key><array><real>nan</real><real>0</real><real>1</real><real>5</real></array>
        <key>bright</key><array><real>2</real><real>0</real><real>0</real></array>
        <key>mixed</key><array><real>1</real><string>0</string><real>0</real></array>
        <key>o</key><dict><key>deep</key><dict><key>x</key><string>y</string></dict></dict>
        <key>l</key><array><dict/><integer>3</integer></array></dict>)"),
                                             "views.plist");
    const auto o = coder.decodeObjectForKey("o");
    const auto deep = o->decodeObjectForKey("deep");
    const struct {
        std::function<void()> decode;
        std::string message;
    } cases[] = {
        {[&] { coder.decodeBoolForKey("s"); }, "key \"s\": expected a boolean, found a string"},
        {[&] { coder.decodeIntegerForKey("d"); }, "key \"d\": expected an integer, found a real"},
        {[&] { coder.decodeDoubleForKey("s"); }, "key \"s\": expected a number, found a string"},
        {[&] { coder.decodeDoubleForKey("nan"); }, "key \"nan\": expected a finite number"},
        {[&] { coder.decodeDoubleForKey("inf"); }, "key \"inf\": expected a finite number"},
        {[&] { coder.decodeStringForKey("i"); }, "key \"i\": expected a string, found an integer"},
        {[&] { coder.decodeRectForKey("short"); }, "key \"short\": expected a rectangle"},
        {[&] { coder.decodeRectForKey("neg"); }, "key \"neg\": expected a rectangle"},
        {[&] { coder.decodeRectForKey("nanRect"); }, "key \"nanRect\": expected a rectangle"},
        {[&] { coder.decodeRectForKey("s"); }, "key \"s\": expected a rectangle"},
        {[&] { coder.decodeColorForKey("bright"); }, "key \"bright\": expected a colour"},
        {[&] { coder.decodeColorForKey("mixed"); }, "key \"mixed\": expected a colour"},
        {[&] { coder.decodeColorForKey("neg"); }, "key \"neg\": expected a colour"},
        {[&] { coder.decodeObjectForKey("i"); }, "key \"i\": expected a dict, found an integer"},
        {[&] { coder.decodeObjectsForKey("o"); }, "key \"o\": expected an array of dicts, found a dict"},
        {[&] { coder.decodeObjectsForKey("l"); }, "key \"l[1]\": expected a dict, found an integer"},
        {[&] { deep->decodeIntegerForKey("x"); }, "key \"o.deep.x\": expected an integer, found a string"},
    };
    for (const auto& c : cases) {
        const std::string error = plat::testing::coderErrorOf(c.decode);
        EXPECT_EQ(error.rfind("views.plist: " + c.message, 0), 0u) << c.message << "\n  gave: " << error;
    }
}

TEST(Coder, ADocumentThatIsNotAnArchiveIsRefusedWithWhatIsWrong) {
    static constexpr char MisencodedUtf16[] = "<?xml version=\"1.0\" encoding=\"UTF-16\"?><plist>\0\0\0c</plist>";
    std::string deep;
    for (int i = 0; i < 70; ++i) deep += "<array>";
    for (int i = 0; i < 70; ++i) deep += "</array>";
    const struct {
        std::string data;
        std::string message;
    } cases[] = {
        {"", "not a property list"},
        {plist("<dict><key>a</key><integer>1</integer>").substr(0, 60), "not a property list: line 1"},
        {"<?xml version=\"1.0\"?><html/>", "the root element is not <plist>"},
        {plist("<array/>"), "the archive's root is not a <dict>"},
        {plist("<dict/><dict/>"), "<plist> must hold exactly one value"},
        {plist("<dict><key>a</key></dict>"), "a key without a value"},
        {plist("<dict><string>a</string><true/></dict>"), "expected <key>"},
        {plist("<dict><key>a</key><true/><key>a</key><false/></dict>"), "key \"a\" appears twice"},
        {plist("<dict><key>a</key><integer>1.5</integer></dict>"), "not an integer: \"1.5\""},
        {plist("<dict><key>a</key><integer>99999999999999999999</integer></dict>"), "not an integer"},
        {plist("<dict><key>a</key><real>one</real></dict>"), "not a number: \"one\""},
        {plist("<dict><key>a</key><true>yes</true></dict>"), "<true>: must be empty"},
        {plist("<dict><key>a</key><data>AAAA</data></dict>"), "<data>: not a value element"},
        {plist("<dict><key>a</key><string><b/></string></dict>"), "<string>: holds more than text"},
        {plist("<dict>text<key>a</key><true/></dict>"), "text between elements"},
        {plist("<dict><key>a</key>" + deep + "</dict>"), "nested deeper than 64 levels"},
        // Bytes that are not of the declared encoding: refused, and nothing is written to stderr.
        {std::string(MisencodedUtf16, sizeof MisencodedUtf16 - 1), "not a property list"},
        {"<?xml version=\"1.0\" encoding=\"ISO-2022-JP\"?><plist><dict><key>\x1b$B\xff</key></dict></plist>",
         "not a property list"},
        // Entities are never expanded: an internal entity (the start of a "billion laughs") is refused.
        {"<?xml version=\"1.0\"?><!DOCTYPE plist [<!ENTITY a "
         "\"aaaa\">]><plist><dict><key>k</key><string>&a;</string></dict></plist>",
         "holds more than text"},
        {"<?xml version=\"1.0\"?><!DOCTYPE plist [<!ENTITY x SYSTEM "
         "\"file:///etc/passwd\">]><plist><dict><key>k</key><string>&x;</string></dict></plist>",
         "holds more than text"},
    };
    for (const auto& c : cases) {
        ::testing::internal::CaptureStderr();
        const std::string error = plat::testing::coderErrorOf([&] { plat::Coder::fromData(c.data, "f.plist"); });
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "") << c.data;
        EXPECT_NE(error.find("f.plist: "), std::string::npos) << c.data;
        EXPECT_NE(error.find(c.message), std::string::npos) << c.data << "\n  gave: " << error;
    }
}

TEST(Coder, AFileOverTheSizeLimitIsRefusedAndAMissingFileIsAnError) {
    const std::string path = ::testing::TempDir() + "coder_limit.plist";
    const std::string data = plist("<dict><key>s</key><string>" + std::string(200, 'x') + "</string></dict>");
    std::ofstream(path, std::ios::binary) << data;
    EXPECT_EQ(plat::Coder::fromFile(path, {.maxBytes = data.size()}).decodeStringForKey("s")->size(), 200u);
    EXPECT_EQ(plat::testing::coderErrorOf([&] { plat::Coder::fromFile(path, {.maxBytes = data.size() - 1}); }),
              path + ": " + std::to_string(data.size()) + " bytes, more than the limit of " + std::to_string(data.size() - 1));
    EXPECT_EQ(plat::testing::coderErrorOf([&] { plat::Coder::fromData(data, "m", {.maxBytes = 10}); }),
              "m: " + std::to_string(data.size()) + " bytes, more than the limit of 10");
    EXPECT_EQ(plat::testing::coderErrorOf([] { plat::Coder::fromFile("/nonexistent/x.plist"); }),
              "/nonexistent/x.plist: not a readable file");
    EXPECT_EQ(plat::testing::coderErrorOf([] { plat::Coder::fromFile("/tmp"); }), "/tmp: not a readable file");
}

}  // namespace
