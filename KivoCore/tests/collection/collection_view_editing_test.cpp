// Editing operations: what each does to the source and visible lists, the pending new or edited item
// and what it announces, alone and inside a batch (a batch holds back refreshes, never announcements).

#include <gtest/gtest.h>

#include <string_view>

#include "KivoCore/testing/collection_view_limits.h"
#include "Platform/testing/log_capture.h"
#include "collection/collection_fixture.h"

using namespace kivo::detail;

namespace {

struct Row {
    const char* what;
    std::function<void(KivoCollectionView&)> op;
    const char* source;
    const char* visible;
    std::vector<std::string> announced;
    std::vector<std::string> announcedInBatch;  // before the batch ends (which then adds one "reset")
    std::string pending = "";                   // "new d", "edit b" or ""
};

std::string pendingOf(const KivoCollectionView& v) {
    if (v.isAddingNew()) return "new " + nameOf(v.currentAddItem());
    if (v.isEditingItem()) return "edit " + nameOf(v.currentEditItem());
    return "";
}

plat::Value at(KivoCollectionView& v, size_t i) { return (*v.items())[i]; }

const std::vector<std::string> ResetOnly{"reset"}, NoAnnouncements{};

}  // namespace

TEST(KivoCollectionViewEditing, OperationsAndTheirAnnouncements) {
    auto creator = [] { return plat::Value(product("d")); };
    const Row rows[] = {
        {"addObject appends", [](auto& v) { v.addObject(product("d")); }, "a b c d", "a b c d", {"add [d]@3"}, {"add [d]@3"}},
        {"addObjects appends all in one add",
         [](auto& v) {
             v.addObjects({product("d"), product("e")});
         },
         "a b c d e",
         "a b c d e",
         {"add [d e]@3"},
         {"add [d e]@3"}},
        {"addObjects of nothing announces an empty add",
         [](auto& v) { v.addObjects({}); },
         "a b c",
         "a b c",
         {"add []@3"},
         {"add []@3"}},
        {"insertObject at an index",
         [](auto& v) { v.insertObject(product("d"), 1); },
         "a d b c",
         "a d b c",
         {"add [d]@1"},
         {"add [d]@1"}},
        {"insertObject beyond the end is refused", [](auto& v) { v.insertObject(product("d"), 4); }, "a b c", "a b c",
         NoAnnouncements, NoAnnouncements},
        {"replaceObjectAtIndex",
         [](auto& v) { v.replaceObjectAtIndex(1, product("d")); },
         "a d c",
         "a d c",
         {"replace [d]@-1 for [b]@1"},
         {"replace [d]@-1 for [b]@1"}},
        {"replaceObjectAtIndex with the item already there",
         [](auto& v) { v.replaceObjectAtIndex(1, (*v.sourceCollection())[1]); },
         "a b c",
         "a b c",
         {"replace [b]@-1 for [b]@1"},
         {"replace [b]@-1 for [b]@1"}},
        {"insertObject of an item of the source",
         [](auto& v) {
             v.sourceCollection()->shrink_to_fit();
             v.insertObject((*v.sourceCollection())[2], 0);
         },
         "c a b c",
         "c a b c",
         {"add [c]@0"},
         {"add [c]@0"}},
        {"replaceObjectAtIndex beyond the end is refused", [](auto& v) { v.replaceObjectAtIndex(3, product("d")); }, "a b c",
         "a b c", NoAnnouncements, NoAnnouncements},
        {"remove", [](auto& v) { v.remove(at(v, 1)); }, "a c", "a c", {"remove [b]@1"}, {"remove [b]@1"}},
        {"remove of an item given from the source",
         [](auto& v) { v.remove((*v.sourceCollection())[1]); },
         "a c",
         "a c",
         {"remove [b]@1"},
         {"remove [b]@1"}},
        {"remove of an absent item", [](auto& v) { v.remove(product("b")); }, "a b c", "a b c", NoAnnouncements, NoAnnouncements},
        {"removeAt", [](auto& v) { v.removeAt(2); }, "a b", "a b", {"remove [c]@2"}, {"remove [c]@2"}},
        {"removeAt out of range",
         [](auto& v) {
             v.removeAt(3);
             v.removeAt(-1);
         },
         "a b c", "a b c", NoAnnouncements, NoAnnouncements},
        {"removeAllObjects", [](auto& v) { v.removeAllObjects(); }, "", "", ResetOnly, ResetOnly},
        {"addNew",
         [&](auto& v) {
             v.setNewItemCreator(creator);
             v.addNew();
         },
         "a b c d",
         "a b c d",
         {"add [d]@3"},
         {"add [d]@3"},
         "new d"},
        {"addNew, commitNew",
         [&](auto& v) {
             v.setNewItemCreator(creator);
             v.addNew();
             v.commitNew();
         },
         "a b c d",
         "a b c d",
         {"add [d]@3", "reset"},
         {"add [d]@3"}},
        {"addNew, cancelNew",
         [&](auto& v) {
             v.setNewItemCreator(creator);
             v.addNew();
             v.cancelNew();
         },
         "a b c",
         "a b c",
         {"add [d]@3", "remove [d]@3"},
         {"add [d]@3", "remove [d]@3"}},
        {"addNew, remove of the new item",
         [&](auto& v) {
             v.setNewItemCreator(creator);
             v.remove(v.addNew());
         },
         "a b c",
         "a b c",
         {"add [d]@3", "remove [d]@3"},
         {"add [d]@3", "remove [d]@3"}},
        {"addNew commits a pending add",
         [&](auto& v) {
             v.setNewItemCreator(creator);
             v.addNew();
             v.addNew();
         },
         "a b c d d",
         "a b c d d",
         {"add [d]@3", "reset", "add [d]@4"},
         {"add [d]@3", "add [d]@4"},
         "new d"},
        {"editItem, commitEdit",
         [](auto& v) {
             v.editItem(at(v, 1));
             at(v, 1).template as<Product>()->name = "B";
             v.commitEdit();
         },
         "a B c", "a B c", ResetOnly, NoAnnouncements},
        {"editItem, cancelEdit restores",
         [](auto& v) {
             v.editItem(at(v, 1));
             at(v, 1).template as<Product>()->name = "B";
             v.cancelEdit();
         },
         "a b c", "a b c", ResetOnly, NoAnnouncements},
        {"editItem of another item commits the first",
         [](auto& v) {
             v.editItem(at(v, 0));
             v.editItem(at(v, 2));
         },
         "a b c", "a b c", ResetOnly, NoAnnouncements, "edit c"},
        {"editItem of an invisible item is refused", [](auto& v) { v.editItem(product("x")); }, "a b c", "a b c", NoAnnouncements,
         NoAnnouncements},
        {"remove of the item under edit restores, then removes",
         [](auto& v) {
             plat::Value b = at(v, 1);
             v.editItem(b);
             b.as<Product>()->name = "B";
             v.remove(b);
         },
         "a c",
         "a c",
         {"reset", "remove [b]@1"},
         {"remove [b]@1"}},
        {"addNew commits a pending edit",
         [&](auto& v) {
             v.setNewItemCreator(creator);
             v.editItem(at(v, 0));
             v.addNew();
         },
         "a b c d",
         "a b c d",
         {"reset", "add [d]@3"},
         {"add [d]@3"},
         "new d"},
    };
    for (bool inBatch : {false, true}) {
        for (const auto& row : rows) {
            auto source = listOf({product("a"), product("b"), product("c")});
            auto view = KivoCollectionView::create(source);
            AnnouncementLog heard(*view);
            if (inBatch) view->beginUpdate();
            const plat::testing::LogCapture log;
            row.op(*view);
            std::string where = std::string(row.what) + (inBatch ? " (in a batch)" : "");
            EXPECT_EQ(log.lines().size(), std::string_view(row.what).ends_with("refused") ? 1u : 0u)
                << where << ": a refusal says so in one log line";
            EXPECT_EQ(heard.take(), inBatch ? row.announcedInBatch : row.announced) << where;
            EXPECT_EQ(pendingOf(*view), row.pending) << where;
            if (inBatch) {
                view->endUpdate();
                EXPECT_EQ(heard.take(), row.pending.empty() ? ResetOnly : NoAnnouncements)
                    << where << ": the batch's end refreshes unless an item is pending";
            }
            EXPECT_EQ(names(view->sourceCollection()), row.source) << where;
            EXPECT_EQ(names(view->items()), row.visible) << where;
            EXPECT_EQ(view->sourceCollection(), source) << where << ": the application's list is changed in place";
        }
    }
}

