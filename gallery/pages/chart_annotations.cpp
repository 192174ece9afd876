// Annotations over a column chart: a text, a rectangle with a text, an ellipse, a polygon with a text, a
// line and a picture loaded from a file:// PNG, under the four attachments, and a rectangle anchored to
// a column by its index, clipped at the plot's top edge.

#include <filesystem>
#include <iostream>
#include <string>

#include "ChartCore/KivoLegend.h"
#include "OmbriChart/KivoChartImageAnnotation.h"
#include "OmbriChart/KivoChartLineAnnotation.h"
#include "OmbriChart/KivoChartTextAnnotation.h"
#include "OmbriChart/KivoSeries.h"
#include "OmbriChart/OmbriChart.h"
#include "Platform/foundation/log.h"
#include "Platform/graphics/image_context.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/ui/window.h"
#include "gallery_page.h"

namespace {

constexpr plat::Rect ChartFrame{12, 12, 776, 376};
constexpr double LoadWait = 5;

const plat::Color Ink = plat::Color::rgb255(40, 48, 60);
const plat::Color Accent = plat::Color::rgb255(214, 69, 80);
const plat::Color Soft = plat::Color::rgb255(255, 236, 179, 0.9);
const plat::Color Sky = plat::Color::rgb255(64, 150, 220, 0.35);
const plat::Color Leaf = plat::Color::rgb255(76, 175, 80, 0.55);

struct Sale {
    const char* country;
    double sales, expenses;
};
constexpr Sale Sales[] = {{"US", 182, 96},   {"Germany", 134, 71}, {"UK", 121, 88},
                          {"Japan", 157, 64}, {"Italy", 98, 55},    {"Greece", 64, 40}};

plat::ArrayPtr items() {
    auto list = std::make_shared<plat::Array>();
    for (const auto& s : Sales)
        list->push_back(plat::Value(plat::Dictionary{{"country", s.country}, {"sales", s.sales}, {"expenses", s.expenses}}));
    return list;
}

// A small badge (a sun over a hill) written as a PNG file, for the image annotation to load.
std::string writeBadge() {
    plat::ImageContext badge({48, 32}, 2);
    auto& c = badge.context();
    c.setFillColor(plat::Color::rgb255(135, 206, 235));
    c.fillRect({0, 0, 48, 32});
    c.setFillColor(plat::Color::rgb255(255, 193, 7));
    c.fillEllipse({28, 4, 14, 14});
    c.setFillColor(plat::Color::rgb255(56, 142, 60));
    c.fillEllipse({-10, 18, 50, 30});
    const auto image = badge.finish();
    const auto dir = std::filesystem::path(KIVO_BINARY_DIR) / "gallery_files";
    std::filesystem::create_directories(dir);
    const auto path = (dir / "annotation_badge.png").string();
    if (image) image->writePNG(path);
    return "file://" + path;
}

template <class T>
std::shared_ptr<T> add(const std::shared_ptr<OmbriChart>& chart) {
    auto a = T::create(chart);
    chart->annotations()->addObject(plat::Value(a));
    return a;
}

void populate(plat::Window& window) {
    window.setBackgroundColor(plat::Color::rgb255(236, 239, 243));
    auto chart = OmbriChart::create(ChartFrame);
    chart->setIsAnimated(false);
    chart->setChartType(OmbriChartTypeColumn);
    chart->setBackgroundColor(plat::Color::white());
    chart->setPadding({8, 10, 8, 12});
    chart->setHeader("Annotations");
    chart->setHeaderTextColor(Ink);
    chart->legend()->setPosition(KivoAxisPositionBottom);
    chart->setBindingX("country");
    chart->series()->addObject(plat::Value(KivoSeries::create(chart, "sales", "Sales")));
    chart->series()->addObject(plat::Value(KivoSeries::create(chart, "expenses", "Expenses")));
    chart->setItemsSource(items());

    // Absolute: a text near the plot's top-left corner.
    auto text = add<KivoChartTextAnnotation>(chart);
    text->setText("Absolute text");
    text->setTextColor(Ink);
    text->setFont(plat::Font::boldSystem(14));
    text->setPosition(KivoAnnotationPositionRight);
    text->setPoint(KivoPoint::create(320, 14));

    // Relative: a rectangle with a text, in the upper right quarter of the plot.
    auto rect = add<KivoChartRectangleAnnotation>(chart);
    rect->setAttachment(KivoAnnotationAttachmentRelative);
    rect->setPoint(KivoPoint::create(0.82, 0.12));
    rect->setWidth(150);
    rect->setHeight(36);
    rect->setColor(Soft);
    rect->setBorderColor(Accent);
    rect->setBorderWidth(1.5);
    rect->setText("Relative rectangle");
    rect->setTextColor(Ink);

    // DataCoordinate: an ellipse round Japan's value.
    auto ellipse = add<KivoChartEllipseAnnotation>(chart);
    ellipse->setAttachment(KivoAnnotationAttachmentDataCoordinate);
    ellipse->setPoint(KivoPoint::create(3, 157));
    ellipse->setWidth(90);
    ellipse->setHeight(40);
    ellipse->setColor(Sky);
    ellipse->setBorderColor(plat::Color::rgb255(25, 118, 210));
    ellipse->setText("Data point");

    // DataIndex: a flag-shaped polygon with a text over Germany's sales column.
    auto polygon = add<KivoChartPolygonAnnotation>(chart);
    polygon->setAttachment(KivoAnnotationAttachmentDataIndex);
    polygon->setPointIndex(1);
    polygon->setPoints({KivoPoint::create(0, -6), KivoPoint::create(-30, -40), KivoPoint::create(30, -40)});
    polygon->setColor(Leaf);
    polygon->setBorderColor(plat::Color::rgb255(46, 125, 50));
    polygon->setText("Index");

    // DataIndex: a tick up from Italy's expenses column.
    auto tick = add<KivoChartLineAnnotation>(chart);
    tick->setAttachment(KivoAnnotationAttachmentDataIndex);
    tick->setSeriesIndex(1);
    tick->setPointIndex(4);
    tick->setEnd(KivoPoint::create(0, -48));
    tick->setColor(Accent);
    tick->setLineWidth(3);

    // Relative: a picture from a file, over the lower right of the plot.
    auto picture = add<KivoChartImageAnnotation>(chart);
    picture->setAttachment(KivoAnnotationAttachmentRelative);
    picture->setPoint(KivoPoint::create(0.9, 0.55));
    picture->setWidth(96);
    picture->setHeight(64);
    picture->setImageWithURL(writeBadge());

    // DataIndex: a rectangle over the US sales column that runs past the plot's top edge: clipped there.
    auto clipped = add<KivoChartRectangleAnnotation>(chart);
    clipped->setAttachment(KivoAnnotationAttachmentDataIndex);
    clipped->setOffset(KivoPoint::create(0, 24));
    clipped->setWidth(70);
    clipped->setHeight(90);
    clipped->setColor(plat::Color::rgb255(255, 152, 0, 0.45));
    clipped->setBorderColor(plat::Color::rgb255(230, 81, 0));
    clipped->setBorderWidth(2);
    clipped->setText("Clipped");

    window.addSubview(chart);
    // The load writes its finish to the system log, which the gallery counts as a fault of the page:
    // that one line is taken aside, any other goes on.
    auto previous = std::make_shared<plat::LogSink>();
    *previous = plat::setLogSink([previous](const std::string& line) {
        if (line == "Connection Loading Finished!!!") return;
        if (*previous)
            (*previous)(line);
        else
            std::cerr << line << "\n";
    });
    plat::RecordingContext firstPass;  // lays the chart out and starts the picture's load
    window.display(firstPass);
    plat::RunLoop::main().runUntil([&] { return !picture->isLoading(); }, LoadWait);
    plat::setLogSink(*previous);
}

const gallery::PageRegistrar registrar({
    .name = "chart_annotations",
    .description = "Annotations over a column chart: an absolute text, a relative rectangle with a text, an ellipse at a "
                   "data coordinate, a polygon and a tick anchored to columns by index, a picture loaded from a file:// "
                   "PNG, and a rectangle anchored to the US column clipped at the plot's top edge.",
    .size = {800, 400},
    .populate = populate,
    .settleSeconds = 0.5,
});

}  // namespace
