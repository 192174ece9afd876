// What annotations draw and where a finger hits them: texts in their own font, the shapes' look and
// clip, polygons and lines anchored to a data point, hit outlines, stacking order and hidden ones.

#include <cmath>

#include "ChartCore/KivoChartTooltip.h"
#include "OmbriChart/KivoChartHitTestInfo.h"
#include "annotation_fixture.h"
#include "chart_test_access.h"

namespace {

using DrawingTest = AnnotationTest;

const plat::Color Fill = plat::Color::rgb255(30, 160, 90);
const plat::Color TextInk = plat::Color::rgb255(10, 20, 200);

TEST_F(DrawingTest, ATextBoxIsMeasuredInTheAnnotationsOwnFont) {
    standardChart();
    const auto text = addAnnotation<KivoChartTextAnnotation>();
    text->setText("Peak");
    text->setAttachment(-1);
    text->setPoint(KivoPoint::create(150, 100));
    draw();
    const plat::Size plain{text->width(), text->height()};

    text->setFont(plat::Font::system(30));
    draw();
    const auto* op = rec.findText("Peak");
    ASSERT_TRUE(op);
    // The box is the text as drawn, centred on the anchor, and larger than in the default font.
    EXPECT_NEAR(text->width(), op->textSize.width, 1e-6);
    EXPECT_NEAR(text->height(), op->textSize.height, 1e-6);
    EXPECT_GT(text->height(), plain.height * 1.3);
    const auto corner = device(150 - text->width() / 2, 100 - text->height() / 2);
    EXPECT_NEAR(op->origin.x, corner.x, 0.01);
    EXPECT_NEAR(op->origin.y, corner.y, 0.01);
}

TEST_F(DrawingTest, AShapeWithTheDefaultLookShowsOnlyABlackOutlineOfOne) {
    standardChart();
    const auto rect = addAnnotation<KivoChartRectangleAnnotation>();
    rect->setWidth(40);
    rect->setHeight(20);
    rect->setAttachment(-1);
    rect->setPoint(KivoPoint::create(150, 100));
    draw();
    const auto box = deviceRect(130, 90, 40, 20);
    const plat::DrawOp* outline = nullptr;
    for (const auto* op : rec.strokes())
        if (std::fabs(op->bounds().x() - box.x()) < 0.01 && std::fabs(op->bounds().width() - 40) < 0.01) outline = op;
    ASSERT_TRUE(outline);
    EXPECT_EQ(outline->color, plat::Color::black());
    EXPECT_DOUBLE_EQ(outline->userLineWidth, 1.0);
    for (const auto* op : rec.fills()) {
        if (std::fabs(op->bounds().x() - box.x()) < 0.01 && std::fabs(op->bounds().width() - 40) < 0.01) {
            EXPECT_EQ(op->visibleAlpha(), 0) << "a default shape is not filled";
        }
    }
}

TEST_F(DrawingTest, EllipsesAndRectanglesFillOutlineAndCentreTheirTextThenRestoreTheEngine) {
    standardChart();
    for (const bool ellipse : {false, true}) {
        freshChart();
        standardChart();
        std::shared_ptr<KivoChartShapeAnnotation> shape;
        if (ellipse)
            shape = addAnnotation<KivoChartEllipseAnnotation>();
        else
            shape = addAnnotation<KivoChartRectangleAnnotation>();
        shape->setWidth(60);
        shape->setHeight(30);
        shape->setColor(Fill);
        shape->setBorderColor(Ink);
        shape->setBorderWidth(3);
        shape->setText("Hi");
        shape->setTextColor(TextInk);
        for (const std::int64_t attachment : {0, 1, 2, 3}) {
            shape->setAttachment(attachment);
            shape->setPoint(KivoPoint::create(attachment == 3 ? 0.5 : 1, attachment == 3 ? 0.5 : 20));
            draw();
            const auto* fill = rec.findFill(Fill);
            const auto* stroke = rec.findStroke(Ink);
            const auto* text = rec.findText("Hi");
            ASSERT_TRUE(fill && stroke && text) << ellipse << attachment;
            EXPECT_EQ(stroke->userLineWidth, 3);
            EXPECT_EQ(text->color, TextInk);
            const auto b = fill->bounds();
            EXPECT_NEAR(b.width(), 60, 0.05);
            EXPECT_NEAR(b.height(), 30, 0.05);
            // The text stands in the middle of the figure.
            EXPECT_NEAR(text->origin.x + text->textSize.width / 2, b.x() + 30, 0.05);
            EXPECT_NEAR(text->origin.y + text->textSize.height / 2, b.y() + 15, 0.05);
            const bool clip = attachment == 1 || attachment == 2;
            const KivoRect plot = *chart->plotRect();
            const auto clippedToPlot = [&](const plat::DrawOp* op) {
                return op->clip && std::fabs(op->clip->width() - plot.width()) < 0.01 &&
                       std::fabs(op->clip->height() - plot.height()) < 0.01;
            };
            EXPECT_EQ(clippedToPlot(fill), clip) << ellipse << attachment;
            EXPECT_EQ(clippedToPlot(text), clip) << ellipse << attachment;
            // A figure inscribed in the box: the ellipse misses the box's corner.
            const plat::Point inCorner{b.x() + 2, b.y() + 2};
            EXPECT_EQ(fill->path.contains(inCorner), !ellipse);
        }
        // The engine's look is as before the annotation drew.
        auto& e = engine();
        e.setFill(plat::Color::white());
        e.setStroke(plat::Color::rgb255(1, 2, 3));
        e.setStrokeThickness(0.5);
        e.setTextFill(plat::Color::rgb255(4, 5, 6));
        const auto font = e.font();
        shape->render(chart->renderEngine());
        EXPECT_EQ(e.getFill(), plat::Color::white());
        EXPECT_EQ(e.getStroke(), plat::Color::rgb255(1, 2, 3));
        EXPECT_EQ(e.getStrokeThickness(), 0.5);
        EXPECT_EQ(e.getTextFill(), plat::Color::rgb255(4, 5, 6));
        EXPECT_EQ(e.font().size, font.size);
    }
}

TEST_F(DrawingTest, APolygonAndALineAnchoredToADataPointTakeTheirPointsAsOffsetsFromIt) {
    standardChart();
    const auto polygon = addAnnotation<KivoChartPolygonAnnotation>();
    polygon->setAttachment(KivoAnnotationAttachmentDataIndex);
    polygon->setPointIndex(1);
    polygon->setPoints({KivoPoint::create(0, 0), KivoPoint::create(20, 0), KivoPoint::create(10, -20)});
    polygon->setColor(Fill);
    polygon->setText("P");
    const auto tick = addAnnotation<KivoChartLineAnnotation>();
    tick->setAttachment(KivoAnnotationAttachmentDataIndex);
    tick->setPointIndex(3);
    tick->setEnd(KivoPoint::create(0, -40));
    tick->setColor(Ink);
    tick->setLineWidth(2);
    draw();

    const auto drawn = bars(0);
    const auto centre = [&](std::size_t i) { return drawn[i].rect.left() + drawn[i].rect.width() / 2; };
    const auto a = device(centre(1), sy(40));
    const auto* fill = rec.findFill(Fill);
    ASSERT_TRUE(fill);
    const auto& pts = fill->path.points();
    ASSERT_GE(pts.size(), 3u);
    const plat::Point expected[] = {{a.x, a.y}, {a.x + 20, a.y}, {a.x + 10, a.y - 20}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(pts[i].x, expected[i].x, 1e-6) << i;
        EXPECT_NEAR(pts[i].y, expected[i].y, 1e-6) << i;
    }
    const auto* label = rec.findText("P");
    ASSERT_TRUE(label);
    EXPECT_NEAR(label->origin.x + label->textSize.width / 2, a.x + 10, 1e-6);
    EXPECT_NEAR(label->origin.y + label->textSize.height / 2, a.y - 20.0 / 3, 1e-6);

    const auto* line = inkStroke();
    ASSERT_TRUE(line);
    const auto t = device(centre(3), sy(30));
    expectRectNear(line->bounds(), {t.x, t.y - 40, 0, 40});
}

TEST_F(DrawingTest, APlainShapeOfNoSizeDrawsItsTextAtItsCorner) {
    standardChart();
    const auto shape = addAnnotation<KivoChartShapeAnnotation>();
    shape->setText("Corner");
    shape->setAttachment(-1);
    shape->setPoint(KivoPoint::create(120, 60));
    draw();
    const auto* op = rec.findText("Corner");
    ASSERT_TRUE(op);
    EXPECT_NEAR(op->origin.x, device(120, 60).x, 1e-6);
    EXPECT_NEAR(op->origin.y, device(120, 60).y, 1e-6);
    EXPECT_EQ(shape->width(), 0);  // not measured: only a plain text annotation is
}

// ---- Hit outlines ----

TEST_F(DrawingTest, AnEllipseIsHitInsideItsCurveNotInTheCornersOfItsBox) {
    standardChart();
    const auto ellipse = addAnnotation<KivoChartEllipseAnnotation>();
    ellipse->setWidth(60);
    ellipse->setHeight(30);
    ellipse->setAttachment(-1);
    ellipse->setPoint(KivoPoint::create(100, 50));
    EXPECT_FALSE(ellipse->isContains(KivoPoint::create(100, 50)));  // nothing drawn yet
    draw();
    EXPECT_TRUE(ellipse->isContains(KivoPoint::create(100, 50)));
    EXPECT_TRUE(ellipse->isContains(KivoPoint::create(72, 50)));
    EXPECT_FALSE(ellipse->isContains(KivoPoint::create(71, 36)));
}

TEST_F(DrawingTest, LinesAreHitWithinSixPointsAcrossThemWhateverTheirSlope) {
    standardChart();
    const auto line = addAnnotation<KivoChartLineAnnotation>();
    line->setAttachment(-1);
    line->setLineWidth(2);
    const double r = 1 / std::sqrt(2.0);
    const struct {
        const char* what;
        plat::Point s, e;
        plat::Point normal;  // unit, across the line
    } cases[] = {
        {"vertical", {50, 10}, {50, 90}, {1, 0}},
        {"horizontal", {10, 50}, {90, 50}, {0, 1}},
        {"45 degrees", {10, 10}, {90, 90}, {r, -r}},
    };
    for (const auto& c : cases) {
        line->setStart(KivoPoint::create(c.s.x, c.s.y));
        line->setEnd(KivoPoint::create(c.e.x, c.e.y));
        draw();
        const plat::Point mid{(c.s.x + c.e.x) / 2, (c.s.y + c.e.y) / 2};
        for (const double side : {1.0, -1.0}) {
            const auto at = [&](double d) { return KivoPoint::create(mid.x + side * d * c.normal.x, mid.y + side * d * c.normal.y); };
            EXPECT_TRUE(line->isContains(at(5.9))) << c.what << side;
            EXPECT_FALSE(line->isContains(at(6.1))) << c.what << side;
        }
    }
}

TEST_F(DrawingTest, TheTransformMovesTheHitOutlineNotTheDrawing) {
    standardChart();
    const auto box = addBox(40, 20);
    box->setAttachment(-1);
    box->setPoint(KivoPoint::create(100, 100));
    box->setAnnoTransform(plat::AffineTransform::translation(200, 0));
    draw();
    ASSERT_TRUE(inkStroke());
    expectRectNear(inkStroke()->bounds(), deviceRect(80, 90, 40, 20));
    EXPECT_FALSE(box->isContains(KivoPoint::create(100, 100)));
    EXPECT_TRUE(box->isContains(KivoPoint::create(300, 100)));
}

TEST_F(DrawingTest, TheLaterOfTwoOverlappingAnnotationsPaintsOnTopAndWinsTheHit) {
    standardChart();
    const auto first = addBox(40, 40);
    first->setAttachment(-1);
    first->setPoint(KivoPoint::create(100, 100));
    first->setColor(Fill);
    const auto second = addBox(40, 40);
    second->setAttachment(-1);
    second->setPoint(KivoPoint::create(120, 100));
    second->setColor(TextInk);
    draw();
    const auto fills = rec.fills();
    const auto index = [&](const plat::Color& c) {
        for (std::size_t i = 0; i < fills.size(); ++i)
            if (fills[i]->color == c) return static_cast<int>(i);
        return -1;
    };
    ASSERT_GE(index(Fill), 0);
    EXPECT_GT(index(TextInk), index(Fill));
    const auto p = device(110, 100);
    const auto info = OmbriChartTestAccess::_hitTest(*chart, p.x, p.y);
    EXPECT_EQ(info->chartElement(), KivoChartElementAnnotation);
    EXPECT_EQ(info->annotation(), second);
}

TEST_F(DrawingTest, AHiddenAnnotationIsNeitherDrawnNorHitSoATapReachesTheColumnBelow) {
    standardChart();
    const auto drawn = bars(0);
    const auto& bar = drawn[1].rect;
    const auto cover = addBox(bar.width() + 10, 30);
    cover->setAttachment(-1);
    cover->setPoint(KivoPoint::create(bar.left() + bar.width() / 2, bar.top() + 20));
    cover->setTooltipText("Cover");
    draw();
    const auto p = device(bar.left() + bar.width() / 2, bar.top() + 20);
    EXPECT_EQ(OmbriChartTestAccess::_hitTest(*chart, p.x, p.y)->annotation(), cover);

    cover->setIsVisible(false);
    draw();
    EXPECT_FALSE(inkStroke());
    const auto info = OmbriChartTestAccess::_hitTest(*chart, p.x, p.y);
    EXPECT_FALSE(info->annotation());
    EXPECT_EQ(info->chartElement(), KivoChartElementPlotArea);
    EXPECT_EQ(info->dataPoint()->pointIndex(), 1);
}

TEST_F(DrawingTest, AnnotationsWaitForTheLoadAnimationAndOutliveNothing) {
    std::weak_ptr<KivoChartAnnotation> watch;
    {
        auto animated = TestChart::create();
        animated->setItemsSource(std::make_shared<plat::Array>(std::vector<plat::Value>{barRow({{"v", 3}}), barRow({{"v", 5}})}));
        animated->series()->addObject(plat::Value(KivoSeries::create(animated, "v", "v")));
        window->addSubview(animated);
        auto box = KivoChartRectangleAnnotation::create(animated);
        box->setWidth(10);
        box->setHeight(10);
        box->setBorderColor(Ink);
        animated->annotations()->addObject(plat::Value(box));
        watch = box;
        rec.clear();
        window->display(rec);
        EXPECT_FALSE(rec.findStroke(Ink)) << "hidden while the load animation runs";
        clock.advance(5);
        rec.clear();
        animated->invalidate();
        window->display(rec);
        EXPECT_TRUE(rec.findStroke(Ink));
        animated->removeFromSuperview();
        animated->annotations()->removeAllObjects();
        // Kept by the application after its chart is gone: draws nothing, and its setters do nothing.
        animated.reset();
        EXPECT_FALSE(box->render(chart->renderEngine()));
        box->setWidth(99);
        EXPECT_EQ(box->width(), 10);
    }
    EXPECT_TRUE(watch.expired());
}

}  // namespace
