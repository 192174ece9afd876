#pragma once
// The calendar body's zoom between view modes, in two halves. The platform animates alpha only: the
// body takes each half's scale as the half begins and fades over it.

#include <functional>
#include <memory>

namespace plat {
class View;
}

namespace kivo::detail {

// Scales the body by `first` and fades it to `dimmedAlpha` over `half` seconds after `delay`; then
// runs `midway`, scales it by `second` and brings it back to identity and full alpha over another
// half, then runs `done`. The body is held weakly: its own animations keep these blocks, and a
// calendar released mid-zoom must not keep itself alive through them.
void zoomBodyInTwoHalves(const std::shared_ptr<plat::View>& body, double half, double delay, double first, double second,
                         double dimmedAlpha, std::function<void()> midway, std::function<void()> done);

}  // namespace kivo::detail
