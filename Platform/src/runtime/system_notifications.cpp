#include "Platform/runtime/system_notifications.h"

#include <string>

#include "Platform/runtime/notification_center.h"

namespace plat {

namespace {
constexpr const char* RectKeys[] = {"x", "y", "width", "height"};
}

Value keyboardUserInfo(const Rect& endFrame) {
    const double parts[] = {endFrame.x(), endFrame.y(), endFrame.width(), endFrame.height()};
    Dictionary frame;
    for (int i = 0; i < 4; ++i) frame.emplace(RectKeys[i], parts[i]);
    Dictionary info;
    info.emplace(std::string(KeyboardFrameEndUserInfoKey), Value(std::move(frame)));
    return Value(std::move(info));
}

std::optional<Rect> keyboardEndFrame(const Notification& notification) {
    const DictionaryPtr& info = notification.userInfo.asDictionary();
    if (!info) return std::nullopt;
    auto entry = info->find(KeyboardFrameEndUserInfoKey);
    if (entry == info->end() || !entry->second.asDictionary()) return std::nullopt;
    const Dictionary& frame = *entry->second.asDictionary();
    double parts[4];
    for (int i = 0; i < 4; ++i) {
        auto part = frame.find(RectKeys[i]);
        if (part == frame.end() || !part->second.isNumber()) return std::nullopt;
        parts[i] = part->second.asDouble();
    }
    return Rect(parts[0], parts[1], parts[2], parts[3]);
}

}  // namespace plat
