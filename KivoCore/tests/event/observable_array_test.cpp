#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <vector>

#include "KivoCore/KivoObservableArray.h"
#include "Platform/testing/log_capture.h"

namespace {

// Subscribes to an array and keeps every announcement.
struct Announcements {
    std::vector<std::shared_ptr<KivoNotifyCollectionChangedEventArgs>> seen;
    explicit Announcements(KivoObservableArray& a) {
        a.collectionChanged()->addHandler(
            [this](const std::shared_ptr<KivoEventContainer>& c) {
                seen.push_back(c->args<KivoNotifyCollectionChangedEventArgs>());
            },
            nullptr);
    }
};

plat::Value list(std::initializer_list<plat::Value> v) { return plat::Value(plat::Array(v)); }
plat::Value listOrNil(const plat::ArrayPtr& p) { return p ? plat::Value(*p) : plat::Value(); }

}  // namespace

TEST(KivoObservableArray, EveryChangeAnnouncesItsRow) {
    struct Row {
        const char* name;
        std::function<void(KivoObservableArray&)> change;
        plat::Array after;
        std::int64_t action;
        plat::Value items;
        std::int64_t start;
        plat::Value oldItems;
        std::int64_t oldStart;
    };
    const plat::Array abc{"a", "b", "c"};
    std::vector<Row> rows = {
        {"add", [](auto& a) { a.addObject("d"); }, {"a", "b", "c", "d"}, 0, list({"d"}), 3, {}, -1},
        {"addAll",
         [](auto& a) {
             a.addObjectsFromArray({"d", "e"});
         },
         {"a", "b", "c", "d", "e"},
         0,
         list({"d", "e"}),
         3,
         {},
         -1},
        {"addAllEmpty", [](auto& a) { a.addObjectsFromArray({}); }, abc, 0, list({}), 3, {}, -1},
        {"insert", [](auto& a) { a.insertObject("x", 1); }, {"a", "x", "b", "c"}, 0, list({"x"}), 1, {}, -1},
        {"insertAtEnd", [](auto& a) { a.insertObject("x", 3); }, {"a", "b", "c", "x"}, 0, list({"x"}), 3, {}, -1},
        {"removeAt", [](auto& a) { a.removeObjectAtIndex(1); }, {"a", "c"}, 1, {}, -1, list({"b"}), 1},
        {"remove", [](auto& a) { a.removeObject("c"); }, {"a", "b"}, 1, {}, -1, list({"c"}), 2},
        {"replace", [](auto& a) { a.replaceObjectAtIndex(0, "z"); }, {"z", "b", "c"}, 2, {}, -1, list({"a"}), 0},
        {"subscriptWrite", [](auto& a) { a.setObject("z", 2); }, {"a", "b", "z"}, 2, {}, -1, list({"c"}), 2},
        {"removeAll", [](auto& a) { a.removeAllObjects(); }, {}, 3, {}, -1, {}, -1},
        // Arguments that are the array's own entries.
        {"addOwnItems",
         [](auto& a) { a.addObjectsFromArray(a.sourceArray()); },
         {"a", "b", "c", "a", "b", "c"},
         0,
         list({"a", "b", "c"}),
         3,
         {},
         -1},
        {"insertOwnItem",
         [](auto& a) {
             a.sourceArray().shrink_to_fit();
             a.insertObject(a.objectAtIndex(2), 0);
         },
         {"c", "a", "b", "c"},
         0,
         list({"c"}),
         0,
         {},
         -1},
        {"replaceWithItself", [](auto& a) { a.replaceObjectAtIndex(1, a.objectAtIndex(1)); }, abc, 2, {}, -1, list({"b"}), 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        auto a = std::make_shared<KivoObservableArray>();
        a->sourceArray() = abc;
        Announcements ann(*a);
        row.change(*a);
        EXPECT_EQ(plat::Value(a->sourceArray()), plat::Value(row.after));
        ASSERT_EQ(ann.seen.size(), 1u);
        const auto& e = *ann.seen[0];
        EXPECT_EQ(e.action(), row.action);
        EXPECT_EQ(listOrNil(e.items()), row.items);
        EXPECT_EQ(e.startingIndex(), row.start);
        EXPECT_EQ(listOrNil(e.oldItems()), row.oldItems);
        EXPECT_EQ(e.oldStartingIndex(), row.oldStart);
    }
}

TEST(KivoObservableArray, RemoveObjectRemovesEveryEqualItemAnnouncingEachHighestFirst) {
    auto a = std::make_shared<KivoObservableArray>();
    a->sourceArray() = {"a", 7, "b", 7.0, "c", 7};
    // A copy that applies the announcements in order ends equal to the array.
    plat::Array mirror = a->sourceArray();
    Announcements ann(*a);
    a->removeObject(7);
    EXPECT_EQ(plat::Value(a->sourceArray()), list({"a", "b", "c"}));
    std::vector<std::int64_t> indices;
    for (const auto& e : ann.seen) {
        EXPECT_EQ(e->action(), KivoNotifyCollectionChangedActionRemove);
        ASSERT_EQ(e->oldItems()->size(), 1u);
        EXPECT_EQ(mirror.at(static_cast<size_t>(e->oldStartingIndex())), e->oldItems()->front());
        mirror.erase(mirror.begin() + e->oldStartingIndex());
        indices.push_back(e->oldStartingIndex());
    }
    EXPECT_EQ(indices, (std::vector<std::int64_t>{5, 3, 1}));
    EXPECT_EQ(plat::Value(mirror), plat::Value(a->sourceArray()));

    ann.seen.clear();
    a->removeObject("absent");
    EXPECT_EQ(a->count(), 3u);
    EXPECT_TRUE(ann.seen.empty());

    // Inside a batch only the closing reset is announced.
    a->sourceArray() = {"x", "y", "x"};
    a->deferUpdate([&] { a->removeObject("x"); });
    ASSERT_EQ(ann.seen.size(), 1u);
    EXPECT_EQ(ann.seen[0]->action(), KivoNotifyCollectionChangedActionReset);

    // The item given may be an entry itself, which the removal moves.
    a->sourceArray() = {"x", "y", "x", "z", "x"};
    a->removeObject(a->objectAtIndex(0));
    EXPECT_EQ(plat::Value(a->sourceArray()), list({"y", "z"}));
}

TEST(KivoObservableArray, AThrowingHandlerLeavesTheBatchClosedAndTheCallerGetsTheException) {
    struct Case {
        const char* name;
        std::function<void(KivoObservableArray&)> batch;
        const char* expectedWhat;  // the exception the caller gets
        bool logged;               // the handler's exception, when another one goes on
    };
    const std::vector<Case> cases = {
        {"deferUpdate", [](auto& a) { a.deferUpdate([&] { a.addObject(1); }); }, "handler", false},
        {"nested begin and end",
         [](auto& a) {
             a.beginUpdate();
             a.beginUpdate();
             a.addObject(1);
             a.endUpdate();
             a.endUpdate();
         },
         "handler", false},
        {"nested deferUpdate", [](auto& a) { a.deferUpdate([&] { a.deferUpdate([&] { a.addObject(1); }); }); }, "handler", false},
        {"block and handler both throw",
         [](auto& a) {
             a.deferUpdate([&] {
                 a.addObject(1);
                 throw std::runtime_error("block");
             });
         },
         "block", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        plat::testing::LogCapture log;
        auto a = std::make_shared<KivoObservableArray>();
        bool armed = true;
        a->collectionChanged()->addHandler(
            [&](const std::shared_ptr<KivoEventContainer>&) {
                if (armed) throw std::runtime_error("handler");
            },
            nullptr);
        Announcements ann(*a);
        try {
            c.batch(*a);
            ADD_FAILURE() << "no exception reached the caller";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), c.expectedWhat);
        }
        EXPECT_FALSE(a->isUpdating());
        EXPECT_EQ(a->count(), 1u);
        EXPECT_EQ(log.lines().size(), c.logged ? 1u : 0u);
        // Announcing again, at once.
        armed = false;
        a->addObject(2);
        ASSERT_FALSE(ann.seen.empty());
        EXPECT_EQ(ann.seen.back()->action(), KivoNotifyCollectionChangedActionAdd);
        EXPECT_EQ(a->count(), 2u);
    }
}

