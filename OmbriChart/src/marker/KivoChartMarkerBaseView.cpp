#include "OmbriChart/KivoChartMarkerBaseView.h"

#include "OmbriChart/KivoChartLineMarker.h"
#include "Platform/ui/gestures.h"

std::shared_ptr<KivoChartMarkerBaseView> KivoChartMarkerBaseView::create(const std::shared_ptr<KivoChartLineMarker>& marker,
                                                                         const plat::Rect& frame) {
    auto view = std::shared_ptr<KivoChartMarkerBaseView>(new KivoChartMarkerBaseView(frame));
    view->_marker = marker;
    return initialized(std::move(view));
}

KivoChartMarkerBaseView::~KivoChartMarkerBaseView() = default;

void KivoChartMarkerBaseView::initialize() {
    plat::View::initialize();
    // The recogniser's action and delegate hold the view weakly: the view owns its recogniser.
    std::weak_ptr<KivoChartMarkerBaseView> weak = sharedAs<KivoChartMarkerBaseView>();
    _panRecognizer = plat::PanGestureRecognizer::create([weak](plat::GestureRecognizer& r) {
        if (const auto view = weak.lock()) view->respondToPanGesture(r);
    });
    _panRecognizer->setDelegate(std::weak_ptr<plat::GestureRecognizerDelegate>(weak));
    addGestureRecognizer(_panRecognizer);
}

void KivoChartMarkerBaseView::setMarkerRender(std::shared_ptr<IKivoChartMarkerRender> render) {
    if (render != _markerRender) _markerRender = std::move(render);
}

KivoPoint KivoChartMarkerBaseView::alignedTarget(std::int64_t alignment, const KivoPoint& p, const plat::Size& size) {
    const double w = size.width / 2, h = size.height / 2;
    switch (alignment) {
        case KivoChartMarkerAlignmentAuto:
        case KivoChartMarkerAlignmentRightBottom:
            return {p.x() - w, p.y() - h};
        case KivoChartMarkerAlignmentLeftBottom:
            return {p.x() + w, p.y() - h};
        case KivoChartMarkerAlignmentRightTop:
            return {p.x() - w, p.y() + h};
        case KivoChartMarkerAlignmentLeftTop:
            return {p.x() + w, p.y() + h};
        default:
            return p;
    }
}

KivoPoint KivoChartMarkerBaseView::dragTarget(const KivoPoint& p) const {
    const auto marker = _marker.lock();
    if (!marker || marker->interaction() != KivoChartMarkerInteractionDrag || !marker->dragContent()) return p;
    return alignedTarget(marker->alignment(), p, bounds().size);
}

void KivoChartMarkerBaseView::respondToPanGesture(plat::GestureRecognizer& recognizer) {
    const auto marker = _marker.lock();
    if (!marker) return;
    const auto host = superview();
    const auto location = recognizer.locationInView(host.get());
    const auto target = dragTarget(KivoPoint(location.x, location.y));
    marker->showAt(target.x(), target.y());
}
