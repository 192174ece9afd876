#pragma once
// The legend of a chart control. It owns where the legend sits, how it lists its items and its box
// (background, border, padding, label font and colour); the control supplies the items through two
// callbacks, getLegendDesiredSize and renderLegend, and hands back one rectangle per drawn item, which
// the legend's hit test answers by index.
//
// A drawing pass asks getDesiredSize first (the control lays itself out around that size) and then
// render at the place it chose: render draws what the last getDesiredSize measured.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "ChartCore/KivoChartCoreExport.h"
#include "ChartCore/KivoChartEnums.h"
#include "KivoCore/KivoGeometry.h"
#include "Platform/graphics/color.h"
#include "Platform/graphics/font.h"

class IKivoRenderEngine;
class OmbriChartBase;

class KIVO_CHART_CORE_EXPORT KivoLegend : public plat::Object {
public:
    // `chart` is held weakly (the control owns its legend); through a control that is gone the legend
    // measures nothing and draws nothing.
    explicit KivoLegend(const std::shared_ptr<OmbriChartBase>& chart);
    static std::shared_ptr<KivoLegend> create(const std::shared_ptr<OmbriChartBase>& chart) {
        return std::make_shared<KivoLegend>(chart);
    }

    std::shared_ptr<OmbriChartBase> chart() const { return _chart.lock(); }

    // ---- Placement (a change redraws the control) ----
    // A KivoAxisPosition; any other value (0 included) shows no legend.
    std::int64_t position() const { return _position; }
    void setPosition(std::int64_t position);
    std::int64_t getPosition() const { return _position; }
    // A KivoLegendOrientation; unknown values count as Auto.
    std::int64_t orientation() const { return _orientation; }
    void setOrientation(std::int64_t orientation);
    std::int64_t getOrientation() const { return _orientation; }
    // Whether the items go in a column: Vertical, or Auto at the left or right.
    bool isVertical() const;

    // ---- Look (a change redraws the control) ----
    // null: no background.
    const std::optional<plat::Color>& backgroundColor() const { return _backgroundColor; }
    void setBackgroundColor(std::optional<plat::Color> color);
    const plat::Color& borderColor() const { return _borderColor; }
    void setBorderColor(const plat::Color& color);
    // 0 draws no border; negative and NaN widths are stored as 0.
    double borderWidth() const { return _borderWidth; }
    void setBorderWidth(double width);
    // Room between the border and the items on every side; negative and NaN are stored as 0.
    double padding() const { return _padding; }
    void setPadding(double padding);
    // The engine's font and text colour while the control measures and draws the items.
    const plat::Font& labelFont() const { return _labelFont; }
    void setLabelFont(const plat::Font& font);
    // null: the control's textColor, or black.
    const std::optional<plat::Color>& labelTextColor() const { return _labelTextColor; }
    void setLabelTextColor(std::optional<plat::Color> color);

    // ---- The pass ----
    // Border and padding included, or null when there is no legend: a position outside 1…4, a control
    // that is gone or answers no size, or items that take no room.
    std::shared_ptr<KivoSize> getDesiredSize(const std::shared_ptr<IKivoRenderEngine>& engine);
    // Draws the box of the last measured size with its top-left corner at `point` and has the control
    // draw the items inside it; forgets the items of the last pass first. Nothing without a size.
    void render(const std::shared_ptr<IKivoRenderEngine>& engine, const std::shared_ptr<KivoPoint>& point);
    // The index of the item rectangle that contains the point (edges included; the first of
    // overlapping ones), -1 for none.
    std::int32_t hitTest(const std::shared_ptr<KivoPoint>& point) const;
    // The item rectangles of the last render, in the control's coordinates.
    const std::vector<std::shared_ptr<KivoRect>>& areas() const { return _areas; }
    // The box drawn by the last render, or null.
    const std::shared_ptr<KivoRect>& bounds() const { return _bounds; }

    // The room the box adds to the items on each side (border and padding): a control that wraps its
    // items at a width keeps twice this free.
    double inset() const { return _borderWidth + _padding; }

    static constexpr double DefaultPadding = 4;
    static constexpr double DefaultFontSize = 12;

private:
    KIVO_CHART_CORE_NO_EXPORT void invalidateChart() const;

    std::weak_ptr<OmbriChartBase> _chart;
    std::int64_t _position = KivoAxisPositionRight;
    std::int64_t _orientation = KivoLegendOrientationAuto;
    std::optional<plat::Color> _backgroundColor;
    plat::Color _borderColor = plat::Color::gray();
    double _borderWidth = 0;
    double _padding = DefaultPadding;
    plat::Font _labelFont = plat::Font::system(DefaultFontSize);
    std::optional<plat::Color> _labelTextColor;

    std::shared_ptr<KivoSize> _desiredSize;
    std::shared_ptr<KivoRect> _bounds;
    std::vector<std::shared_ptr<KivoRect>> _areas;
};
