#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "Platform/graphics/image.h"
#include "Platform/graphics/image_loader.h"
#include "Platform/runtime/dispatch.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/runtime/url_loader.h"
#include "Platform/testing/log_capture.h"
#include "Platform/testing/loopback_http_server.h"
#include "Platform/testing/virtual_clock.h"
#include "graphics/png_fixtures.h"

using namespace plat;
using Code = URLError::Code;

namespace {

constexpr double LoadWait = 10;  // seconds on the clock: only a broken load takes that long

std::uint32_t checker(std::uint32_t x, std::uint32_t y) { return (x + y) % 2 ? 0xff0000ffu : 0x0000ffffu; }

const std::vector<std::uint8_t>& picture() {
    static const auto png = plat::testing::makeTestPng(40, 30, checker);
    return png;
}

std::string writeFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    // One folder per test and process: CTest runs the tests of this file side by side, and one
    // test must never read a file that another is rewriting.
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const auto dir = std::filesystem::path(KIVO_BINARY_DIR) / "url_loader_test" /
                     (std::string(info ? info->name() : "none") + "_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto path = dir / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return "file://" + path.string();
}

class URLLoading : public ::testing::Test {
protected:
    plat::testing::VirtualClock clock;
    plat::testing::LoopbackHttpServer server;

    // Serves the test picture as a PNG at /picture.png, in pieces of `pieceSize` bytes.
    void servePicture(std::size_t pieceSize) {
        plat::testing::LoopbackHttpServer::Answer png;
        png.contentType = "image/png";
        png.body = picture();
        png.pieceSize = pieceSize;
        server.serve("/picture.png", png);
    }

    // Runs the main loop until `done` (each step the background transfer is let finish first).
    void runUntil(const bool& done) {
        EXPECT_TRUE(RunLoop::main().runUntil([&] { return done; }, LoadWait));
    }
};

// What the handlers of one asynchronous load saw, in order.
struct Journal {
    std::vector<std::string> events;
    std::vector<std::uint8_t> data;
    std::optional<URLError> error;
    bool onMainThread = true;
    bool done = false;

    URLLoader::Handlers handlers(bool accept = true) {
        URLLoader::Handlers h;
        h.onResponse = [this, accept](const URLResponse& r) {
            note("response " + r.mimeType);
            return accept;
        };
        h.onData = [this](std::span<const std::uint8_t> bytes) {
            note("data");
            data.insert(data.end(), bytes.begin(), bytes.end());
        };
        h.onFinish = [this](const URLResponse&) {
            note("finish");
            done = true;
        };
        h.onFail = [this](const URLError& e) {
            note("fail");
            error = e;
            done = true;
        };
        return h;
    }
    void note(std::string event) {
        onMainThread = onMainThread && isMainThread();
        if (events.empty() || events.back() != event) events.push_back(std::move(event));
    }
};

}  // namespace

TEST_F(URLLoading, LoadsFilesWithTheTypeOfTheirNameAndReportsWhatFails) {
    const std::string url = writeFile("picture.png", picture());
    const URLResult ok = URLLoader::load({url});
    ASSERT_TRUE(ok.ok()) << ok.error->message;
    EXPECT_EQ(ok.response->mimeType, "image/png");
    EXPECT_EQ(ok.response->statusCode, 0);
    EXPECT_EQ(ok.data, picture());

    server.serve("/empty", "text/plain", "");
    const int closedPort = [] {
        plat::testing::LoopbackHttpServer gone;
        return gone.port();
    }();
    struct Case {
        std::string url;
        Code code;
    };
    const std::string folder = url.substr(0, url.rfind('/'));
    const Case failures[] = {
        {writeFile("picture.png", picture()) + ".missing", Code::FileNotFound},
        {folder, Code::FileNotFound},  // a directory is not a file to load
        {folder + "/", Code::FileNotFound},
        {"", Code::BadURL},
        {"no scheme at all", Code::BadURL},
        {"ftp://127.0.0.1/file", Code::UnsupportedScheme},
        {server.url("/nothing-here"), Code::HTTPStatus},
        {"http://127.0.0.1:" + std::to_string(closedPort) + "/", Code::CannotConnect},
    };
    for (const Case& c : failures) {
        const URLResult r = URLLoader::load({c.url});
        ASSERT_TRUE(r.error) << c.url;
        EXPECT_EQ(r.error->code, c.code) << c.url << ": " << r.error->message;
        EXPECT_TRUE(r.data.empty()) << "never a partial body";
    }
    EXPECT_NE(URLLoader::load({server.url("/nothing-here")}).error->message.find("404"), std::string::npos);
    const URLResult empty = URLLoader::load({server.url("/empty")});
    EXPECT_TRUE(empty.ok());
    EXPECT_EQ(empty.response->mimeType, "text/plain");
    EXPECT_EQ(empty.response->statusCode, 200);

    // The body limit.
    URLRequest limited{url};
    limited.maxBytes = 100;
    EXPECT_EQ(URLLoader::load(limited).error->code, Code::TooLarge);
    // A time limit too long to count in milliseconds is no limit.
    for (double seconds : {1e16, 1e300, 9.3e15}) {
        URLRequest patient{url};
        patient.timeoutSeconds = seconds;
        EXPECT_TRUE(URLLoader::load(patient).ok()) << seconds;
    }
}

