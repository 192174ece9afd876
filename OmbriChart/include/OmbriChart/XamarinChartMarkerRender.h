#pragma once
// The marker render of a host binding layer: the marker does not place a content carrying it, but flags
// it (isShowXFContent) for the layer to show; dragging such a content moves the marker with the finger.
// Its own steps do nothing.

#include <memory>

#include "OmbriChart/IKivoChartMarkerRender.h"
#include "OmbriChart/KivoOmbriChartExport.h"
#include "Platform/foundation/object.h"

class KIVO_CHART_EXPORT XamarinChartMarkerRender : public plat::Object, public IKivoChartMarkerRender {
public:
    static std::shared_ptr<XamarinChartMarkerRender> create() { return std::make_shared<XamarinChartMarkerRender>(); }

    void renderMarker() override {}
    void show() {}
    void hide() {}
};
