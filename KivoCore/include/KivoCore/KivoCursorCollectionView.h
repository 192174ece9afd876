#pragma once
// A collection view that loads further items on demand. The application's subclass supplies the item
// getter, which runs on a background queue, and says whether more items remain; the loaded items are
// added on the main run loop as one add, after which the caller's completion runs.

#include <functional>

#include "KivoCore/KivoCollectionView.h"
#include "KivoCore/KivoCoreExport.h"

class KIVO_CORE_EXPORT KivoCursorCollectionView : public KivoCollectionView {
public:
    // Calls itemGetter(argument) on the background-priority global queue; then, on the main queue,
    // adds what it returned (one add announcement, an empty one for no items) and calls `completion`
    // when one is given. A getter that throws is logged and adds nothing; the completion still runs.
    void loadMoreItems(const plat::Value& argument, std::function<void()> completion);

    // Runs on a background thread with the caller's argument: it must not touch the view.
    virtual plat::Array itemGetter(const plat::Value& argument) = 0;
    // Whether another load can bring items; asked on the main thread.
    virtual bool hasMoreItems() = 0;
};
