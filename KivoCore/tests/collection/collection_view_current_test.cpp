// The current item: moves and their cancelable events, and what a refresh does to the position.

#include <gtest/gtest.h>

#include "collection/collection_fixture.h"

using namespace kivo::detail;

namespace {

// A view over a, b, c, d with both current-item events recording "changing" / "changed"; a handler
// cancels while `veto` is set.
struct Watched {
    std::shared_ptr<KivoCollectionView> view =
        KivoCollectionView::create(listOf({product("a", 4), product("b", 3), product("c", 2), product("d", 1)}));
    std::shared_ptr<std::vector<std::string>> events = std::make_shared<std::vector<std::string>>();
    std::shared_ptr<bool> veto = std::make_shared<bool>(false);

    Watched() {
        view->setCurrentChanging(std::make_shared<KivoEvent>());
        view->setCurrentChanged(std::make_shared<KivoEvent>());
        view->currentChanging()->addHandler(
            [events = events, veto = veto](const std::shared_ptr<KivoEventContainer>& c) {
                events->push_back("changing");
                c->args<KivoCancelEventArgs>()->setCancel(*veto);
            },
            view);
        view->currentChanged()->addHandler([events = events](const auto&) { events->push_back("changed"); }, view);
    }
    std::vector<std::string> take() { return std::exchange(*events, {}); }
};

const std::vector<std::string> Moved{"changing", "changed"};
const std::vector<std::string> Vetoed{"changing"};
const std::vector<std::string> Nothing{};

}  // namespace

TEST(KivoCollectionViewCurrent, StartsOnTheFirstItemWithoutEvents) {
    auto view = KivoCollectionView::create(listOf({product("a"), product("b")}));
    EXPECT_EQ(view->currentPosition(), 0);
    EXPECT_EQ(nameOf(view->currentItem()), "a");
    EXPECT_EQ(KivoCollectionView::create()->currentPosition(), -1);
    EXPECT_EQ(KivoCollectionView::create(nullptr)->currentPosition(), -1);
}

TEST(KivoCollectionViewCurrent, Moves) {
    struct Row {
        const char* what;
        std::int32_t from;
        bool veto;
        std::function<bool(KivoCollectionView&)> move;
        bool answer;
        std::int32_t to;
        std::vector<std::string> events;
    };
    const Row rows[] = {
        {"to the same position: nothing, yes", 2, false, [](auto& v) { return v.moveCurrentToPosition(2); }, true, 2, Nothing},
        {"to -1 clears the current item", 2, false, [](auto& v) { return v.moveCurrentToPosition(-1); }, true, -1, Moved},
        {"to -1 can be cancelled", 2, true, [](auto& v) { return v.moveCurrentToPosition(-1); }, false, 2, Vetoed},
        {"cancelled move keeps the position", 0, true, [](auto& v) { return v.moveCurrentToLast(); }, false, 0, Vetoed},
        {"previous at 0 goes to -1", 0, false, [](auto& v) { return v.moveCurrentToPrevious(); }, true, -1, Moved},
        {"previous at -1 is out of range", -1, false, [](auto& v) { return v.moveCurrentToPrevious(); }, false, -1, Nothing},
        {"next at the last position: no", 3, false, [](auto& v) { return v.moveCurrentToNext(); }, false, 3, Nothing},
        {"next from -1 is the first", -1, false, [](auto& v) { return v.moveCurrentToNext(); }, true, 0, Moved},
        {"beyond the end is ignored", 1, false, [](auto& v) { return v.moveCurrentToPosition(4); }, false, 1, Nothing},
        {"below -1 is ignored", 1, false, [](auto& v) { return v.moveCurrentToPosition(-2); }, false, 1, Nothing},
        {"to an item: its first equal index", 0, false, [](auto& v) { return v.moveCurrentTo((*v.items())[2]); }, true, 2, Moved},
        {"to an absent item: -1", 1, false, [](auto& v) { return v.moveCurrentTo(product("x")); }, true, -1, Moved},
        {"first and last", 1, false, [](auto& v) { return v.moveCurrentToFirst() && v.moveCurrentToLast(); }, true, 3,
         (std::vector<std::string>{"changing", "changed", "changing", "changed"})},
    };
    for (const auto& row : rows) {
        Watched w;
        w.view->moveCurrentToPosition(row.from);
        w.take();
        *w.veto = row.veto;
        EXPECT_EQ(row.move(*w.view), row.answer) << row.what;
        EXPECT_EQ(w.view->currentPosition(), row.to) << row.what;
        EXPECT_EQ(w.take(), row.events) << row.what;
    }
}

