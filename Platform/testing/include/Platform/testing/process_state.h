#pragma once
// The process-wide state that tests may change, put back before every test by the test programs'
// main (Platform/testing/main), so that no test depends on the order of the tests or on what ran
// before it in the same process.

#include <string_view>

namespace plat::testing {

// The locale and time zone every test starts in (pin another with PinnedLocale).
inline constexpr std::string_view TestLocale = "en_US";
inline constexpr std::string_view TestTimeZone = "UTC";
// The user's one preferred language in every test, whatever the machine's environment says.
inline constexpr std::string_view TestLanguage = "en-US";

// Puts back: the current locale and time zone (TestLocale, TestTimeZone), the preferred languages
// (TestLanguage alone), the preferred text size
// (Large) and its change handler, the log sink, the main screen, the device orientation and its
// notifications, the main run loop's pending work, the general pasteboard (emptied), the state the
// libraries registered with plat::addProcessStateReset (the calendar's shared calendar), and every
// plat::ProcessCache (formatters made once per process). The handler and the sink come back to what they were on the first call,
// which the test main makes before any test runs.
void resetProcessState();

}  // namespace plat::testing
