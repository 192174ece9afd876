// The calendar's header: titles of the current and neighbouring pages in each mode, the
// application's title, the year-first month title of Japanese users, the chevrons' colour, the
// buttons, and the title-tap chain of view-mode changes (animated and not, one at a time).

#include "KivoCalendar/KivoCalendarHeaderLoadingEventArgs.h"
#include "KivoCalendar/KivoCalendarHeaderView.h"
#include "KivoCore/KivoEvent.h"
#include "Platform/foundation/locale/preferred_languages.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/testing/touches.h"
#include "Platform/ui/label.h"
#include "Platform/ui/scroll_view.h"
#include "calendar_fixture.h"

using namespace calendar_test;

namespace {

class HeaderTest : public CalendarTest {
protected:
    const KivoCalendarHeaderView& header() const { return *calendar->headerView(); }
    std::vector<std::string> titles() const {
        return {header().headerPrev()->text(), header().title(), header().headerNext()->text()};
    }
    // The middle of the title strip, in window coordinates (the calendar sits at the origin).
    void tapTitle() { plat::testing::Touches(window).tap({140, 17}); }
    void run(double seconds) { plat::RunLoop::main().runFor(seconds); }
};

TEST_F(HeaderTest, TitlesNameThePageAndItsNeighboursInEveryMode) {
    struct Case {
        std::int64_t mode;
        plat::Date date;
        std::vector<std::string> titles;
    } cases[] = {
        {KivoCalendarViewModeMonth, at(2024, 3, 14), {"February 2024", "March 2024", "April 2024"}},
        {KivoCalendarViewModeYear, at(2024, 3, 14), {"2023", "2024", "2025"}},
        {KivoCalendarViewModeDecade, at(2029, 6, 1), {"2010-2019", "2020-2029", "2030-2039"}},
        {KivoCalendarViewModeDecade, at(2030, 6, 1), {"2020-2029", "2030-2039", "2040-2049"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.titles[1]);
        calendar->setViewMode(c.mode);
        calendar->setDisplayDate(c.date);
        EXPECT_EQ(titles(), c.titles);
    }
}

TEST_F(HeaderTest, AHeaderLoadingHandlerGivesTheCurrentTitleOnly) {
    calendar->headerLoading()->addHandler(
        [](const std::shared_ptr<KivoEventContainer>& e) {
            auto args = std::static_pointer_cast<KivoCalendarHeaderLoadingEventArgs>(e->eventArgs());
            if (args->viewMode() == KivoCalendarViewModeMonth) args->setHeader("Spring sale");
        },
        calendar);
    calendar->setDisplayDate(at(2024, 4, 2));
    EXPECT_EQ(titles(), (std::vector<std::string>{"March 2024", "Spring sale", "May 2024"}));
    calendar->setViewMode(KivoCalendarViewModeYear);
    EXPECT_EQ(header().title(), "2024");
}

TEST_F(HeaderTest, JapaneseReadersReadTheMonthTitleYearFirst) {
    plat::setPreferredLanguages(std::vector<std::string>{"ja-JP", "en-US"});
    auto japanese = KivoCalendar::create(Frame);
    japanese->setHeaderMonthFormat("MMMM yyyy");
    japanese->setDisplayDate(at(2024, 3, 14));
    EXPECT_EQ(japanese->headerView()->title(), "2024年3月");
    EXPECT_EQ(japanese->headerView()->headerNext()->text(), "2024年4月");
    japanese->setViewMode(KivoCalendarViewModeYear);
    EXPECT_EQ(japanese->headerView()->title(), "2024");
}

TEST_F(HeaderTest, OnlyAJapaneseOrChineseFirstLanguagePutsTheYearFirst) {
    struct Case {
        std::vector<std::string> languages;
        const char* locale;
        bool yearFirst;
    } cases[] = {
        {{"en-US"}, "ja_JP", false},  // the formatting locale is not the language read
        {{"en-US", "ja-JP"}, "en_US", false}, {{"jam-JM"}, "en_US", false}, {{"ja-JP"}, "en_US", true}, {{"JA"}, "en_US", true},
        {{"zh-Hant-TW"}, "en_US", true},      {{"zh"}, "de_DE", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.languages.front() + " / " + c.locale);
        plat::setPreferredLanguages(c.languages);
        plat::Locale::setCurrent(plat::Locale::withIdentifier(c.locale));
        auto made = KivoCalendar::create(Frame);
        made->setDisplayDate(at(2024, 3, 14));
        const std::string& title = made->headerView()->title();
        if (c.yearFirst)
            EXPECT_EQ(title, "2024年3月");
        else
            EXPECT_EQ(title.find("年"), std::string::npos) << title;
    }
    // The language is read when the header is made: this calendar was made reading English.
    plat::setPreferredLanguages(std::vector<std::string>{"ja-JP"});
    calendar->setDisplayDate(at(2024, 4, 2));
    EXPECT_EQ(header().title().find("年"), std::string::npos) << header().title();
    plat::Locale::setCurrent(plat::Locale::withIdentifier("en_US"));
    calendar->setDisplayDate(at(2024, 3, 14));
    EXPECT_EQ(header().title(), "March 2024");
}

TEST_F(HeaderTest, AChevronLeadingToAPageOutOfReachIsDrawnInTheDisabledColour) {
    calendar->setMinDate(at(2024, 3, 1));
    calendar->setHeaderTextColor(plat::Color::rgb255(10, 20, 30));
    layout();
    plat::RecordingContext rec;
    window->display(rec);
    const plat::Rect prev = header().btnPrev()->frame(), next = header().btnNext()->frame();
    int prevStrokes = 0, nextStrokes = 0;
    for (const plat::DrawOp* op : rec.strokes()) {
        const plat::Point p = op->bounds().center();
        if (prev.contains(p)) {
            ++prevStrokes;
            EXPECT_EQ(op->color, calendar->disabledTextColor());
        } else if (next.contains(p)) {
            ++nextStrokes;
            EXPECT_EQ(op->color, plat::Color::rgb255(10, 20, 30));
        }
    }
    EXPECT_EQ(prevStrokes, 2);
    EXPECT_EQ(nextStrokes, 2);
}

TEST_F(HeaderTest, TheButtonsMoveAPageAndTheTitleStripIsBetweenThem) {
    calendar->setIsAnimated(false);
    EXPECT_TRUE(rectNear(header().btnPrev()->frame(), {0, 0, 40, 35}));
    EXPECT_TRUE(rectNear(header().headerScrollView()->frame(), {40, 0, 200, 35}));
    EXPECT_TRUE(rectNear(header().btnNext()->frame(), {240, 0, 40, 35}));
    plat::testing::Touches(window).tap({260, 17});
    EXPECT_EQ(header().title(), "April 2024");
    plat::testing::Touches(window).tap({20, 17}).tap({20, 17});
    EXPECT_EQ(header().title(), "February 2024");
    EXPECT_EQ(calendar->viewMode(), KivoCalendarViewModeMonth);  // the buttons' taps are not title taps
}

TEST_F(HeaderTest, TitleTapsZoomOutToTheDecadeAndFromItBackToTheMonth) {
    for (bool animated : {false, true}) {
        SCOPED_TRACE(animated);
        calendar->setIsAnimated(animated);
        calendar->setViewMode(KivoCalendarViewModeMonth);
        tapTitle();
        run(1);
        EXPECT_EQ(calendar->viewMode(), KivoCalendarViewModeYear);
        tapTitle();
        run(1);
        EXPECT_EQ(calendar->viewMode(), KivoCalendarViewModeDecade);
        tapTitle();
        if (animated) {
            // The year comes when the first half of the zoom ends; the month only after the whole
            // change to the year has ended.
            run(0.3);
            EXPECT_EQ(calendar->viewMode(), KivoCalendarViewModeYear);
            run(0.25);
            EXPECT_EQ(calendar->viewMode(), KivoCalendarViewModeYear);
        }
        run(1);
        EXPECT_EQ(calendar->viewMode(), KivoCalendarViewModeMonth);
        EXPECT_EQ(header().title(), "March 2024");
        EXPECT_FALSE(header().isChangingViewMode());
        EXPECT_EQ(calendar->bodyView()->alpha(), 1);
        EXPECT_EQ(calendar->bodyView()->transform(), plat::AffineTransform::identity());
    }
}

TEST_F(HeaderTest, TitleTapsDuringAChangeAreIgnored) {
    calendar->setViewMode(KivoCalendarViewModeDecade);
    tapTitle();
    tapTitle();
    run(0.1);
    tapTitle();
    run(2);
    EXPECT_EQ(calendar->viewMode(), KivoCalendarViewModeMonth);
    // Nothing is left waiting: a new chain runs as the first did.
    tapTitle();
    run(1);
    EXPECT_EQ(calendar->viewMode(), KivoCalendarViewModeYear);

    calendar->setIsEnabled(false);
    tapTitle();
    run(1);
    EXPECT_EQ(calendar->viewMode(), KivoCalendarViewModeYear);
}

TEST_F(HeaderTest, ACalendarReleasedDuringATitleZoomGoesWithItsBody) {
    calendar->setIsAnimated(true);
    tapTitle();
    run(0.1);
    std::weak_ptr<KivoCalendar> gone = calendar;
    std::weak_ptr<plat::View> body = calendar->bodyView();
    calendar->removeFromSuperview();
    calendar.reset();
    EXPECT_TRUE(gone.expired());
    EXPECT_TRUE(body.expired());
    run(1);
}

}  // namespace
