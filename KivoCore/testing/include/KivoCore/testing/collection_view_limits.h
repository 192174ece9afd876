#pragma once
// Lowers a collection view's limits for a test, so that reaching one takes a few calls instead of
// billions. Only this class can make the key that the view's setter asks for.

#include <cstdint>

#include "KivoCore/KivoCollectionView.h"

namespace kivo::testing {

class CollectionViewLimits {
public:
    // The number of batches that may be open at once (beginUpdate past it is logged and ignored).
    static void setBatchLimit(KivoCollectionView& view, std::int32_t limit) { view.setBatchLimit({}, limit); }
};

}  // namespace kivo::testing
