// The pie's animations, each stopped at a moment: a slice added (at 0, ½ and the end of its update), a
// slice removed (the same three), the load sweep at ¼ and ½, and a turn of the selected slice to the
// top at ½ and at its end. Every animation is linear, so "at ½" is half of the way.
//
// Each panel is its own pie, given its change at the same moment; their timings differ so that the
// page's settling leaves each one at its frame: a start delay beyond the settling keeps the old pie
// ("at 0"), a quarter-second animation is over ("end"), a one-second one half done ("½").

#include <functional>

#include "ChartCore/KivoLegend.h"
#include "KivoCore/KivoCollectionView.h"
#include "KivoCore/KivoEasing.h"
#include "OmbriPie/OmbriPie.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/ui/window.h"
#include "gallery_page.h"

namespace {

constexpr double PanelWidth = 260, PanelHeight = 230;
constexpr int Columns = 5;
constexpr double SettleSeconds = 0.5;
constexpr double Whole = 1.0;    // an animation half done when the page settles
constexpr double Short = 0.25;   // one over before the page settles
constexpr double Waiting = 2.0;  // a start delay that the settling does not reach
constexpr double HandOver = OmbriPie::UpdateHandOverDelay;
constexpr std::int64_t Turned = 2;  // East turns to the top
constexpr std::size_t Removed = 1;  // South goes

plat::ArrayPtr regions() {
    const std::pair<const char*, double> sales[] = {{"North", 62}, {"South", 63}, {"East", 28}, {"West", 13}};
    auto items = std::make_shared<plat::Array>();
    for (const auto& [name, sold] : sales) items->push_back(plat::Value(plat::Dictionary{{"name", name}, {"sold", sold}}));
    return items;
}

std::shared_ptr<OmbriPie> makePie(plat::Window& window, int index, const char* title) {
    auto pie = OmbriPie::create({(index % Columns) * PanelWidth, (index / Columns) * PanelHeight, PanelWidth, PanelHeight});
    pie->setBackgroundColor(plat::Color::white());
    pie->setBorderColor(plat::Color::rgb255(120, 132, 150));
    pie->setBorderWidth(1);
    pie->setHeader(title);
    pie->setHeaderFont(plat::Font::boldSystem(12));
    pie->legend()->setPosition(KivoAxisPositionNone);
    pie->dataLabel()->setPosition(KivoPieLabelPositionInside);
    pie->dataLabel()->setContent("{name}");
    pie->setItemsSource(regions());
    pie->setBinding("sold");
    pie->setBindingName("name");
    window.addSubview(pie);
    return pie;
}

// A pie past its load, whose `setting` runs linear over `duration` after `delay`.
std::shared_ptr<OmbriPie> loadedPie(plat::Window& window, int index, const char* title, double duration, double delay,
                                    const std::function<KivoAnimation&(OmbriPie&)>& setting) {
    auto pie = makePie(window, index, title);
    pie->loadAnimation()->setDuration(0);  // no load animation: shown whole at once
    auto& animation = setting(*pie);
    animation.setEasing(KivoEasing::EaseInLinear());
    animation.setDuration(duration);
    animation.setStartDelay(delay);
    return pie;
}

KivoAnimation& updateOf(OmbriPie& pie) { return *pie.updateAnimation(); }
KivoAnimation& turnOf(OmbriPie& pie) { return *pie.selectAnimation(); }

void populate(plat::Window& window) {
    struct Update {
        const char* title;
        double duration, delay;
    };
    const Update moments[] = {{"at 0", Whole, Waiting}, {"at \u00bd", Whole, 0}, {"end", Short, 0}};
    std::vector<std::shared_ptr<OmbriPie>> added, removed;
    for (int k = 0; k < 3; ++k) {
        const auto& m = moments[k];
        added.push_back(loadedPie(window, k, (std::string("Central added, ") + m.title).c_str(), m.duration, m.delay, updateOf));
        removed.push_back(
            loadedPie(window, Columns + k, (std::string("South removed, ") + m.title).c_str(), m.duration, m.delay, updateOf));
    }
    const auto turnHalf = loadedPie(window, Columns + 3, "East to the top, at \u00bd", Whole, 0, turnOf);
    const auto turnEnd = loadedPie(window, Columns + 4, "East to the top, end", Short, 0, turnOf);

    // A first pass, so that every change starts from the pie it changes.
    plat::RecordingContext scratch;
    window.display(scratch);
    for (const auto& pie : added)
        pie->collectionView()->addObject(plat::Value(plat::Dictionary{{"name", "Central"}, {"sold", 40.0}}));
    for (const auto& pie : removed) pie->collectionView()->removeAt(static_cast<std::int32_t>(Removed));
    for (const auto& pie : {turnHalf, turnEnd}) {
        pie->setSelectedItemPosition(KivoAxisPositionTop);
        pie->setSelectedIndex(Turned);
    }
    plat::RunLoop::main().runFor(HandOver);

    // The load sweeps join now, so that their first pass is the one below.
    struct Load {
        const char* title;
        double delay;
    };
    const Load loads[] = {{"Load sweep, at \u00bc", SettleSeconds - Whole / 4}, {"Load sweep, at \u00bd", 0}};
    for (int k = 0; k < 2; ++k) {
        auto pie = makePie(window, 3 + k, loads[k].title);
        pie->setStartAngle(90);
        pie->loadAnimation()->setEasing(KivoEasing::EaseInLinear());
        pie->loadAnimation()->setDuration(Whole);
        pie->loadAnimation()->setStartDelay(loads[k].delay);
    }
    // The pass that starts every animation: updates, turns and loads.
    window.display(scratch);
}

const gallery::PageRegistrar registrar({
    .name = "pie_updates",
    .description = "The pie's animations stopped at a moment: a slice added and one removed (at 0, \u00bd and the "
                   "end of the update), the load sweep from the top at \u00bc and \u00bd, and the selected slice "
                   "turning to the top at \u00bd and at the end.",
    .size = {PanelWidth * Columns, PanelHeight * 2},
    .populate = populate,
    .settleSeconds = SettleSeconds,
});

}  // namespace
