#pragma once
// What fills a line marker's content view: the marker calls renderMarker once it has placed the content
// beside the marker point, so that the application can show the values there.

#include "OmbriChart/KivoOmbriChartExport.h"

class KIVO_CHART_EXPORT IKivoChartMarkerRender {
public:
    virtual ~IKivoChartMarkerRender() = default;
    virtual void renderMarker() = 0;
};