TEST(KivoObservableArray, BadIndicesThrowAndChangeNothing) {
    auto a = std::make_shared<KivoObservableArray>();
    a->addObject(1);
    Announcements ann(*a);
    EXPECT_THROW(a->objectAtIndex(1), std::out_of_range);
    EXPECT_THROW((*a)[-1], std::out_of_range);
    EXPECT_THROW(a->insertObject(2, 2), std::out_of_range);
    EXPECT_THROW(a->removeObjectAtIndex(5), std::out_of_range);
    EXPECT_THROW(a->replaceObjectAtIndex(1, 2), std::out_of_range);
    EXPECT_THROW(a->setObject(2, -1), std::out_of_range);
    EXPECT_EQ(a->count(), 1u);
    EXPECT_TRUE(ann.seen.empty());
    EXPECT_EQ(a->indexOfObject(2), plat::NotFound);
}

TEST(KivoObservableArray, NestedBatchesAnnounceOneResetAtTheOutermostEnd) {
    auto a = std::make_shared<KivoObservableArray>();
    Announcements ann(*a);
    for (int i = 0; i < 3; ++i) a->beginUpdate();
    a->addObject(1);
    a->addObject(2);
    a->insertObject(0, 0);
    a->replaceObjectAtIndex(0, 9);
    a->removeObjectAtIndex(1);
    EXPECT_TRUE(a->isUpdating());
    EXPECT_EQ(plat::Value(a->sourceArray()), list({9, 2}));  // applied at once
    a->endUpdate();
    a->endUpdate();
    EXPECT_TRUE(ann.seen.empty());
    a->endUpdate();
    ASSERT_EQ(ann.seen.size(), 1u);
    EXPECT_EQ(ann.seen[0]->action(), KivoNotifyCollectionChangedActionReset);
    a->endUpdate();  // unmatched: ignored, the counter stays at zero
    EXPECT_FALSE(a->isUpdating());
    EXPECT_EQ(ann.seen.size(), 1u);
    a->addObject(3);  // idle again: announced at once
    EXPECT_EQ(ann.seen.size(), 2u);
}

