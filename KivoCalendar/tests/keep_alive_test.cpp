// Application code that drops the last reference to the calendar while the calendar is calling it:
// the member that made the call must still finish on a live control, which goes away only once the
// member returns. One row per road from a public member to a delegate method, the header's event, a
// template or the value formatter. The sanitizers catch a member that runs on after the control was
// freed.

#include <functional>
#include <string>

#include "KivoCalendar/KivoCalendarHeaderView.h"
#include "KivoCore/KivoEvent.h"
#include "KivoCore/KivoIOSValueFormatter.h"
#include "Platform/runtime/run_loop.h"
#include "calendar_access.h"
#include "calendar_fixture.h"

using namespace calendar_test;

namespace {

// Each hook that application code can be asked through; the chosen one drops the control.
class DroppingDelegate : public KivoCalendarDelegate {
public:
    void selectionChanging(const std::shared_ptr<KivoCalendar>&, const std::shared_ptr<KivoCalendarRange>&) override {
        hit("selectionChanging");
    }
    void selectionChanged(const std::shared_ptr<KivoCalendar>&, const std::shared_ptr<KivoCalendarRange>&) override {
        hit("selectionChanged");
    }
    void displayDateChanging(const std::shared_ptr<KivoCalendar>&) override { hit("displayDateChanging"); }
    void displayDateChanged(const std::shared_ptr<KivoCalendar>&) override { hit("displayDateChanged"); }
    void viewModeChanged(const std::shared_ptr<KivoCalendar>&) override { hit("viewModeChanged"); }
    void rendered(const std::shared_ptr<KivoCalendar>&) override { hit("rendered"); }
    bool dayOfWeekSlotLoading(const std::shared_ptr<KivoCalendar>&, std::int64_t, bool,
                              const std::shared_ptr<plat::View>&) override {
        hit("dayOfWeekSlotLoading");
        return false;
    }
    std::optional<std::shared_ptr<KivoCalendarDaySlotBase>> daySlotLoading(
        const std::shared_ptr<KivoCalendar>&, std::optional<plat::Date>, bool,
        const std::shared_ptr<KivoCalendarDaySlotBase>&) override {
        hit("daySlotLoading");
        return std::nullopt;
    }
    void monthSlotLoading(const std::shared_ptr<KivoCalendar>&, std::uint64_t,
                          const std::shared_ptr<KivoCalendarMonthSlotBase>&) override {
        hit("monthSlotLoading");
    }
    void yearSlotLoading(const std::shared_ptr<KivoCalendar>&, std::uint64_t, bool,
                         const std::shared_ptr<KivoCalendarYearSlotBase>&) override {
        hit("yearSlotLoading");
    }
    std::optional<std::optional<std::string>> handleHeaderLoading(const std::shared_ptr<KivoCalendar>&,
                                                                  const std::optional<std::string>&, std::int64_t,
                                                                  std::optional<plat::Date>) override {
        hit("handleHeaderLoading");
        return std::nullopt;
    }

