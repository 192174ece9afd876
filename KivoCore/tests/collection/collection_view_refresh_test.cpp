// A refresh runs the application's code (filter, sort converter, group descriptions): when that code
// fails, the view stays as it was; when it tries to change the view, the change is refused.

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "KivoCore/KivoPropertyGroupDescription.h"
#include "Platform/testing/log_capture.h"
#include "collection/collection_fixture.h"

using namespace kivo::detail;

namespace {

// Six gadgets by two makers, grouped by maker, the last one current, under the tester.
struct Grouped {
    plat::ArrayPtr source = listOf(
        {made("a", "X", 1), made("b", "Y", 2), made("c", "X", 3), made("d", "Y", 4), made("e", "X", 5), made("f", "Y", 6)});
    std::shared_ptr<KivoCollectionView> view = KivoCollectionView::create(source);
    std::unique_ptr<kivo::testing::CollectionChangeTester> tester;
    std::unique_ptr<AnnouncementLog> heard;

    Grouped() {
        tester = std::make_unique<kivo::testing::CollectionChangeTester>(view);
        view->groupDescriptions()->addObject(std::make_shared<KivoPropertyGroupDescription>("maker"));
        view->moveCurrentToLast();
        heard = std::make_unique<AnnouncementLog>(*view);
    }
};

bool isNamed(const plat::Value& item, const char* name) { return nameOf(item) == name; }

}  // namespace

