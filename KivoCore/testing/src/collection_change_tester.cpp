#include "KivoCore/testing/collection_change_tester.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <optional>
#include <utility>

namespace kivo::testing {

namespace {

std::string actionName(std::int64_t action) {
    switch (action) {
        case KivoNotifyCollectionChangedActionAdd:
            return "add";
        case KivoNotifyCollectionChangedActionRemove:
            return "remove";
        case KivoNotifyCollectionChangedActionReplace:
            return "replace";
        case KivoNotifyCollectionChangedActionReset:
            return "reset";
        default:
            return "action " + std::to_string(action);
    }
}

std::string bracketed(const plat::ArrayPtr& items) { return items ? "[" + describeItems(*items) + "]" : "nil"; }

// A short picture of a list for messages: long lists show their length and first items only.
std::string sketch(const plat::Array& items) {
    constexpr size_t Shown = 12;
    if (items.size() <= Shown) return "[" + describeItems(items) + "]";
    return std::to_string(items.size()) + " items [" + describeItems(plat::Array(items.begin(), items.begin() + Shown)) + " ...]";
}

bool sameEntries(const plat::Array& a, const plat::Array& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (!a[i].isIdentical(b[i])) return false;
    return true;
}

// The identity of a list entry: the object itself for objects and containers, the value otherwise.
std::string identityKey(const plat::Value& v) {
    if (v.isObject()) return "o" + std::to_string(reinterpret_cast<std::uintptr_t>(v.asObject().get()));
    if (v.isArray()) return "a" + std::to_string(reinterpret_cast<std::uintptr_t>(v.asArray().get()));
    if (v.isDictionary()) return "d" + std::to_string(reinterpret_cast<std::uintptr_t>(v.asDictionary().get()));
    return std::to_string(static_cast<int>(v.kind())) + ":" + v.description();
}

// Checks that the bottom-level groups hold exactly the visible items, each group in visible order,
// and that sibling groups stand in the order of their first items. Upper groups' own items are not
// looked at: mergeGroupItems fills them on request.
class GroupCheck {
public:
    explicit GroupCheck(const plat::Array& items) {
        for (size_t i = 0; i < items.size(); ++i) _positions[identityKey(items[i])].push_back(i);
    }

    void run(const KivoCollectionViewGroupList& groups, std::vector<std::string>& faults) {
        _faults = &faults;
        siblings(groups, "");
        size_t left = 0;
        for (const auto& [key, positions] : _positions) left += positions.size();
        if (left) report(std::to_string(left) + " visible item(s) are in no group");
    }

private:
    // The first visible position under the sibling list, if any.
    std::optional<size_t> siblings(const KivoCollectionViewGroupList& groups, const std::string& path) {
        std::optional<size_t> first, previous;
        for (const auto& group : groups) {
            if (!group) {
                report("a nil group under " + (path.empty() ? "the top level" : path));
                continue;
            }
            std::string where = path + "/" + group->name();
            std::optional<size_t> start = group->isBottomLevel() ? items(*group, where) : siblings(group->groups(), where);
            if (!start) {
                report("group " + where + " is empty");
                continue;
            }
            if (previous && *start <= *previous) report("group " + where + " stands after a group whose first item comes later");
            previous = start;
            if (!first) first = start;
        }
        return first;
    }

    std::optional<size_t> items(const KivoCollectionViewGroup& group, const std::string& where) {
        std::optional<size_t> first, previous;
        for (const auto& item : *group.items()) {
            auto& positions = _positions[identityKey(item)];
            if (positions.empty()) {
                report("group " + where + " holds " + item.description() + ", which is not (or not that often) in the view");
                continue;
            }
            size_t at = positions.front();
            positions.pop_front();
            if (previous && at < *previous) report("group " + where + " holds its items out of the view's order");
            previous = at;
            if (!first) first = at;
        }
        return first;
    }

    void report(std::string message) { _faults->push_back("groups: " + std::move(message)); }