TEST(KivoCollectionViewCurrent, WithoutEventsMovesAlwaysSucceed) {
    auto view = KivoCollectionView::create(listOf({product("a"), product("b")}));
    EXPECT_TRUE(view->moveCurrentToLast());
    EXPECT_TRUE(view->moveCurrentToPosition(-1));
    EXPECT_TRUE(view->currentItem().isNil());
}

TEST(KivoCollectionViewCurrent, RefreshFollowsTheItemSilentlyOrClampsThePosition) {
    Watched w;
    w.view->moveCurrentToPosition(1);  // b
    w.take();
    w.view->sortDescriptions()->addObject(std::make_shared<KivoSortDescription>("price", true));  // d c b a
    EXPECT_EQ(names(w.view->items()), "d c b a");
    EXPECT_EQ(w.view->currentPosition(), 2) << "follows b";
    EXPECT_EQ(nameOf(w.view->currentItem()), "b");

    w.view->moveCurrentToLast();
    w.view->setFilter([](const plat::Value& item) { return item.as<Product>()->price > 2; });  // b a
    EXPECT_EQ(names(w.view->items()), "b a");
    EXPECT_EQ(nameOf(w.view->currentItem()), "a") << "a survives and is followed";
    w.view->setFilter([](const plat::Value& item) { return item.as<Product>()->price > 3; });  // a
    EXPECT_EQ(w.view->currentPosition(), 0);

    w.view->setFilter([](const plat::Value&) { return false; });
    EXPECT_TRUE(w.view->isEmpty());
    EXPECT_EQ(w.view->currentPosition(), -1);
    EXPECT_TRUE(w.view->currentItem().isNil());
    w.view->setFilter(nullptr);
    EXPECT_EQ(w.view->currentPosition(), -1) << "a position of -1 stays -1";
    w.take();
    w.view->moveCurrentToPosition(3);
    w.take();
    w.view->setFilter([](const plat::Value& item) { return item.as<Product>()->price < 3; });  // d c: a is gone
    EXPECT_EQ(w.view->currentPosition(), 1) << "the old position, clamped to the last item";
    EXPECT_EQ(w.take(), Nothing) << "a refresh raises no current-item event";
}

// Items equal by price alone.
class SamePrice : public Product {
public:
    using Product::Product;
    bool isEqual(const plat::Object& other) const override {
        const auto* o = dynamic_cast<const SamePrice*>(&other);
        return o && o->price == price;
    }
};

// A list long enough that the search leaves the visible order for the list's own: the position goes to
// the first equal item in the new order, wherever the list keeps it, whichever of its copies was current.
TEST(KivoCollectionViewCurrent, RefreshFindsTheFirstEqualItemOfALongSortedList) {
    constexpr int Prices = 2500, Copies = 4;
    struct Case {
        const char* what;
        bool copies;  // four value-equal items per price, else one item per price, equal only to itself
        std::int32_t current;
        bool ascending;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"a single match far down", false, 100, false, Prices * Copies - 1 - 100},
        {"a single match near the top", false, 9990, false, 9},
        {"the first of four copies", true, 1000, false, (Prices - 1 - 1000) * Copies},
        {"a later copy finds the first", true, 1000 + 2 * Prices, false, (Prices - 1 - 1000) * Copies},
        {"ascending, near the top", true, 1000, true, 1000 * Copies},
        {"ascending, far down", true, 2400 + Prices, true, 2400 * Copies},
    };
    for (const auto& c : cases) {
        auto list = std::make_shared<plat::Array>();
        for (int i = 0; i < Prices * Copies; ++i) {
            const double price = c.copies ? i % Prices : i;
            if (c.copies)
                list->push_back(plat::Value(std::make_shared<SamePrice>("p", price)));
            else
                list->push_back(plat::Value(product("p", price)));
        }
        auto view = KivoCollectionView::create(list);
        ASSERT_TRUE(view->moveCurrentToPosition(c.current));
        const double price = view->currentItem().as<Product>()->price;
        view->sortDescriptions()->addObject(std::make_shared<KivoSortDescription>("price", c.ascending));
        EXPECT_EQ(view->currentPosition(), c.expected) << c.what;
        EXPECT_EQ(view->currentItem().as<Product>()->price, price) << c.what;
    }
}

TEST(KivoCollectionViewCurrent, ChangingHandlerThatEmptiesTheListStopsTheMove) {
    auto view = KivoCollectionView::create(listOf({product("a"), product("b")}));
    view->setCurrentChanging(std::make_shared<KivoEvent>());
    std::weak_ptr<KivoCollectionView> weak = view;
    view->currentChanging()->addHandler([weak](const auto&) { weak.lock()->removeAllObjects(); }, view);
    EXPECT_FALSE(view->moveCurrentToPosition(1));
    EXPECT_EQ(view->currentPosition(), -1);
}
