#include "calendar/BodyZoom.h"

#include "Platform/ui/view.h"

namespace kivo::detail {

void zoomBodyInTwoHalves(const std::shared_ptr<plat::View>& body, double half, double delay, double first, double second,
                         double dimmedAlpha, std::function<void()> midway, std::function<void()> done) {
    std::weak_ptr<plat::View> weakBody = body;
    plat::View::animate(
        half, delay, plat::ViewAnimationOptionNone,
        [weakBody, first, dimmedAlpha] {
            if (auto body = weakBody.lock()) {
                body->setTransform(body->transform().scaled(first, first));
                body->setAlpha(dimmedAlpha);
            }
        },
        [weakBody, second, half, midway = std::move(midway), done = std::move(done)](bool) {
            midway();
            if (auto body = weakBody.lock()) body->setTransform(plat::AffineTransform::scale(second, second));
            plat::View::animate(
                half, 0, plat::ViewAnimationOptionNone,
                [weakBody] {
                    if (auto body = weakBody.lock()) {
                        body->setTransform(plat::AffineTransform::identity());
                        body->setAlpha(1);
                    }
                },
                [done](bool) { done(); });
        });
}

}  // namespace kivo::detail