TEST(KivoCollectionViewEditing, CancelEditPutsTheValuesBackOnTheSameObject) {
    auto g = gadget("g", 5);
    g->tags = {1, 2};
    g->stock = 7;
    auto record = std::make_shared<Record>(std::map<std::string, plat::Value>{{"name", "r"}, {"qty", 1}});
    plat::Value dict = plat::Dictionary{{"name", "d"}, {"qty", 1}};
    auto view = KivoCollectionView::create(listOf({g, record, dict}));

    view->editItem(g);
    g->price = 99;  // inherited property
    g->stock = 0;   // own property
    g->tags.push_back(3);
    view->cancelEdit();
    EXPECT_EQ(g->price, 5);
    EXPECT_EQ(g->stock, 7);
    EXPECT_EQ(g->tags.size(), 2u);
    EXPECT_TRUE((*view->sourceCollection())[0].isIdentical(g)) << "the application's object stays in the list";

    view->editItem(record);
    record->values["qty"] = 5;
    view->cancelEdit();
    EXPECT_EQ(record->values["qty"], plat::Value(1));

    view->editItem(dict);
    (*dict.asDictionary())["qty"] = 5;
    (*dict.asDictionary())["extra"] = true;
    view->cancelEdit();
    EXPECT_EQ(dict, (plat::Value(plat::Dictionary{{"name", "d"}, {"qty", 1}})));
    EXPECT_TRUE((*view->sourceCollection())[2].isIdentical(dict));
}

