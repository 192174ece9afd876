#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "Platform/foundation/xml_writer.h"
#include "Platform/testing/log_capture.h"

namespace {

using plat::XmlWriter;

TEST(XmlWriter, WritesDocumentsOnOneLineWithNothingAfterTheLastEndTag) {
    struct Case {
        const char* name;
        std::function<void(XmlWriter&)> write;
        std::string expected;
    };
    const Case cases[] = {
        {"declaration and document type",
         [](XmlWriter& w) {
             w.writeDeclaration();
             w.writeDocumentType("plist", "-//Apple//DTD PLIST 1.0//EN", "http://www.apple.com/DTDs/PropertyList-1.0.dtd");
             w.startElement("plist");
             w.writeAttribute("version", "1.0");
             w.startElement("dict");
             w.startElement("key");
             w.writeText("WebResourceFrameName");
             w.endElement();
             w.startElement("string");
             w.writeText("");
             w.endElement();
         },
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
         "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\"><plist version=\"1.0\"><dict><key>WebResourceFrameName</key>"
         "<string></string></dict></plist>"},
        {"system document type, empty and content-less elements",
         [](XmlWriter& w) {
             w.writeDocumentType("html", "", "about:legacy-compat");
             w.startElement("tr");
             w.startElement("td");
             w.writeText("");
             w.endElement();
             w.startElement("br");
             w.endElement();
         },
         "<!DOCTYPE html SYSTEM \"about:legacy-compat\"><tr><td></td><br/></tr>"},
        {"escaped text and attributes",
         [](XmlWriter& w) {
             w.startElement("td");
             w.writeAttribute("title", "a\"b<c>&\td\ne\r");
             w.writeText("R&D <Bergen> \"q\" x\r\ny Troms\xc3\xb8 '");
         },
         "<td title=\"a&quot;b&lt;c&gt;&amp;&#9;d&#10;e&#13;\">R&amp;D &lt;Bergen&gt; &quot;q&quot; x&#13;\ny "
         "Troms\xc3\xb8 '</td>"},
        {"raw text as given",
         [](XmlWriter& w) {
             w.startElement("data");
             w.writeRaw("PHRh\r\nYmxl<b>&amp;");
         },
         "<data>PHRh\r\nYmxl<b>&amp;</data>"},
    };
    for (const auto& c : cases) {
        XmlWriter w;
        c.write(w);
        EXPECT_EQ(w.finish(), c.expected) << c.name;
    }
}

TEST(XmlWriter, RefusesWhatDoesNotFitAndWritesNothingForIt) {
    plat::testing::LogCapture log;
    XmlWriter w;
    EXPECT_FALSE(w.endElement()) << "no element open";
    EXPECT_FALSE(w.writeAttribute("a", "1")) << "outside a start tag";
    EXPECT_FALSE(w.startElement("a b"));
    EXPECT_FALSE(w.startElement("1a"));
    EXPECT_FALSE(w.startElement(""));
    EXPECT_FALSE(w.writeDocumentType("plist", "-//x//EN", "")) << "public identifier without a system one";
    EXPECT_FALSE(w.writeDocumentType("plist", "", "a\"b"));
    ASSERT_TRUE(w.startElement("e"));
    EXPECT_FALSE(w.writeAttribute("x y", "1"));
    EXPECT_FALSE(w.writeText(std::string("a\0b", 3))) << "NUL";
    EXPECT_FALSE(w.writeText("\xff\xfe")) << "not UTF-8";
    EXPECT_TRUE(w.writeText("t"));
    EXPECT_FALSE(w.writeAttribute("late", "1")) << "after content";
    EXPECT_EQ(w.finish(), "<e>t</e>");
    EXPECT_FALSE(w.startElement("more")) << "finished";
    EXPECT_EQ(w.finish(), "<e>t</e>");
    EXPECT_EQ(log.lines().size(), 12u);
}

}  // namespace
