// The day slots an application puts into the month grid: the detail slot's two texts, the image
// slot's image and its aspect modes (also with an image loaded from a file URL), and the view slot's
// hosted view, its colours by state and its taps.

#include <filesystem>

#include "KivoCalendar/KivoCalendarDetailDaySlot.h"
#include "KivoCalendar/KivoCalendarImageDaySlot.h"
#include "KivoCalendar/KivoCalendarViewDaySlot.h"
#include "Platform/graphics/image.h"
#include "Platform/graphics/image_loader.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/testing/log_capture.h"
#include "Platform/testing/touches.h"
#include "calendar_access.h"
#include "calendar_fixture.h"

using namespace calendar_test;

namespace {

class DaySlotVariantsTest : public CalendarTest {
protected:
    // A slot of its own in the window, over the calendar, drawn with the window.
    template <typename Slot>
    std::shared_ptr<Slot> placed(std::shared_ptr<Slot> slot, plat::Date day) {
        slot->setDate(day);
        window->addSubview(slot);
        return slot;
    }
    const plat::DrawOp* textOf(const std::string& text) const { return rec.findText(text); }
    // A solid image of the given size in pixels.
    static std::shared_ptr<plat::Image> solid(int width, int height) {
        auto image = std::make_shared<plat::Image>(width, height);
        for (int i = 0; i < width * height; ++i) image->data()[i] = 0xFFFF0000u;
        return image;
    }
    std::vector<const plat::DrawOp*> imagesIn(const plat::Rect& area) const {
        std::vector<const plat::DrawOp*> found;
        for (const auto* op : rec.images())
            if (area.intersects(op->bounds())) found.push_back(op);
        return found;
    }
    plat::RecordingContext rec;
};

// ---- Detail slot ----

TEST_F(DaySlotVariantsTest, ADetailSlotWithoutRectanglesShowsOnlyItsFill) {
    auto slot = placed(KivoCalendarDetailDaySlot::create(calendar, {300, 330, 40, 40}), at(2024, 3, 20));
    slot->setDetailText("Yoga");
    slot->setBackgroundColor(calendar->backgroundColor());  // as the month page gives it
    calendar->setDayBorderWidth(1);
    drawSlot(*slot, rec);
    EXPECT_TRUE(rec.texts().empty());
    ASSERT_EQ(rec.fills().size(), 1u);
    EXPECT_EQ(rec.fills()[0]->color, calendar->backgroundColor());
    EXPECT_EQ(rec.strokes().size(), 1u);
}

TEST_F(DaySlotVariantsTest, ADetailSlotDrawsBothTextsIntoTheirRectangles) {
    auto slot = placed(KivoCalendarDetailDaySlot::create(calendar, {300, 330, 40, 40}), at(2024, 3, 20));
    slot->setDayTextRect({2, 2, 36, 14});
    slot->setDetailText("Yoga");
    slot->setDetailTextRect({2, 20, 36, 14});
    slot->setDetailTextColor(plat::Color::red());
    drawSlot(*slot, rec);
    const auto* day = textOf("20");
    const auto* detail = textOf("Yoga");
    ASSERT_TRUE(day && detail);
    EXPECT_EQ(day->layoutRect, (plat::Rect{2, 2, 36, 14}));
    EXPECT_EQ(day->text.attributes.font.size, KivoCalendarDetailDaySlot::DefaultFontSize);
    EXPECT_EQ(day->color, calendar->textColor());
    EXPECT_EQ(detail->layoutRect, (plat::Rect{2, 20, 36, 14}));
    EXPECT_EQ(detail->color, plat::Color::red());
    EXPECT_EQ(detail->text.attributes.font.size, KivoCalendarDetailDaySlot::DefaultFontSize);

    // The application's fonts, and no detail colour: the engine's own text colour.
    slot->setDayFont(plat::Font::system(11));
    slot->setDetailFont(plat::Font::system(9));
    slot->setDetailTextColor(std::nullopt);
    calendar->setTextColor(plat::Color::blue());
    drawSlot(*slot, rec);
    EXPECT_EQ(textOf("20")->text.attributes.font.size, 11);
    EXPECT_EQ(textOf("20")->color, plat::Color::blue());
    EXPECT_EQ(textOf("Yoga")->text.attributes.font.size, 9);
    EXPECT_EQ(textOf("Yoga")->color, plat::Color::black());

    // An empty text draws nothing.
    slot->setDetailText("");
    drawSlot(*slot, rec);
    EXPECT_EQ(rec.texts().size(), 1u);
}

// ---- Image slot ----

TEST_F(DaySlotVariantsTest, ImageAspectMapsToTheImageViewsContentMode) {
    const std::pair<std::int64_t, plat::ContentMode> table[] = {{0, plat::ContentMode::ScaleAspectFit},
                                                                {1, plat::ContentMode::ScaleAspectFill},
                                                                {2, plat::ContentMode::ScaleToFill},
                                                                {7, plat::ContentMode::ScaleToFill},
                                                                {-1, plat::ContentMode::ScaleToFill}};
    // A 40 × 20 image in a 20 × 20 rectangle at (2, 2) of a slot at (300, 330).
    const plat::Rect fit{302, 337, 20, 10}, fill{292, 332, 40, 20}, stretch{302, 332, 20, 20};
    auto slot = placed(KivoCalendarImageDaySlot::create(calendar, {300, 330, 40, 40}), at(2024, 3, 20));
    EXPECT_EQ(slot->imageAspect(), 2);
    slot->setImageSource(solid(40, 20));
    slot->setImageRect({2, 2, 20, 20});
    for (const auto& [aspect, mode] : table) {
        SCOPED_TRACE(aspect);
        slot->setImageAspect(aspect);
        EXPECT_EQ(Access::imageViewContentMode(aspect), mode);
        rec.clear();
        window->display(rec);
        EXPECT_EQ(slot->imageView()->contentMode(), mode);
        auto images = imagesIn({300, 330, 40, 40});
        ASSERT_EQ(images.size(), 1u);
        const plat::Rect expected = aspect == 0 ? fit : aspect == 1 ? fill : stretch;
        EXPECT_TRUE(rectNear(images[0]->bounds(), expected, 1e-6));
    }
}

TEST_F(DaySlotVariantsTest, AnImageTakenAwayLeavesNoImage) {
    auto slot = placed(KivoCalendarImageDaySlot::create(calendar, {300, 330, 40, 40}), at(2024, 3, 20));
    slot->setImageRect({0, 0, 40, 40});
    window->display(rec);
    EXPECT_TRUE(imagesIn({300, 330, 40, 40}).empty());
    slot->setImageSource(solid(4, 4));
    slot->setNeedsDisplay();
    rec.clear();
    window->display(rec);
    EXPECT_EQ(imagesIn({300, 330, 40, 40}).size(), 1u);
    for (bool byRect : {false, true}) {
        slot->setImageSource(solid(4, 4));
        slot->setImageRect({0, 0, 40, 40});
        slot->setNeedsDisplay();
        window->display(rec);
        if (byRect)
            slot->setImageRect({});
        else
            slot->setImageSource(nullptr);
        slot->setNeedsDisplay();
        rec.clear();
        window->display(rec);
        EXPECT_TRUE(imagesIn({300, 330, 40, 40}).empty()) << byRect;
    }
}

TEST_F(DaySlotVariantsTest, AnImageLoadedFromAFileURLShowsInTheSlot) {
    const auto dir = std::filesystem::path(KIVO_BINARY_DIR) / "calendar_day_slot_variants_test";
    std::filesystem::create_directories(dir);
    const auto file = dir / "stamp.png";
    ASSERT_TRUE(solid(6, 3)->writePNG(file.string()));

    auto slot = placed(KivoCalendarImageDaySlot::create(calendar, {300, 330, 40, 40}), at(2024, 3, 20));
    slot->setImageRect({5, 5, 30, 15});
    bool done = false;
    auto task = plat::ImageLoader::start({"file://" + file.string()}, [&](const plat::ImageLoader::Result& result) {
        done = true;
        slot->setImageSource(result.image);
        slot->setNeedsDisplay();
    });
    ASSERT_TRUE(plat::RunLoop::main().runUntil([&] { return done; }, 10));
    std::filesystem::remove_all(dir);
    window->display(rec);
    auto images = imagesIn({300, 330, 40, 40});
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0]->imagePixelWidth, 6);
    EXPECT_EQ(images[0]->imagePixelHeight, 3);
    EXPECT_TRUE(rectNear(images[0]->bounds(), {305, 335, 30, 15}, 1e-6));
}

