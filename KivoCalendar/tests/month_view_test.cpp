#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>

#include "KivoCore/KivoRenderEngine.h"
#include "Platform/testing/log_capture.h"
#include "Platform/testing/pinned_locale.h"
#include "calendar_fixture.h"

namespace {

using calendar_test::at;
using calendar_test::rectNear;

class MonthViewTest : public calendar_test::CalendarTest {
protected:
    // Shows the month of `date` with the week starting on `firstDay`.
    void show(plat::Date date, std::int64_t firstDay = 1) {
        calendar->setFirstDayOfWeek(firstDay);
        calendar->setDisplayDate(date);
        layout();
    }
    std::int64_t stateOfDay(plat::Date day) const { return slotOfDay(day)->state(); }
    plat::RecordingContext rec;
};

TEST_F(MonthViewTest, TheGridRunsFromTheLeadingDaysThroughTheMonthToTheTrailingDays) {
    struct Case {
        const char* what;
        plat::Date month;
        std::int64_t firstDay;
        std::int64_t leading;
        plat::Date firstCell;
    };
    const Case cases[] = {
        {"February 2026 begins on the week's first day: a whole row before it", at(2026, 2, 10), 1, 7, at(2026, 1, 25)},
        {"Monday first, a month beginning on a Sunday", at(2026, 3, 10), 2, 6, at(2026, 2, 23)},
        {"Saturday first, a month beginning on a Friday", at(2024, 3, 10), 7, 6, at(2024, 2, 24)},
        {"Sunday first, the same month", at(2024, 3, 10), 1, 5, at(2024, 2, 25)},
        {"Monday first, a month beginning on a Monday", at(2024, 4, 10), 2, 7, at(2024, 3, 25)},
        {"Sunday first, a leap February beginning on a Thursday", at(2024, 2, 10), 1, 4, at(2024, 1, 28)},
    };
    const KivoDateUtil& util = *calendar->dateUtil();
    for (const Case& c : cases) {
        show(c.month, c.firstDay);
        const auto days = static_cast<std::int64_t>(*util.getMonthDaysCountFromDate(c.month));
        for (std::int64_t i = 0; i < KivoCalendarMonthView::CellCount; ++i) {
            auto slot = slotAt(static_cast<std::size_t>(i));
            ASSERT_TRUE(slot) << c.what;
            EXPECT_EQ(slot->date(), util.getDateByAddingDays(i, c.firstCell)) << c.what << ", cell " << i;
            EXPECT_EQ(slot->isAdjacent(), i < c.leading || i >= c.leading + days) << c.what << ", cell " << i;
        }
        EXPECT_EQ(slotAt(static_cast<std::size_t>(c.leading))->dayText(), "1") << c.what;
    }
    // 7 + 28 + 7.
    show(at(2026, 2, 1));
    EXPECT_EQ(slotAt(35)->dayText(), "1");
    EXPECT_EQ(slotAt(41)->date(), at(2026, 3, 7));
}

TEST_F(MonthViewTest, CellsTileThePageInSixRowsOfSeven) {
    const auto& page = calendar->monthViewCurrent();
    ASSERT_EQ(page->subviews().size(), 42u);
    EXPECT_EQ(page->frame(), (plat::Rect{0, 0, 280, 245}));
    EXPECT_TRUE(rectNear(slotAt(0)->frame(), {0, 0, 40, 245.0 / 6}));
    EXPECT_TRUE(rectNear(slotAt(9)->frame(), {80, 245.0 / 6, 40, 245.0 / 6}));
    EXPECT_TRUE(rectNear(slotAt(41)->frame(), {240, 5 * 245.0 / 6, 40, 245.0 / 6}));
}

TEST_F(MonthViewTest, APageWithoutAFrameKeepsItsGridUntilRefreshed) {
    auto page = KivoCalendarMonthView::create();
    page->setKivoCalendar(calendar);
    page->setMonthDate(at(2024, 3, 1));
    EXPECT_FALSE(page->daySlotAt(10)->date());
    page->refresh();
    EXPECT_EQ(page->daySlotAt(10)->date(), at(2024, 3, 6));
    page->setFrame({0, 0, 70, 60});
    page->layoutIfNeeded();
    EXPECT_EQ(page->daySlotAt(8)->frame(), (plat::Rect{10, 10, 10, 10}));
    // Without a calendar nothing is filled.
    auto lone = KivoCalendarMonthView::create({0, 0, 70, 60});
    lone->setMonthDate(at(2024, 3, 1));
    lone->refresh();
    EXPECT_FALSE(lone->daySlotAt(10)->date());
}

TEST_F(MonthViewTest, SlotStatesTakeTheFirstRuleThatMatches) {
    // Selected before disabled before adjacent before today.
    calendar->setMinDate(at(2024, 3, 11));
    calendar->setSelectedDate(at(2024, 3, 10));
    EXPECT_EQ(stateOfDay(at(2024, 3, 10)), KivoCalendarDaySlotStateSelected);  // selected and disabled
    EXPECT_EQ(stateOfDay(at(2024, 3, 9)), KivoCalendarDaySlotStateDisabled);
    EXPECT_EQ(slotAt(0)->state(), KivoCalendarDaySlotStateDisabled);  // 25 February: disabled and adjacent
    EXPECT_EQ(stateOfDay(at(2024, 3, 14)), KivoCalendarDaySlotStateToday);
    EXPECT_EQ(stateOfDay(at(2024, 3, 15)), KivoCalendarDaySlotStateNormal);
    calendar->setMinDate(std::nullopt);
    EXPECT_EQ(slotAt(0)->state(), KivoCalendarDaySlotStateAdjacent);
    calendar->setSelectedDate(at(2024, 3, 14, 23));
    EXPECT_EQ(stateOfDay(at(2024, 3, 14)), KivoCalendarDaySlotStateSelected);

    // Today on a neighbouring page is an adjacent day there.
    calendar->setCurrentDate(at(2024, 3, 3));
    auto onFebruaryPage = slotAt(35, calendar->monthViewPrev());
    ASSERT_EQ(onFebruaryPage->date(), at(2024, 3, 3));
    EXPECT_EQ(onFebruaryPage->state(), KivoCalendarDaySlotStateAdjacent);
    drawSlot(*onFebruaryPage, rec);
    EXPECT_FALSE(rec.texts().at(0)->text.attributes.font.isBold());
    EXPECT_EQ(rec.texts()[0]->text.attributes.color, calendar->DEFAULT_ADJACENT_TEXT_COLOR);
}

TEST_F(MonthViewTest, TheSelectionCountDecidesWhatASlotCallsSelected) {
    calendar->setSelectedDate(at(2024, 3, 12));
    calendar->selectedDates()->setStartDate(at(2024, 3, 20));
    calendar->selectedDates()->setEndDate(at(2024, 3, 22));
    struct Case {
        std::int32_t count;
        bool day12, day21;
    };
    for (Case c :
         {Case{0, false, false}, Case{1, true, false}, Case{2, false, true}, Case{7, false, true}, Case{-1, false, true}}) {
        calendar->setMaxSelectionCount(c.count);
        EXPECT_EQ(slotOfDay(at(2024, 3, 12))->isSelected(), c.day12) << c.count;
        EXPECT_EQ(slotOfDay(at(2024, 3, 21))->isSelected(), c.day21) << c.count;
    }
}

TEST_F(MonthViewTest, EachStatePaintsItsFillTextColourAndFont) {
    const plat::Color todayFill = plat::Color::orange(), todayText = plat::Color::purple(), selectedText = plat::Color::yellow();
    const plat::Font dayFont("DejaVu Sans", 14);
    calendar->setTodayBackgroundColor(todayFill);
    calendar->setTodayTextColor(todayText);
    calendar->setSelectionTextColor(selectedText);
    calendar->setCalendarFont(dayFont);
    calendar->setMaxDate(at(2024, 3, 28));
    calendar->setMaxSelectionCount(-1);
    calendar->selectedDates()->setStartDate(at(2024, 3, 30));
    calendar->selectedDates()->setEndDate(at(2024, 4, 2));

    struct Case {
        const char* what;
        std::shared_ptr<KivoCalendarDaySlot> slot;
        plat::Color fill, text;
        bool bold;
    };
    const plat::Color blue = calendar->DEFAULT_SELECTION_BACKGROUND_COLOR;
    const Case cases[] = {
        {"normal", std::static_pointer_cast<KivoCalendarDaySlot>(slotOfDay(at(2024, 3, 13))), plat::Color::white(),
         plat::Color::black(), false},
        {"today", std::static_pointer_cast<KivoCalendarDaySlot>(slotOfDay(at(2024, 3, 14))), todayFill, todayText, true},
        {"adjacent", slotAt(0), plat::Color::white(), calendar->DEFAULT_ADJACENT_TEXT_COLOR, false},
        {"disabled", std::static_pointer_cast<KivoCalendarDaySlot>(slotOfDay(at(2024, 3, 29))), plat::Color::white(),
         calendar->DEFAULT_DISABLED_COLOR, false},
        {"selected and disabled", std::static_pointer_cast<KivoCalendarDaySlot>(slotOfDay(at(2024, 3, 30))), blue, selectedText,
         false},
        {"selected day of the next month", slotAt(36), blue, calendar->DEFAULT_ADJACENT_TEXT_COLOR, false},
    };
    ASSERT_EQ(slotAt(36)->date(), at(2024, 4, 1));
    for (const Case& c : cases) {
        drawSlot(*c.slot, rec);
        ASSERT_EQ(rec.fills().size(), 1u) << c.what;
        EXPECT_EQ(rec.fills()[0]->color, c.fill) << c.what;
        EXPECT_EQ(rec.fills()[0]->bounds(), c.slot->bounds()) << c.what;
        ASSERT_EQ(rec.texts().size(), 1u) << c.what;
        const auto& text = rec.texts()[0]->text;
        EXPECT_EQ(text.text, *c.slot->dayText()) << c.what;
        EXPECT_EQ(text.attributes.color, c.text) << c.what;
        EXPECT_EQ(text.attributes.font.isBold(), c.bold) << c.what;
        if (!c.bold) {
            EXPECT_EQ(text.attributes.font.family, dayFont.family) << c.what;
        }
    }
    // The engine is left as it was found.
    EXPECT_EQ(calendar->renderEngine()->getFill(), plat::Color::clear());
}

TEST_F(MonthViewTest, ASlotsOwnColourAndRectangleAndTheCalendarsBorder) {
    auto slot = std::static_pointer_cast<KivoCalendarDaySlot>(slotOfDay(at(2024, 3, 13)));
    slot->setDayTextColor(plat::Color::green());
    slot->setDayTextRect({0, 0, 10, 10});
    calendar->setDayBorderColor(plat::Color::red());
    calendar->setDayBorderWidth(1.5);
    drawSlot(*slot, rec);
    ASSERT_EQ(rec.texts().size(), 1u);
    EXPECT_EQ(rec.texts()[0]->text.attributes.color, plat::Color::green());
    const plat::Rect box = rec.texts()[0]->bounds();
    EXPECT_NEAR(box.x() + box.width() / 2, 5, 1e-6);
    EXPECT_NEAR(box.y() + box.height() / 2, 5, 1e-6);
    ASSERT_EQ(rec.strokes().size(), 1u);
    EXPECT_EQ(rec.strokes()[0]->color, plat::Color::red());
    EXPECT_EQ(rec.strokes()[0]->lineWidth, 1.5);

    // Centred in the painted rectangle by default; the next fill resets the slot's own settings.
    calendar->monthViewCurrent()->refresh();
    drawSlot(*slot, rec);
    const plat::Rect centred = rec.texts()[0]->bounds();
    EXPECT_NEAR(centred.x() + centred.width() / 2, slot->bounds().width() / 2, 1e-6);
    EXPECT_EQ(rec.texts()[0]->text.attributes.color, plat::Color::black());

    // Nothing without a calendar; only fill and border without a text.
    slot->setDayText(std::string());
    drawSlot(*slot, rec);
    EXPECT_TRUE(rec.texts().empty());
    EXPECT_EQ(rec.fills().size(), 1u);
    auto lone = KivoCalendarDaySlot::create(nullptr, {0, 0, 20, 20});
    lone->setDate(at(2024, 3, 1));
    drawSlot(*lone, rec);
    EXPECT_TRUE(rec.ops().empty());
    EXPECT_EQ(lone->dayText(), "1");
}

TEST_F(MonthViewTest, ASlotTakesOnlyADayOtherThanItsOwn) {
    auto slot = KivoCalendarDaySlot::create(calendar, {});
    slot->setDate(at(2024, 3, 5, 8));
    slot->setDayText("five");
    slot->setDate(at(2024, 3, 5, 20));  // the same day: kept as it was
    slot->setDate(std::nullopt);
    EXPECT_EQ(slot->date(), at(2024, 3, 5, 8));
    EXPECT_EQ(slot->dayText(), "five");
    slot->setDate(at(2024, 3, 6));
    EXPECT_EQ(slot->dayText(), "6");
}

TEST_F(MonthViewTest, SettingTheSelectedDateRedrawsTheOldAndTheNewDay) {
    calendar->setSelectedDate(at(2024, 3, 5));
    plat::RecordingContext screen;
    auto redrawn = [&] {
        std::vector<std::int64_t> days;
        for (std::size_t i = 0; i < 42; ++i)
            if (slotAt(i)->needsDisplay()) days.push_back(*calendar->dateUtil()->getDayFromDate(slotAt(i)->date()));
        window->display(screen);
        return days;
    };
    redrawn();
    calendar->setSelectedDate(at(2024, 3, 12));
    EXPECT_EQ(redrawn(), (std::vector<std::int64_t>{5, 12}));
    calendar->setSelectedDate(at(2024, 4, 20));  // the old day still changes its look
    EXPECT_EQ(redrawn(), (std::vector<std::int64_t>{12}));
    calendar->setSelectedDate(at(2024, 3, 1));
    calendar->setSelectedDate(std::nullopt);
    EXPECT_EQ(redrawn(), (std::vector<std::int64_t>{1}));
    // Outside month mode nothing is redrawn.
    calendar->setViewMode(KivoCalendarViewModeYear);
    calendar->setSelectedDate(at(2024, 3, 7));
    EXPECT_TRUE(redrawn().empty());
}

// The day numbers first...last, in order.
std::vector<std::int64_t> days(std::int64_t first, std::int64_t last) {
    std::vector<std::int64_t> out;
    for (std::int64_t d = first; d <= last; ++d) out.push_back(d);
    return out;
}

std::vector<std::int64_t> joined(std::initializer_list<std::vector<std::int64_t>> parts) {
    std::vector<std::int64_t> out;
    for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

TEST_F(MonthViewTest, EveryCellHoldsADayOfItsOwnAcrossDaysTheZoneSkippedAndClockChanges) {
    struct Case {
        const char* zone;
        int year, month;
        std::vector<std::int64_t> cells;
    };
    const Case cases[] = {
        // Apia has no 30 December 2011, Kiritimati no 31 December 1994.
        {"Pacific/Apia", 2011, 12, joined({days(27, 30), days(1, 29), {31}, days(1, 8)})},
        {"Pacific/Apia", 2012, 1, joined({days(24, 29), {31}, days(1, 31), days(1, 4)})},
        {"Pacific/Kiritimati", 1995, 1, joined({days(24, 30), days(1, 31), days(1, 4)})},
        // Clocks that jump at midnight or in the night.
        {"America/Sao_Paulo", 2018, 11, joined({days(28, 31), days(1, 30), days(1, 8)})},
        {"America/Havana", 2024, 3, joined({days(25, 29), days(1, 31), days(1, 6)})},
        {"Europe/Berlin", 2024, 10, joined({days(29, 30), days(1, 31), days(1, 9)})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.zone << " " << c.year << "-" << c.month);
        plat::testing::PinnedLocale pinned("en_US", c.zone);
        auto shown = KivoCalendar::create(Frame);
        window->addSubview(shown);
        shown->setDisplayDate(shown->dateUtil()->getDateWithYear(c.year, c.month, 15));
        layout();
        const KivoDateUtil& util = *shown->dateUtil();
        const auto& page = shown->monthViewCurrent();
        std::vector<std::int64_t> cells;
        for (std::size_t i = 0; i < KivoCalendarMonthView::CellCount; ++i) {
            auto slot = std::dynamic_pointer_cast<KivoCalendarDaySlot>(page->daySlotAt(i));
            cells.push_back(*util.getDayFromDate(slot->date()));
            EXPECT_EQ(slot->isAdjacent(), util.getMonthFromDate(slot->date()) != c.month) << "cell " << i;
        }
        EXPECT_EQ(cells, c.cells);
        shown->removeFromSuperview();
    }
}

TEST_F(MonthViewTest, TheSelectedDateRedrawsItsDaysWhereTheyStandAsNeighbouringDays) {
    // March 2024: cell 37 is 2 April, cell 3 is 28 February.
    plat::RecordingContext screen;
    window->display(screen);
    auto redrawn = [&] {
        std::vector<std::size_t> cells;
        for (std::size_t i = 0; i < 42; ++i)
            if (slotAt(i)->needsDisplay()) cells.push_back(i);
        window->display(screen);
        return cells;
    };
    calendar->setSelectedDate(at(2024, 4, 2));
    EXPECT_EQ(redrawn(), (std::vector<std::size_t>{37}));
    calendar->setSelectedDate(at(2024, 3, 20));
    EXPECT_EQ(redrawn(), (std::vector<std::size_t>{24, 37}));
    EXPECT_NE(slotAt(37)->state(), KivoCalendarDaySlotStateSelected);
    calendar->setSelectedDate(at(2024, 2, 28));
    EXPECT_EQ(redrawn(), (std::vector<std::size_t>{3, 24}));
    calendar->setSelectedDate(std::nullopt);
    EXPECT_EQ(redrawn(), (std::vector<std::size_t>{3}));
}

// Answers a slot of its own for chosen days, null for others, and the given slot for the rest.
class SlotDelegate : public calendar_test::RecordingDelegate {
public:
    std::optional<std::shared_ptr<KivoCalendarDaySlotBase>> daySlotLoading(
        const std::shared_ptr<KivoCalendar>& calendar, std::optional<plat::Date> date, bool isAdjacentDay,
        const std::shared_ptr<KivoCalendarDaySlotBase>& slot) override {
        asked.push_back(*date);
        adjacentAsked |= isAdjacentDay;
        auto day = *calendar->dateUtil()->getDayFromDate(date);
        if (own.contains(day)) return own[day] ? own[day] : KivoCalendarDaySlot::create(calendar, {0, 0, 1, 1});
        if (nulls.contains(day)) return std::shared_ptr<KivoCalendarDaySlotBase>();
        return slot;
    }
    std::vector<plat::Date> asked;
    bool adjacentAsked = false;
    std::map<std::int64_t, std::shared_ptr<KivoCalendarDaySlotBase>> own;  // null: a new slot each time
    std::set<std::int64_t> nulls;
};

// Counts its questions; answers what `make` gives.
class CountingTemplate : public IDaySlotTemplate, public IAdjacentDaySlotTemplate {
public:
    std::shared_ptr<plat::View> getView(std::optional<plat::Date> date, const plat::Rect& frame) override {
        ++asked;
        return make ? make(date, frame) : nullptr;
    }
    int asked = 0;
    std::function<std::shared_ptr<plat::View>(std::optional<plat::Date>, const plat::Rect&)> make;
};

TEST_F(MonthViewTest, TheDelegatesSlotsStandForOneFillAndItIsNeverAskedForNeighbouringDays) {
    auto delegate = std::make_shared<SlotDelegate>();
    delegate->own[10] = nullptr;
    delegate->nulls = {11};
    auto days = std::make_shared<CountingTemplate>(), neighbours = std::make_shared<CountingTemplate>();
    calendar->setDaySlotTemplate(days);
    calendar->setAdjacentDaySlotTemplate(neighbours);
    calendar->setDelegate(delegate);
    layout();
    delegate->asked.clear();
    days->asked = neighbours->asked = 0;

    const auto& page = calendar->monthViewCurrent();
    page->refresh();
    EXPECT_EQ(delegate->asked.size(), 31u);
    EXPECT_FALSE(delegate->adjacentAsked);
    EXPECT_EQ(days->asked, 0);         // the delegate answers for the month's days
    EXPECT_EQ(neighbours->asked, 11);  // 5 leading and 6 trailing days
    auto supplied = slotOfDay(at(2024, 3, 10));
    EXPECT_EQ(supplied->tag(), KivoCalendarDaySlot::ApplicationSlotTag);
    EXPECT_EQ(supplied->date(), at(2024, 3, 10));
    EXPECT_EQ(supplied->frame(), (plat::Rect{0, 0, 1, 1}));
    layout();
    EXPECT_EQ(supplied, page->daySlotAt(14));
    EXPECT_TRUE(rectNear(supplied->frame(), KivoCalendarMonthView::cellRect(14, page->frame().size)));
    // Null keeps the framework's slot.
    EXPECT_EQ(slotOfDay(at(2024, 3, 11))->tag(), KivoCalendarDaySlot::FrameworkSlotTag);
    EXPECT_EQ(page->subviews().size(), 42u);

    // The next fill puts a framework slot back and asks again.
    page->refresh();
    EXPECT_EQ(supplied->superview(), nullptr);
    EXPECT_NE(slotOfDay(at(2024, 3, 10)), supplied);
    EXPECT_EQ(slotOfDay(at(2024, 3, 10))->tag(), KivoCalendarDaySlot::ApplicationSlotTag);
    EXPECT_EQ(delegate->asked.size(), 62u);
}

TEST_F(MonthViewTest, ADelegateThatAnswersTheSlotItWasGivenChangesNothing) {
    std::vector<std::shared_ptr<KivoCalendarDaySlotBase>> before(calendar->monthViewCurrent()->subviews().size());
    for (std::size_t i = 0; i < before.size(); ++i) before[i] = calendar->monthViewCurrent()->daySlotAt(i);
    calendar->setDelegate(std::make_shared<SlotDelegate>());
    layout();
    for (std::size_t i = 0; i < before.size(); ++i) EXPECT_EQ(calendar->monthViewCurrent()->daySlotAt(i), before[i]) << i;
}

TEST_F(MonthViewTest, TemplatesMustAnswerDaySlotsThatStandNowhereElse) {
    auto days = std::make_shared<CountingTemplate>();
    std::shared_ptr<KivoCalendarDaySlot> reused;
    days->make = [&](std::optional<plat::Date> date, const plat::Rect& frame) -> std::shared_ptr<plat::View> {
        auto day = *calendar->dateUtil()->getDayFromDate(date);
        if (day == 3) return plat::View::create(frame);                 // not a day slot
        if (day == 4) return calendar->monthViewNext()->daySlotAt(20);  // stands elsewhere
        if (day == 5 && !reused) return reused = KivoCalendarDaySlot::create(calendar, frame);
        return nullptr;
    };
    calendar->setDaySlotTemplate(days);
    plat::testing::LogCapture log;
    calendar->monthViewCurrent()->refresh();
    EXPECT_EQ(log.lines().size(), 2u);
    const auto& page = calendar->monthViewCurrent();
    EXPECT_EQ(page->subviews().size(), 42u);
    EXPECT_EQ(slotOfDay(at(2024, 3, 3))->tag(), KivoCalendarDaySlot::FrameworkSlotTag);
    EXPECT_EQ(slotOfDay(at(2024, 3, 4))->superview(), page);
    EXPECT_EQ(calendar->monthViewNext()->subviews().size(), 42u);
    // A template's drawn slot takes the cell's day and stays as the cell's slot at the next fill.
    EXPECT_EQ(slotOfDay(at(2024, 3, 5)), reused);
    calendar->setDisplayDate(at(2024, 5, 1));
    EXPECT_EQ(page->daySlotAt(9), reused);
    EXPECT_EQ(reused->date(), at(2024, 5, 7));
}

}  // namespace