namespace {
// A model class that cannot be made without arguments.
class Sealed : public plat::Object {
public:
    PLAT_CLASS()
    explicit Sealed(int v) : value(v) {}
    int value;
};
PLAT_DEFINE_CLASS(Sealed, plat::Object, plat::property("value", &Sealed::value))
}  // namespace

TEST(KivoCollectionViewEditing, AddNewWithoutCreatorMakesTheKindOfTheFirstItemOrNothing) {
    auto dicts = KivoCollectionView::create(listOf({plat::Dictionary{{"a", 1}}}));
    plat::Value made = dicts->addNew();
    EXPECT_TRUE(made.isDictionary() && made.asDictionary()->empty());
    EXPECT_EQ(dicts->currentPosition(), 1);

    auto empty = KivoCollectionView::create();
    AnnouncementLog heard(*empty);
    EXPECT_TRUE(empty->addNew().isNil());
    EXPECT_TRUE(empty->sourceCollection()->empty());
    EXPECT_EQ(heard.take(), NoAnnouncements);

    auto models = KivoCollectionView::create(listOf({product("a")}));
    plat::Value fresh = models->addNew();
    ASSERT_TRUE(fresh.isObject());
    EXPECT_EQ(fresh.asObject()->className(), "Product");
    EXPECT_FALSE(fresh.isIdentical((*models->sourceCollection())[0]));
    EXPECT_EQ(models->sourceCollection()->size(), 2u);

    plat::testing::LogCapture log;
    auto sealed = KivoCollectionView::create(listOf({std::make_shared<Sealed>(1)}));
    EXPECT_TRUE(sealed->addNew().isNil());
    EXPECT_EQ(sealed->sourceCollection()->size(), 1u);
    EXPECT_EQ(log.lines(), std::vector<std::string>{"KivoCollectionView addNew: cannot make a Sealed without a newItemCreator"});
}

