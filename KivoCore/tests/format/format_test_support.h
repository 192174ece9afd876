#pragma once
// Shared by the formatting tests: pins the process's current locale and time zone (en_US, UTC) for
// a test and restores them after, and checks tables of number formatting cases.

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <string>

#include "KivoCore/KivoNumberFormatter.h"
#include "Platform/foundation/value.h"
#include "Platform/testing/pinned_locale.h"

class PinnedLocaleTest : public ::testing::Test {
protected:
    // A null text shows as "<null>", so tables can expect it.
    static std::string show(const std::optional<std::string>& text) { return text ? *text : "<null>"; }

private:
    plat::testing::PinnedLocale _pinned{"en_US", "UTC"};
};

struct FormatRow {
    plat::Value value;
    const char* pattern;
    const char* expected;  // "<null>": no text at all
    const char* locale = "en_US";
};

// Runs each row through the public entry of the number formatter.
class FormatTableTest : public PinnedLocaleTest {
protected:
    void check(std::initializer_list<FormatRow> rows) {
        for (const FormatRow& r : rows) {
            SCOPED_TRACE(std::string("pattern '") + r.pattern + "' value " + r.value.description() + " locale " + r.locale);
            EXPECT_EQ(show(KivoNumberFormatter::numberToStringWithParameters(r.value, r.pattern, r.locale)), r.expected);
        }
    }
};
