#pragma once
// What measures and draws the pie's data labels: the renderer the application may replace, and the
// default one. Both hold the pie weakly (the pie owns its renderer) and the label settings strongly.

#include <memory>

#include "OmbriPie/KivoOmbriPieExport.h"
#include "OmbriPie/OmbriPieDataLabel.h"
#include "Platform/foundation/object.h"

class OmbriPie;

class KIVO_PIE_EXPORT OmbriPieDataLabelRenderer : public plat::Object {
public:
    OmbriPieDataLabelRenderer(const std::shared_ptr<OmbriPie>& pie, std::shared_ptr<OmbriPieDataLabel> label)
        : _pie(pie), _label(std::move(label)) {}

    // Null once the pie is gone.
    std::shared_ptr<OmbriPie> pie() const { return _pie.lock(); }
    const std::shared_ptr<OmbriPieDataLabel>& label() const { return _label; }

protected:
    std::weak_ptr<OmbriPie> _pie;
    std::shared_ptr<OmbriPieDataLabel> _label;
};

class KIVO_PIE_EXPORT DefaultOmbriPieDataLabelRenderer : public OmbriPieDataLabelRenderer {
public:
    using OmbriPieDataLabelRenderer::OmbriPieDataLabelRenderer;
    static std::shared_ptr<DefaultOmbriPieDataLabelRenderer> create(const std::shared_ptr<OmbriPie>& pie,
                                                                    std::shared_ptr<OmbriPieDataLabel> label) {
        return std::make_shared<DefaultOmbriPieDataLabelRenderer>(pie, std::move(label));
    }
};
