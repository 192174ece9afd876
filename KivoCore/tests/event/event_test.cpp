#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "KivoCore/KivoEvent.h"
#include "KivoCore/KivoNotifyCollectionChangedEventArgs.h"

namespace {

struct Owner : plat::Object {};

struct Recorder {
    std::vector<std::string> calls;
    KivoEventBlock block(const std::string& name) {
        return [this, name](const std::shared_ptr<KivoEventContainer>&) { calls.push_back(name); };
    }
};

size_t count(const KivoEvent& e) { return e.handlers() ? e.handlers()->size() : 0; }

}  // namespace

TEST(KivoEvent, RaisingWithoutHandlersDoesNothing) {
    KivoEvent e;
    EXPECT_EQ(e.handlers(), nullptr);
    e.raise(nullptr, KivoEventArgs::empty());
    e.removeAllHandlers();
    e.removeHandlersForObject(nullptr);
    EXPECT_EQ(e.handlers(), nullptr);
}

TEST(KivoEvent, DuplicatesAreSeparateAndRemovedOneByIdentity) {
    Recorder r;
    auto owner = std::make_shared<Owner>();
    KivoEvent e;
    auto a = r.block("a");
    e.addHandler(a, owner);
    e.addHandler(a, owner);
    e.addHandler(r.block("b"), owner);
    e.raise(owner, KivoEventArgs::empty());
    EXPECT_EQ(r.calls, (std::vector<std::string>{"a", "a", "b"}));

    // An equal but distinct block, or the right block with another owner, removes nothing.
    e.removeHandler(r.block("a"), owner);
    e.removeHandler(a, std::make_shared<Owner>());
    EXPECT_EQ(count(e), 3u);
    e.removeHandler(a, owner);
    EXPECT_EQ(count(e), 2u);
    r.calls.clear();
    e.raise(owner, KivoEventArgs::empty());
    EXPECT_EQ(r.calls, (std::vector<std::string>{"a", "b"}));
}

TEST(KivoEvent, RemoveHandlersForObjectTakesOneEntryPerCall) {
    Recorder r;
    auto x = std::make_shared<Owner>();
    auto other = std::make_shared<Owner>();
    KivoEvent e;
    e.addHandler(r.block("o"), other);
    for (int i = 0; i < 3; ++i) e.addHandler(r.block("x"), x);
    e.removeHandlersForObject(x);
    EXPECT_EQ(count(e), 3u);
    e.removeHandlersForObject(x);
    e.removeHandlersForObject(x);
    ASSERT_EQ(count(e), 1u);
    EXPECT_TRUE(e.handlers()->at(0)->isOwnedBy(other));
    e.removeHandlersForObject(x);  // nothing of x left
    EXPECT_EQ(count(e), 1u);
}

TEST(KivoEvent, VanishedOwnerAheadIsRemovedInPlaceOfTheLiveOne) {
    Recorder r;
    auto x = std::make_shared<Owner>();
    KivoEvent e;
    {
        auto gone = std::make_shared<Owner>();
        e.addHandler(r.block("gone"), gone);
    }
    e.addHandler(r.block("x"), x);
    // Handlers of owners that are gone are still called.
    e.raise(nullptr, KivoEventArgs::empty());
    EXPECT_EQ(r.calls, (std::vector<std::string>{"gone", "x"}));
    EXPECT_EQ(e.handlers()->at(0)->thisObject(), nullptr);

    e.removeHandlersForObject(x);
    ASSERT_EQ(count(e), 1u);
    EXPECT_TRUE(e.handlers()->at(0)->isOwnedBy(x));
}

TEST(KivoEvent, SharedArgumentsCarryCancelToLaterHandlersAndTheRaiser) {
    auto sender = std::make_shared<Owner>();
    KivoEvent e;
    std::vector<bool> seen;
    std::shared_ptr<plat::Object> seenSender;
    e.addHandler(
        [&](const std::shared_ptr<KivoEventContainer>& c) {
            seen.push_back(c->args<KivoCancelEventArgs>()->cancel());
            c->args<KivoCancelEventArgs>()->setCancel(true);
            seenSender = c->sender();
        },
        nullptr);
    e.addHandler([&](const std::shared_ptr<KivoEventContainer>& c) { seen.push_back(c->args<KivoCancelEventArgs>()->cancel()); },
                 nullptr);
    auto args = std::make_shared<KivoCancelEventArgs>();
    e.raise(sender, args);
    EXPECT_EQ(seen, (std::vector<bool>{false, true}));
    EXPECT_TRUE(args->cancel());
    EXPECT_EQ(seenSender, sender);
}

TEST(KivoEvent, HandlersChangingSubscriptionsDuringARaiseSeeAStableList) {
    KivoEvent e;
    int calls = 0;
    KivoEventBlock second = [&](const std::shared_ptr<KivoEventContainer>&) { ++calls; };
    e.addHandler(
        [&](const std::shared_ptr<KivoEventContainer>&) {
            ++calls;
            e.removeHandler(second, nullptr);
            e.addHandler([&](const std::shared_ptr<KivoEventContainer>&) { calls += 100; }, nullptr);
        },
        nullptr);
    e.addHandler(second, nullptr);
    e.raise(nullptr, KivoEventArgs::empty());
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(count(e), 2u);
}

