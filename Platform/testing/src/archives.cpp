#include "Platform/testing/archives.h"

#include <gtest/gtest.h>

#include <sstream>
#include <typeinfo>

namespace plat::testing {

std::string frameKey(const Rect& frame) {
    std::ostringstream out;
    out.precision(17);
    out << "<key>frame</key><array>";
    for (double d : {frame.x(), frame.y(), frame.width(), frame.height()}) out << "<real>" << d << "</real>";
    out << "</array>";
    return out.str();
}

void expectBadKeysRefused(const std::string& cls) {
    const struct {
        std::string keys;
        std::string message;
    } cases[] = {
        {"<key>frame</key><array><real>nan</real><real>0</real><real>10</real><real>10</real></array>",
         "key \"frame\": expected a rectangle: an array of four finite numbers (x, y, width, height), no negative size"},
        {frameKey({0, 0, 200, 100}) + "<key>alpha</key><string>half</string>",
         "key \"alpha\": expected a number, found a string"},
        {frameKey({0, 0, 200, 100}) + "<key>tag</key><real>1.5</real>", "key \"tag\": expected an integer, found a real"},
        {frameKey({0, 0, 200, 100}) + "<key>subviews</key><array>" + viewDict("View") + viewDict("NoSuchControl") + "</array>",
         "key \"subviews[1].class\": no view class is registered as \"NoSuchControl\""},
    };
    for (const auto& c : cases) {
        const std::string error = coderErrorOf([&] { loadInterface(plist(viewDict(cls, c.keys)), "hostile.plist"); });
        EXPECT_EQ(error, "hostile.plist: " + c.message) << cls << " with " << c.keys;
    }
}

void expectSameViewTree(const View& a, const View& b, const std::string& where) {
    SCOPED_TRACE(where);
    EXPECT_EQ(typeid(a).name(), typeid(b).name());
    EXPECT_EQ(a.frame(), b.frame());
    EXPECT_EQ(a.bounds(), b.bounds());
    EXPECT_EQ(a.transform(), b.transform());
    EXPECT_EQ(a.isHidden(), b.isHidden());
    EXPECT_EQ(a.alpha(), b.alpha());
    EXPECT_EQ(a.clipsToBounds(), b.clipsToBounds());
    EXPECT_EQ(a.backgroundColor(), b.backgroundColor());
    EXPECT_EQ(a.tintColor(), b.tintColor());
    EXPECT_EQ(a.isOpaque(), b.isOpaque());
    EXPECT_EQ(a.contentMode(), b.contentMode());
    EXPECT_EQ(a.isUserInteractionEnabled(), b.isUserInteractionEnabled());
    EXPECT_EQ(a.tag(), b.tag());
    EXPECT_EQ(a.gestureRecognizers().size(), b.gestureRecognizers().size());
    ASSERT_EQ(a.subviews().size(), b.subviews().size());
    for (std::size_t i = 0; i < a.subviews().size(); ++i)
        expectSameViewTree(*a.subviews()[i], *b.subviews()[i], where + ".subviews[" + std::to_string(i) + "]");
}

}  // namespace plat::testing