// ---- View slot ----

// Puts view slots into the grid: the delegate for the month's own days, the template for the
// neighbouring ones. Day 14 (today) hosts a red view; every other day a view without a colour.
class ViewSlotDelegate : public KivoCalendarDelegate, public IAdjacentDaySlotTemplate {
public:
    std::optional<std::shared_ptr<KivoCalendarDaySlotBase>> daySlotLoading(
        const std::shared_ptr<KivoCalendar>& calendar, std::optional<plat::Date> date, bool,
        const std::shared_ptr<KivoCalendarDaySlotBase>& slot) override {
        auto hosting = KivoCalendarViewDaySlot::create(calendar, slot->frame());
        auto view = plat::View::create();
        if (calendar->dateUtil()->getDayFromDate(date) == 14) view->setBackgroundColor(plat::Color::red());
        hosting->setCustomView(view);
        return hosting;
    }
    std::shared_ptr<plat::View> getView(std::optional<plat::Date>, const plat::Rect& frame) override {
        auto hosting = KivoCalendarViewDaySlot::create(nullptr, frame);
        hosting->setCustomView(plat::View::create());
        return hosting;
    }
};

class ViewSlotTest : public DaySlotVariantsTest {
protected:
    void SetUp() override {
        DaySlotVariantsTest::SetUp();
        calendar->setIsAnimated(false);
        calendar->setTodayBackgroundColor(today);
        calendar->setSelectionBackgroundColor(selected);
        calendar->setAdjacentDaySlotTemplate(delegate);
        calendar->setDelegate(delegate);
        layout();
    }
    std::shared_ptr<KivoCalendarViewDaySlot> slotFor(plat::Date day) const {
        return std::dynamic_pointer_cast<KivoCalendarViewDaySlot>(slotOfDay(day));
    }
    std::optional<plat::Color> colourOf(plat::Date day) const { return slotFor(day)->customView()->backgroundColor(); }
    void tapOn(const std::shared_ptr<plat::View>& view) {
        const plat::Rect b = view->bounds();
        plat::testing::Touches(window).tap(view->convertPointToView({b.width() / 2, b.height() / 2}, nullptr));
        plat::RunLoop::main().runUntilIdle();
    }
    void redraw() {
        for (const auto& slot : calendar->monthViewCurrent()->subviews()) slot->setNeedsDisplay();
    }

