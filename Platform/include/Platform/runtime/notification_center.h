#pragma once
// The notification centre: observers register for a name (or any name) from a sender (or any sender);
// posting delivers synchronously, on the posting thread, in the order observers were added.

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "Platform/PlatformExport.h"
#include "Platform/foundation/value.h"

namespace plat {

struct PLAT_EXPORT Notification {
    std::string name;
    std::shared_ptr<void> object;  // the sender; may be empty
    Value userInfo;                // nil or a dictionary
};

class PLAT_EXPORT NotificationCenter {
public:
    using Block = std::function<void(const Notification&)>;
    // Identifies one registration; 0 is never issued.
    using Token = std::uint64_t;

    static NotificationCenter& defaultCenter();

    NotificationCenter();
    ~NotificationCenter();
    NotificationCenter(const NotificationCenter&) = delete;
    NotificationCenter& operator=(const NotificationCenter&) = delete;

    // `observer` is only an identity for removeObserver (may be null). An empty `name` matches every
    // name; a null `object` matches every sender, otherwise senders are compared by address. An empty
    // block registers nothing and answers 0.
    Token addObserver(const void* observer, std::string name, Block block, const void* object = nullptr);

    void removeObserver(Token token);
    // Every registration of `observer`, or only those for `name` (empty: any) and `object` (null: any).
    void removeObserver(const void* observer, std::string_view name = {}, const void* object = nullptr);

    // A registration removed while a post is delivering is not called after its removal; one added
    // meanwhile first hears the next post.
    void post(const Notification& notification);
    void post(std::string name, std::shared_ptr<void> object = {}, Value userInfo = {});

private:
    struct Registration;
    PLAT_NO_EXPORT void removeWhere(const std::function<bool(const Registration&)>& doomed);
    mutable std::mutex _mutex;
    std::vector<std::shared_ptr<Registration>> _registrations;
    Token _nextToken = 1;
};

}  // namespace plat
