#include "Platform/testing/project_version.h"

#include <charconv>
#include <string>

namespace plat::testing {

::testing::AssertionResult isProjectVersion(double number, const unsigned char* string) {
    const std::string expected = KIVO_PROJECT_VERSION;
    const std::string actual = string ? reinterpret_cast<const char*>(string) : "(null)";
    if (actual != expected)
        return ::testing::AssertionFailure() << "version string \"" << actual << "\", not \"" << expected << "\"";
    // "major.minor" of the project's version, read as a number.
    const std::string majorMinor = expected.substr(0, expected.find('.', expected.find('.') + 1));
    double want = 0;
    std::from_chars(majorMinor.data(), majorMinor.data() + majorMinor.size(), want);
    if (number != want) return ::testing::AssertionFailure() << "version number " << number << ", not " << want;
    return ::testing::AssertionSuccess();
}

}  // namespace plat::testing
