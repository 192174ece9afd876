#include "KivoCore/KivoView.h"

#include <cmath>
#include <string>

#include "Platform/graphics/image.h"
#include "Platform/graphics/image_context.h"
#include "Platform/runtime/notification_center.h"
#include "Platform/runtime/system_notifications.h"
#include "Platform/ui/screen.h"

std::shared_ptr<KivoView> KivoView::create(const plat::Rect& frame) {
    return initialized(std::shared_ptr<KivoView>(new KivoView(frame)));
}

void KivoView::initialize() {
    plat::View::initialize();
    _initKivoView();
}

void KivoView::_initKivoView() {
    auto& center = plat::NotificationCenter::defaultCenter();
    // Held weakly: a post that races the view's teardown finds nothing to call.
    std::weak_ptr<KivoView> weak = sharedAs<KivoView>();
    center.addObserver(this, std::string(plat::ContentSizeCategoryDidChangeNotification), [weak](const plat::Notification&) {
        if (auto view = weak.lock()) view->respondToSizeChanged();
    });
    center.addObserver(this, std::string(plat::DeviceOrientationDidChangeNotification), [weak](const plat::Notification&) {
        if (auto view = weak.lock()) view->respondToOrientationChanged();
    });
}

KivoView::~KivoView() {
    auto& center = plat::NotificationCenter::defaultCenter();
    center.removeObserver(this, plat::ContentSizeCategoryDidChangeNotification);
    center.removeObserver(this, plat::DeviceOrientationDidChangeNotification);
}

std::vector<std::uint8_t> KivoView::getImage() {
    const plat::Size size = bounds().size;
    if (!(size.width > 0) || !(size.height > 0) || !std::isfinite(size.width) || !std::isfinite(size.height)) return {};
    // A pending layout is part of how the view looks now.
    layoutIfNeeded();
    plat::ImageContext context(size, plat::Screen::main().scale(), false);
    layer()->renderInContext(context.context());
    auto image = context.finish();
    return image ? image->encodePNG() : std::vector<std::uint8_t>{};
}
