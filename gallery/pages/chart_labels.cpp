// The chart's data labels, drawn by its default renderer: on the left, one boxed label for each of
// the five placements around a column (codes 1 to 5: to its left, to its right, over it, under it and
// on its middle); on the right, labels of
// quarterly columns with their category texts, the tallest kept inside the plot area. The columns
// themselves are drawn by the page (the chart's plotters are not in place yet).

#include <string>
#include <vector>

#include "OmbriChart/DefaultChartDataLabelRenderer.h"
#include "OmbriChart/OmbriChart.h"
#include "Platform/ui/window.h"
#include "gallery_page.h"

namespace {

constexpr plat::Rect ChartFrame{12, 12, 536, 356};
constexpr double FrameInset = 14;     // from the chart's edge to the panels
constexpr double PanelGap = 24;       // between the two panels
constexpr double CaptionHeight = 22;  // the caption band above each panel
constexpr double ColumnWidth = 110;
constexpr double ColumnHeight = 120;
constexpr double QuarterWidth = 34;
constexpr double LabelBorder = 1.5;  // also two border widths of room around the text
constexpr double LabelFontSize = 11;

const plat::Color Ink = plat::Color::rgb255(40, 48, 60);
const plat::Color Muted = plat::Color::rgb255(110, 118, 130);
const plat::Color PlotFill = plat::Color::rgb255(246, 248, 252);
const plat::Color PlotEdge = plat::Color::rgb255(200, 206, 216);
const plat::Color LabelFill = plat::Color::rgb255(255, 253, 240);
const plat::Color LabelEdge = plat::Color::rgb255(150, 160, 176);

struct Placement {
    std::int64_t position;
    const char* name;
};
const Placement Placements[] = {
    {KivoDataLabelPositionLeft, "left"},   {KivoDataLabelPositionRight, "right"},   {KivoDataLabelPositionAbove, "above"},
    {KivoDataLabelPositionBelow, "below"}, {KivoDataLabelPositionCenter, "centre"},
};

const std::vector<std::string> Quarters{"Q1", "Q2", "Q3", "Q4"};
const double QuarterValues[] = {41.5, 63.4, 100, 78.5};  // the third reaches the plot's top edge

class LabelsDemo : public OmbriChart {
public:
    static std::shared_ptr<LabelsDemo> create(const plat::Rect& frame) {
        return initialized(std::shared_ptr<LabelsDemo>(new LabelsDemo(frame)));
    }

    void render(const std::shared_ptr<IKivoRenderEngine>& engine) override {
        OmbriChartBase::render(engine);
        auto content = rectChart()->clone();
        engine->setFill(backgroundColor().value_or(plat::Color::white()));
        engine->setStroke(borderColor());
        engine->setStrokeThickness(borderWidth());
        engine->drawRect(content->left() + 0.5, content->top() + 0.5, content->width() - 1, content->height() - 1);
        content = drawTitle(engine, content, header(), false);
        content = drawTitle(engine, content, footer(), true);

        const double panelWidth = (content->width() - 2 * FrameInset - PanelGap) / 2;
        const double top = content->top() + CaptionHeight;
        const double height = content->bottom() - FrameInset - top;
        const auto left = KivoRect::create(content->left() + FrameInset, top, panelWidth, height);
        const auto right = KivoRect::create(left->right() + PanelGap, top, panelWidth, height);
        drawPositions(engine, left);
        drawKeptInside(engine, right);
    }

    // One renderer per placement, each with its own label settings in the chart's style.
    std::vector<std::shared_ptr<DefaultChartDataLabelRenderer>> placed;
    std::shared_ptr<DefaultChartDataLabelRenderer> above;

    std::shared_ptr<DefaultChartDataLabelRenderer> makeRenderer(std::int64_t position, const std::string& content,
                                                                const std::string& format) {
        const auto self = sharedAs<OmbriChart>();
        auto label = OmbriChartDataLabel::create(self);
        label->setPosition(position);
        label->setContent(content);
        label->setDataLabelFormat(format);
        label->setDataLabelFont(plat::Font::system(LabelFontSize));
        label->setDataLabelFontColor(Ink);
        label->setDataLabelBackgroundColor(LabelFill);
        label->setDataLabelBorderColor(LabelEdge);
        label->setDataLabelBorderWidth(LabelBorder);
        return DefaultChartDataLabelRenderer::create(self, label);
    }

