// Grouping: the group tree a refresh builds, group descriptions and their names, and the groups'
// counts, recursive items and merging.

#include <gtest/gtest.h>

#include "KivoCore/KivoAggregate.h"
#include "KivoCore/KivoPropertyGroupDescription.h"
#include "KivoCore/KivoReflector.h"
#include "collection/collection_fixture.h"

using namespace collection_fixture;

namespace {

std::shared_ptr<Product> made(const std::string& name, const std::string& maker, double price) {
    auto g = gadget(name, price);
    g->maker = maker;
    return g;
}

// "A(a c) B(b)" for one level; "X[A(a) B(b)]" for two.
std::string tree(const KivoCollectionViewGroupList& groups) {
    std::string s;
    for (const auto& g : groups) {
        s += (s.empty() ? "" : " ") + g->name();
        s += g->isBottomLevel() ? "(" + names(g->items()) + ")" : "[" + tree(g->groups()) + "]";
    }
    return s;
}

void groupBy(const std::shared_ptr<KivoCollectionView>& view, std::vector<std::shared_ptr<KivoGroupDescription>> levels) {
    view->groupDescriptions()->deferUpdate([&] {
        for (auto& d : levels) view->groupDescriptions()->addObject(d);
    });
}

std::shared_ptr<KivoPropertyGroupDescription> by(const std::string& property,
                                                 KivoPropertyGroupDescription::Converter c = nullptr) {
    return std::make_shared<KivoPropertyGroupDescription>(property, std::move(c));
}

// Groups names that differ only in case together: a description whose names do not match by plain
// equality, so the view must ask it for every comparison.
class CaseBlindDescription : public KivoPropertyGroupDescription {
public:
    using KivoPropertyGroupDescription::KivoPropertyGroupDescription;
    bool namesMatch(const std::optional<std::string>& a, const std::optional<std::string>& b) const override {
        auto lower = [](std::string s) {
            for (auto& ch : s) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
            return s;
        };
        return a && b && lower(*a) == lower(*b);
    }
};

}  // namespace

TEST(KivoCollectionViewGroups, GroupsFollowTheirFirstItemsAndOnlyBottomLevelsHoldItems) {
    PinnedLocale pinned;
    auto view = KivoCollectionView::create(listOf({made("a", "A", 1), made("b", "B", 2), made("c", "A", 1), made("d", "B", 1)}));
    groupBy(view, {by("maker")});
    EXPECT_EQ(tree(view->groups()), "A(a c) B(b d)");
    view->groupDescriptions()->addObject(by("price"));
    EXPECT_EQ(tree(view->groups()), "A[1(a c)] B[2(b) 1(d)]");
    const auto& b = view->groups()[1];
    EXPECT_EQ(b->level(), 0u);
    EXPECT_EQ(b->groups()[0]->level(), 1u);
    EXPECT_TRUE(b->items()->empty());
    EXPECT_EQ(b->totalItemCount(), 2u);
    EXPECT_EQ(names(b->itemsRecursive()), "b d");
    EXPECT_EQ(b->groupDescription(), view->groupDescriptions()->objectAtIndexAs<KivoGroupDescription>(0));

    view->sortDescriptions()->addObject(std::make_shared<KivoSortDescription>("price", false));
    EXPECT_EQ(tree(view->groups()), "B[2(b) 1(d)] A[1(a c)]") << "groups follow the sorted visible list";
    view->groupDescriptions()->removeAllObjects();
    EXPECT_TRUE(view->groups().empty());
}

// Group names are the reflector's texts of the values (the reflector fixes their locale).
TEST(KivoCollectionViewGroups, PropertyGroupNames) {
    auto text = [](const plat::Value& v) { return KivoReflector::formatValue(v); };
    auto close1 = product("x", 1.001), close2 = product("y", 1.004), far = product("z", 1234.5);
    auto view = KivoCollectionView::create(listOf({close1, close2, far}));
    groupBy(view, {by("price")});
    EXPECT_EQ(tree(view->groups()), text(1.0) + "(x y) " + text(1234.5) + "(z)")
        << "numbers name groups by their text with two fraction digits";
    EXPECT_EQ(text(1.001), text(1.0));

    auto norating = product("n"), rated = product("r");
    rated->rating = 2;
    auto ratings = KivoCollectionView::create(listOf({norating, rated, product("m")}));
    groupBy(ratings, {by("rating")});
    EXPECT_EQ(tree(ratings->groups()), "(n m) " + text(2) + "(r)") << "nil values share the group named \"\"";

    auto dated = product("d"), sameDay = product("e");
    dated->released = plat::Date(86400 * 365 + 3600);
    sameDay->released = plat::Date(86400 * 365 + 7200);
    auto dates = KivoCollectionView::create(listOf({dated, sameDay, gadget("g", 1)}));
    groupBy(dates, {by("released")});
    EXPECT_EQ(tree(dates->groups()), text(plat::Date(86400 * 365)) + "(d e) " + text(plat::Date(0)) + "(g)")
        << "dates by their short date";
}