TEST(KivoCollectionViewRefresh, ARefreshThatFailsKeepsTheViewAsItWasAndLogs) {
    PinnedLocale pinned;
    struct Case {
        const char* what;
        std::function<void(Grouped&)> act;
        const char* logged;
    };
    const Case cases[] = {
        {"a filter that throws midway",
         [](Grouped& g) {
             g.view->setFilter([](const plat::Value& item) {
                 if (isNamed(item, "d")) throw std::runtime_error("bad item");
                 return true;
             });
         },
         "KivoCollectionView refresh failed: bad item; the view keeps its items"},
        {"a sort converter that throws",
         [](Grouped& g) {
             g.view->setSortConverter([](const auto&, const plat::Value& item, const plat::Value& value) -> plat::Value {
                 if (isNamed(item, "e")) throw std::runtime_error("no key");
                 return value;
             });
             g.view->sortDescriptions()->addObject(std::make_shared<KivoSortDescription>("price", false));
         },
         "KivoCollectionView refresh failed: no key; the view keeps its items"},
        {"a group converter that throws something else",
         [](Grouped& g) {
             g.view->groupDescriptions()->addObject(std::make_shared<KivoPropertyGroupDescription>(
                 "name", [](const plat::Value& item, const std::string&) -> std::optional<std::string> {
                     if (isNamed(item, "b")) throw 7;
                     return "n";
                 }));
         },
         "KivoCollectionView refresh failed with an exception of an unknown type; the view keeps its items"},
        {"a filter that changes the shared source list",
         [](Grouped& g) {
             g.view->setFilter([source = g.source](const plat::Value& item) {
                 if (isNamed(item, "c")) source->push_back(made("z", "Z", 9));
                 return true;
             });
         },
         "KivoCollectionView refresh failed: the source list changed during the refresh; the view keeps its items"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Grouped g;
        plat::testing::LogCapture log;
        c.act(g);
        EXPECT_EQ(names(g.view->items()), "a b c d e f");
        EXPECT_EQ(tree(g.view->groups()), "X(a c e) Y(b d f)");
        EXPECT_EQ(g.view->currentPosition(), 5);
        EXPECT_EQ(g.heard->take(), std::vector<std::string>{});
        EXPECT_EQ(log.lines(), std::vector<std::string>{c.logged});
        EXPECT_TRUE(g.tester->checkSettled());
    }
}

// Changes asked of the view by the code a refresh runs are refused, each with a log line: the
// refresh completes on the lists it started from, and the view stays sound.
TEST(KivoCollectionViewRefresh, ChangesAskedDuringARefreshAreRefused) {
    PinnedLocale pinned;
    const std::string refused =
        ": refused while the view rebuilds its lists (a filter, sort converter or group description may "
        "not change the view)";
    // Adds one item and removes another from inside the refresh, once.
    auto meddle = [](const std::weak_ptr<KivoCollectionView>& weak, const std::shared_ptr<bool>& done) {
        auto view = weak.lock();
        if (!view || std::exchange(*done, true)) return;
        view->addObject(made("z", "Z", 9));
        view->remove((*view->items())[0]);
    };
    struct Case {
        const char* what;
        std::function<void(Grouped&, std::function<void()>)> install;
        const char* items;
        const char* groups;
        bool runsOnEdits;  // an edit that brings an item in runs it too
    };
    const Case cases[] = {
        {"a filter",
         [](Grouped& g, std::function<void()> hook) {
             g.view->setFilter([hook](const plat::Value& item) {
                 hook();
                 return !isNamed(item, "b");
             });
         },
         "a c d e f", "X(a c e) Y(d f)", false},
        {"a group converter",
         [](Grouped& g, std::function<void()> hook) {
             g.view->groupDescriptions()->replaceObjectAtIndex(
                 0, std::make_shared<KivoPropertyGroupDescription>(
                        "price", [hook](const plat::Value& item, const std::string&) -> std::optional<std::string> {
                            hook();
                            return item.as<Product>()->price > 3 ? "high" : "low";
                        }));
         },
         "a b c d e f", "low(a b c) high(d e f)", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Grouped g;
        plat::testing::LogCapture log;
        auto done = std::make_shared<bool>(false);
        c.install(g, [weak = std::weak_ptr<KivoCollectionView>(g.view), done, meddle] { meddle(weak, done); });
        EXPECT_EQ(names(g.view->items()), c.items);
        EXPECT_EQ(names(g.source), "a b c d e f") << "the source is left alone";
        EXPECT_EQ(tree(g.view->groups()), c.groups);
        EXPECT_EQ(g.heard->take(), std::vector<std::string>{"reset"});
        EXPECT_EQ(log.lines(),
                  (std::vector<std::string>{"KivoCollectionView addObject" + refused, "KivoCollectionView remove" + refused}));
        EXPECT_TRUE(g.tester->checkSettled());

        // The same code placing an item that an edit brings in: the edit goes ahead, the meddling does not.
        *done = false;
        log.clear();
        g.view->addObject(made("g", "X", 2));
        EXPECT_EQ(names(g.source), "a b c d e f g");
        EXPECT_EQ(g.heard->take(), std::vector<std::string>{"add [g]@" + std::to_string(g.view->itemCount() - 1)});
        const std::vector<std::string> meddled{"KivoCollectionView addObject" + refused, "KivoCollectionView remove" + refused};
        EXPECT_EQ(log.lines(), c.runsOnEdits ? meddled : std::vector<std::string>{});
        EXPECT_TRUE(g.tester->checkSettled());
    }
}

// Other ways back into the view while it refreshes: refresh itself, a new filter or source, a move of
// the current item, or a description added by a converter.
TEST(KivoCollectionViewRefresh, EveryWayBackInIsRefused) {
    Grouped g;
    plat::testing::LogCapture log;
    std::weak_ptr<KivoCollectionView> weak = g.view;
    auto once = std::make_shared<bool>(false);
    g.view->setSortConverter([weak, once](const auto&, const plat::Value&, const plat::Value& value) {
        if (std::exchange(*once, true)) return value;
        auto view = weak.lock();
        view->refresh();
        view->setFilter([](const plat::Value&) { return false; });
        view->setSourceCollection(listOf({product("q")}));
        view->moveCurrentToFirst();
        view->editItem((*view->items())[0]);
        view->removeAllObjects();
        view->sortDescriptions()->addObject(std::make_shared<KivoSortDescription>("name", true));
        return value;
    });
    g.view->sortDescriptions()->addObject(std::make_shared<KivoSortDescription>("price", false));
    EXPECT_EQ(names(g.view->items()), "f e d c b a");
    EXPECT_EQ(g.view->currentPosition(), 0) << "the current item followed";
    const std::vector<std::string> operations{
        "refresh", "setFilter", "setSourceCollection", "moveCurrentToPosition", "editItem", "removeAllObjects", "refresh"};
    auto lines = log.lines();
    ASSERT_EQ(lines.size(), operations.size()) << ::testing::PrintToString(lines);
    for (size_t i = 0; i < operations.size(); ++i)
        EXPECT_EQ(lines[i].rfind("KivoCollectionView " + operations[i] + ": refused", 0), 0u) << lines[i];
    EXPECT_TRUE(g.tester->checkSettled());
}