// An owner that holds its load's task and is held by the task's own handlers: it can only be freed
// once the handlers are let go.
struct Owner {
    std::shared_ptr<URLTask> task;
    int endings = 0;
};

TEST_F(URLLoading, HandlersAreLetGoWhenALoadEndsSoAnOwnerTheyHoldIsFreed) {
    servePicture(256);
    const std::string file = writeFile("picture.png", picture());

    enum class Stop { Never, AtOnce, InData };
    struct Case {
        const char* what;
        std::string url;
        bool accept = true;
        Stop stop = Stop::Never;
    };
    const Case cases[] = {
        {"finished", file},
        {"failed", file + ".missing"},
        {"refused", file, false},
        {"cancelled at once", server.url("/picture.png"), true, Stop::AtOnce},
        {"cancelled by its data handler", file, true, Stop::InData},
    };
    for (const Case& c : cases) {
        auto owner = std::make_shared<Owner>();
        const std::weak_ptr<Owner> watch = owner;
        URLLoader::Handlers h;
        h.onResponse = [owner, accept = c.accept](const URLResponse&) { return accept; };
        h.onData = [owner, stop = c.stop](std::span<const std::uint8_t>) {
            if (stop == Stop::InData) owner->task->cancel();
        };
        h.onFinish = [owner](const URLResponse&) { ++owner->endings; };
        h.onFail = [owner](const URLError&) { ++owner->endings; };
        owner->task = URLLoader::start({c.url}, std::move(h));
        if (c.stop == Stop::AtOnce) owner->task->cancel();
        owner.reset();
        EXPECT_TRUE(RunLoop::main().runUntil([&] { return watch.expired(); }, LoadWait)) << c.what;
    }

    // The image loader's completion and progress handlers alike.
    for (const Case& c : {Case{"image", server.url("/picture.png")}, Case{"no image", server.url("/missing.png")},
                          Case{"image cancelled", server.url("/picture.png"), true, Stop::AtOnce}}) {
        auto owner = std::make_shared<Owner>();
        const std::weak_ptr<Owner> watch = owner;
        owner->task = ImageLoader::start(
            {c.url}, [owner](const ImageLoader::Result&) { ++owner->endings; }, [owner](const std::shared_ptr<Image>&) {});
        if (c.stop == Stop::AtOnce) owner->task->cancel();
        owner.reset();
        EXPECT_TRUE(RunLoop::main().runUntil([&] { return watch.expired(); }, LoadWait)) << c.what;
    }
}

TEST_F(URLLoading, LoadsImagesSynchronouslyAndRefusesPagesAndBrokenPictures) {
    server.serve("/picture.png", "image/png", {reinterpret_cast<const char*>(picture().data()), picture().size()});
    server.serve("/page.html", "text/html; charset=utf-8", "<html><body>Hello</body></html>");
    server.serve("/broken.png", "image/png", "not really a PNG");

    const auto loaded = ImageLoader::load({server.url("/picture.png")}, 2);
    ASSERT_TRUE(loaded.image) << loaded.error->message;
    EXPECT_EQ(loaded.image->scale(), 2);
    EXPECT_EQ(loaded.image->pixel(1, 0), Color::red());
    EXPECT_EQ(ImageLoader::load({writeFile("picture.png", picture())}).image->pixelWidth(), 40);

    for (const char* path : {"/page.html", "/broken.png"}) {
        const auto refused = ImageLoader::load({server.url(path)});
        EXPECT_FALSE(refused.image) << path;
        ASSERT_TRUE(refused.error) << path;
        EXPECT_EQ(refused.error->code, Code::BadContent) << path;
    }
    EXPECT_NE(ImageLoader::load({server.url("/page.html")}).error->message.find("text/html"), std::string::npos);
    EXPECT_EQ(ImageLoader::load({writeFile("page.html", {'<', 'p', '>'})}).error->code, Code::BadContent);
}

