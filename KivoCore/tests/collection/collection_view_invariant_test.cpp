// A model tester for the collection view: a long randomized run of edits, sorts, filters, groupings,
// batches and moves, checking after every announcement that a list built only from the announcements
// equals the visible list, and after every step that the view is consistent with itself.

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "KivoCore/KivoPropertyGroupDescription.h"
#include "Platform/testing/log_capture.h"
#include "collection/collection_fixture.h"

using namespace collection_fixture;

namespace {

bool sameItems(const plat::Array& a, const plat::Array& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (!a[i].isIdentical(b[i])) return false;
    return true;
}

// Mirrors the visible list from announcements alone.
class Mirror {
public:
    explicit Mirror(const std::shared_ptr<KivoCollectionView>& view) : _view(view), _list(*view->items()) {
        view->collectionChanged()->addHandler(
            [this](const std::shared_ptr<KivoEventContainer>& c) { apply(*c->args<KivoNotifyCollectionChangedEventArgs>()); },
            _owner);
    }
    const plat::Array& list() const { return _list; }
    int announcements = 0;
    std::int64_t lastAction = -1;

private:
    void apply(const KivoNotifyCollectionChangedEventArgs& a) {
        ++announcements;
        lastAction = a.action();
        auto view = _view.lock();
        switch (a.action()) {
            case KivoNotifyCollectionChangedActionAdd: {
                ASSERT_TRUE(a.items() && !a.items()->empty());
                ASSERT_GE(a.startingIndex(), 0);
                ASSERT_LE(a.startingIndex(), static_cast<std::int64_t>(_list.size()));
                _list.insert(_list.begin() + a.startingIndex(), a.items()->begin(), a.items()->end());
                break;
            }
            case KivoNotifyCollectionChangedActionRemove: {
                ASSERT_TRUE(a.oldItems());
                ASSERT_GE(a.oldStartingIndex(), 0);
                ASSERT_LE(a.oldStartingIndex() + static_cast<std::int64_t>(a.oldItems()->size()),
                          static_cast<std::int64_t>(_list.size()));
                for (size_t j = 0; j < a.oldItems()->size(); ++j)
                    ASSERT_TRUE(_list[a.oldStartingIndex() + j].isIdentical((*a.oldItems())[j]))
                        << "removed item is not where announced";
                _list.erase(_list.begin() + a.oldStartingIndex(),
                            _list.begin() + a.oldStartingIndex() + static_cast<std::int64_t>(a.oldItems()->size()));
                break;
            }
            case KivoNotifyCollectionChangedActionReplace: {
                ASSERT_TRUE(a.items() && a.oldItems() && a.items()->size() == 1 && a.oldItems()->size() == 1);
                ASSERT_GE(a.oldStartingIndex(), 0);
                ASSERT_LT(a.oldStartingIndex(), static_cast<std::int64_t>(_list.size()));
                ASSERT_TRUE(_list[a.oldStartingIndex()].isIdentical((*a.oldItems())[0]));
                _list[a.oldStartingIndex()] = (*a.items())[0];
                break;
            }
            default:
                _list = *view->items();
        }
        ASSERT_TRUE(sameItems(_list, *view->items())) << "after an announcement the mirror must equal the view";
    }

    std::weak_ptr<KivoCollectionView> _view;
    plat::Array _list;
    std::shared_ptr<int> _owner = std::make_shared<int>(0);
};

// Identity counts of a list's objects.
std::map<const void*, int> census(const plat::Array& list) {
    std::map<const void*, int> counts;
    for (const auto& v : list) ++counts[v.asObject().get()];
    return counts;
}

class RandomRun {
public:
    explicit RandomRun(unsigned seed) : _rng(seed) {
        auto source = std::make_shared<plat::Array>();
        for (int i = 0; i < 12; ++i) source->push_back(fresh());
        _view = KivoCollectionView::create(source);
        _view->setNewItemCreator([this] { return fresh(); });
        _mirror = std::make_unique<Mirror>(_view);
    }

