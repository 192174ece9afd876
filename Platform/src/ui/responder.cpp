#include "Platform/ui/responder.h"

#include <iterator>
#include <string>

#include "Platform/foundation/log.h"

namespace plat {
namespace {

using Performer = void (Responder::*)(const std::shared_ptr<Object>&);

// By EditAction value.
struct ActionInfo {
    const char* title;
    Performer perform;
};
constexpr ActionInfo Actions[] = {
    {"Cut", &Responder::cut},       {"Copy", &Responder::copy},           {"Paste", &Responder::paste},
    {"Select", &Responder::select}, {"Select All", &Responder::selectAll},
};

const ActionInfo* infoOf(EditAction action) {
    const auto index = static_cast<std::size_t>(action);
    return index < std::size(Actions) ? &Actions[index] : nullptr;
}

}  // namespace

const char* editActionTitle(EditAction action) {
    const auto* info = infoOf(action);
    return info ? info->title : "";
}

std::shared_ptr<Responder> Responder::targetForAction(EditAction action, const std::shared_ptr<Object>& sender) {
    if (!infoOf(action)) {
        log("Responder: no such edit action (" + std::to_string(static_cast<int>(action)) + ")");
        return nullptr;
    }
    auto self = std::dynamic_pointer_cast<Responder>(weak_from_this().lock());
    if (!self) return nullptr;  // a responder that no shared pointer owns is on no chain
    for (auto r = self; r; r = r->nextResponder()) {
        if (r->canPerformAction(action, sender)) return r;
    }
    return nullptr;
}

bool Responder::sendEditAction(EditAction action, const std::shared_ptr<Object>& sender) {
    auto target = targetForAction(action, sender);
    if (!target) return false;
    ((*target).*(infoOf(action)->perform))(sender);
    return true;
}

}  // namespace plat