    const plat::Color today = plat::Color::rgb255(255, 236, 180), selected = plat::Color::rgb255(10, 120, 60);
    std::shared_ptr<ViewSlotDelegate> delegate = std::make_shared<ViewSlotDelegate>();
};

TEST_F(ViewSlotTest, TheHostedViewIsColouredByTheDaysState) {
    ASSERT_TRUE(slotFor(at(2024, 3, 14)) && slotFor(at(2024, 3, 15)));
    const plat::Color white = calendar->backgroundColor();
    // Its own red stays on today; a view without a colour shows the calendar's.
    EXPECT_EQ(colourOf(at(2024, 3, 14)), plat::Color::red());
    EXPECT_EQ(colourOf(at(2024, 3, 15)), white);
    EXPECT_EQ(slotFor(at(2024, 3, 14))->state(), KivoCalendarDaySlotStateToday);
    calendar->setCurrentDate(at(2024, 3, 15));
    redraw();
    EXPECT_EQ(colourOf(at(2024, 3, 15)), today);
    EXPECT_EQ(colourOf(at(2024, 3, 14)), plat::Color::red());

    // A tap selects the day: the selection colour, whatever colour the view brought.
    tapOn(slotFor(at(2024, 3, 14))->customView());
    EXPECT_TRUE(calendar->dateUtil()->isYMDEqual(calendar->selectedDate(), at(2024, 3, 14)));
    EXPECT_EQ(colourOf(at(2024, 3, 14)), selected);
    tapOn(slotFor(at(2024, 3, 15))->customView());
    EXPECT_EQ(colourOf(at(2024, 3, 15)), selected);
    EXPECT_EQ(colourOf(at(2024, 3, 14)), plat::Color::red());

    // A selected day that cannot be chosen is shown as disabled, not as selected.
    calendar->setMaxDate(at(2024, 3, 14));
    redraw();
    EXPECT_EQ(slotFor(at(2024, 3, 15))->state(), KivoCalendarDaySlotStateDisabled);
    EXPECT_EQ(colourOf(at(2024, 3, 15)), white);
}

