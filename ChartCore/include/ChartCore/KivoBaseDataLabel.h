#pragma once
// The look of a chart control's data labels: the text template, number format, font, colours and
// border of the box. The controls derive their label settings from it (adding where a label goes) and
// their renderers read it. Changing a setting redraws the control.

#include <memory>
#include <optional>
#include <string>

#include "ChartCore/KivoChartCoreExport.h"
#include "Platform/foundation/object.h"
#include "Platform/graphics/color.h"
#include "Platform/graphics/font.h"

class OmbriChartBase;

class KIVO_CHART_CORE_EXPORT KivoBaseDataLabel : public plat::Object {
public:
    KivoBaseDataLabel() = default;
    static std::shared_ptr<KivoBaseDataLabel> create() { return std::make_shared<KivoBaseDataLabel>(); }

    // The control the label belongs to (held weakly: the control owns its label); null once it is gone.
    std::shared_ptr<OmbriChartBase> chart() const { return _chart.lock(); }
    void setChart(const std::shared_ptr<OmbriChartBase>& chart) { _chart = chart; }

    // The template; its placeholders are the control's ("{y}", "{x}", "{value}", …). null is no template.
    const std::optional<std::string>& content() const { return _content; }
    void setContent(std::optional<std::string> content);
    // A numeric format string; empty formats numbers plainly.
    const std::string& dataLabelFormat() const { return _dataLabelFormat; }
    void setDataLabelFormat(std::string format);
    const plat::Font& dataLabelFont() const { return _dataLabelFont; }
    void setDataLabelFont(const plat::Font& font);
    const plat::Color& dataLabelFontColor() const { return _dataLabelFontColor; }
    void setDataLabelFontColor(const plat::Color& color);
    const plat::Color& dataLabelBackgroundColor() const { return _dataLabelBackgroundColor; }
    void setDataLabelBackgroundColor(const plat::Color& color);
    const plat::Color& dataLabelBorderColor() const { return _dataLabelBorderColor; }
    void setDataLabelBorderColor(const plat::Color& color);
    // Negative and NaN widths are stored as 0.
    double dataLabelBorderWidth() const { return _dataLabelBorderWidth; }
    void setDataLabelBorderWidth(double width);

    static constexpr const char* DefaultContent = "{y}";
    static constexpr double DefaultFontSize = 11;

protected:
    // Asks the control for a drawing pass; nothing once it is gone.
    void invalidateChart() const;

    std::weak_ptr<OmbriChartBase> _chart;

private:
    std::optional<std::string> _content = std::string(DefaultContent);
    std::string _dataLabelFormat;
    plat::Font _dataLabelFont = plat::Font::system(DefaultFontSize);
    plat::Color _dataLabelFontColor = plat::Color::black();
    plat::Color _dataLabelBackgroundColor = plat::Color::clear();
    plat::Color _dataLabelBorderColor = plat::Color::clear();
    double _dataLabelBorderWidth = 0;
};
