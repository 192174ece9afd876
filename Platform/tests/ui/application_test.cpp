#include <gtest/gtest.h>

#include "Platform/graphics/font.h"
#include "Platform/runtime/notification_center.h"
#include "Platform/runtime/system_notifications.h"
#include "Platform/ui/application.h"

using namespace plat;

TEST(Application, TextSizeChangesPostTheirNotificationOnce) {
    auto& app = Application::shared();
    int posts = 0;
    const auto token = NotificationCenter::defaultCenter().addObserver(
        nullptr, std::string(ContentSizeCategoryDidChangeNotification), [&](const Notification&) { ++posts; });
    app.setPreferredContentSizeCategory(ContentSizeCategory::ExtraLarge);
    app.setPreferredContentSizeCategory(ContentSizeCategory::ExtraLarge);
    EXPECT_EQ(posts, 1);
    EXPECT_EQ(app.preferredContentSizeCategory(), ContentSizeCategory::ExtraLarge);
    setPreferredContentSizeCategory(ContentSizeCategory::Large);  // through the graphics layer too
    EXPECT_EQ(posts, 2);
    NotificationCenter::defaultCenter().removeObserver(token);
}

TEST(Application, OrientationIsPostedOnlyWhileAskedFor) {
    auto& app = Application::shared();
    int posts = 0;
    const auto token = NotificationCenter::defaultCenter().addObserver(
        nullptr, std::string(DeviceOrientationDidChangeNotification), [&](const Notification&) { ++posts; });
    app.setDeviceOrientation(DeviceOrientation::LandscapeLeft);
    EXPECT_EQ(posts, 0);
    app.beginGeneratingDeviceOrientationNotifications();
    app.setDeviceOrientation(DeviceOrientation::Portrait);
    app.setDeviceOrientation(DeviceOrientation::Portrait);
    EXPECT_EQ(posts, 1);
    app.endGeneratingDeviceOrientationNotifications();
    app.endGeneratingDeviceOrientationNotifications();  // unbalanced: stays off, no underflow
    app.setDeviceOrientation(DeviceOrientation::LandscapeRight);
    EXPECT_EQ(posts, 1);
    EXPECT_FALSE(app.isGeneratingDeviceOrientationNotifications());
    NotificationCenter::defaultCenter().removeObserver(token);
    app.setDeviceOrientation(DeviceOrientation::Portrait);
}