// With a filter and a sort in force the announcements still give positions in the visible list.
TEST(KivoCollectionViewEditing, AnnouncementsUseVisibleIndices) {
    auto a = product("a", 1), b = product("b", 20), c = product("c", 3), d = product("d", 40);
    auto view = KivoCollectionView::create(listOf({a, b, c, d}));
    view->setFilter([](const plat::Value& item) { return item.as<Product>()->price > 2; });
    view->sortDescriptions()->addObject(std::make_shared<KivoSortDescription>("price", false));
    ASSERT_EQ(names(view->items()), "d b c");
    AnnouncementLog heard(*view);

    view->addObject(product("e", 5));
    view->remove(c);
    view->remove(a);                              // filtered out: the source changes, the visible list does not
    view->replaceObjectAtIndex(0, product("f"));  // b at source index 0 now, visible index 1
    view->insertObject(product("g"), 2);
    EXPECT_EQ(heard.take(), (std::vector<std::string>{"add [e]@3", "remove [c]@2", "replace [f]@-1 for [b]@1", "add [g]@2"}));
    EXPECT_EQ(names(view->sourceCollection()), "f d g e");
    EXPECT_EQ(names(view->items()), "d f g e");
}

// A control bound to the view takes an announced index for a source index only while the view says
// that it shows the whole source in order.
TEST(KivoCollectionViewEditing, ShowsSourceInOrderOnlyWhileEveryVisibleIndexIsTheSourceIndex) {
    auto a = product("a", 1), b = product("b", 20), c = product("c", 3);
    auto view = KivoCollectionView::create(listOf({a, b, c}));
    EXPECT_TRUE(view->showsSourceInOrder());
    view->addObject(product("d", 4));
    view->insertObject(product("e", 5), 1);
    view->replaceObjectAtIndex(2, product("f", 6));
    view->removeAt(0);
    EXPECT_TRUE(view->showsSourceInOrder());
    EXPECT_EQ(names(view->items()), names(view->sourceCollection()));

    view->sortDescriptions()->addObject(std::make_shared<KivoSortDescription>("price", false));
    EXPECT_FALSE(view->showsSourceInOrder());
    view->sortDescriptions()->removeAllObjects();
    EXPECT_TRUE(view->showsSourceInOrder());
    view->setFilter([](const plat::Value& item) { return item.as<Product>()->price > 2; });
    EXPECT_FALSE(view->showsSourceInOrder());
    view->setFilter(nullptr);
    EXPECT_TRUE(view->showsSourceInOrder());

    // A source swapped while refreshes are held back leaves the view showing the old items.
    view->beginUpdate();
    view->setSourceCollection(listOf({product("g")}));
    EXPECT_FALSE(view->showsSourceInOrder());
    view->endUpdate();
    EXPECT_TRUE(view->showsSourceInOrder());
    // The application shortening the list behind the view's back.
    view->sourceCollection()->clear();
    EXPECT_FALSE(view->showsSourceInOrder());
}

TEST(KivoCollectionViewEditing, BatchesNestAndAnUnmatchedEndNeverGoesBelowZero) {
    auto view = KivoCollectionView::create(listOf({product("b", 2), product("a", 1)}));
    AnnouncementLog heard(*view);
    view->beginUpdate();
    view->beginUpdate();
    view->sortDescriptions()->addObject(std::make_shared<KivoSortDescription>("price", true));
    view->endUpdate();
    EXPECT_EQ(heard.take(), NoAnnouncements);
    EXPECT_EQ(names(view->items()), "b a");
    view->endUpdate();
    EXPECT_EQ(heard.take(), ResetOnly);
    EXPECT_EQ(names(view->items()), "a b");
    view->endUpdate();  // unmatched
    EXPECT_FALSE(view->isUpdating());
    heard.take();
    view->beginUpdate();
    EXPECT_TRUE(view->isUpdating()) << "one begin opens a batch again";
    view->deferUpdate([&] { view->refresh(); });
    EXPECT_EQ(heard.take(), NoAnnouncements);
    view->endUpdate();
    EXPECT_EQ(heard.take(), ResetOnly);
}

