// The image annotation: a picture handed over or loaded from a URL (file:// and a loopback server), one
// load at a time, refused and failed loads logged and not tried again, and nothing left alive once the
// chart is released.

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "OmbriChart/KivoChartImageAnnotation.h"
#include "Platform/graphics/image.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/testing/log_capture.h"
#include "Platform/testing/loopback_http_server.h"
#include "annotation_fixture.h"

namespace {

using Server = plat::testing::LoopbackHttpServer;

constexpr double LoadWait = 10;  // seconds on the clock: only a broken load takes that long

std::vector<std::uint8_t> png(int width, int height) { return plat::Image(width, height).encodePNG(); }

void putBigEndian(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

std::uint32_t crc32(const std::uint8_t* data, std::size_t size) {
    std::uint32_t crc = 0xffffffffu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A PNG signature and header claiming width × height, then an ancillary chunk of `padding` bytes that
// a decoder skips: a body of any length that is a picture as far as its header goes.
std::vector<std::uint8_t> pngHeader(std::uint32_t width, std::uint32_t height, std::uint32_t padding = 0) {
    std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', 0x0d, 0x0a, 0x1a, 0x0a};
    std::vector<std::uint8_t> chunk = {'I', 'H', 'D', 'R'};
    putBigEndian(chunk, width);
    putBigEndian(chunk, height);
    chunk.insert(chunk.end(), {8, 6, 0, 0, 0});
    putBigEndian(out, 13);
    out.insert(out.end(), chunk.begin(), chunk.end());
    putBigEndian(out, crc32(chunk.data(), chunk.size()));
    if (padding) {
        putBigEndian(out, padding);
        out.insert(out.end(), {'z', 'z', 'Z', 'z'});
        out.resize(out.size() + padding + 4, 0);
    }
    return out;
}

class ImageAnnotationTest : public AnnotationTest {
protected:
    plat::testing::LogCapture log;
    Server server;
    std::filesystem::path dir;

    ~ImageAnnotationTest() override {
        std::error_code ignored;
        if (!dir.empty()) std::filesystem::remove_all(dir, ignored);
    }

    std::string writeFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = std::filesystem::path(KIVO_BINARY_DIR) / "annotation_image_test" /
              (std::string(info ? info->name() : "none") + "_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        const auto path = dir / name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return "file://" + path.string();
    }
    std::shared_ptr<KivoChartImageAnnotation> addImage(const std::string& url) {
        auto image = addAnnotation<KivoChartImageAnnotation>();
        image->setWidth(80);
        image->setHeight(50);
        image->setPoint(KivoPoint::create(20, 20));
        image->setImageWithURL(url);
        return image;
    }
    // Draws (which starts the load) and lets the load end.
    void load(const KivoChartImageAnnotation& image) {
        draw();
        EXPECT_TRUE(plat::RunLoop::main().runUntil([&] { return !image.isLoading(); }, LoadWait));
    }
    int count(const std::string& line) const {
        const auto lines = log.lines();
        return static_cast<int>(std::count(lines.begin(), lines.end(), line));
    }
    int countStartingWith(const std::string& prefix) const {
        int n = 0;
        for (const auto& line : log.lines()) n += line.rfind(prefix, 0) == 0;
        return n;
    }
    void passes(int n) {
        for (int i = 0; i < n; ++i) {
            draw();
            plat::RunLoop::main().runUntilIdle();
        }
    }
};

TEST_F(ImageAnnotationTest, APictureShowsAfterItsLoadWithOneRedrawStretchedAndClippedOnlyToData) {
    standardChart();
    const auto image = addImage(writeFile("pic.png", png(40, 30)));
    draw();
    EXPECT_TRUE(image->isLoading());
    EXPECT_TRUE(rec.images().empty());
    const int before = chart->invalidates;
    EXPECT_TRUE(plat::RunLoop::main().runUntil([&] { return !image->isLoading(); }, LoadWait));
    EXPECT_EQ(chart->invalidates, before + 1);
    EXPECT_EQ(count("Connection Loading Finished!!!"), 1);

    const KivoRect plot = *chart->plotRect();
    for (const std::int64_t attachment : {0, 1, 2, 3}) {
        image->setAttachment(attachment);
        if (attachment == 1) image->setPoint(KivoPoint::create(1, 20));
        if (attachment == 3) image->setPoint(KivoPoint::create(0.25, 0.25));
        draw();
        ASSERT_EQ(rec.images().size(), 1u) << attachment;
        const auto* op = rec.images()[0];
        EXPECT_EQ(op->imagePixelWidth, 40);
        EXPECT_NEAR(op->bounds().width(), 80, 0.01);
        EXPECT_NEAR(op->bounds().height(), 50, 0.01);
        const bool clipped = op->clip && std::fabs(op->clip->width() - plot.width()) < 0.01;
        EXPECT_EQ(clipped, attachment == 1 || attachment == 2) << attachment;
    }
    image->setAttachment(0);
    image->setPoint(KivoPoint::create(20, 20));
    draw();
    expectRectNear(rec.images()[0]->bounds(), deviceRect(plot.left() + 20 - 40, plot.top() + 20 - 25, 80, 50));
    EXPECT_EQ(server.requestCount(), 0u);
}

TEST_F(ImageAnnotationTest, ASideThatIsNotAFiniteNumberOrZeroDrawsNothingAndKeepsTheLastOutline) {
    standardChart();
    const auto image = addImage(writeFile("pic.png", png(40, 30)));
    load(*image);
    draw();
    ASSERT_EQ(rec.images().size(), 1u);
    const double bad[] = {std::nan(""), INFINITY, -INFINITY, 0};
    for (const bool alongWidth : {true, false}) {
        for (const double side : bad) {
            auto fresh = addImage(writeFile("pic.png", png(40, 30)));
            load(*fresh);
            draw();
            ASSERT_TRUE(fresh->path());
            const plat::Rect kept = fresh->path()->bounds();
            if (alongWidth)
                fresh->setWidth(side);
            else
                fresh->setHeight(side);
            draw();
            // Loaded and drawn at 80 × 50 first; with the bad side only the first picture draws.
            EXPECT_EQ(rec.images().size(), 1u) << side << (alongWidth ? " wide" : " high");
            // Not drawn, so the hit outline stays the last drawing's.
            ASSERT_TRUE(fresh->path());
            EXPECT_EQ(fresh->path()->bounds(), kept) << side << (alongWidth ? " wide" : " high");
            chart->annotations()->removeObject(plat::Value(fresh));
        }
    }
}

TEST_F(ImageAnnotationTest, APictureServedInPiecesWithoutALengthShowsToo) {
    standardChart();
    server.serve("/pic.png", {.contentType = "image/png", .body = png(60, 20), .announceLength = false, .pieceSize = 40});
    const auto image = addImage(server.url("/pic.png"));
    const int before = chart->invalidates + 1;  // the pass that starts the load
    load(*image);
    EXPECT_EQ(chart->invalidates, before + 1);
    draw();
    ASSERT_EQ(rec.images().size(), 1u);
    EXPECT_EQ(rec.images()[0]->imagePixelWidth, 60);
}

TEST_F(ImageAnnotationTest, APageIsRefusedLoggedAndNeverLoadedAgain) {
    standardChart();
    server.serve("/page", "text/html", "<html>not a picture</html>");
    const auto image = addImage(server.url("/page"));
    load(*image);
    EXPECT_EQ(count("not a image url"), 1);
    EXPECT_EQ(countStartingWith("Connection "), 0);
    passes(10);
    EXPECT_TRUE(rec.images().empty());
    EXPECT_EQ(server.requestCount(), 1u);
    EXPECT_FALSE(image->isLoading());
}

TEST_F(ImageAnnotationTest, FailedLoadsAreLoggedNotRetriedUntilTheURLIsNamedAgain) {
    standardChart();
    const std::string missing = "file:///nonexistent/annotation/none.png";
    const auto fileImage = addImage(missing);
    const auto httpImage = addImage(server.url("/gone.png"));
    draw();
    EXPECT_TRUE(plat::RunLoop::main().runUntil([&] { return !fileImage->isLoading() && !httpImage->isLoading(); }, LoadWait));
    EXPECT_EQ(countStartingWith("Connection " + missing + " error, error info: "), 1);
    EXPECT_EQ(countStartingWith("Connection " + server.url("/gone.png") + " error, error info: "), 1);
    passes(10);
    EXPECT_EQ(server.requestCount(), 1u);
    EXPECT_EQ(countStartingWith("Connection "), 2);
    // The box is still there to be hit.
    EXPECT_TRUE(httpImage->path());

    httpImage->setImageWithURL(server.url("/gone.png"));
    passes(5);
    EXPECT_EQ(server.requestCount(), 2u);
}

TEST_F(ImageAnnotationTest, PicturesTooLargeAreRefusedWhileEverythingElseStillDraws) {
    standardChart();
    server.serve("/huge.png", {.contentType = "image/png", .body = pngHeader(20000, 20000)});
    const auto overLimit = static_cast<std::uint32_t>(KivoChartImageAnnotation::MaxImageBytes);
    server.serve("/long.png", {.contentType = "image/png", .body = pngHeader(100, 100, overLimit)});
    const auto huge = addImage(server.url("/huge.png"));
    const auto longer = addImage(server.url("/long.png"));
    const auto box = addBox();
    draw();
    EXPECT_TRUE(plat::RunLoop::main().runUntil([&] { return !huge->isLoading() && !longer->isLoading(); }, LoadWait));
    EXPECT_EQ(countStartingWith("Connection " + server.url("/huge.png") + " error"), 1);
    EXPECT_EQ(countStartingWith("Connection " + server.url("/long.png") + " error"), 1);
    passes(3);
    EXPECT_TRUE(rec.images().empty());
    EXPECT_TRUE(inkStroke());
    EXPECT_EQ(bars(0).size(), 4u);
    EXPECT_EQ(server.requestCount(), 2u);
}

TEST_F(ImageAnnotationTest, ANewURLDuringALoadDropsTheFirstLoadsLateBytes) {
    standardChart();
    server.serve("/first.png", {.contentType = "image/png", .body = png(40, 30), .pieceSize = 64});
    const auto second = png(20, 10);
    server.serve("/second.png", {.contentType = "image/png", .body = second});
    const auto image = addImage(server.url("/first.png"));
    draw();  // the first load starts; its handlers wait for the main loop
    ASSERT_TRUE(image->isLoading());
    EXPECT_TRUE(image->isContains(KivoPoint::create(chart->plotRect()->left() + 20, chart->plotRect()->top() + 20)))
        << "the box is hit while its picture loads";
    image->setImageWithURL(server.url("/second.png"));
    EXPECT_FALSE(image->isLoading());
    load(*image);
    plat::RunLoop::main().runUntilIdle();
    draw();
    ASSERT_EQ(rec.images().size(), 1u);
    EXPECT_EQ(rec.images()[0]->imagePixelWidth, 20);
    ASSERT_TRUE(image->source());
    EXPECT_EQ(image->source()->pixelWidth(), 20);
}

TEST_F(ImageAnnotationTest, AChartWithEveryKindOfAnnotationLeavesNothingAliveOnceReleased) {
    server.serve("/slow.png", {.contentType = "image/png", .body = png(40, 30), .pieceSize = 16});
    std::vector<std::weak_ptr<plat::Object>> watched;
    std::weak_ptr<OmbriChart> watchChart;
    {
        auto owner = TestChart::create();
        owner->setIsAnimated(false);
        owner->setItemsSource(std::make_shared<plat::Array>(std::vector<plat::Value>{barRow({{"v", 3}}), barRow({{"v", 5}})}));
        owner->series()->addObject(plat::Value(KivoSeries::create(owner, "v", "v")));
        window->addSubview(owner);
        const auto keep = [&](std::shared_ptr<KivoChartAnnotation> a) {
            a->setWidth(20);
            a->setHeight(20);
            owner->annotations()->addObject(plat::Value(a));
            watched.push_back(a);
        };
        auto text = KivoChartTextAnnotation::create(owner);
        text->setText("t");
        keep(text);
        keep(KivoChartShapeAnnotation::create(owner));
        keep(KivoChartEllipseAnnotation::create(owner));
        keep(KivoChartRectangleAnnotation::create(owner));
        auto polygon = KivoChartPolygonAnnotation::create(owner);
        polygon->setPoints({KivoPoint::create(0, 0), KivoPoint::create(9, 9)});
        keep(polygon);
        keep(KivoChartLineAnnotation::create(owner));
        auto image = KivoChartImageAnnotation::create(owner);
        image->setImageWithURL(server.url("/slow.png"));
        keep(image);
        rec.clear();
        window->display(rec);
        EXPECT_TRUE(image->isLoading());
        owner->removeFromSuperview();
        watchChart = owner;
    }
    plat::RunLoop::main().runUntilIdle();
    EXPECT_TRUE(watchChart.expired());
    for (const auto& w : watched) EXPECT_TRUE(w.expired());
}

}  // namespace
