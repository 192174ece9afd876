#include <gtest/gtest.h>

#include "Platform/foundation/locale/locale.h"
#include "Platform/foundation/locale/timezone.h"
#include "Platform/foundation/log.h"
#include "Platform/foundation/process_cache.h"
#include "Platform/graphics/font.h"
#include "Platform/runtime/notification_center.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/runtime/system_notifications.h"
#include "Platform/testing/log_capture.h"
#include "Platform/testing/pinned_locale.h"
#include "Platform/testing/process_state.h"
#include "Platform/ui/application.h"
#include "Platform/ui/pasteboard.h"
#include "Platform/ui/screen.h"

using namespace plat;

TEST(ProcessState, ResetPutsBackEverythingATestMayLeaveChanged) {
    Locale::setCurrent(Locale::withIdentifier("de_DE"));
    TimeZone::setCurrent(*TimeZone::named("Asia/Tokyo"));
    int strayLines = 0;
    setLogSink([&](const std::string&) { ++strayLines; });
    setContentSizeCategoryChangeHandler([](const std::string&) {});
    setPreferredContentSizeCategory(ContentSizeCategory::ExtraLarge);
    Screen::main().setScale(3);
    Application::shared().beginGeneratingDeviceOrientationNotifications();
    Application::shared().setDeviceOrientation(DeviceOrientation::LandscapeLeft);
    bool strayTaskRan = false;
    RunLoop::main().post([&] { strayTaskRan = true; });
    Pasteboard::general().setString("copied by an earlier test");

    plat::testing::resetProcessState();

    EXPECT_EQ(Locale::current().identifier(), plat::testing::TestLocale);
    EXPECT_EQ(TimeZone::current().identifier(), plat::testing::TestTimeZone);
    EXPECT_EQ(preferredContentSizeCategory(), ContentSizeCategory::Large);
    EXPECT_EQ(Screen::main().scale(), Screen::DefaultScale);
    EXPECT_EQ(Application::shared().deviceOrientation(), DeviceOrientation::Portrait);
    EXPECT_FALSE(Application::shared().isGeneratingDeviceOrientationNotifications());
    EXPECT_EQ(Pasteboard::general().numberOfItems(), 0u);
    RunLoop::main().runUntilIdle();
    EXPECT_FALSE(strayTaskRan) << "work posted by an earlier test is dropped";
    {
        const plat::testing::LogCapture log;
        plat::log("after the reset");
        EXPECT_EQ(log.lines().size(), 1u);
    }
    EXPECT_EQ(strayLines, 0) << "the earlier test's sink is gone";

    // The application's own text-size handler is back: a change posts the notification again.
    int posted = 0;
    auto token = NotificationCenter::defaultCenter().addObserver(nullptr, std::string(ContentSizeCategoryDidChangeNotification),
                                                                 [&](const Notification&) { ++posted; });
    setPreferredContentSizeCategory(ContentSizeCategory::Small);
    EXPECT_EQ(posted, 1);
    NotificationCenter::defaultCenter().removeObserver(token);
    setPreferredContentSizeCategory(ContentSizeCategory::Large);
}

TEST(ProcessState, ResetRunsTheResetsThatLibrariesRegistered) {
    // A library's shared setting: registered once per process, however often the test runs.
    static int sharedSetting = 0;
    [[maybe_unused]] static const bool registered = (addProcessStateReset([] { sharedSetting = 0; }), true);
    sharedSetting = 7;
    plat::testing::resetProcessState();
    EXPECT_EQ(sharedSetting, 0);
}

TEST(PinnedLocale, PinsForItsLifetimeAndPutsBackWhatItFound) {
    Locale::setCurrent(Locale::withIdentifier("fr_FR"));
    {
        const plat::testing::PinnedLocale pinned("de_DE", "Europe/Berlin");
        EXPECT_EQ(Locale::current().identifier(), "de_DE");
        EXPECT_EQ(TimeZone::current().identifier(), "Europe/Berlin");
    }
    EXPECT_EQ(Locale::current().identifier(), "fr_FR");
    EXPECT_EQ(TimeZone::current().identifier(), plat::testing::TestTimeZone);
    EXPECT_THROW(plat::testing::PinnedLocale("en_US", "Mars/Olympus_Mons"), std::invalid_argument);
    EXPECT_EQ(Locale::current().identifier(), "fr_FR") << "a refused pin changes nothing";
}