    void step(int depth = 0) {
        auto& v = *_view;
        switch (pick(20)) {
            case 0:
                v.addObject(fresh());
                break;
            case 1:
                v.addObjects({fresh(), fresh()});
                break;
            case 2:
                v.insertObject(fresh(), pick(static_cast<int>(v.sourceCollection()->size()) + 2));
                break;
            case 3:
                v.replaceObjectAtIndex(pick(static_cast<int>(v.sourceCollection()->size()) + 1), fresh());
                break;
            case 4:
                v.remove(anyItem());
                break;
            case 5:
                v.removeAt(pick(v.itemCount() + 2) - 1);
                break;
            case 6:
                if (pick(10) == 0) v.removeAllObjects();
                break;
            case 7:
                v.addNew();
                break;
            case 8:
                pick(2) ? v.commitNew() : v.cancelNew();
                break;
            case 9: {
                plat::Value item = anyItem();
                v.editItem(item);
                if (auto p = item.as<Product>()) p->price = pick(20);
                _valuesChanged = true;  // behind the view's back until the edit is committed
                break;
            }
            case 10:
                pick(2) ? v.commitEdit() : v.cancelEdit();
                break;
            case 11: {
                int threshold = pick(25) - 2;
                if (threshold < 0)
                    v.setFilter(nullptr);
                else
                    v.setFilter([threshold](const plat::Value& item) { return item.as<Product>()->price >= threshold; });
                break;
            }
            case 12: {
                static const char* keys[] = {"price", "name", "rating", "extra", "maker"};
                auto d = std::make_shared<KivoSortDescription>(keys[pick(5)], pick(2));
                auto& sorts = *v.sortDescriptions();
                int what = pick(4);
                if (what == 0 || sorts.count() == 0)
                    sorts.addObject(d);
                else if (what == 1)
                    sorts.replaceObjectAtIndex(pick(static_cast<int>(sorts.count())), d);
                else if (what == 2)
                    sorts.removeObjectAtIndex(pick(static_cast<int>(sorts.count())));
                else
                    sorts.removeAllObjects();
                break;
            }
            case 13: {
                static const char* keys[] = {"name", "price", "maker"};
                auto& groups = *v.groupDescriptions();
                if (groups.count() < 2 && pick(2))
                    groups.addObject(std::make_shared<KivoPropertyGroupDescription>(keys[pick(3)]));
                else
                    groups.removeAllObjects();
                break;
            }
            case 14:
                if (_open < 3 && pick(2)) {
                    v.beginUpdate();
                    ++_open;
                } else {
                    v.endUpdate();
                    if (_open > 0) --_open;
                }
                break;
            case 15:
                v.refresh();
                break;
            case 16:
                v.moveCurrentToPosition(pick(v.itemCount() + 3) - 2);
                break;
            case 17:
                pick(2) ? v.moveCurrentToNext() : v.moveCurrentToPrevious();
                break;
            case 18:
                if (pick(20) == 0) {
                    auto list = std::make_shared<plat::Array>();
                    for (int i = pick(6); i > 0; --i) list->push_back(fresh());
                    v.setSourceCollection(list);
                    _sourceSwapped = true;  // the visible list follows at the next refresh
                }
                break;
            case 19:
                if (depth < 2)
                    v.deferUpdate([&] {
                        for (int i = pick(4); i > 0; --i) step(depth + 1);
                    });
                break;
        }
    }

    void check(int stepIndex) {
        const auto& v = *_view;
        ASSERT_TRUE(sameItems(_mirror->list(), *v.items())) << "step " << stepIndex << ": a change went unannounced";
        ASSERT_GE(v.currentPosition(), -1);
        ASSERT_LT(v.currentPosition(), v.itemCount());
        // Every visible item is a source item, as often as it is in the source at most.
        auto visible = census(*v.items()), source = census(*v.sourceCollection());
        if (!_sourceSwapped) {
            for (auto [item, n] : visible) ASSERT_LE(n, source[item]) << "step " << stepIndex;
        }
        // Groups, when built, partition the visible list.
        if (!v.groups().empty()) {
            plat::Array grouped;
            for (const auto& g : v.groups()) {
                auto all = g->itemsRecursive();
                grouped.insert(grouped.end(), all->begin(), all->end());
            }
            ASSERT_EQ(census(grouped), visible) << "step " << stepIndex;
        }
        // A refresh that ran shows exactly the source items that pass the filter.
        if (_lastWasRefresh && !v.isUpdating() && !v.isAddingNew() && !v.isEditingItem()) {
            size_t passing = 0;
            for (const auto& item : *v.sourceCollection()) passing += !v.filter() || v.filter()(item);
            ASSERT_EQ(v.items()->size(), passing) << "step " << stepIndex;
        }
    }

    void run(int steps) {
        for (int i = 0; i < steps; ++i) {
            _valuesChanged = false;
            int before = _mirror->announcements;
            step();
            _lastWasRefresh = _mirror->announcements > before && _mirror->lastAction == KivoNotifyCollectionChangedActionReset &&
                              !_valuesChanged;
            if (_lastWasRefresh && !_view->isUpdating() && !_view->isAddingNew() && !_view->isEditingItem())
                _sourceSwapped = false;
            check(i);
            if (::testing::Test::HasFatalFailure()) return;
        }
        while (_open-- > 0) _view->endUpdate();
        _view->commitNew();
        _view->commitEdit();
        check(steps);
    }

private:
    int pick(int n) { return n <= 0 ? 0 : static_cast<int>(_rng() % static_cast<unsigned>(n)); }
    plat::Value fresh() {
        static const char* names[] = {"apple", "Banana", "cherry", "apple", "date"};
        auto p = pick(3) ? product(names[pick(5)], pick(20)) : gadget(names[pick(5)], pick(20));
        if (pick(3)) p->rating = pick(5);
        if (auto g = std::dynamic_pointer_cast<Gadget>(p)) g->maker = pick(2) ? "acme" : "bolt";
        int kind = pick(4);
        p->extra = kind == 0   ? plat::Value(pick(9))
                   : kind == 1 ? plat::Value("x" + std::to_string(pick(9)))
                   : kind == 2 ? plat::Value(plat::Date(pick(9)))
                               : plat::Value();
        return p;
    }
    plat::Value anyItem() {
        const auto& list = pick(2) ? *_view->items() : *_view->sourceCollection();
        if (list.empty() || pick(8) == 0) return fresh();
        return list[pick(static_cast<int>(list.size()))];
    }

    std::mt19937 _rng;
    std::shared_ptr<KivoCollectionView> _view;
    std::unique_ptr<Mirror> _mirror;
    int _open = 0;
    bool _lastWasRefresh = false;
    bool _valuesChanged = false;
    bool _sourceSwapped = false;
};

}  // namespace

TEST(KivoCollectionViewInvariants, MirrorFromAnnouncementsMatchesTheViewThroughRandomRuns) {
    PinnedLocale pinned;
    plat::testing::LogCapture log;  // sorting and grouping by "maker" reads a key that plain products lack
    for (unsigned seed : {1u, 2u, 3u, 4u, 5u, 6u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        RandomRun(seed).run(1500);
        if (HasFatalFailure()) return;
    }
}