TEST(KivoEvent, AddsGrowTheListInPlaceYetAListHandedOutNeverChanges) {
    KivoEvent e;
    const KivoEventBlock block = [](const std::shared_ptr<KivoEventContainer>&) {};
    e.addHandler(block, nullptr);
    const void* list = e.handlers().get();
    for (int i = 0; i < 40000; ++i) e.addHandler(block, nullptr);
    EXPECT_EQ(e.handlers().get(), list) << "no copy per add while nobody holds the list";
    EXPECT_EQ(count(e), 40001u);

    auto held = e.handlers();
    e.addHandler(block, nullptr);
    e.removeHandler(block, nullptr);
    e.removeHandler(block, nullptr);
    EXPECT_EQ(held->size(), 40001u) << "the list handed out stays as it was";
    EXPECT_EQ(count(e), 40000u);
    e.removeAllHandlers();
    EXPECT_EQ(held->size(), 40001u);
    EXPECT_EQ(count(e), 0u);
}

TEST(KivoEventArgs, EmptyIsFreshAndResetHasNoItems) {
    EXPECT_NE(KivoEventArgs::empty(), KivoEventArgs::empty());
    auto r = KivoNotifyCollectionChangedEventArgs::reset();
    EXPECT_EQ(r->action(), KivoNotifyCollectionChangedActionReset);
    EXPECT_EQ(r->items(), nullptr);
    EXPECT_EQ(r->oldItems(), nullptr);
    EXPECT_EQ(r->startingIndex(), -1);
    EXPECT_EQ(r->oldStartingIndex(), -1);
    auto p = std::make_shared<KivoPointEventArgs>(KivoPoint::create(1, 2));
    EXPECT_FALSE(p->cancel());
    EXPECT_EQ(p->point()->y(), 2);
}

namespace {

struct Subscriber : plat::Object {
    int inner = 0;
};

// The subscriptions as a plain list, removed by walking it from the front: what the event's indexed
// removals must agree with.
struct PlainEvent {
    struct Entry {
        KivoEventBlock block;
        int id;
        std::weak_ptr<void> owner;
    };
    std::vector<Entry> entries;

    static bool same(const std::weak_ptr<void>& a, const std::shared_ptr<void>& b) {
        return !a.owner_before(b) && !b.owner_before(a);
    }
    static bool ownedBy(const Entry& e, const std::shared_ptr<void>& owner) {
        if (e.owner.expired()) return owner == nullptr;
        return owner != nullptr && same(e.owner, owner);
    }
    template <class Match>
    void eraseFirst(Match m) {
        for (auto it = entries.begin(); it != entries.end(); ++it)
            if (m(*it)) {
                entries.erase(it);
                return;
            }
    }
};

}  // namespace

TEST(KivoEvent, IndexedRemovalsAgreeWithAPlainWalkOverRandomSubscriptions) {
    for (unsigned seed : {1u, 2u, 3u, 4u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 rng(seed);
        auto pick = [&](size_t n) { return static_cast<size_t>(rng() % n); };
        std::vector<int> called;
        std::vector<KivoEventBlock> blocks;  // a block's id is its index
        std::vector<std::shared_ptr<Subscriber>> owners(6);
        for (auto& o : owners) o = std::make_shared<Subscriber>();
        // Owners come and go; the first is also known by an inner address, and two indices mean none.
        auto ownerAt = [&](size_t i) -> std::shared_ptr<void> {
            if (i >= owners.size()) return nullptr;
            if (i == 0 && pick(2)) return std::shared_ptr<void>(owners[0], &owners[0]->inner);
            return owners[i];
        };
        KivoEvent event;
        PlainEvent plain;
        std::shared_ptr<const KivoEvent::Handlers> held;
        for (int step = 0; step < 3000; ++step) {
            const size_t op = pick(100);
            if (op < 45) {
                // Few blocks, each shared by many subscriptions.
                if (blocks.size() < 8 || pick(6) == 0) {
                    const int id = static_cast<int>(blocks.size());
                    blocks.push_back([&called, id](const std::shared_ptr<KivoEventContainer>&) { called.push_back(id); });
                }
                const size_t b = pick(blocks.size());
                auto owner = ownerAt(pick(owners.size() + 2));
                event.addHandler(blocks[b], owner);
                plain.entries.push_back({blocks[b], static_cast<int>(b), owner});
            } else if (op < 70) {
                const auto block = blocks.empty() ? KivoEventBlock() : blocks[pick(blocks.size())];
                auto owner = ownerAt(pick(owners.size() + 2));
                event.removeHandler(block, owner);
                plain.eraseFirst([&](const auto& e) { return e.block.isSameBlock(block) && PlainEvent::ownedBy(e, owner); });
            } else if (op < 90) {
                auto owner = ownerAt(pick(owners.size() + 2));
                event.removeHandlersForObject(owner);
                plain.eraseFirst([&](const auto& e) { return e.owner.expired() || PlainEvent::ownedBy(e, owner); });
            } else if (op < 94) {
                owners[pick(owners.size())] = std::make_shared<Subscriber>();  // the old owner is gone
            } else if (op < 96) {
                held = event.handlers();  // a holder makes the next change copy
            } else if (op < 97) {
                event.removeAllHandlers();
                plain.entries.clear();
            } else {
                called.clear();
                event.raise(nullptr, KivoEventArgs::empty());
                std::vector<int> expected;
                for (const auto& e : plain.entries) expected.push_back(e.id);
                ASSERT_EQ(called, expected) << "step " << step;
            }
            // Looked at now and then only: looking sweeps out the removed slots.
            if (step % 40 != 39) continue;
            const auto list = event.handlers();
            ASSERT_EQ(list ? list->size() : 0u, plain.entries.size()) << "step " << step;
            for (size_t i = 0; i < plain.entries.size(); ++i) {
                const auto& h = *(*list)[i];
                ASSERT_TRUE(h.handler().isSameBlock(plain.entries[i].block)) << "step " << step << " entry " << i;
                ASSERT_EQ(plain.entries[i].owner.lock(), h.thisObject()) << "step " << step << " entry " << i;
            }
        }
    }
}
