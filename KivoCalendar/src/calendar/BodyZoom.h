#pragma once
// The calendar body's zoom between view modes, in two platform view animations: the first scales the
// body and fades it out together; the second starts from the new scale, set at once between them, and
// brings the body back to its own size and full opacity.

#include <functional>
#include <memory>

namespace plat {
class View;
}

namespace kivo::detail {

// Scales the body by `first` while fading it to `dimmedAlpha` over `half` seconds after `delay`; then
// runs `midway`, gives it the scale `second` at once and animates it back to identity and full alpha
// over another half, then runs `done`. The body is held weakly: its own animations keep these blocks, and a
// calendar released mid-zoom must not keep itself alive through them.
void zoomBodyInTwoHalves(const std::shared_ptr<plat::View>& body, double half, double delay, double first, double second,
                         double dimmedAlpha, std::function<void()> midway, std::function<void()> done);

}  // namespace kivo::detail
