// The year and decade pages: which years a decade page shows, the colours of months and years that
// minDate and maxDate rule out, the chosen month or year, the label slots' alignments and padding,
// the taps that zoom into a month or a year, and the look the control hands the pages.

#include "KivoCalendar/KivoCalendarDecadeView.h"
#include "KivoCalendar/KivoCalendarHeaderView.h"
#include "KivoCalendar/KivoCalendarYearView.h"
#include "Platform/foundation/locale/preferred_languages.h"
#include "Platform/graphics/text.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/testing/touches.h"
#include "Platform/ui/label.h"
#include "calendar/SlotLabel.h"
#include "calendar_fixture.h"

using namespace calendar_test;

namespace {

struct YearCall {
    std::uint64_t year;
    bool isAdjacentYear;
};

class SlotDelegate : public RecordingDelegate {
public:
    void monthSlotLoading(const std::shared_ptr<KivoCalendar>&, std::uint64_t month,
                          const std::shared_ptr<KivoCalendarMonthSlotBase>& slot) override {
        months.push_back(month);
        if (restyle) std::static_pointer_cast<KivoCalendarMonthSlot>(slot)->setMonthTextColor(plat::Color::red());
    }
    void yearSlotLoading(const std::shared_ptr<KivoCalendar>&, std::uint64_t year, bool isAdjacentYear,
                         const std::shared_ptr<KivoCalendarYearSlotBase>&) override {
        years.push_back({year, isAdjacentYear});
    }
    std::vector<std::uint64_t> months;
    std::vector<YearCall> years;
    bool restyle = false;
};

class YearDecadeTest : public CalendarTest {
protected:
    void SetUp() override {
        CalendarTest::SetUp();
        calendar->setIsAnimated(false);
    }
    void show(std::int64_t mode, plat::Date date) {
        calendar->setViewMode(mode);
        calendar->setDisplayDate(date);
        layout();
    }
    std::shared_ptr<KivoCalendarMonthSlot> month(int m) const { return calendar->yearViewCurrent()->monthLabels()[m - 1]; }
    std::shared_ptr<KivoCalendarYearSlot> yearCell(std::size_t k) const { return calendar->decadeViewCurrent()->yearLabels()[k]; }
    static plat::Color textColorOf(const plat::View& slot) {
        return std::static_pointer_cast<plat::Label>(slot.subviews().front())->textColor();
    }
    static std::optional<plat::Color> markOf(const plat::View& slot) { return slot.subviews().front()->backgroundColor(); }
    void tap(const std::shared_ptr<plat::View>& slot) {
        const plat::Rect b = slot->bounds();
        plat::testing::Touches(window).tap(slot->convertPointToView({b.width() / 2, b.height() / 2}, nullptr));
    }
    void run(double seconds) { plat::RunLoop::main().runFor(seconds); }
    const KivoDateUtil& util() const { return *calendar->dateUtil(); }

