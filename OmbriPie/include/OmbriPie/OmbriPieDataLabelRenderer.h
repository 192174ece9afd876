#pragma once
// What measures and draws the pie's data labels: the renderer the application may replace, and the
// default one. Both hold the pie weakly (the pie owns its renderer) and the label settings strongly.
//
// A label's text is its template with "{name}" (the slice's label), "{pointIndex}" (its index) and
// "{value}" (its value in the label's number format) filled in, in one scan: what a placeholder
// brings in is never scanned again. No template gives the value truncated to a whole number.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "KivoCore/KivoGeometry.h"
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

    // The text of the label of slice `index`.
    std::string labelText(const std::string& name, std::int64_t index, double value) const;
    // The room a label needs along the radius: its text's width in the pie's label font plus four
    // border widths; 0 when labels are off.
    virtual double dataLabelDimension(const std::string& name, std::int64_t index, double value);
    // Draws one label centred in `rect`, upright however the pie's drawing view is turned. This
    // renderer draws nothing; the default one draws the text in its box.
    virtual void render(const std::string& name, const std::shared_ptr<KivoRect>& rect, std::int64_t index, double value,
                        const std::vector<double>& values);

    // ---- Hooks for a renderer on the application's side (used while the pie's isXamarinLabel is on) ----
    // The size of a label, for the room outside labels take; null: not answered (no room).
    virtual std::shared_ptr<KivoSize> getLabelSize(const std::string& /*name*/, std::int64_t /*index*/, double /*value*/,
                                                   const std::vector<double>& /*values*/) {
        return nullptr;
    }
    // Sent once per drawing pass, after the slices and before the labels.
    virtual void clearXamarinDataLabelIfUpdated() {}

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

    // The text centred in `rect`, in a box reaching two border widths beyond it, turned back by the
    // drawing view's turn about its own centre.
    void render(const std::string& name, const std::shared_ptr<KivoRect>& rect, std::int64_t index, double value,
                const std::vector<double>& values) override;
};
