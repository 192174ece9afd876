// The collection-change tester: it stays quiet on collections that announce correctly, and reports
// each kind of fault that a collection (or a handler) can commit.

#include "KivoCore/testing/collection_change_tester.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

using kivo::testing::CollectionChangeTester;

namespace {

using Report = CollectionChangeTester::Report;

// An array that announces even inside its batches, as a faulty subclass might.
class LeakyArray : public KivoObservableArray {
public:
    void onCollectionChanged(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args) override {
        collectionChanged()->raise(nullptr, args);
    }
};

plat::ArrayPtr listOf(std::initializer_list<plat::Value> items) { return std::make_shared<plat::Array>(items); }

}  // namespace

TEST(CollectionChangeTester, QuietOnEveryChangeOfAnObservableArray) {
    auto a = std::make_shared<KivoObservableArray>();
    CollectionChangeTester tester(a);
    a->addObject("a");
    a->addObjectsFromArray({"b", "c", "b"});
    a->addObjectsFromArray({});
    a->insertObject("x", 1);
    a->replaceObjectAtIndex(0, "z");  // announced without the new item: the tester reads it from the list
    a->removeObject("x");
    a->removeObjectAtIndex(0);
    a->deferUpdate([&] {
        a->addObject("d");
        a->removeObjectAtIndex(0);
    });
    a->removeAllObjects();
    EXPECT_TRUE(tester.checkSettled());
    EXPECT_EQ(tester.announcementCount(), 9);
}

TEST(CollectionChangeTester, ReportsEachKindOfFault) {
    struct Case {
        const char* what;
        std::function<void(KivoObservableArray&)> act;
        const char* reported;  // a part of the first fault's message
    };
    const Case cases[] = {
        {"a change without announcement", [](auto& a) { a.sourceArray().push_back("x"); }, "changed without an announcement"},
        {"an add outside the list",
         [](auto& a) { a.raiseCollectionChanged(KivoNotifyCollectionChangedActionAdd, listOf({"x"}), 5, nullptr, -1); },
         "starting index 5 outside 0 .. 2"},
        {"an add that was not made",
         [](auto& a) { a.raiseCollectionChanged(KivoNotifyCollectionChangedActionAdd, listOf({"x"}), 0, nullptr, -1); },
         "but the announcements describe [x a b]"},
        {"a remove of an item that is not there",
         [](auto& a) {
             a.sourceArray().erase(a.sourceArray().begin());
             a.raiseCollectionChanged(KivoNotifyCollectionChangedActionRemove, nullptr, -1, listOf({"b"}), 0);
         },
         "old item b is not at 0"},
        {"a remove announcing fewer items than went",
         [](auto& a) {
             a.sourceArray().clear();
             a.raiseCollectionChanged(KivoNotifyCollectionChangedActionRemove, nullptr, -1, listOf({"a"}), 0);
         },
         "the list is [] but the announcements describe [b]"},
        {"a replace with a new index",
         [](auto& a) { a.raiseCollectionChanged(KivoNotifyCollectionChangedActionReplace, listOf({"x"}), 0, listOf({"a"}), 0); },
         "a replace carries a new index"},
        {"a reset with items",
         [](auto& a) { a.raiseCollectionChanged(KivoNotifyCollectionChangedActionReset, listOf({"a"}), 0, nullptr, -1); },
         "a reset carries items or indices"},
        {"a nested announcement",
         [](auto& a) {
             a.collectionChanged()->addHandler(
                 [&a](const std::shared_ptr<KivoEventContainer>&) {
                     if (a.count() == 4) a.addObject("nested");
                 },
                 nullptr);
             a.addObject("c");  // the tester closes a delivery last from the next one on
             a.addObject("d");
         },
         "came while an earlier one was still being delivered"},
        {"a delivery a handler threw out of",
         [](auto& a) {
             a.collectionChanged()->addHandler([](const auto&) { throw std::runtime_error("handler"); }, nullptr);
             EXPECT_THROW(a.addObject("c"), std::runtime_error);
             EXPECT_THROW(a.addObject("d"), std::runtime_error);
         },
         "a delivery never ended"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto a = std::make_shared<KivoObservableArray>();
        a->sourceArray() = {"a", "b"};
        CollectionChangeTester tester(a, Report::Collect);
        c.act(*a);
        EXPECT_FALSE(tester.checkSettled());
        ASSERT_FALSE(tester.faults().empty());
        EXPECT_NE(tester.faults()[0].find(c.reported), std::string::npos) << tester.faults()[0];
    }
}

TEST(CollectionChangeTester, ReportsAnnouncementsInsideAnArrayBatch) {
    auto a = std::make_shared<LeakyArray>();
    CollectionChangeTester tester(std::static_pointer_cast<KivoObservableArray>(a), Report::Collect);
    a->beginUpdate();
    a->onCollectionChanged(KivoNotifyCollectionChangedEventArgs::reset());
    ASSERT_EQ(tester.faults().size(), 1u);
    EXPECT_NE(tester.faults()[0].find("inside an update batch"), std::string::npos);
}

TEST(CollectionChangeTester, ChecksAViewsCurrentPositionAndGroups) {
    auto view = KivoCollectionView::create(listOf({"a", "b", "a"}));
    CollectionChangeTester tester(view, Report::Collect);
    view->groupDescriptions()->addObject(std::make_shared<KivoGroupDescription>());
    view->addObject("b");
    EXPECT_TRUE(tester.checkSettled()) << (tester.faults().empty() ? "" : tester.faults()[0]);

    // A group that holds an item the view does not show.
    view->groups()[0]->items()->push_back(plat::Value("stray"));
    EXPECT_FALSE(tester.checkSettled());
    ASSERT_FALSE(tester.faults().empty());
    EXPECT_NE(tester.faults()[0].find("groups: group /a holds stray"), std::string::npos) << tester.faults()[0];
}