TEST(KivoObservableArray, EmptyBatchAndDeferUpdateStillAnnounceOneReset) {
    auto a = std::make_shared<KivoObservableArray>();
    Announcements ann(*a);
    a->beginUpdate();
    a->endUpdate();
    a->deferUpdate([&] {
        a->addObject(1);
        a->addObject(2);
    });
    ASSERT_EQ(ann.seen.size(), 2u);
    EXPECT_EQ(ann.seen[0]->action(), KivoNotifyCollectionChangedActionReset);
    EXPECT_EQ(ann.seen[1]->action(), KivoNotifyCollectionChangedActionReset);
    EXPECT_THROW(a->deferUpdate([] { throw std::runtime_error("x"); }), std::runtime_error);
    EXPECT_FALSE(a->isUpdating());
}

TEST(KivoObservableArray, SourceArrayChangesAreSilentAndSenderIsTheArray) {
    auto a = std::make_shared<KivoObservableArray>(16);
    std::shared_ptr<plat::Object> sender;
    a->collectionChanged()->addHandler([&](const std::shared_ptr<KivoEventContainer>& c) { sender = c->sender(); }, nullptr);
    a->sourceArray().push_back(1);
    EXPECT_EQ(sender, nullptr);
    a->addObject(2);
    EXPECT_EQ(sender, a);
    int sum = 0;
    for (const auto& v : *a) sum += static_cast<int>(v.asInteger());
    EXPECT_EQ(sum, 3);
}

namespace kivo::testing {
struct ObservableArrayAccess {
    static std::int32_t limit(const KivoObservableArray& a) { return a.batchLimit({}); }
    static void lower(KivoObservableArray& a, std::int32_t limit) { a.setBatchLimit({}, limit); }
};
}  // namespace kivo::testing

// A caller that only ever begins batches reaches the counter's limit: further begins are refused and
// logged instead of overflowing it. The limit is the counter's range, lowered here to reach it quickly.
TEST(KivoObservableArray, BeginUpdatePastTheCounterLimitIsRefused) {
    using Access = kivo::testing::ObservableArrayAccess;
    auto a = std::make_shared<KivoObservableArray>();
    EXPECT_EQ(Access::limit(*a), INT32_MAX);
    Access::lower(*a, 5);
    plat::testing::LogCapture log;
    for (int i = 0; i < 5; ++i) a->beginUpdate();
    EXPECT_TRUE(log.lines().empty());
    a->beginUpdate();
    EXPECT_EQ(log.lines(), std::vector<std::string>{"KivoObservableArray beginUpdate: 5 batches are open already, ignored"});
    EXPECT_TRUE(a->isUpdating());
    // The refused begin has no end of its own: five ends close every batch.
    Announcements ann(*a);
    for (int i = 0; i < 4; ++i) a->endUpdate();
    EXPECT_TRUE(a->isUpdating());
    a->endUpdate();
    EXPECT_FALSE(a->isUpdating());
    EXPECT_EQ(ann.seen.size(), 1u);
}