    void hit(const std::string& name) {
        if (name == armed && drop) std::exchange(drop, nullptr)();
    }
    std::string armed;
    std::function<void()> drop;
};

class DroppingTemplate : public IDaySlotTemplate, public IAdjacentDaySlotTemplate, public IDayOfWeekSlotTemplate {
public:
    explicit DroppingTemplate(DroppingDelegate& hooks) : _hooks(hooks) {}
    std::shared_ptr<plat::View> getView(std::optional<plat::Date>, const plat::Rect&) override {
        _hooks.hit("template");
        return nullptr;
    }
    std::shared_ptr<plat::View> getView(std::int64_t, const plat::Rect&) override {
        _hooks.hit("template");
        return nullptr;
    }

private:
    DroppingDelegate& _hooks;
};

class DroppingFormatter : public KivoIOSValueFormatter {
public:
    explicit DroppingFormatter(DroppingDelegate& hooks) : _hooks(hooks) {}
    using KivoIOSValueFormatter::format;
    std::optional<std::string> format(const plat::Value& value, const std::string& format, std::int64_t type) override {
        _hooks.hit("formatter");
        return KivoIOSValueFormatter::format(value, format, type);
    }

private:
    DroppingDelegate& _hooks;
};

using Calendar = KivoCalendar;

struct Road {
    const char* hook;
    const char* member;
    std::function<void(Calendar&)> call;
    std::function<void(Calendar&, DroppingDelegate&)> prepare = [](Calendar&, DroppingDelegate&) {};
};

std::function<void(Calendar&)> tapSlot(std::size_t index, bool viewSlot = false) {
    return [index, viewSlot](Calendar& c) {
        auto slot = c.monthViewCurrent()->daySlotAt(index);
        viewSlot ? c.handleViewDaySlotTapGesture(slot) : c.handleDaySlotTapGesture(slot);
    };
}

std::function<void(Calendar&, DroppingDelegate&)> inMode(std::int64_t mode) {
    return [mode](Calendar& c, DroppingDelegate&) { c.setViewMode(mode); };
}

using CalendarKeepAliveTest = CalendarTest;

TEST_F(CalendarKeepAliveTest, ApplicationCodeMayDropTheCalendarWhileAMemberCallsIt) {
    const Road roads[] = {
        {"daySlotLoading", "refresh", [](Calendar& c) { c.refresh(); }},
        {"daySlotLoading", "setFirstDayOfWeek", [](Calendar& c) { c.setFirstDayOfWeek(2); }},
        {"daySlotLoading", "_reloadMonthView", [](Calendar& c) { Access::reloadMonthView(c); }},
        {"displayDateChanging", "setDisplayDate", [](Calendar& c) { c.setDisplayDate(at(2024, 5, 1)); }},
        {"displayDateChanged", "setDisplayDate", [](Calendar& c) { c.setDisplayDate(at(2024, 5, 1)); }},
        {"displayDateChanged", "goForwardAsync", [](Calendar& c) { c.goForwardAsync(); }},
        {"displayDateChanging", "goBackwardAsync", [](Calendar& c) { c.goBackwardAsync(); }},
        {"displayDateChanged", "selectAdjacentView", [](Calendar& c) { c.selectAdjacentView(1); }},
        {"displayDateChanged", "_respondToSwipe", [](Calendar& c) { Access::respondToSwipe(c, 1, false); }},
        {"displayDateChanged", "_nextAnimationFinished", [](Calendar& c) { Access::nextAnimationFinished(c); }},
        {"displayDateChanged", "a neighbouring day's tap", tapSlot(38)},
        {"selectionChanging", "handleDaySlotTapGesture", tapSlot(20)},
        {"selectionChanged", "handleDaySlotTapGesture", tapSlot(20)},
        {"selectionChanged", "handleViewDaySlotTapGesture", tapSlot(20, true)},
        {"viewModeChanged", "setViewMode", [](Calendar& c) { c.setViewMode(KivoCalendarViewModeYear); }},
        {"viewModeChanged", "changeViewModeAsync",
         [](Calendar& c) { c.changeViewModeAsync(KivoCalendarViewModeDecade, at(2024, 3, 14)); }},
        {"handleHeaderLoading", "setHeaderMonthFormat", [](Calendar& c) { c.setHeaderMonthFormat("MMM yy"); }},
        {"handleHeaderLoading", "setOrientation", [](Calendar& c) { c.setOrientation(1); }},
        {"handleHeaderLoading", "respondToOrientationChanged", [](Calendar& c) { c.respondToOrientationChanged(); }},
        {"monthSlotLoading", "setTextColor", [](Calendar& c) { c.setTextColor(plat::Color::red()); },
         inMode(KivoCalendarViewModeYear)},
        {"yearSlotLoading", "setDisabledTextColor", [](Calendar& c) { c.setDisabledTextColor(plat::Color::red()); },
         inMode(KivoCalendarViewModeDecade)},
        {"yearSlotLoading", "setAdjacentDayTextColor", [](Calendar& c) { c.setAdjacentDayTextColor(plat::Color::red()); },
         inMode(KivoCalendarViewModeDecade)},
        {"rendered", "layoutSubviews", [](Calendar& c) { c.layoutSubviews(); }},
        {"dayOfWeekSlotLoading", "layoutSubviews", [](Calendar& c) { c.layoutSubviews(); }},
        {"template", "refresh (day-slot template)", [](Calendar& c) { c.refresh(); },
         [](Calendar& c, DroppingDelegate& hooks) { c.setDaySlotTemplate(std::make_shared<DroppingTemplate>(hooks)); }},
        {"template", "refresh (adjacent-day template)", [](Calendar& c) { c.refresh(); },
         [](Calendar& c, DroppingDelegate& hooks) { c.setAdjacentDaySlotTemplate(std::make_shared<DroppingTemplate>(hooks)); }},
        {"template", "layoutSubviews (weekday template)", [](Calendar& c) { c.layoutSubviews(); },
         [](Calendar& c, DroppingDelegate& hooks) { c.setDayOfWeekSlotTemplate(std::make_shared<DroppingTemplate>(hooks)); }},
        {"formatter", "setDisplayDate (value formatter)", [](Calendar& c) { c.setDisplayDate(at(2024, 6, 1)); },
         [](Calendar& c, DroppingDelegate& hooks) { c.setValueFormatter(std::make_shared<DroppingFormatter>(hooks)); }},
    };
    for (const Road& road : roads) {
        SCOPED_TRACE(std::string(road.hook) + " during " + road.member);
        if (calendar) calendar->removeFromSuperview();
        calendar = KivoCalendar::create(Frame);
        window->addSubview(calendar);
        calendar->setIsAnimated(false);
        calendar->setDisplayDate(at(2024, 3, 14));
        // Held by the test as well: dropping the calendar must not free the delegate in its call.
        auto hooks = std::make_shared<DroppingDelegate>();
        calendar->setStrongDelegate(hooks);
        road.prepare(*calendar, *hooks);
        layout();

        KivoCalendar* raw = calendar.get();
        std::weak_ptr<KivoCalendar> weak = calendar;
        bool dropped = false;
        hooks->armed = road.hook;
        hooks->drop = [&] {
            calendar->removeFromSuperview();
            calendar.reset();
            dropped = true;
        };
        road.call(*raw);
        EXPECT_TRUE(dropped) << "the road never reached the application";
        EXPECT_TRUE(weak.expired()) << "the control outlived the member";
        plat::RunLoop::main().runUntilIdle();
    }
}

}  // namespace
