#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KivoCore/KivoView.h"
#include "Platform/graphics/context.h"
#include "Platform/graphics/font.h"
#include "Platform/graphics/image.h"
#include "Platform/runtime/notification_center.h"
#include "Platform/runtime/system_notifications.h"
#include "Platform/ui/application.h"
#include "Platform/ui/screen.h"

namespace {

struct Counts {
    int size = 0, orientation = 0;
    std::vector<std::string> order;
};

// A control built on the base view, as the grid and the gauges are.
class CountingView : public KivoView {
public:
    static std::shared_ptr<CountingView> create(const plat::Rect& frame, Counts& counts) {
        return initialized(std::shared_ptr<CountingView>(new CountingView(frame, counts)));
    }
    void respondToSizeChanged() override { ++_counts.size; }
    void respondToOrientationChanged() override { ++_counts.orientation; }
    void drawRect(plat::Context& context, const plat::Rect&) override {
        context.setFillColor(plat::Color::red());
        context.fillRect({0, 0, 5, 5});
    }

protected:
    void initialize() override {
        KivoView::initialize();
        // The base's set-up has run: a post now reaches this view.
        plat::NotificationCenter::defaultCenter().post(std::string(plat::ContentSizeCategoryDidChangeNotification));
        _counts.order.push_back("own set-up saw " + std::to_string(_counts.size));
    }

private:
    CountingView(const plat::Rect& frame, Counts& counts) : KivoView(frame), _counts(counts) {}
    Counts& _counts;
};

void postBoth(std::shared_ptr<void> sender = {}) {
    auto& center = plat::NotificationCenter::defaultCenter();
    center.post(std::string(plat::ContentSizeCategoryDidChangeNotification), sender);
    center.post(std::string(plat::DeviceOrientationDidChangeNotification), sender);
}

}  // namespace

TEST(KivoView, HooksRunOncePerNotificationFromAnySenderAfterTheBaseSetUp) {
    Counts counts;
    auto view = CountingView::create({0, 0, 10, 10}, counts);
    EXPECT_EQ(counts.order, std::vector<std::string>{"own set-up saw 1"});
    counts.size = 0;

    postBoth();
    postBoth(std::make_shared<int>(7));
    EXPECT_EQ(counts.size, 2);
    EXPECT_EQ(counts.orientation, 2);

    // The text size changed by the user, through the application.
    auto& app = plat::Application::shared();
    const std::string before = app.preferredContentSizeCategory();
    app.setPreferredContentSizeCategory(before == plat::ContentSizeCategory::Small ? plat::ContentSizeCategory::Large
                                                                                   : plat::ContentSizeCategory::Small);
    EXPECT_EQ(counts.size, 3);
    app.setPreferredContentSizeCategory(before);
    EXPECT_EQ(counts.size, 4);
}

TEST(KivoView, NoHookRunsAfterTheViewIsGone) {
    Counts counts;
    auto view = CountingView::create({0, 0, 10, 10}, counts);
    auto other = CountingView::create({0, 0, 10, 10}, counts);
    counts = {};
    view.reset();
    postBoth();
    EXPECT_EQ(counts.size, 1) << "only the view still alive answers";
    EXPECT_EQ(counts.orientation, 1);
    other.reset();
    postBoth();
    EXPECT_EQ(counts.size, 1);
}

TEST(KivoView, GetImageIsAPngOfWhatWasDrawnAtTheScreenScale) {
    plat::Screen::main().reset();
    Counts counts;
    auto view = CountingView::create({30, 40, 20, 10}, counts);  // its place in a superview does not matter
    auto child = plat::View::create({10, 0, 10, 10});
    child->setBackgroundColor(plat::Color::blue());
    view->addSubview(child);

    const auto png = view->getImage();
    ASSERT_FALSE(png.empty());
    auto image = plat::Image::decodePNG(png);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixelWidth(), 40);
    EXPECT_EQ(image->pixelHeight(), 20);
    EXPECT_EQ(image->pixel(4, 4), plat::Color::red());     // drawRect content
    EXPECT_EQ(image->pixel(30, 10), plat::Color::blue());  // the subview
    EXPECT_EQ(image->pixel(15, 15).a, 0.0) << "transparent where nothing is drawn";
}

TEST(KivoView, GetImageOfAnEmptyViewIsNoData) {
    for (const plat::Rect& frame : {plat::Rect(0, 0, 0, 10), plat::Rect(0, 0, 10, 0), plat::Rect()}) {
        auto view = KivoView::create(frame);
        EXPECT_TRUE(view->getImage().empty());
    }
}
