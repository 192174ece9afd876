#pragma once
// The base of a line marker's content view: a view that carries the application's marker render and
// turns drags of itself into marker moves (with its own pan recogniser, of which it is the target and
// the delegate). It holds its marker weakly: the chart owns the marker, the marker its content.

#include <memory>

#include "KivoCore/KivoGeometry.h"
#include "OmbriChart/IKivoChartMarkerRender.h"
#include "OmbriChart/KivoOmbriChartExport.h"
#include "Platform/ui/gesture_recognizer.h"
#include "Platform/ui/view.h"

class KivoChartLineMarker;
namespace plat {
class PanGestureRecognizer;
}

class KIVO_CHART_EXPORT KivoChartMarkerBaseView : public plat::View, public plat::GestureRecognizerDelegate {
public:
    static std::shared_ptr<KivoChartMarkerBaseView> create(const std::shared_ptr<KivoChartLineMarker>& marker,
                                                           const plat::Rect& frame = {});
    ~KivoChartMarkerBaseView() override;

    std::shared_ptr<KivoChartLineMarker> marker() const { return _marker.lock(); }
    // The application's render (kept alive by the view); null leaves the content unplaced.
    const std::shared_ptr<IKivoChartMarkerRender>& markerRender() const { return _markerRender; }
    void setMarkerRender(std::shared_ptr<IKivoChartMarkerRender> render);
    const std::shared_ptr<plat::PanGestureRecognizer>& panRecognizer() const { return _panRecognizer; }

    // Every state of a drag moves the marker: under the finger, or with interaction 2 and dragContent
    // keeping the marker point at its corner of the content.
    void respondToPanGesture(plat::GestureRecognizer& recognizer);
    // The marker point for a finger at `p` (the chart's coordinates).
    KivoPoint dragTarget(const KivoPoint& p) const;
    // The marker point that keeps a content of `size` under the finger at `p` with its corner by the
    // alignment (centred for alignments 0 and 1); at the finger for an alignment past 4.
    static KivoPoint alignedTarget(std::int64_t alignment, const KivoPoint& p, const plat::Size& size);

protected:
    explicit KivoChartMarkerBaseView(const plat::Rect& frame) : plat::View(frame) {}
    void initialize() override;

private:
    std::weak_ptr<KivoChartLineMarker> _marker;
    std::shared_ptr<IKivoChartMarkerRender> _markerRender;
    std::shared_ptr<plat::PanGestureRecognizer> _panRecognizer;
};
