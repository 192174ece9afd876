// Grouping: the group tree a refresh builds, group descriptions and their names, and the groups'
// counts, recursive items and merging.

#include <gtest/gtest.h>

#include "KivoCore/KivoAggregate.h"
#include "KivoCore/KivoPropertyGroupDescription.h"
#include "KivoCore/KivoReflector.h"
#include "collection/collection_fixture.h"

using namespace kivo::detail;

namespace {

void groupBy(const std::shared_ptr<KivoCollectionView>& view, std::vector<std::shared_ptr<KivoGroupDescription>> levels) {
    view->groupDescriptions()->deferUpdate([&] {
        for (auto& d : levels) view->groupDescriptions()->addObject(d);
    });
}

std::shared_ptr<KivoPropertyGroupDescription> by(const std::string& property,
                                                 KivoPropertyGroupDescription::Converter c = nullptr) {
    return std::make_shared<KivoPropertyGroupDescription>(property, std::move(c));
}

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

// After each edit the groups are those a rebuild of the visible list would make: a group whose first
// item changes takes its place by its new first item, an emptied group goes, and names follow the
// first item where the description matches names its own way. Items are named "<name><maker>".
TEST(KivoCollectionViewGroups, EditsKeepTheGroupsARebuildWouldMake) {
    auto item = [](const std::string& code) { return plat::Value(made(code, code.substr(1), 1)); };
    // Names nullopt for makers "N" (a group each) and "" for makers "E" (joining the first group that reads "").
    auto nilOrEmpty = by("maker", [](const plat::Value& v, const std::string&) -> std::optional<std::string> {
        const std::string& maker = v.as<Gadget>()->maker;
        return maker == "N" ? std::nullopt : maker == "E" ? std::optional<std::string>("") : std::optional(maker);
    });
    struct Case {
        const char* what;
        std::vector<std::string> items;
        std::vector<std::shared_ptr<KivoGroupDescription>> levels;
        std::function<void(KivoCollectionView&)> edit;
        const char* groups;
    };
    const Case cases[] = {
        {"an append joins its group", {"aX", "bY"}, {by("maker")}, [&](auto& v) { v.addObject(item("cX")); }, "X(aX cX) Y(bY)"},
        {"an insert first in its group moves the group up",
         {"aX", "bY", "cX"},
         {by("maker")},
         [&](auto& v) { v.insertObject(item("dY"), 0); },
         "Y(dY bY) X(aX cX)"},
        {"an insert of a new group stands by its place",
         {"aX", "bY", "cX"},
         {by("maker")},
         [&](auto& v) { v.insertObject(item("dZ"), 1); },
         "X(aX cX) Z(dZ) Y(bY)"},
        {"an insert inside its group",
         {"aX", "bY", "cX"},
         {by("maker")},
         [&](auto& v) { v.insertObject(item("dX"), 2); },
         "X(aX dX cX) Y(bY)"},
        {"a removal of a group's first item moves the group down",
         {"aX", "bY", "cX", "dY"},
         {by("maker")},
         [&](auto& v) { v.removeAt(0); },
         "Y(bY dY) X(cX)"},
        {"a removal of a group's last item drops the group, which comes back at the end",
         {"aX", "bY", "cX"},
         {by("maker")},
         [&](auto& v) {
             v.removeAt(1);
             v.addObject(item("dY"));
         },
         "X(aX cX) Y(dY)"},
        {"a replace moves the item to its new group",
         {"aX", "bY", "cX"},
         {by("maker")},
         [&](auto& v) { v.replaceObjectAtIndex(0, item("dY")); },
         "Y(dY bY) X(cX)"},
        {"two levels: first in its sub-group only",
         {"aX", "bY", "cX"},
         {by("maker"), by("name")},
         [&](auto& v) { v.insertObject(item("dX"), 1); },
         "X[aX(aX) dX(dX) cX(cX)] Y[bY(bY)]"},
        {"names matched the description's way follow the first item",
         {"aX", "bY", "cx"},
         {std::make_shared<CaseBlindDescription>("maker")},
         [&](auto& v) { v.insertObject(item("dx"), 0); },
         "x(dx aX cx) Y(bY)"},
        {"an item named \"\" before a group a nil name made",
         {"aN", "bE"},
         {nilOrEmpty},
         [&](auto& v) { v.insertObject(item("cE"), 0); },
         "(cE bE) (aN)"},
        {"removing the item a nil name grouped first",
         {"aN", "bE", "cE"},
         {nilOrEmpty},
         [&](auto& v) { v.removeAt(0); },
         "(bE cE)"},
        {"a remove of everything", {"aX", "bY"}, {by("maker")}, [&](auto& v) { v.removeAllObjects(); }, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto source = std::make_shared<plat::Array>();
        for (const auto& code : c.items) source->push_back(item(code));
        auto view = KivoCollectionView::create(source);
        groupBy(view, c.levels);
        kivo::testing::CollectionChangeTester tester(view);
        c.edit(*view);
        EXPECT_EQ(tree(view->groups()), c.groups);
        view->refresh();
        EXPECT_EQ(tree(view->groups()), c.groups) << "a refresh finds the same groups";
    }
}

// Items inserted again and again at one place, then taken out there: what the groups keep of the
// list's order must hold up however often one place is split.
TEST(KivoCollectionViewGroups, ManyEditsAtOnePlaceKeepTheGroupsARebuildWouldMake) {
    auto view = KivoCollectionView::create(listOf({made("a", "X", 1), made("b", "Y", 2)}));
    groupBy(view, {by("maker"), by("price")});
    for (int i = 0; i < 100; ++i) view->insertObject(made("n" + std::to_string(i), i % 3 ? "X" : "Z", i % 4), 1);
    for (int i = 0; i < 30; ++i) view->removeAt(1 + i % 7);
    for (int i = 0; i < 30; ++i) view->replaceObjectAtIndex(static_cast<size_t>(i), made("r" + std::to_string(i), "Y", i % 2));
    std::string kept = tree(view->groups());
    view->refresh();
    EXPECT_EQ(kept, tree(view->groups()));
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

namespace {

// An item whose "price" is a getter that reprices another item when read.
class Repricer : public plat::Object {
public:
    PLAT_CLASS()
    std::string name;
    std::shared_ptr<Product> target;
    double newPrice = 0;
    double price() const {
        if (target) target->price = newPrice;
        return 7;
    }
    std::string description() const override { return name; }
};
PLAT_DEFINE_CLASS(Repricer, plat::Object, plat::property("price", &Repricer::price))

}  // namespace

// Numbers held in members are read many items ahead of their naming; an item whose getter runs ends
// that, so a later item is read only after the code of every item before it ran.
TEST(KivoCollectionViewGroups, NumberMembersAreReadOnlyAfterTheCodeOfEarlierItems) {
    PinnedLocale pinned;
    auto text = [](double v) { return KivoReflector::formatValue(v); };
    plat::Array items;
    std::vector<std::shared_ptr<Product>> products;
    for (int i = 0; i < 600; ++i) {
        products.push_back(product("p" + std::to_string(i), 1));
        items.push_back(products.back());
    }
    auto repricer = std::make_shared<Repricer>();
    repricer->name = "r";
    repricer->target = products[400];
    repricer->newPrice = 5;
    items.insert(items.begin() + 300, plat::Value(repricer));  // well inside a run of member reads
    auto view = KivoCollectionView::create(std::make_shared<plat::Array>(items));
    groupBy(view, {by("price")});
    ASSERT_EQ(view->groups().size(), 3u);
    EXPECT_EQ(view->groups()[0]->name(), text(1));
    EXPECT_EQ(view->groups()[0]->totalItemCount(), 599u);
    EXPECT_EQ(tree({view->groups()[1], view->groups()[2]}), text(7) + "(r) " + text(5) + "(p400)");

    repricer->newPrice = 3;  // a second level reads ahead as well
    view->groupDescriptions()->addObject(by("price"));
    EXPECT_EQ(tree({view->groups()[1], view->groups()[2]}),
              text(7) + "[" + text(7) + "(r)] " + text(3) + "[" + text(3) + "(p400)]");
}
