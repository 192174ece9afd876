#pragma once
// Checks a collection's announcements while a test drives it, in the manner of a model tester: it
// keeps the list as the announcements describe it, checks each announcement against that list (the
// state before it) and the live list against the result (the state after it), and reports nested
// announcements, announcements inside an observable array's batch, and deliveries that never ended.
// Attach it right after making the collection, before other handlers, so that it hears every
// announcement first. It closes each delivery with a handler that keeps itself last, so a nested
// announcement from a handler added later is caught from that handler's second delivery on.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "KivoCore/KivoCollectionView.h"
#include "KivoCore/KivoObservableArray.h"

namespace kivo::testing {

class CollectionChangeTester {
public:
    // GoogleTest: each fault is also a non-fatal test failure. Collect: faults are only kept (for tests
    // that expect a fault).
    enum class Report { GoogleTest, Collect };

    // An observable array: its storage is the list; it must stay silent inside batches.
    explicit CollectionChangeTester(const std::shared_ptr<KivoObservableArray>& array, Report report = Report::GoogleTest);
    // A collection view: `items` is the list; after each announcement the current position must lie in
    // it and the bottom-level groups must hold exactly its items, in its order, with sibling groups in
    // the order of their first items.
    explicit CollectionChangeTester(const std::shared_ptr<KivoCollectionView>& view, Report report = Report::GoogleTest);
    ~CollectionChangeTester();
    CollectionChangeTester(const CollectionChangeTester&) = delete;
    CollectionChangeTester& operator=(const CollectionChangeTester&) = delete;

    // Checks between announcements: no delivery is still open, the live list equals the announced one
    // (a change made without announcement shows here), and a view's state is sound. Answers whether
    // no fault has been found so far.
    bool checkSettled();

    // The list as the announcements describe it.
    const plat::Array& announcedList() const { return _mirror; }
    int announcementCount() const { return _count; }
    const std::vector<std::string>& faults() const { return _faults; }

private:
    struct Subject;
    CollectionChangeTester(std::unique_ptr<Subject> subject, Report report);
    template <class Collection>
    static std::unique_ptr<Subject> subjectOf(const std::shared_ptr<Collection>& collection,
                                              std::optional<plat::Array> (*list)(Collection&));
    void attach();
    void enter(const std::shared_ptr<KivoEventContainer>& container);
    void leave();
    void apply(const KivoNotifyCollectionChangedEventArgs& args);
    void checkAfter(const char* what);
    void fault(std::string message);

    std::unique_ptr<Subject> _subject;
    Report _report;
    plat::Array _mirror;
    int _count = 0;
    int _delivering = 0;
    std::vector<std::string> _faults;
    std::shared_ptr<int> _owner = std::make_shared<int>(0);
    KivoEventBlock _enterBlock, _leaveBlock;
};

// Records every announcement of a collection as a line of text: "add [d]@3", "remove [b]@1",
// "replace [d]@-1 for [b]@1" (null lists read "nil"), "reset". Items show their descriptions.
class AnnouncementLog {
public:
    explicit AnnouncementLog(IKivoNotifyCollectionChanged& collection);
    // The lines since the last call.
    std::vector<std::string> take();

private:
    std::shared_ptr<std::vector<std::string>> _lines = std::make_shared<std::vector<std::string>>();
    std::shared_ptr<int> _owner = std::make_shared<int>(0);
};

// The items' descriptions joined by spaces: "a b c".
std::string describeItems(const plat::Array& items);

}  // namespace kivo::testing
