#include "Platform/ui/application.h"

#include "Platform/graphics/font.h"
#include "Platform/runtime/notification_center.h"
#include "Platform/runtime/system_notifications.h"
#include "Platform/ui/screen.h"

namespace plat {

namespace {
// Makes the shared application (and so the text-size notification) exist as soon as the library is
// loaded, whoever changes the text size first.
const bool g_applicationReady = (Application::shared(), true);
}  // namespace

Application& Application::shared() {
    static Application application;
    return application;
}

Application::Application() {
    setContentSizeCategoryChangeHandler([](const std::string&) {
        NotificationCenter::defaultCenter().post(std::string(ContentSizeCategoryDidChangeNotification));
    });
}

std::string Application::preferredContentSizeCategory() const { return plat::preferredContentSizeCategory(); }

void Application::setPreferredContentSizeCategory(std::string_view category) { plat::setPreferredContentSizeCategory(category); }

Rect Application::statusBarFrame() const { return Screen::main().statusBarFrame(); }

void Application::setStatusBarOrientation(InterfaceOrientation orientation) {
    if (orientation == InterfaceOrientation::Unknown || orientation == _interfaceOrientation) return;
    if (isLandscape(orientation) != isLandscape(_interfaceOrientation)) {
        Screen& screen = Screen::main();
        const Rect b = screen.bounds();
        screen.setBounds({b.x(), b.y(), b.height(), b.width()});
        const Rect bar = screen.statusBarFrame();
        if (!bar.isEmpty()) screen.setStatusBarFrame({bar.x(), bar.y(), b.height(), bar.height()});
    }
    _interfaceOrientation = orientation;
}

void Application::setDeviceOrientation(DeviceOrientation orientation) {
    if (orientation == _orientation) return;
    _orientation = orientation;
    if (isGeneratingDeviceOrientationNotifications()) {
        NotificationCenter::defaultCenter().post(std::string(DeviceOrientationDidChangeNotification));
    }
}

void Application::endGeneratingDeviceOrientationNotifications() {
    if (_orientationNotifications > 0) --_orientationNotifications;
}

}  // namespace plat
