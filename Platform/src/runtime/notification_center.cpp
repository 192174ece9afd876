#include "Platform/runtime/notification_center.h"

#include <algorithm>
#include <atomic>

namespace plat {

struct NotificationCenter::Registration {
    Token token;
    const void* observer;
    std::string name;
    const void* object;
    Block block;
    std::atomic<bool> active{true};

    bool matches(const Notification& n) const {
        return (name.empty() || name == n.name) && (!object || object == n.object.get());
    }
};

NotificationCenter& NotificationCenter::defaultCenter() {
    // Never destroyed: views may unregister from static destructors at exit.
    static NotificationCenter* center = new NotificationCenter();
    return *center;
}

NotificationCenter::NotificationCenter() = default;
NotificationCenter::~NotificationCenter() = default;

NotificationCenter::Token NotificationCenter::addObserver(const void* observer, std::string name, Block block,
                                                          const void* object) {
    if (!block) return 0;
    std::lock_guard lock(_mutex);
    auto registration = std::make_shared<Registration>();
    registration->token = _nextToken++;
    registration->observer = observer;
    registration->name = std::move(name);
    registration->object = object;
    registration->block = std::move(block);
    _registrations.push_back(registration);
    return registration->token;
}

void NotificationCenter::removeWhere(const std::function<bool(const Registration&)>& doomed) {
    std::vector<std::shared_ptr<Registration>> removed;  // blocks die after unlocking
    std::lock_guard lock(_mutex);
    auto it = std::stable_partition(_registrations.begin(), _registrations.end(), [&](const auto& r) { return !doomed(*r); });
    for (auto i = it; i != _registrations.end(); ++i) (*i)->active = false;
    removed.assign(std::make_move_iterator(it), std::make_move_iterator(_registrations.end()));
    _registrations.erase(it, _registrations.end());
}

void NotificationCenter::removeObserver(Token token) {
    removeWhere([&](const Registration& r) { return r.token == token; });
}

void NotificationCenter::removeObserver(const void* observer, std::string_view name, const void* object) {
    removeWhere([&](const Registration& r) {
        return r.observer == observer && (name.empty() || r.name == name) && (!object || r.object == object);
    });
}

void NotificationCenter::post(const Notification& notification) {
    std::vector<std::shared_ptr<Registration>> targets;
    {
        std::lock_guard lock(_mutex);
        for (const auto& r : _registrations) {
            if (r->matches(notification)) targets.push_back(r);
        }
    }
    for (const auto& r : targets) {
        if (r->active) r->block(notification);
    }
}

void NotificationCenter::post(std::string name, std::shared_ptr<void> object, Value userInfo) {
    post(Notification{std::move(name), std::move(object), std::move(userInfo)});
}

}  // namespace plat
