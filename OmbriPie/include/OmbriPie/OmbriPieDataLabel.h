#pragma once
// The look of the pie's data labels: the chart base's label settings plus where a label goes.

#include <cstdint>
#include <memory>

#include "ChartCore/KivoBaseDataLabel.h"
#include "OmbriPie/KivoOmbriPieExport.h"

class OmbriPie;

// Where a slice's label sits.
enum KivoPieLabelPosition : std::int64_t {
    KivoPieLabelPositionNone = 0,
    KivoPieLabelPositionInside = 1,
    KivoPieLabelPositionOutside = 2,
    KivoPieLabelPositionCenter = 3,
};

class KIVO_PIE_EXPORT OmbriPieDataLabel : public KivoBaseDataLabel {
public:
    // The pie is held weakly (the pie owns its label). No labels, template "{value}".
    explicit OmbriPieDataLabel(const std::shared_ptr<OmbriPie>& pie);
    static std::shared_ptr<OmbriPieDataLabel> create(const std::shared_ptr<OmbriPie>& pie) {
        return std::make_shared<OmbriPieDataLabel>(pie);
    }

    // A KivoPieLabelPosition; any code is stored. Setting it redraws the pie.
    std::int64_t position() const { return _position; }
    void setPosition(std::int64_t position);

    static constexpr const char* DefaultPieContent = "{value}";

private:
    std::int64_t _position = KivoPieLabelPositionNone;
};
