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
