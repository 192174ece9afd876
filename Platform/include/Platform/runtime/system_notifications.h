#pragma once
// The names of the notifications that the system posts to the default centre, and the keyboard's
// user-info keys. Hosts and tests post them; controls observe them.

#include <optional>
#include <string_view>

#include "Platform/PlatformExport.h"
#include "Platform/foundation/geometry.h"
#include "Platform/foundation/value.h"

namespace plat {

struct Notification;

// The user's preferred text size changed.
inline constexpr std::string_view ContentSizeCategoryDidChangeNotification = "ContentSizeCategoryDidChangeNotification";
// The device turned.
inline constexpr std::string_view DeviceOrientationDidChangeNotification = "DeviceOrientationDidChangeNotification";
// The on-screen keyboard; the user info carries its end frame in screen coordinates.
inline constexpr std::string_view KeyboardWillShowNotification = "KeyboardWillShowNotification";
inline constexpr std::string_view KeyboardDidShowNotification = "KeyboardDidShowNotification";
inline constexpr std::string_view KeyboardWillHideNotification = "KeyboardWillHideNotification";
inline constexpr std::string_view KeyboardDidHideNotification = "KeyboardDidHideNotification";

// The user-info key of the keyboard's end frame: a dictionary of the numbers "x", "y", "width", "height".
inline constexpr std::string_view KeyboardFrameEndUserInfoKey = "KeyboardFrameEndUserInfoKey";

// The user info of a keyboard notification.
PLAT_EXPORT Value keyboardUserInfo(const Rect& endFrame);
// The end frame of a keyboard notification; nullopt when it carries none or a malformed one.
PLAT_EXPORT std::optional<Rect> keyboardEndFrame(const Notification& notification);

}  // namespace plat
