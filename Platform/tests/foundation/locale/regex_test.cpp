#include <gtest/gtest.h>

#include "Platform/foundation/locale/regex.h"

using plat::RegularExpression;

TEST(RegularExpression, MatchesOnlyTheWholeText) {
    RegularExpression standard("[A-Za-z]{1}[0-9]?");
    EXPECT_TRUE(standard.isValid());
    EXPECT_TRUE(standard.matchesWhole("N2"));
    EXPECT_TRUE(standard.matchesWhole("x"));
    EXPECT_FALSE(standard.matchesWhole("N10"));
    EXPECT_FALSE(standard.matchesWhole(" N2"));
    EXPECT_FALSE(standard.matchesWhole(""));
    RegularExpression any(".*");
    EXPECT_TRUE(any.matchesWhole(""));
    EXPECT_TRUE(RegularExpression("\u00E9+").matchesWhole("\u00E9\u00E9"));
}

TEST(RegularExpression, ABrokenExpressionMatchesNothing) {
    RegularExpression broken("([0-9");
    EXPECT_FALSE(broken.isValid());
    EXPECT_FALSE(broken.errorMessage().empty());
    EXPECT_FALSE(broken.matchesWhole("([0-9"));
    RegularExpression copy = broken;
    EXPECT_FALSE(copy.matchesWhole(""));
}
