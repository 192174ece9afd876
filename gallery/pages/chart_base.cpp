// The chart base: a small control built on it that lays out the frame every chart control shares
// (background, border, padding, header and footer, a legend whose items the control supplies through
// the legend callbacks, the plot-area background) and fills its plot area with the 3 × 3 card of
// anchored text and a turned title.

#include <algorithm>
#include <string>
#include <vector>

#include "ChartCore/KivoLegend.h"
#include "ChartCore/OmbriChartBase.h"
#include "Platform/ui/window.h"
#include "gallery_page.h"

namespace {

constexpr plat::Rect ChartFrame{12, 12, 536, 356};
constexpr double LegendGap = 10;     // between the plot area and the legend box
constexpr double SwatchSide = 10;    // the colour square of a legend item
constexpr double SwatchTextGap = 6;  // between the square and the item's name
constexpr double ItemInset = 4;      // around each legend item
constexpr double CardInset = 44;     // between the plot area's edge and the outer anchors
constexpr double MarkerArm = 4;      // half the length of an anchor's cross
constexpr double MarkerWidth = 1.5;
constexpr double GuideDash = 3;           // dash and gap of the guides through the anchors
constexpr double TurnedTitleOffset = 18;  // from the plot area's left edge to the turned title

const std::vector<std::string> Regions{"North", "South", "East", "West"};
const char* const HorizontalNames[] = {"right", "centre", "left"};
const char* const VerticalNames[] = {"above", "middle", "below"};

const plat::Color Marker = plat::Color::rgb255(214, 69, 80);
const plat::Color Grid = plat::Color::rgb255(214, 220, 230);
const plat::Color CardText = plat::Color::rgb255(40, 48, 60);

// The least control a chart can be: the base's frame, a legend of four regions, and the text card.
class FrameDemo : public OmbriChartBase {
public:
    static std::shared_ptr<FrameDemo> create(const plat::Rect& frame) {
        return initialized(std::shared_ptr<FrameDemo>(new FrameDemo(frame)));
    }

    void render(const std::shared_ptr<IKivoRenderEngine>& engine) override {
        OmbriChartBase::render(engine);
        auto content = rectChart()->clone();
        drawFrame(*engine, *content);

        content = drawTitle(engine, content, header(), false);
        content = drawTitle(engine, content, footer(), true);

        std::shared_ptr<KivoPoint> legendPoint;
        if (auto size = legend()->getDesiredSize(engine)) {
            legendPoint =
                KivoPoint::create(content->right() - size->width(), content->top() + (content->height() - size->height()) / 2);
            content->setWidth(content->width() - size->width() - LegendGap);
        }

        const auto plot = KivoRect::create(content->left() + plotMargin().left, content->top() + plotMargin().top,
                                           content->width() - plotMargin().left - plotMargin().right,
                                           content->height() - plotMargin().top - plotMargin().bottom);
        engine->setFill(plotAreaBackgroundColor());
        engine->setStroke(Grid);
        engine->setStrokeThickness(1);
        engine->drawRect(plot->left(), plot->top(), plot->width(), plot->height());
        drawTextCard(engine, *plot);

        if (legendPoint) legend()->render(engine, legendPoint);
    }

    std::shared_ptr<KivoSize> getLegendDesiredSize(const std::shared_ptr<IKivoRenderEngine>& engine, bool isVertical) override {
        double width = 0, height = 0;
        for (const auto& name : Regions) {
            const auto item = measureItem(*engine, name);
            width = isVertical ? std::max(width, item.width) : width + item.width;
            height = isVertical ? height + item.height : std::max(height, item.height);
        }
        return KivoSize::create(width, height);
    }

    void renderLegend(const std::shared_ptr<IKivoRenderEngine>& engine, const std::shared_ptr<KivoPoint>& point, bool isVertical,
                      std::vector<std::shared_ptr<KivoRect>>& areas) override {
        double x = point->x(), y = point->y();
        for (std::size_t i = 0; i < Regions.size(); ++i) {
            const auto item = measureItem(*engine, Regions[i]);
            const double middle = y + item.height / 2;
            engine->setFill(getColor(static_cast<std::int64_t>(i)));
            engine->setStroke(getColorDark(static_cast<std::int64_t>(i)));
            engine->setStrokeThickness(1);
            engine->drawRect(x + ItemInset, middle - SwatchSide / 2, SwatchSide, SwatchSide);
            renderText(engine, Regions[i], KivoPoint::create(x + ItemInset + SwatchSide + SwatchTextGap, middle), 0, 1);
            areas.push_back(KivoRect::create(x, y, item.width, item.height));
            (isVertical ? y : x) += isVertical ? item.height : item.width;
        }
    }

private:
    explicit FrameDemo(const plat::Rect& frame) : OmbriChartBase(frame) {}

