#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Platform/runtime/notification_center.h"
#include "Platform/runtime/system_notifications.h"

namespace {

using plat::Notification;
using plat::NotificationCenter;

// Four registrations from two observers, each recording its label when called.
struct Fixture {
    NotificationCenter center;
    int a = 0, b = 0;  // observer identities
    std::shared_ptr<int> sender1 = std::make_shared<int>(1), sender2 = std::make_shared<int>(2);
    std::vector<std::string> calls;
    NotificationCenter::Token aNamed = 0, aAny = 0, bFromSender1 = 0, bOther = 0;

    Fixture() {
        auto recorder = [this](std::string label) { return [this, label](const Notification&) { calls.push_back(label); }; };
        aNamed = center.addObserver(&a, "Changed", recorder("a:Changed"));
        aAny = center.addObserver(&a, "", recorder("a:any"));
        bFromSender1 = center.addObserver(&b, "Changed", recorder("b:Changed from 1"), sender1.get());
        bOther = center.addObserver(&b, "Other", recorder("b:Other"));
    }
    std::vector<std::string> post(const std::string& name, std::shared_ptr<int> sender) {
        calls.clear();
        center.post(name, sender);
        return calls;
    }
};

using Calls = std::vector<std::string>;

}  // namespace

TEST(NotificationCenter, DeliversByNameAndSenderInOrderOfRegistration) {
    Fixture f;
    struct Case {
        const char* name;
        std::shared_ptr<int> sender;
        Calls expected;
    };
    const Case cases[] = {
        {"Changed", f.sender1, {"a:Changed", "a:any", "b:Changed from 1"}},
        {"Changed", f.sender2, {"a:Changed", "a:any"}},
        {"Changed", nullptr, {"a:Changed", "a:any"}},
        {"Other", f.sender1, {"a:any", "b:Other"}},
        {"Unknown", nullptr, {"a:any"}},
    };
    for (const Case& c : cases) EXPECT_EQ(f.post(c.name, c.sender), c.expected) << c.name;
}

TEST(NotificationCenter, RemovesByTokenByObserverAndNameAndByObserver) {
    Fixture f;
    f.center.removeObserver(f.aAny);
    EXPECT_EQ(f.post("Other", nullptr), Calls{"b:Other"});
    f.center.removeObserver(&f.b, "Changed");
    EXPECT_EQ(f.post("Changed", f.sender1), Calls{"a:Changed"});
    EXPECT_EQ(f.post("Other", nullptr), Calls{"b:Other"});
    f.center.removeObserver(&f.b);
    f.center.removeObserver(&f.a);
    EXPECT_EQ(f.post("Changed", f.sender1), Calls{});
    f.center.removeObserver(f.aNamed);  // removing twice is harmless
    EXPECT_EQ(f.center.addObserver(&f.a, "x", nullptr), 0u);
}

TEST(NotificationCenter, AnObserverRemovedDuringDeliveryIsNotCalled) {
    NotificationCenter center;
    int first = 0, second = 0;
    NotificationCenter::Token secondToken = 0;
    center.addObserver(nullptr, "N", [&](const Notification&) {
        ++first;
        center.removeObserver(secondToken);
        center.addObserver(nullptr, "N", [&](const Notification&) { ++second; });  // hears the next post
    });
    secondToken = center.addObserver(nullptr, "N", [&](const Notification&) { ++second; });
    center.post("N");
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 0);
    center.post("N");
    EXPECT_EQ(second, 1);
}

TEST(SystemNotifications, KeyboardUserInfoCarriesTheEndFrame) {
    NotificationCenter center;
    std::optional<plat::Rect> frame;
    center.addObserver(nullptr, std::string(plat::KeyboardWillShowNotification),
                       [&](const Notification& n) { frame = plat::keyboardEndFrame(n); });
    center.post(std::string(plat::KeyboardWillShowNotification), nullptr, plat::keyboardUserInfo({0, 450.5, 320, 216}));
    EXPECT_EQ(frame, plat::Rect(0, 450.5, 320, 216));

    EXPECT_EQ(plat::keyboardEndFrame(Notification{"K", nullptr, {}}), std::nullopt);
    plat::Dictionary partial;
    partial.emplace(std::string(plat::KeyboardFrameEndUserInfoKey), plat::Value(plat::Dictionary{{"x", 1.0}, {"y", "2"}}));
    EXPECT_EQ(plat::keyboardEndFrame(Notification{"K", nullptr, plat::Value(partial)}), std::nullopt);
}