TEST(KivoCollectionViewEditing, SourceChangesCommitPendingWorkAndSameSourceDoesNothing) {
    auto view = KivoCollectionView::create(listOf({product("a"), product("b")}));
    view->setNewItemCreator([] { return plat::Value(product("n")); });
    view->addNew();
    AnnouncementLog heard(*view);
    view->setSourceCollection(view->sourceCollection());
    EXPECT_EQ(heard.take(), NoAnnouncements);
    EXPECT_TRUE(view->isAddingNew());
    auto other = listOf({product("x"), product("y")});
    view->setSourceCollection(other);
    EXPECT_FALSE(view->isAddingNew());
    EXPECT_EQ(heard.take(), (std::vector<std::string>{"reset", "reset"}));
    EXPECT_EQ(names(view->items()), "x y");
    EXPECT_EQ(view->currentPosition(), 0);
    view->setSourceCollection(nullptr);
    EXPECT_TRUE(view->isEmpty());
    view->addObject(product("z"));
    EXPECT_EQ(names(view->sourceCollection()), "z") << "adding to a view without source makes one";
}

TEST(KivoCollectionViewEditing, RemovingTheCurrentLastItemKeepsThePositionInRange) {
    auto view = KivoCollectionView::create(listOf({product("a"), product("b")}));
    view->moveCurrentToLast();
    view->removeAt(1);
    EXPECT_EQ(view->currentPosition(), 0);
    view->removeAllObjects();
    EXPECT_EQ(view->currentPosition(), -1);
}

TEST(KivoCollectionViewEditing, ImplementsExactlyTheFourInterfaceNames) {
    auto view = KivoCollectionView::create();
    for (const char* name : {"ICollectionView", "IEditableCollectionView", "IPagedCollectionView", "INotifyCollectionChanged"})
        EXPECT_TRUE(view->implementsInterface(name)) << name;
    for (const char* name : {"IKivoCollectionView", "icollectionview", "", "ICollectionView "})
        EXPECT_FALSE(view->implementsInterface(name)) << name;
}

TEST(KivoCollectionViewEditing, EditItemOfAnItemTheViewDoesNotShowIsRefusedAndLogged) {
    auto hidden = product("h", 1);
    auto view = KivoCollectionView::create(listOf({product("a", 5), hidden}));
    view->setFilter([](const plat::Value& item) { return item.as<Product>()->price > 2; });
    plat::testing::LogCapture log;
    view->editItem(hidden);
    view->editItem(product("x"));
    EXPECT_FALSE(view->isEditingItem());
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"KivoCollectionView editItem: h is not in the view, no edit begun",
                                                     "KivoCollectionView editItem: x is not in the view, no edit begun"}));
}

// A caller that only ever begins batches reaches the counter's limit: further begins are refused and
// logged instead of overflowing it. The limit is lowered for the test; the view's own is the
// counter's largest value.
TEST(KivoCollectionViewEditing, BeginUpdatePastTheCounterLimitIsRefused) {
    auto view = KivoCollectionView::create(listOf({product("a")}));
    constexpr std::int32_t Limit = 5;
    kivo::testing::CollectionViewLimits::setBatchLimit(*view, Limit);
    plat::testing::LogCapture log;
    for (std::int32_t i = 0; i < Limit; ++i) view->beginUpdate();
    EXPECT_TRUE(log.lines().empty());
    view->beginUpdate();
    EXPECT_EQ(log.lines(), std::vector<std::string>{"KivoCollectionView beginUpdate: 5 batches are open already, ignored"});
    view->endUpdate();
    EXPECT_TRUE(view->isUpdating());
    for (std::int32_t i = 1; i < Limit; ++i) view->endUpdate();
    EXPECT_FALSE(view->isUpdating()) << "the refused begin was not counted";
}