TEST_F(ViewSlotTest, ASelectedDayOfTheNeighbouringMonthIsNotShownAsSelected) {
    auto first = std::dynamic_pointer_cast<KivoCalendarViewDaySlot>(calendar->monthViewCurrent()->daySlotAt(0));
    ASSERT_TRUE(first);  // 25 February
    EXPECT_EQ(first->kivoCalendar(), calendar);
    calendar->setSelectedDate(at(2024, 2, 25));
    first->setNeedsDisplay();
    EXPECT_EQ(first->state(), KivoCalendarDaySlotStateAdjacent);
    EXPECT_EQ(first->customView()->backgroundColor(), calendar->backgroundColor());

    // A tap on it moves to February, as the drawn slots' taps do.
    tapOn(first);
    EXPECT_EQ(calendar->dateUtil()->compareYM(calendar->displayDate(), at(2024, 2, 1)), 0);
}

TEST_F(ViewSlotTest, TapsReachTheCalendarOnlyWhileItIsEnabled) {
    auto slot = slotFor(at(2024, 3, 20));
    slot->setCustomView(nullptr);
    EXPECT_TRUE(slot->subviews().empty());
    calendar->setIsEnabled(false);
    tapOn(slot);
    EXPECT_FALSE(calendar->selectedDate());
    calendar->setIsEnabled(true);
    tapOn(slot);
    EXPECT_TRUE(calendar->dateUtil()->isYMDEqual(calendar->selectedDate(), at(2024, 3, 20)));
}

TEST_F(DaySlotVariantsTest, ReplacingTheHostedViewRemovesTheOldOne) {
    auto slot = KivoCalendarViewDaySlot::create(calendar, {0, 0, 40, 30});
    slot->setDate(at(2024, 3, 20));
    auto red = plat::View::create({5, 5, 1, 1});
    red->setBackgroundColor(plat::Color::red());
    slot->setCustomView(red);
    EXPECT_EQ(red->frame(), (plat::Rect{0, 0, 40, 30}));
    EXPECT_EQ(red->backgroundColor(), plat::Color::red());

    auto plain = plat::View::create();
    slot->setCustomView(plain);
    EXPECT_FALSE(red->superview());
    ASSERT_EQ(slot->subviews().size(), 1u);
    EXPECT_EQ(slot->subviews()[0], plain);
    // The new view brought no colour: it shows the calendar's, not the red of the one before.
    EXPECT_EQ(plain->backgroundColor(), calendar->backgroundColor());
    slot->setCustomView(plain);
    EXPECT_EQ(slot->subviews().size(), 1u);

    // The hosted view follows the slot's size.
    slot->setFrame({100, 100, 60, 50});
    slot->layoutIfNeeded();
    EXPECT_EQ(plain->frame(), (plat::Rect{0, 0, 60, 50}));

    // A slot cannot host itself.
    plat::testing::LogCapture log;
    slot->setCustomView(slot);
    EXPECT_EQ(slot->customView(), plain);
    EXPECT_EQ(log.lines().size(), 1u);
}

}  // namespace
