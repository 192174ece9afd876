#pragma once
// The application object: the user's preferred text size (changing it posts the content-size-category
// notification to the default centre), the status bar's frame and orientation, and the device's
// orientation (posting the orientation notification while the application has asked for them).

#include <string>
#include <string_view>

#include "Platform/PlatformExport.h"
#include "Platform/foundation/geometry.h"

namespace plat {

enum class DeviceOrientation {
    Unknown = 0,
    Portrait = 1,
    PortraitUpsideDown = 2,
    LandscapeLeft = 3,
    LandscapeRight = 4,
    FaceUp = 5,
    FaceDown = 6
};

// Which way up the interface stands, by the platform's codes.
enum class InterfaceOrientation { Unknown = 0, Portrait = 1, PortraitUpsideDown = 2, LandscapeRight = 3, LandscapeLeft = 4 };

constexpr bool isLandscape(InterfaceOrientation o) {
    return o == InterfaceOrientation::LandscapeLeft || o == InterfaceOrientation::LandscapeRight;
}

class PLAT_EXPORT Application {
public:
    static Application& shared();

    std::string preferredContentSizeCategory() const;
    // Posts ContentSizeCategoryDidChangeNotification when the category changes.
    void setPreferredContentSizeCategory(std::string_view category);

    Rect statusBarFrame() const;
    InterfaceOrientation statusBarOrientation() const { return _interfaceOrientation; }
    // Turning between portrait and landscape turns the main screen with it: its bounds swap width
    // and height, and the status bar spans the new width. Unknown is refused.
    void setStatusBarOrientation(InterfaceOrientation orientation);

    DeviceOrientation deviceOrientation() const { return _orientation; }
    // Posts DeviceOrientationDidChangeNotification when the orientation changes and notifications are on.
    void setDeviceOrientation(DeviceOrientation orientation);
    void beginGeneratingDeviceOrientationNotifications() { ++_orientationNotifications; }
    void endGeneratingDeviceOrientationNotifications();
    bool isGeneratingDeviceOrientationNotifications() const { return _orientationNotifications > 0; }

private:
    Application();
    DeviceOrientation _orientation = DeviceOrientation::Portrait;
    InterfaceOrientation _interfaceOrientation = InterfaceOrientation::Portrait;
    int _orientationNotifications = 0;
};

}  // namespace plat
