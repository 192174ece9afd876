#include "KivoCore/KivoCursorCollectionView.h"

#include <exception>
#include <optional>

#include "Platform/foundation/log.h"
#include "Platform/runtime/dispatch.h"

void KivoCursorCollectionView::loadMoreItems(const plat::Value& argument, std::function<void()> completion) {
    namespace dispatch = plat::dispatch;
    auto self = std::static_pointer_cast<KivoCursorCollectionView>(shared_from_this());
    dispatch::async(dispatch::Queue::global(dispatch::Priority::Background),
                    [self = std::move(self), argument, completion = std::move(completion)]() mutable {
                        std::optional<plat::Array> items;
                        try {
                            items = self->itemGetter(argument);
                        } catch (const std::exception& e) {
                            plat::log(std::string("KivoCursorCollectionView itemGetter failed: ") + e.what());
                        } catch (...) {
                            plat::log("KivoCursorCollectionView itemGetter failed with an exception of an unknown type");
                        }
                        // The view travels on to the main queue, so its last reference is never
                        // dropped on this worker.
                        dispatch::async(dispatch::Queue::main(),
                                        [self = std::move(self), items = std::move(items), completion = std::move(completion)] {
                                            if (items) self->addObjects(*items);
                                            if (completion) completion();
                                        });
                    });
}