    plat::Size measureItem(IKivoRenderEngine& engine, const std::string& name) const {
        const auto text = engine.measureString(name);
        return {2 * ItemInset + SwatchSide + SwatchTextGap + text->width(), 2 * ItemInset + std::max(SwatchSide, text->height())};
    }

    // Background over the whole control, then the border line inside it; `content` loses the border
    // and the padding.
    void drawFrame(IKivoRenderEngine& engine, KivoRect& content) const {
        const double b = borderWidth() > 0 ? borderWidth() : 0;
        engine.setFill(backgroundColor().value_or(plat::Color::clear()));
        engine.setStroke(b > 0 ? borderColor() : plat::Color::clear());
        engine.setStrokeThickness(b);
        engine.drawRect(content.left() + b / 2, content.top() + b / 2, content.width() - b, content.height() - b);
        content.setLeft(content.left() + b + padding().left);
        content.setTop(content.top() + b + padding().top);
        content.setWidth(content.width() - 2 * b - padding().left - padding().right);
        content.setHeight(content.height() - 2 * b - padding().top - padding().bottom);
    }

    // Nine anchors in three rows and columns; each text is placed by the codes of its cell.
    void drawTextCard(const std::shared_ptr<IKivoRenderEngine>& engine, const KivoRect& plot) const {
        const double left = plot.left() + CardInset, top = plot.top() + CardInset;
        const double stepX = (plot.width() - 2 * CardInset) / 2, stepY = (plot.height() - 2 * CardInset) / 2;
        engine->setStroke(Grid);
        engine->setStrokeThickness(1);
        engine->setBorderDashes({GuideDash, GuideDash});
        for (int k = 0; k < 3; ++k) {
            engine->drawLine(left + k * stepX, plot.top() + 1, left + k * stepX, plot.bottom() - 1);
            engine->drawLine(plot.left() + 1, top + k * stepY, plot.right() - 1, top + k * stepY);
        }
        engine->setBorderDashes({});
        engine->setFont(plat::Font::system(12));
        engine->setTextFill(CardText);
        engine->setStroke(Marker);
        engine->setStrokeThickness(MarkerWidth);
        for (int v = 0; v < 3; ++v) {
            for (int h = 0; h < 3; ++h) {
                const auto anchor = KivoPoint::create(left + h * stepX, top + v * stepY);
                renderText(engine, std::string(HorizontalNames[h]) + " · " + VerticalNames[v], anchor, h, v);
                engine->drawLine(anchor->x() - MarkerArm, anchor->y(), anchor->x() + MarkerArm, anchor->y());
                engine->drawLine(anchor->x(), anchor->y() - MarkerArm, anchor->x(), anchor->y() + MarkerArm);
            }
        }
        const auto turnedAt = KivoPoint::create(plot.left() + TurnedTitleOffset, plot.top() + plot.height() / 2);
        engine->setFont(plat::Font::boldSystem(12));
        renderRotatedText(engine, "turned −90°", turnedAt, 1, 1, turnedAt, -90, nullptr);
    }
};

void populate(plat::Window& window) {
    window.setBackgroundColor(plat::Color::rgb255(236, 239, 243));
    auto chart = FrameDemo::create(ChartFrame);
    chart->setBackgroundColor(plat::Color::white());
    chart->setBorderColor(plat::Color::rgb255(160, 168, 180));
    chart->setBorderWidth(1);
    chart->setPadding({8, 10, 8, 10});
    chart->setPlotMargin({6, 0, 6, 0});
    chart->setPlotAreaBackgroundColor(plat::Color::rgb255(246, 248, 252));
    chart->setHeader("Anchored text on the chart base");
    chart->setFooter("Footer: each red cross is an anchor; the text names its alignment codes");
    chart->setTextColor(plat::Color::rgb255(40, 48, 60));
    const auto& legend = chart->legend();  // the base's own, on the right
    legend->setBorderWidth(1);
    legend->setBorderColor(plat::Color::rgb255(200, 206, 216));
    legend->setBackgroundColor(plat::Color::white());
    window.addSubview(chart);
}

const gallery::PageRegistrar registrar({
    .name = "chart_base",
    .description = "A control on the chart base: background, border and padding, header and footer titles, a legend "
                   "on the right whose items come from the control's callbacks, the plot-area background, and the "
                   "3 × 3 card of text anchored by its alignment codes (horizontal: right of, centred on, left of "
                   "the cross; vertical: above, on, below it) with a title turned by −90°.",
    .size = {560, 380},
    .populate = populate,
});

}  // namespace