TEST_F(URLLoading, AsynchronousLoadsReportOnTheMainLoopInOrder) {
    plat::testing::LoopbackHttpServer::Answer slow;
    slow.contentType = "application/octet-stream";
    slow.body = picture();
    slow.announceLength = false;
    slow.pieceSize = 100;
    server.serve("/bytes", slow);

    Journal got;
    URLLoader::start({server.url("/bytes")}, got.handlers());
    runUntil(got.done);
    EXPECT_TRUE(got.onMainThread);
    EXPECT_EQ(got.events, (std::vector<std::string>{"response application/octet-stream", "data", "finish"}));
    EXPECT_EQ(got.data, picture());

    // Refused at its response: no byte of the body reaches the receiver, and it ends as a failure.
    Journal refused;
    URLLoader::start({server.url("/bytes")}, refused.handlers(false));
    runUntil(refused.done);
    EXPECT_EQ(refused.events, (std::vector<std::string>{"response application/octet-stream", "fail"}));
    EXPECT_EQ(refused.error->code, Code::Refused);

    // Cancelled: nothing at all.
    Journal cancelled;
    auto task = URLLoader::start({server.url("/bytes")}, cancelled.handlers());
    task->cancel();
    RunLoop::main().runUntilIdle();
    EXPECT_TRUE(cancelled.events.empty());
    EXPECT_TRUE(task->isDone());
}

TEST_F(URLLoading, AnImageLoadsOverLoopbackAPageIsRefusedAndAMissingFileFails) {
    servePicture(512);
    server.serve("/index.html", "text/html", "<html><body><img src=\"picture.png\"></body></html>");

    struct Outcome {
        std::optional<ImageLoader::Result> result;
        int completions = 0;
        int progress = 0;
        bool done = false;
    };
    auto startLoad = [&](const std::string& path, Outcome& out) {
        return ImageLoader::start(
            {server.url(path)},
            [&out](const ImageLoader::Result& r) {
                out.result = r;
                ++out.completions;
                out.done = true;
            },
            [&out](const std::shared_ptr<Image>& partial) {
                ++out.progress;
                EXPECT_TRUE(partial);
            });
    };

    Outcome image, page, missing;
    startLoad("/picture.png", image);
    startLoad("/index.html", page);
    startLoad("/missing.png", missing);
    runUntil(image.done);
    runUntil(page.done);
    runUntil(missing.done);
    RunLoop::main().runUntilIdle();

    ASSERT_TRUE(image.result->image) << image.result->error->message;
    EXPECT_EQ(image.result->image->pixelWidth(), 40);
    EXPECT_EQ(image.result->image->pixel(0, 0), Color::blue());
    EXPECT_EQ(image.result->image->pixel(39, 28), Color::red());
    EXPECT_GE(image.progress, 1);

    EXPECT_FALSE(page.result->image) << "a page is refused as an image";
    EXPECT_EQ(page.result->error->code, Code::BadContent);
    EXPECT_EQ(page.progress, 0);

    EXPECT_FALSE(missing.result->image);
    EXPECT_EQ(missing.result->error->code, Code::HTTPStatus);

    for (const Outcome* o : {&image, &page, &missing}) EXPECT_EQ(o->completions, 1);
    EXPECT_EQ(server.requestCount(), 3u);

    // Once the server has stopped, its port refuses the connection.
    server.stop();
    Outcome refused;
    startLoad("/picture.png", refused);
    runUntil(refused.done);
    EXPECT_EQ(refused.result->error->code, Code::CannotConnect);
}

TEST_F(URLLoading, ImagesBeyondThePixelBudgetStopTheLoadAtTheirHeader) {
    plat::testing::LoopbackHttpServer::Answer huge;
    huge.contentType = "image/png";
    huge.body = plat::testing::makeTestPng(20000, 20000, checker, false, false);
    server.serve("/huge.png", huge);
    const plat::testing::LogCapture log;  // the refusal is also logged
    bool done = false;
    std::optional<ImageLoader::Result> result;
    ImageLoader::start({server.url("/huge.png")}, [&](const ImageLoader::Result& r) {
        result = r;
        done = true;
    });
    runUntil(done);
    ASSERT_TRUE(result);
    EXPECT_FALSE(result->image);
    EXPECT_EQ(result->error->code, Code::BadContent);
    EXPECT_NE(result->error->message.find("budget"), std::string::npos) << result->error->message;
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_TRUE(log.lines()[0].starts_with("Image refused: ")) << log.lines()[0];
}

TEST(URLLoader, MimeTypesOfFileNames) {
    const std::pair<const char*, const char*> cases[] = {
        {"file:///a/b/Picture.PNG", "image/png"}, {"/x/photo.jpeg", "image/jpeg"},
        {"page.html?x=1.png", "text/html"},       {"/dir.d/noextension", ""},
        {"archive.tar.zip", "application/zip"},   {"", ""},
    };
    for (const auto& [path, type] : cases) EXPECT_EQ(URLLoader::mimeTypeForPath(path), type) << path;
}
