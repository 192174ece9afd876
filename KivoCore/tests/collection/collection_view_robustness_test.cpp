// What the view does when the code around it misbehaves: a collectionChanged handler that throws
// inside a batch, a loop over a list the view handed out that edits the view, application code that
// changes the source list while a refresh runs it, and a new item cancelled after the view was asked
// for other work. Also edits by position, which act on the entry at the position.

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "Platform/testing/log_capture.h"
#include "collection/collection_fixture.h"

using namespace kivo::detail;

namespace {

// A collectionChanged handler that throws on the announcements it is armed for.
struct Thrower {
    bool onAdd = false, onReset = false;
    std::shared_ptr<int> owner = std::make_shared<int>(0);

    explicit Thrower(KivoCollectionView& view) {
        view.collectionChanged()->addHandler(
            [this](const std::shared_ptr<KivoEventContainer>& c) {
                auto action = c->args<KivoNotifyCollectionChangedEventArgs>()->action();
                if (onAdd && action == KivoNotifyCollectionChangedActionAdd) throw std::runtime_error("add handler");
                if (onReset && action == KivoNotifyCollectionChangedActionReset) throw std::runtime_error("reset handler");
            },
            owner);
    }
};

std::string messageOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "(nothing thrown)";
}

}  // namespace

TEST(KivoCollectionViewRobustness, AHandlerThrowingInABatchReachesTheOutermostCallerOnceTheBatchIsClosed) {
    struct Case {
        const char* what;
        bool onAdd, onReset;
        bool nested;
        const char* thrown;
        std::vector<std::string> logged;
    };
    const std::string alsoFailed =
        "KivoCollectionView deferUpdate: a collectionChanged handler failed as the batch closed (reset handler); the "
        "batch's own exception goes on";
    const Case cases[] = {
        {"on the add inside the batch", true, false, false, "add handler", {}},
        {"on the add inside a nested batch", true, false, true, "add handler", {}},
        {"on the reset that closes the batch", false, true, false, "reset handler", {}},
        {"on the reset that closes the outer batch", false, true, true, "reset handler", {}},
        {"on both: the first goes on, the second is logged", true, true, false, "add handler", {alsoFailed}},
        {"on both, nested", true, true, true, "add handler", {alsoFailed}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto view = KivoCollectionView::create(listOf({product("a", 2), product("b", 1)}));
        Thrower thrower(*view);
        thrower.onAdd = c.onAdd;
        thrower.onReset = c.onReset;
        plat::testing::LogCapture log;
        bool ranOn = false;
        auto edit = [&] {
            view->sortDescriptions()->addObject(std::make_shared<KivoSortDescription>("price", true));  // held back
            view->addObject(product("c", 0));
        };
        std::string thrown = messageOf([&] {
            view->deferUpdate([&] {
                if (c.nested)
                    view->deferUpdate(edit);
                else
                    edit();
                ranOn = true;
            });
        });
        EXPECT_EQ(thrown, c.thrown);
        EXPECT_EQ(ranOn, !c.onAdd) << "an exception from the inner batch leaves the outer block";
        EXPECT_FALSE(view->isUpdating());
        EXPECT_EQ(names(view->items()), "c b a") << "the closing refresh ran";
        EXPECT_EQ(names(view->sourceCollection()), "a b c");
        EXPECT_EQ(log.lines(), c.logged);
        // The view goes on working, and its announcements describe it.
        thrower.onAdd = thrower.onReset = false;
        kivo::testing::CollectionChangeTester tester(view);
        view->deferUpdate([&] { view->insertObject(product("d", 5), 1); });
        view->removeAt(0);
        EXPECT_EQ(names(view->items()), "b a d");
        EXPECT_TRUE(tester.checkSettled());
    }
}

TEST(KivoCollectionViewRobustness, AListHandedOutNeverChangesUnderItsHolder) {
    PinnedLocale pinned;
    auto view = KivoCollectionView::create(listOf({product("e", 5), product("c", 3), product("a", 1), product("d", 4)}));
    view->sortDescriptions()->addObject(std::make_shared<KivoSortDescription>("price", true));
    view->groupDescriptions()->addObject(std::make_shared<KivoPropertyGroupDescription>(
        "price", [](const plat::Value& item, const std::string&) -> std::optional<std::string> {
            return item.as<Product>()->price < 3.5 ? "low" : "high";
        }));
    ASSERT_EQ(names(view->items()), "a c d e");

    // Walked by reference while every step re-sorts the view: each item once, in the list's order.
    std::vector<std::string> visited;
    for (const auto& item : *view->items()) {
        visited.push_back(nameOf(item));
        view->editItem(item);
        item.as<Product>()->price = 10 - item.as<Product>()->price;
        view->commitEdit();
        view->addObject(product("n" + std::to_string(visited.size()), 100));  // the view's list grows meanwhile
    }
    EXPECT_EQ(visited, (std::vector<std::string>{"a", "c", "d", "e"}));
    EXPECT_EQ(names(view->items()), "e d c a n1 n2 n3 n4");

    // Held lists, of the view and of a group, stay as they were through edits and refreshes.
    view->refresh();
    plat::ArrayPtr held = view->items();
    plat::ArrayPtr heldGroup = view->groups()[0]->items();
    std::string before = names(held), beforeGroup = names(heldGroup);
    view->removeAt(0);
    view->insertObject(product("x", 2), 1);
    view->replaceObjectAtIndex(0, product("y", 9));
    view->refresh();
    EXPECT_EQ(names(held), before);
    EXPECT_EQ(names(heldGroup), beforeGroup);
    EXPECT_NE(names(view->items()), before);
}

namespace {

// A model object whose getter runs the application's code: here, a hook that changes a list.
class Meddler : public plat::Object {
public:
    PLAT_CLASS()
    Meddler(std::string name, double value) : name(std::move(name)), _value(value) {}
    double value() const {
        if (hook) hook();
        return _value;
    }
    std::string description() const override { return name; }
    std::string name;
    std::function<void()> hook;

private:
    double _value;
};
PLAT_DEFINE_CLASS(Meddler, plat::Object, plat::property("value", &Meddler::value))

}  // namespace

// The heap-buffer-overflow of the sort keys' read, among others: every way the application's code
// run by a refresh can change the source is noticed before another item is read, and the refresh is
// abandoned. Growing the list leaves the view's items exactly as they were.
TEST(KivoCollectionViewRobustness, ARefreshWhoseCodeChangesTheSourceIsAbandoned) {
    PinnedLocale pinned;
    struct Setup {
        plat::ArrayPtr source;
        std::shared_ptr<KivoCollectionView> view;
        std::function<void()> change;  // what the application's code does, once
    };
    auto once = [](std::function<void()> f) {
        return [f, done = std::make_shared<bool>(false)] {
            if (!std::exchange(*done, true)) f();
        };
    };
    struct Case {
        const char* what;
        bool grows;  // or shrinks
        std::function<void(Setup&)> install;
    };
    const Case cases[] = {
        {"a sort converter adds", true,
         [&](Setup& s) {
             s.view->setSortConverter([hook = once(s.change)](const auto&, const plat::Value&, const plat::Value& v) {
                 hook();
                 return v;
             });
             s.view->sortDescriptions()->addObject(std::make_shared<KivoSortDescription>("value", false));
         }},
        {"a getter read for the sort adds", true,
         [&](Setup& s) {
             (*s.source)[2].as<Meddler>()->hook = once(s.change);
             s.view->sortDescriptions()->addObject(std::make_shared<KivoSortDescription>("value", false));
         }},
        {"a getter read for the groups adds", true,
         [&](Setup& s) {
             (*s.source)[1].as<Meddler>()->hook = once(s.change);
             s.view->groupDescriptions()->addObject(std::make_shared<KivoPropertyGroupDescription>("value"));
         }},
        {"a group converter removes", false,
         [&](Setup& s) {
             auto hook = once(s.change);
             s.view->groupDescriptions()->addObject(std::make_shared<KivoPropertyGroupDescription>(
                 "value", [hook](const plat::Value&, const std::string&) -> std::optional<std::string> {
                     hook();
                     return "g";
                 }));
         }},
        {"a filter removes", false,
         [&](Setup& s) {
             s.view->setFilter([hook = once(s.change)](const plat::Value&) {
                 hook();
                 return true;
             });
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Setup s;
        s.source = listOf({std::make_shared<Meddler>("a", 1), std::make_shared<Meddler>("b", 2),
                           std::make_shared<Meddler>("c", 3), std::make_shared<Meddler>("d", 4)});
        s.view = KivoCollectionView::create(s.source);
        s.view->moveCurrentToPosition(2);
        std::weak_ptr<plat::Array> weak = s.source;
        if (c.grows)
            s.change = [weak] {
                // Enough to move the list's storage.
                for (int i = 0; i < 64; ++i) weak.lock()->push_back(std::make_shared<Meddler>("z", 9));
            };
        else
            s.change = [weak] { weak.lock()->pop_back(); };
        AnnouncementLog heard(*s.view);
        plat::testing::LogCapture log;
        c.install(s);
        EXPECT_EQ(log.lines(), std::vector<std::string>{"KivoCollectionView refresh failed: the source list changed during the "
                                                        "refresh; the view keeps its items"});
        EXPECT_EQ(heard.take(), std::vector<std::string>{});
        EXPECT_EQ(s.view->itemCount(), 4);
        EXPECT_EQ(s.view->currentPosition(), 2);
        if (c.grows) {
            EXPECT_EQ(names(s.view->items()), "a b c d");
            EXPECT_EQ(nameOf(s.view->currentItem()), "c");
            EXPECT_TRUE(s.view->groups().empty());
        }
        // The next refresh shows the source as it is now.
        log.clear();
        s.view->refresh();
        EXPECT_EQ(s.view->itemCount(), c.grows ? 68 : 3);
        EXPECT_EQ(log.lines(), std::vector<std::string>{});
    }
}

TEST(KivoCollectionViewRobustness, CancelNewLeavesTheViewAsBeforeAddNewWithWhatWasAskedMeanwhileApplied) {
    auto c = product("c", 3);
    auto view = KivoCollectionView::create(listOf({product("b", 2), product("a", 1), c, product("d", 4)}));
    kivo::testing::CollectionChangeTester tester(view);
    view->setNewItemCreator([] { return plat::Value(product("n", 0)); });
    view->moveCurrentTo(c);
    AnnouncementLog heard(*view);

    view->addNew();
    view->setFilter([](const plat::Value& item) { return item.as<Product>()->price > 1; });
    view->sortDescriptions()->addObject(std::make_shared<KivoSortDescription>("price", true));
    view->groupDescriptions()->addObject(std::make_shared<KivoPropertyGroupDescription>("price"));
    EXPECT_EQ(names(view->items()), "b a c d n") << "held back while the new item is pending";
    view->cancelNew();

    EXPECT_EQ(names(view->items()), "b c d");
    EXPECT_EQ(names(view->sourceCollection()), "b a c d");
    EXPECT_EQ(tree(view->groups()), "2(b) 3(c) 4(d)");
    EXPECT_TRUE(view->currentItem().isIdentical(c));
    EXPECT_EQ(heard.take(), (std::vector<std::string>{"add [n]@4", "remove [n]@4", "reset"}));
    EXPECT_TRUE(tester.checkSettled());

    // Without a current item before, none after; nothing asked meanwhile, no refresh.
    view->moveCurrentToPosition(-1);
    view->addNew();
    view->cancelNew();
    EXPECT_EQ(view->currentPosition(), -1);
    EXPECT_EQ(heard.take(), (std::vector<std::string>{"add [n]@3", "remove [n]@3"}));
}

// Entries equal in value are told apart by where they stand.
TEST(KivoCollectionViewRobustness, EditsByPositionActOnTheEntryThere) {
    plat::Value first = plat::Dictionary{{"k", 1}}, second = plat::Dictionary{{"k", 1}}, other = plat::Dictionary{{"k", 2}};
    ASSERT_TRUE(first.isEqual(second));
    auto source = std::make_shared<plat::Array>(plat::Array{other, first, second});
    auto view = KivoCollectionView::create(source);
    AnnouncementLog heard(*view);

    view->removeAt(2);
    ASSERT_EQ(source->size(), 2u);
    EXPECT_TRUE((*source)[1].isIdentical(first)) << "the entry at the index went, not the first equal one";
    EXPECT_TRUE((*view->items())[1].isIdentical(first));

    view->addObject(second);
    view->replaceObjectAtIndex(2, other);
    EXPECT_TRUE((*source)[1].isIdentical(first));
    EXPECT_TRUE((*view->items())[2].isIdentical(other));
    EXPECT_EQ(heard.take().size(), 3u);
}