    void setCategories(std::vector<std::string> labels) { setXlabels(std::move(labels)); }

private:
    explicit LabelsDemo(const plat::Rect& frame) : OmbriChart(frame) {}

    void drawPanel(const std::shared_ptr<IKivoRenderEngine>& engine, const std::shared_ptr<KivoRect>& panel,
                   const std::string& caption) {
        engine->setFont(plat::Font::boldSystem(12));
        engine->setTextFill(Ink);
        renderText(engine, caption, KivoPoint::create(panel->left(), panel->top() - CaptionHeight / 2), 0, 1);
        engine->setFill(PlotFill);
        engine->setStroke(PlotEdge);
        engine->setStrokeThickness(1);
        engine->drawRect(panel->left(), panel->top(), panel->width(), panel->height());
        // The labels are kept inside this rectangle.
        setPlotRect(panel);
    }

    void drawColumn(const std::shared_ptr<IKivoRenderEngine>& engine, const KivoRect& r, std::int64_t colour) {
        engine->setFill(getColor(colour));
        engine->setStroke(getColorDark(colour));
        engine->setStrokeThickness(1);
        engine->drawRect(r.left(), r.top(), r.width(), r.height());
    }

    void drawPositions(const std::shared_ptr<IKivoRenderEngine>& engine, const std::shared_ptr<KivoRect>& panel) {
        drawPanel(engine, panel, "Positions 1–5 around a column");
        const auto column = KivoRect::create(panel->left() + (panel->width() - ColumnWidth) / 2,
                                             panel->top() + (panel->height() - ColumnHeight) / 2, ColumnWidth, ColumnHeight);
        drawColumn(engine, *column, 0);
        for (std::size_t i = 0; i < placed.size(); ++i)
            placed[i]->render(Placements[i].name, column, 0, static_cast<std::int64_t>(i), 0, 42, plat::Value());
    }

    void drawKeptInside(const std::shared_ptr<IKivoRenderEngine>& engine, const std::shared_ptr<KivoRect>& panel) {
        drawPanel(engine, panel, "Kept inside the plot area");
        // Quarterly columns from the bottom edge; a value of 100 fills the panel's height.
        const double step = panel->width() / (Quarters.size() + 1);
        for (std::size_t i = 0; i < Quarters.size(); ++i) {
            const double h = panel->height() * QuarterValues[i] / 100;
            const auto bar =
                KivoRect::create(panel->left() + step * (i + 1) - QuarterWidth / 2, panel->bottom() - h, QuarterWidth, h);
            drawColumn(engine, *bar, 1);
            above->render("Sales", bar, 1, static_cast<std::int64_t>(i), static_cast<double>(i), QuarterValues[i], plat::Value());
        }
    }
};

void populate(plat::Window& window) {
    window.setBackgroundColor(plat::Color::rgb255(236, 239, 243));
    auto chart = LabelsDemo::create(ChartFrame);
    chart->setBackgroundColor(plat::Color::white());
    chart->setBorderColor(plat::Color::rgb255(160, 168, 180));
    chart->setBorderWidth(1);
    chart->setHeader("Data labels");
    chart->setFooter("Each box is one label of the default renderer; the page draws the columns");
    chart->setTextColor(Ink);
    chart->setFooterTextColor(Muted);
    for (const auto& p : Placements) chart->placed.push_back(chart->makeRenderer(p.position, "{seriesName} · {y}", ""));
    chart->above = chart->makeRenderer(KivoDataLabelPositionAbove, "{x}: {y}", "N1");
    chart->setCategories(Quarters);
    window.addSubview(chart);
}

const gallery::PageRegistrar registrar({
    .name = "chart_labels",
    .description = "Boxed data labels of the Cartesian chart's default renderer: one at each position around a column "
                   "(left, right, above, below, centre), and labels of quarterly columns (category text and value "
                   "with one decimal), the label of the tallest kept inside the plot area.",
    .size = {560, 380},
    .populate = populate,
});

}  // namespace