    const plat::Color selection = plat::Color::rgb255(10, 120, 60);
};

TEST_F(YearDecadeTest, ADecadePageShowsItsTenYearsBetweenTwoAdjacentOnes) {
    struct Case {
        plat::Date date;
        std::int64_t first;
    } cases[] = {{at(2020, 1, 1), 2019}, {at(2024, 3, 14), 2019}, {at(2029, 12, 31), 2019}, {at(2030, 6, 1), 2029}};
    for (const Case& c : cases) {
        show(KivoCalendarViewModeDecade, c.date);
        for (std::size_t k = 0; k < KivoCalendarDecadeView::SlotCount; ++k) {
            SCOPED_TRACE(c.first + static_cast<std::int64_t>(k));
            const auto& slot = yearCell(k);
            EXPECT_EQ(slot->tag(), c.first + static_cast<std::int64_t>(k));
            EXPECT_EQ(slot->yearText(), std::to_string(c.first + static_cast<std::int64_t>(k)));
            const bool adjacent = k == 0 || k == 11;
            EXPECT_EQ(textColorOf(*slot), adjacent ? calendar->adjacentDayTextColor() : calendar->textColor());
        }
    }
    // The neighbouring pages show the decades either side.
    EXPECT_EQ(calendar->decadeViewNext()->yearLabels()[0]->yearText(), "2039");
    EXPECT_EQ(calendar->decadeViewPrev()->yearLabels()[11]->yearText(), "2030");
}

TEST_F(YearDecadeTest, MinAndMaxDatesRuleOutWholeMonthsAndYears) {
    auto delegate = std::make_shared<SlotDelegate>();
    calendar->setDelegate(delegate);
    calendar->setMinDate(at(2021, 3, 15));
    calendar->setMaxDate(at(2024, 10, 10));

    show(KivoCalendarViewModeYear, at(2021, 7, 1));
    const plat::Color disabled = calendar->disabledTextColor(), normal = calendar->textColor();
    EXPECT_EQ(textColorOf(*month(1)), disabled);
    EXPECT_EQ(textColorOf(*month(2)), disabled);
    EXPECT_EQ(textColorOf(*month(3)), normal);
    EXPECT_EQ(textColorOf(*month(12)), normal);
    show(KivoCalendarViewModeYear, at(2024, 7, 1));
    EXPECT_EQ(textColorOf(*month(10)), normal);
    EXPECT_EQ(textColorOf(*month(11)), disabled);
    // Every month is offered to the delegate, in order, after the page coloured it.
    ASSERT_GE(delegate->months.size(), 12u);
    EXPECT_EQ(std::vector<std::uint64_t>(delegate->months.end() - 12, delegate->months.end()),
              (std::vector<std::uint64_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));

    show(KivoCalendarViewModeDecade, at(2021, 7, 1));
    EXPECT_EQ(textColorOf(*yearCell(1)), disabled);  // 2020
    EXPECT_EQ(textColorOf(*yearCell(2)), normal);    // 2021
    EXPECT_EQ(textColorOf(*yearCell(5)), normal);    // 2024
    EXPECT_EQ(textColorOf(*yearCell(6)), disabled);  // 2025
    // A disabled first or last cell is not reported as an adjacent year.
    delegate->years.clear();
    calendar->decadeViewCurrent()->refresh();
    ASSERT_EQ(delegate->years.size(), 12u);
    EXPECT_EQ(delegate->years.front().year, 2019u);
    EXPECT_FALSE(delegate->years.front().isAdjacentYear);
    EXPECT_EQ(delegate->years.back().year, 2030u);
    EXPECT_FALSE(delegate->years.back().isAdjacentYear);
    EXPECT_FALSE(delegate->years[2].isAdjacentYear);
    calendar->setMaxDate(std::nullopt);
    delegate->years.clear();
    calendar->decadeViewCurrent()->refresh();
    EXPECT_TRUE(delegate->years.back().isAdjacentYear);
    EXPECT_EQ(textColorOf(*yearCell(11)), calendar->adjacentDayTextColor());
}

TEST_F(YearDecadeTest, TheDelegateRestylesMonthSlotsInPlace) {
    auto delegate = std::make_shared<SlotDelegate>();
    delegate->restyle = true;
    calendar->setDelegate(delegate);
    show(KivoCalendarViewModeYear, at(2024, 7, 1));
    EXPECT_EQ(textColorOf(*month(4)), plat::Color::red());
}

TEST_F(YearDecadeTest, TheChosenMonthIsMarkedWhateverTheDayOfThePagesDate) {
    calendar->setSelectionBackgroundColor(selection);
    calendar->setSelectionTextColor(plat::Color::white());
    struct Case {
        const char* what;
        plat::Date yearDate, highlight;
        int marked;
    } cases[] = {
        {"the 31st of a month after a 30-day one", at(2024, 5, 31), at(2024, 5, 2), 5},
        {"the 31st, February chosen", at(2024, 5, 31), at(2024, 2, 10), 2},
        {"the 30th, February chosen in a year that is no leap year", at(2023, 1, 30), at(2023, 2, 1), 2},
        {"another year's month marks nothing", at(2024, 5, 31), at(2023, 5, 2), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        calendar->setHighlightDate(c.highlight);
        show(KivoCalendarViewModeYear, c.yearDate);
        calendar->yearViewCurrent()->refresh();
        for (int m = 1; m <= 12; ++m) {
            EXPECT_EQ(markOf(*month(m)), m == c.marked ? std::optional(selection) : std::optional(plat::Color::clear()))
                << "month " << m;
            if (m == c.marked) {
                EXPECT_EQ(textColorOf(*month(m)), plat::Color::white());
            }
        }
    }

    // A chosen month that cannot be chosen any more still shows as chosen.
    calendar->setMinDate(at(2024, 6, 1));
    calendar->setHighlightDate(at(2024, 3, 3));
    show(KivoCalendarViewModeYear, at(2024, 8, 1));
    EXPECT_EQ(markOf(*month(3)), selection);
    EXPECT_EQ(textColorOf(*month(3)), plat::Color::white());
    EXPECT_EQ(textColorOf(*month(4)), calendar->disabledTextColor());
}

TEST_F(YearDecadeTest, TheChosenYearIsMarkedByItsYearAlone) {
    calendar->setSelectionBackgroundColor(selection);
    calendar->setHighlightDate(at(2027, 8, 20));
    show(KivoCalendarViewModeDecade, at(2024, 1, 31));
    for (std::size_t k = 0; k < 12; ++k)
        EXPECT_EQ(markOf(*yearCell(k)), k == 8 ? std::optional(selection) : std::optional(plat::Color::clear())) << k;
    // Marks follow the highlight at the next refresh; the adjacent year can be the chosen one.
    calendar->setHighlightDate(at(2030, 1, 1));
    calendar->decadeViewCurrent()->refresh();
    EXPECT_EQ(markOf(*yearCell(8)), plat::Color::clear());
    EXPECT_EQ(markOf(*yearCell(11)), selection);
}

// ---- Label slots ----

class LabelSlotTest : public calendar_test::PinnedCalendarTest {
protected:
    void SetUp() override {
        PinnedCalendarTest::SetUp();
        slot = KivoCalendarMonthSlot::create();
        slot->setMonthFont(font);
        slot->setMonthText("Jan");
    }
    const plat::Font font = plat::Font::system(14);
    const double line = plat::measureText("Jan", font).height;
    std::shared_ptr<KivoCalendarMonthSlot> slot;
};

TEST_F(LabelSlotTest, VerticalAlignmentPushesTheTextWithBlankLines) {
    // Room for the text and three and a half lines more: three blank lines.
    slot->setMonthSlotFrame({0, 0, 70, 4.5 * line});
    struct Case {
        std::int64_t alignment;
        const char* shown;
    } cases[] = {{0, "Jan\n \n \n "}, {2, " \n \n \nJan"}, {1, "Jan"}, {3, "Jan"}, {-1, "Jan"}, {0, "Jan\n \n \n "}};
    for (const Case& c : cases) {
        slot->setMonthVerticalAlignment(c.alignment);
        EXPECT_EQ(slot->monthLabel()->text(), c.shown) << c.alignment;
        EXPECT_EQ(slot->monthVerticalAlignment(), c.alignment);
    }
    // Laid out again (the same frame, or a new text), the count is the same: it is taken from the
    // text as set, not from the label's text with its blank lines.
    slot->setMonthSlotFrame({0, 0, 70, 4.5 * line});
    slot->setMonthSlotFrame({0, 0, 70, 4.5 * line});
    EXPECT_EQ(slot->monthLabel()->text(), "Jan\n \n \n ");
    slot->setMonthText("Feb");
    EXPECT_EQ(slot->monthText(), "Feb");
    EXPECT_EQ(slot->monthLabel()->text(), "Feb\n \n \n ");
    // A text that fills the label gets none.
    slot->setMonthSlotFrame({0, 0, 70, line * 1.5});
    EXPECT_EQ(slot->monthLabel()->text(), "Feb");
}

TEST_F(LabelSlotTest, NoLinesWithoutAPlaceOrWithoutAText) {
    slot->setMonthVerticalAlignment(2);
    EXPECT_EQ(slot->monthLabel()->frame(), plat::Rect{});
    EXPECT_EQ(slot->monthLabel()->text(), "Jan");
    slot->setMonthSlotFrame({0, 0, 70, 10 * line});
    slot->setMonthText("");
    EXPECT_EQ(slot->monthLabel()->text(), "");
    slot->setMonthText(std::nullopt);
    EXPECT_EQ(slot->monthLabel()->text(), "");
    // A label of no height, or an absurd one, stays in bounds.
    slot->setMonthText("Mar");
    slot->setMonthSlotFrame({0, 0, 70, 0});
    EXPECT_EQ(slot->monthLabel()->text(), "Mar");
    slot->setMonthSlotFrame({0, 0, 70, 1e300});
    EXPECT_LE(slot->monthLabel()->text().size(), 3 + 2 * kivo::detail::SlotLabel::MaxAlignmentLines);
}

TEST_F(LabelSlotTest, HorizontalAlignmentMapsToTheLabelsAlignment) {
    const std::pair<std::int64_t, plat::TextAlignment> cases[] = {{0, plat::TextAlignment::Left},
                                                                  {2, plat::TextAlignment::Right},
                                                                  {1, plat::TextAlignment::Center},
                                                                  {3, plat::TextAlignment::Center},
                                                                  {-1, plat::TextAlignment::Center}};
    for (const auto& [code, alignment] : cases) {
        slot->setMonthHorizontalAlignment(code);
        EXPECT_EQ(slot->monthHorizontalAlignment(), code);
        EXPECT_EQ(slot->monthLabel()->textAlignment(), alignment) << code;
    }
}

TEST_F(LabelSlotTest, PaddingInsetsTheLabelFromTheSlot) {
    slot->setMonthSlotFrame({70, 0, 70, 90});
    EXPECT_EQ(slot->monthLabel()->frame(), (plat::Rect{0, 0, 70, 90}));
    const plat::EdgeInsets padding{4, 6, 8, 10};
    slot->setPadding(padding);
    EXPECT_EQ(slot->monthLabel()->frame(), (plat::Rect{6, 4, 54, 78}));
    // The same padding again leaves the label as it is.
    slot->setPadding(padding);
    EXPECT_EQ(slot->monthLabel()->frame(), (plat::Rect{6, 4, 54, 78}));
    // A new padding insets the label from where it is now; the next frame starts afresh.
    slot->setPadding({1, 1, 1, 1});
    EXPECT_EQ(slot->monthLabel()->frame(), (plat::Rect{1, 1, 52, 76}));
    slot->setMonthSlotFrame({0, 0, 70, 90});
    EXPECT_EQ(slot->monthLabel()->frame(), (plat::Rect{1, 1, 68, 88}));
    // The colour of the slot is the label's; the slot's own view stays unpainted.
    slot->setBackgroundColor(plat::Color::red());
    EXPECT_EQ(slot->monthLabel()->backgroundColor(), plat::Color::red());
    EXPECT_FALSE(slot->backgroundColor());
}

TEST_F(LabelSlotTest, MonthNamesComeFromTheLocaleOfTheMoment) {
    auto english = KivoCalendarYearView::create();
    EXPECT_EQ(english->monthLabels()[0]->monthText(), "Jan");
    EXPECT_EQ(english->monthLabels()[11]->monthText(), "Dec");
    plat::Locale::setCurrent(plat::Locale::withIdentifier("ja_JP"));
    auto japanese = KivoCalendarYearView::create();
    EXPECT_EQ(japanese->monthLabels()[0]->monthText(), "1");
    EXPECT_EQ(japanese->monthLabels()[11]->monthText(), "12");
    EXPECT_EQ(english->monthLabels()[0]->monthText(), "Jan");
    // Another calendar system is no other language.
    plat::Locale::setCurrent(plat::Locale::withIdentifier("en_US@calendar=japanese"));
    EXPECT_EQ(KivoCalendarYearView::create()->monthLabels()[2]->monthText(), "Mar");
}

TEST_F(LabelSlotTest, AJapaneseReaderGetsTheOneLetterMonthNamesOfAnyLocale) {
    plat::setPreferredLanguages(std::vector<std::string>{"ja-JP"});
    auto page = KivoCalendarYearView::create();
    EXPECT_EQ(page->monthLabels()[0]->monthText(), "J");
    EXPECT_EQ(page->monthLabels()[8]->monthText(), "S");
    // Only the first language counts.
    plat::setPreferredLanguages(std::vector<std::string>{"en-US", "ja-JP"});
    EXPECT_EQ(KivoCalendarYearView::create()->monthLabels()[0]->monthText(), "Jan");
}

// ---- Taps ----

TEST_F(YearDecadeTest, ATapOnAMonthOpensItAnimatedOrAtOnce) {
    for (bool animated : {false, true}) {
        SCOPED_TRACE(animated);
        calendar->setIsAnimated(false);
        show(KivoCalendarViewModeYear, at(2024, 1, 31));
        calendar->setIsAnimated(animated);
        tap(month(2));
        if (animated) {
            // The first half grows the body at once and fades it out; the month comes with the
            // second half.
            EXPECT_EQ(calendar->viewMode(), KivoCalendarViewModeYear);
            EXPECT_EQ(calendar->bodyView()->transform(), plat::AffineTransform::scale(8, 8));
            run(0.2);
            EXPECT_LT(calendar->bodyView()->alpha(), 1);
            run(1);
            EXPECT_EQ(calendar->bodyView()->alpha(), 1);
            EXPECT_EQ(calendar->bodyView()->transform(), plat::AffineTransform::identity());
        }
        EXPECT_EQ(calendar->viewMode(), KivoCalendarViewModeMonth);
        // The 31st of January becomes the last day of February, not a day of March.
        EXPECT_TRUE(util().isYMDEqual(calendar->displayDate(), at(2024, 2, 29)));
        EXPECT_TRUE(util().isYMDEqual(calendar->yearViewCurrent()->yearDate(), at(2024, 2, 29)));
        layout();
        EXPECT_EQ(calendar->headerView()->title(), "February 2024");
    }
}

TEST_F(YearDecadeTest, ATapOnAYearOpensItAnimatedOrAtOnce) {
    for (bool animated : {false, true}) {
        SCOPED_TRACE(animated);
        calendar->setIsAnimated(false);
        show(KivoCalendarViewModeDecade, at(2024, 3, 14));
        calendar->setIsAnimated(animated);
        tap(yearCell(8));
        if (animated) run(1);
        EXPECT_EQ(calendar->viewMode(), KivoCalendarViewModeYear);
        EXPECT_EQ(util().getYearFromDate(calendar->displayDate()), 2027);
        EXPECT_EQ(util().getYearFromDate(calendar->yearViewCurrent()->yearDate()), 2027);
        EXPECT_EQ(util().getYearFromDate(calendar->decadeViewCurrent()->decadeDate()), 2027);
    }
    // The adjacent year is a year like any other.
    calendar->setIsAnimated(false);
    show(KivoCalendarViewModeDecade, at(2024, 3, 14));
    tap(yearCell(11));
    EXPECT_EQ(calendar->viewMode(), KivoCalendarViewModeYear);
    EXPECT_EQ(util().getYearFromDate(calendar->displayDate()), 2030);
    layout();
    EXPECT_EQ(calendar->headerView()->title(), "2030");
}

TEST_F(YearDecadeTest, TapsOnWhatCannotBeChosenAreIgnored) {
    calendar->setMinDate(at(2024, 3, 15));
    show(KivoCalendarViewModeYear, at(2024, 7, 1));
    tap(month(2));
    EXPECT_EQ(calendar->viewMode(), KivoCalendarViewModeYear);
    show(KivoCalendarViewModeDecade, at(2024, 7, 1));
    tap(yearCell(4));  // 2023
    EXPECT_EQ(calendar->viewMode(), KivoCalendarViewModeDecade);

    calendar->setIsEnabled(false);
    tap(yearCell(6));
    EXPECT_EQ(calendar->viewMode(), KivoCalendarViewModeDecade);
    show(KivoCalendarViewModeYear, at(2024, 7, 1));
    tap(month(8));
    EXPECT_EQ(calendar->viewMode(), KivoCalendarViewModeYear);
}

TEST_F(YearDecadeTest, ATapDuringTheZoomIsIgnored) {
    show(KivoCalendarViewModeYear, at(2024, 7, 1));
    calendar->setIsAnimated(true);
    tap(month(4));
    tap(month(9));
    run(1);
    EXPECT_EQ(calendar->viewMode(), KivoCalendarViewModeMonth);
    EXPECT_EQ(util().getMonthFromDate(calendar->displayDate()), 4);
}

TEST_F(YearDecadeTest, ACalendarThatGoesAwayDuringTheZoomIsReleasedWithItsBody) {
    show(KivoCalendarViewModeYear, at(2024, 7, 1));
    calendar->setIsAnimated(true);
    tap(month(4));
    std::weak_ptr<KivoCalendar> gone = calendar;
    std::weak_ptr<plat::View> body = calendar->bodyView();
    calendar->removeFromSuperview();
    calendar.reset();
    EXPECT_TRUE(gone.expired());
    EXPECT_TRUE(body.expired());
    run(1);
}

// ---- The control's look on the pages ----

TEST_F(YearDecadeTest, TheControlHandsItsLookToThePages) {
    show(KivoCalendarViewModeDecade, at(2024, 7, 1));
    const plat::Color ink = plat::Color::rgb255(20, 40, 90), edge = plat::Color::rgb255(200, 10, 10);
    calendar->setTextColor(ink);
    calendar->setDayBorderColor(edge);
    calendar->setDayBorderWidth(1.5);
    EXPECT_EQ(textColorOf(*month(5)), ink);
    EXPECT_EQ(textColorOf(*yearCell(5)), ink);
    EXPECT_EQ(textColorOf(*yearCell(0)), calendar->adjacentDayTextColor());
    calendar->setAdjacentDayTextColor(edge);
    EXPECT_EQ(textColorOf(*yearCell(11)), edge);
    for (const auto& page : {calendar->decadeViewCurrent(), calendar->decadeViewNext(), calendar->decadeViewPrev()}) {
        for (const auto& slot : page->yearLabels()) {
            EXPECT_EQ(slot->layer()->borderColor(), edge);
            EXPECT_EQ(slot->layer()->borderWidth(), 1.5);
        }
    }
    for (const auto& slot : calendar->yearViewCurrent()->monthLabels()) {
        EXPECT_EQ(slot->layer()->borderColor(), edge);
        EXPECT_EQ(slot->layer()->borderWidth(), 1.5);
    }
    // A page drawn with the new look: text in the new colour.
    plat::RecordingContext rec;
    window->display(rec);
    const auto* text = rec.findText("2024");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->color, ink);
}

TEST_F(YearDecadeTest, TheGridTilesThePage) {
    show(KivoCalendarViewModeYear, at(2024, 7, 1));
    const auto& page = calendar->yearViewCurrent();
    EXPECT_EQ(page->frame(), (plat::Rect{0, 0, 280, 280}));
    EXPECT_TRUE(rectNear(month(1)->frame(), {0, 0, 70, 280.0 / 3}));
    EXPECT_TRUE(rectNear(month(7)->frame(), {140, 280.0 / 3, 70, 280.0 / 3}));
    EXPECT_TRUE(rectNear(month(12)->frame(), {210, 2 * 280.0 / 3, 70, 280.0 / 3}));
    EXPECT_EQ(month(12)->monthLabel()->font(), plat::Font::system(14));
}

TEST_F(YearDecadeTest, APageWithoutACalendarOrADateStaysAsItIs) {
    auto page = KivoCalendarDecadeView::create({0, 0, 200, 150});
    page->refresh();
    page->setDecadeDate(at(2024, 1, 1));
    EXPECT_EQ(page->yearLabels()[0]->tag(), -1);
    EXPECT_FALSE(page->yearLabels()[0]->yearText());
    page->setKivoCalendar(calendar);
    page->setDecadeDate(std::nullopt);
    EXPECT_EQ(page->decadeDate(), at(2024, 1, 1));
    page->refresh();
    EXPECT_EQ(page->yearLabels()[0]->yearText(), "2019");
}

}  // namespace