    std::map<std::string, std::deque<size_t>> _positions;
    std::vector<std::string>* _faults = nullptr;
};

}  // namespace

struct CollectionChangeTester::Subject {
    std::shared_ptr<KivoEvent> event;
    std::function<std::optional<plat::Array>()> list;  // none once the collection is gone
    std::function<bool()> isUpdating;
    bool silentInBatches = false;
    std::function<void(std::vector<std::string>&)> checkState;  // further faults of the collection's state
};

template <class Collection>
std::unique_ptr<CollectionChangeTester::Subject> CollectionChangeTester::subjectOf(const std::shared_ptr<Collection>& collection,
                                                                                   std::optional<plat::Array> (*list)(Collection&)) {
    auto s = std::make_unique<Subject>();
    std::weak_ptr<Collection> weak = collection;
    s->event = collection->collectionChanged();
    s->list = [weak, list]() -> std::optional<plat::Array> {
        auto c = weak.lock();
        if (!c) return std::nullopt;
        return list(*c);
    };
    s->isUpdating = [weak] {
        auto c = weak.lock();
        return c && c->isUpdating();
    };
    return s;
}

CollectionChangeTester::CollectionChangeTester(const std::shared_ptr<KivoObservableArray>& array, Report report)
    : CollectionChangeTester(
          subjectOf<KivoObservableArray>(array, [](KivoObservableArray& a) -> std::optional<plat::Array> { return std::as_const(a).sourceArray(); }), report) {
    _subject->silentInBatches = true;
}

CollectionChangeTester::CollectionChangeTester(const std::shared_ptr<KivoCollectionView>& view, Report report)
    : CollectionChangeTester(
          subjectOf<KivoCollectionView>(view, [](KivoCollectionView& v) -> std::optional<plat::Array> {
              if (const auto items = v.items()) return *items;
              return std::nullopt;
          }),
          report) {
    std::weak_ptr<KivoCollectionView> weak = view;
    _subject->checkState = [weak](std::vector<std::string>& faults) {
        auto v = weak.lock();
        if (!v) return;
        const plat::Array& items = *v->items();
        std::int32_t position = v->currentPosition();
        if (position < -1 || position >= static_cast<std::int64_t>(items.size()))
            faults.push_back("current position " + std::to_string(position) + " lies outside the " +
                             std::to_string(items.size()) + " visible items");
        if (!v->groups().empty()) GroupCheck(items).run(v->groups(), faults);
    };
}

CollectionChangeTester::CollectionChangeTester(std::unique_ptr<Subject> subject, Report report)
    : _subject(std::move(subject)), _report(report) {
    if (const auto list = _subject->list()) _mirror = *list;
    attach();
}

CollectionChangeTester::~CollectionChangeTester() {
    if (auto event = _subject->event) {
        event->removeHandler(_enterBlock, _owner);
        event->removeHandler(_leaveBlock, _owner);
    }
}

void CollectionChangeTester::attach() {
    auto event = _subject->event;
    if (!event) {
        fault("the collection has no collectionChanged event to attach to");
        return;
    }
    // The blocks hold the tester weakly through its owner token, so a delivery that outlives the
    // tester calls nothing.
    std::weak_ptr<int> alive = _owner;
    _enterBlock = KivoEventBlock([this, alive](const std::shared_ptr<KivoEventContainer>& c) {
        if (alive.lock()) enter(c);
    });
    _leaveBlock = KivoEventBlock([this, alive](const std::shared_ptr<KivoEventContainer>&) {
        if (alive.lock()) leave();
    });
    event->addHandler(_enterBlock, _owner);
    event->addHandler(_leaveBlock, _owner);
}

void CollectionChangeTester::enter(const std::shared_ptr<KivoEventContainer>& container) {
    ++_count;
    auto args = container->args<KivoNotifyCollectionChangedEventArgs>();
    std::string what = "announcement " + std::to_string(_count) + (args ? " (" + actionName(args->action()) + ")" : "");
    if (_delivering > 0)
        fault(what +
              " came while an earlier one was still being delivered: a handler changed the collection inside a "
              "delivery (nested announcement), or a handler threw out of an earlier delivery");
    ++_delivering;
    if (_subject->silentInBatches && _subject->isUpdating())
        fault(what + " came inside an update batch, where the collection must stay silent until the batch ends");
    if (!args) {
        fault(what + " carries no collection-changed arguments");
        if (const auto list = _subject->list()) _mirror = *list;
        return;
    }
    apply(*args);
    checkAfter(what.c_str());
}

void CollectionChangeTester::leave() {
    if (_delivering == 0)
        fault("a delivery ended that never started");
    else
        --_delivering;
    // Stay the last handler, so that a later delivery is closed only after every other handler ran.
    auto event = _subject->event;
    auto handlers = event->handlers();
    if (handlers && !handlers->empty() && !handlers->back()->handler().isSameBlock(_leaveBlock)) {
        event->removeHandler(_leaveBlock, _owner);
        event->addHandler(_leaveBlock, _owner);
    }
}

void CollectionChangeTester::apply(const KivoNotifyCollectionChangedEventArgs& a) {
    const std::optional<plat::Array> live = _subject->list();
    std::string what = "announcement " + std::to_string(_count) + " (" + actionName(a.action()) + ")";
    auto size = static_cast<std::int64_t>(_mirror.size());
    // Checks one condition on the announcement against the list before it.
    bool sound = true;
    auto expect = [&](bool ok, const std::string& message) {
        if (!ok && sound) fault(what + ": " + message + "; the list before it was " + sketch(_mirror));
        sound = sound && ok;
    };
    // The announced old items must be the entries found there before the change.
    auto expectOldItemsAt = [&](std::int64_t at) {
        expect(a.oldItems() && !a.oldItems()->empty(), "no old items");
        if (!sound) return;
        auto n = static_cast<std::int64_t>(a.oldItems()->size());
        expect(at >= 0 && at + n <= size,
               "old items " + bracketed(a.oldItems()) + " at " + std::to_string(at) + " reach outside the list");
        for (std::int64_t j = 0; sound && j < n; ++j)
            expect(_mirror[at + j].isIdentical((*a.oldItems())[j]),
                   "old item " + (*a.oldItems())[j].description() + " is not at " + std::to_string(at + j));
    };
    switch (a.action()) {
        case KivoNotifyCollectionChangedActionAdd: {
            std::int64_t at = a.startingIndex();
            expect(a.items() != nullptr, "no items list");
            expect(at >= 0 && at <= size, "starting index " + std::to_string(at) + " outside 0 .. " + std::to_string(size));
            expect(!a.oldItems() && a.oldStartingIndex() == -1, "an add carries old items or an old index");
            if (sound) _mirror.insert(_mirror.begin() + at, a.items()->begin(), a.items()->end());
            break;
        }
        case KivoNotifyCollectionChangedActionRemove: {
            std::int64_t at = a.oldStartingIndex();
            expectOldItemsAt(at);
            expect(!a.items() && a.startingIndex() == -1, "a remove carries new items or a new index");
            if (sound)
                _mirror.erase(_mirror.begin() + at, _mirror.begin() + at + static_cast<std::int64_t>(a.oldItems()->size()));
            break;
        }
        case KivoNotifyCollectionChangedActionReplace: {
            std::int64_t at = a.oldStartingIndex();
            expectOldItemsAt(at);
            expect(a.startingIndex() == -1, "a replace carries a new index");
            if (!sound) break;
            size_t n = a.oldItems()->size();
            expect(!a.items() || a.items()->size() == n,
                   "replaces " + std::to_string(n) + " item(s) by " + std::to_string(a.items() ? a.items()->size() : 0));
            if (!sound) break;
            // Without new items (as an observable array announces), the new entries are read from the list.
            for (size_t j = 0; j < n; ++j) {
                size_t i = static_cast<size_t>(at) + j;
                _mirror[i] = a.items() ? (*a.items())[j] : (live && i < live->size() ? (*live)[i] : plat::Value());
            }
            break;
        }
        case KivoNotifyCollectionChangedActionReset:
            expect(!a.items() && !a.oldItems() && a.startingIndex() == -1 && a.oldStartingIndex() == -1,
                   "a reset carries items or indices");
            if (live) _mirror = *live;
            break;
        default:
            expect(false, "unknown action");
    }
    // After a fault, start again from the live list, so that one fault is reported once.
    if (!sound && live) _mirror = *live;
}

void CollectionChangeTester::checkAfter(const char* what) {
    const std::optional<plat::Array> live = _subject->list();
    if (!live) return;
    if (!sameEntries(_mirror, *live)) {
        fault(std::string("after ") + what + " the list is " + sketch(*live) + " but the announcements describe " +
              sketch(_mirror));
        _mirror = *live;
    }
    if (_subject->checkState) {
        std::vector<std::string> found;
        _subject->checkState(found);
        for (auto& message : found) fault(std::string("after ") + what + ", " + message);
    }
}

bool CollectionChangeTester::checkSettled() {
    if (_delivering > 0) fault("a delivery never ended: a handler threw out of it");
    const std::optional<plat::Array> live = _subject->list();
    if (live && !sameEntries(_mirror, *live)) {
        fault("the list is " + sketch(*live) + " but the announcements describe " + sketch(_mirror) +
              ": it changed without an announcement");
        _mirror = *live;
    }
    if (_subject->checkState) {
        std::vector<std::string> found;
        _subject->checkState(found);
        for (auto& message : found) fault(std::move(message));
    }
    return _faults.empty();
}

void CollectionChangeTester::fault(std::string message) {
    if (_report == Report::GoogleTest) ADD_FAILURE() << message;
    _faults.push_back(std::move(message));
}

// ---- AnnouncementLog ----

AnnouncementLog::AnnouncementLog(IKivoNotifyCollectionChanged& collection) {
    auto event = collection.collectionChanged();
    if (!event) return;
    event->addHandler(
        [lines = _lines](const std::shared_ptr<KivoEventContainer>& c) {
            auto args = c->args<KivoNotifyCollectionChangedEventArgs>();
            if (!args) {
                lines->push_back("(no arguments)");
                return;
            }
            switch (args->action()) {
                case KivoNotifyCollectionChangedActionAdd:
                    lines->push_back("add " + bracketed(args->items()) + "@" + std::to_string(args->startingIndex()));
                    break;
                case KivoNotifyCollectionChangedActionRemove:
                    lines->push_back("remove " + bracketed(args->oldItems()) + "@" + std::to_string(args->oldStartingIndex()));
                    break;
                case KivoNotifyCollectionChangedActionReplace:
                    lines->push_back("replace " + bracketed(args->items()) + "@" + std::to_string(args->startingIndex()) +
                                     " for " + bracketed(args->oldItems()) + "@" + std::to_string(args->oldStartingIndex()));
                    break;
                default:
                    lines->push_back(actionName(args->action()));
            }
        },
        _owner);
}

std::vector<std::string> AnnouncementLog::take() { return std::exchange(*_lines, {}); }

std::string describeItems(const plat::Array& items) {
    std::string s;
    for (const auto& item : items) s += (s.empty() ? "" : " ") + item.description();
    return s;
}

}  // namespace kivo::testing