TEST(KivoCollectionViewGroups, ConvertersAndDescriptionsThatMatchOtherwise) {
    auto view = KivoCollectionView::create(listOf({product("a"), product("b"), product("c")}));
    groupBy(view, {by("name", [](const plat::Value&, const std::string&) { return std::optional<std::string>(); })});
    EXPECT_EQ(tree(view->groups()), "(a) (b) (c)") << "a nil name never matches: every item alone";

    view->groupDescriptions()->replaceObjectAtIndex(
        0, by("name", [](const plat::Value& item, const std::string& property) -> std::optional<std::string> {
            return item.as<Product>()->name == "b" ? std::optional<std::string>() : std::optional<std::string>("");
        }));
    EXPECT_EQ(tree(view->groups()), "(a c) (b)");

    auto mixed = KivoCollectionView::create(listOf({made("a", "acme", 1), made("b", "Bolt", 1), made("c", "ACME", 1)}));
    groupBy(mixed, {std::make_shared<CaseBlindDescription>("maker")});
    EXPECT_EQ(tree(mixed->groups()), "acme(a c) Bolt(b)");

    auto described = KivoCollectionView::create(listOf({product("a"), product("b"), product("a")}));
    groupBy(described, {std::make_shared<KivoGroupDescription>()});
    EXPECT_EQ(tree(described->groups()), "a(a a) b(b)") << "the base description names items by their description";
}

TEST(KivoCollectionViewGroups, DescriptionChangesRefreshOncePerChangeOrBatch) {
    auto view = KivoCollectionView::create(listOf({product("a"), product("b")}));
    AnnouncementLog heard(*view);
    view->groupDescriptions()->addObject(by("name"));
    view->sortDescriptions()->addObject(std::make_shared<KivoSortDescription>("name", false));
    EXPECT_EQ(heard.take(), (std::vector<std::string>{"reset", "reset"}));
    view->sortDescriptions()->deferUpdate([&] {
        view->sortDescriptions()->removeAllObjects();
        view->sortDescriptions()->addObject(std::make_shared<KivoSortDescription>("name", true));
        view->sortDescriptions()->addObject(std::make_shared<KivoSortDescription>("price", true));
    });
    EXPECT_EQ(heard.take(), (std::vector<std::string>{"reset"}));
}

TEST(KivoCollectionViewGroups, EditsKeepTheGroupsInStepWithTheVisibleList) {
    auto view = KivoCollectionView::create(listOf({made("a", "A", 1), made("b", "B", 1)}));
    groupBy(view, {by("maker")});
    view->addObject(made("c", "A", 1));
    EXPECT_EQ(tree(view->groups()), "A(a c) B(b)");
    view->removeAt(1);
    EXPECT_EQ(tree(view->groups()), "A(a c)");
    view->removeAllObjects();
    EXPECT_TRUE(view->groups().empty());
}

TEST(KivoCollectionViewGroups, MergeGroupItemsPullsDescendantsUp) {
    auto view = KivoCollectionView::create(listOf({made("a", "A", 1), made("b", "A", 2), made("c", "B", 1)}));
    groupBy(view, {by("maker"), by("price")});
    auto merged = view->mergeGroupItems(view->groups());
    EXPECT_EQ(names(merged), "a b c");
    EXPECT_EQ(names(view->groups()[0]->items()), "a b") << "upper groups now hold their descendants' items";
    EXPECT_EQ(view->groups()[0]->totalItemCount(), 4u);
    EXPECT_EQ(names(view->mergeGroupItems(view->groups())), "a b a b c c") << "a second merge appends them again";
}

TEST(KivoCollectionViewGroups, GroupMadeWithoutNameReadsEmpty) {
    KivoCollectionViewGroup group(nullptr, std::nullopt, 0, true);
    EXPECT_EQ(group.name(), "");
    EXPECT_EQ(group.totalItemCount(), 0u);
    EXPECT_EQ(group.getAggregate(KivoAggregateCount, "price"), 0);
}

TEST(KivoCollectionViewGroups, AFilterThatThrowsLeavesAConsistentView) {
    PinnedLocale pinned;
    auto view = KivoCollectionView::create(listOf({made("a", "X", 1), made("b", "Y", 2), made("c", "X", 3), made("d", "Y", 4)}));
    view->groupDescriptions()->addObject(std::make_shared<KivoPropertyGroupDescription>("maker"));
    view->moveCurrentToLast();
    ASSERT_EQ(view->groups().size(), 2u);
    EXPECT_THROW(view->setFilter([](const plat::Value& item) {
        if (nameOf(item) == "c") throw std::runtime_error("bad item");
        return true;
    }),
                 std::runtime_error);
    // Whatever the visible list holds now, the position and the groups agree with it.
    EXPECT_LT(view->currentPosition(), view->itemCount());
    size_t grouped = 0;
    for (const auto& g : view->groups()) grouped += g->items()->size();
    EXPECT_EQ(grouped, view->items()->size());
    view->setFilter([](const plat::Value& item) { return nameOf(item) != "a"; });
    EXPECT_EQ(names(view->items()), "b c d");
    EXPECT_EQ(view->groups().size(), 2u);
}
