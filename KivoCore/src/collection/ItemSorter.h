#pragma once
// Sorting of a collection view's visible list. Each key is read once per item per sort (not at every
// comparison) into a compact cell, strings into collation keys, so a million items sort at close to
// the speed of sorting their bare values.
//
// The order: for each description in turn, an item without a value comes first (in both directions);
// two numbers compare naturally, two strings by the locale's case-insensitive collation, two dates
// chronologically, each reversed for a descending key; any other pair (different kinds, or other
// objects) leaves the decision to the next description. Such mixed keys need not form a consistent
// order, so the sort is a merge sort, which stays within bounds whatever its comparisons answer.

#include <memory>
#include <vector>

#include "KivoCore/KivoCollectionView.h"
#include "Platform/foundation/locale/locale.h"

namespace kivo::collection {

using SortDescriptionList = std::vector<std::shared_ptr<KivoSortDescription>>;

void sortItems(plat::Array& items, const SortDescriptionList& descriptions, const KivoCollectionView::SortConverter& converter,
               const plat::Locale& locale);

}  // namespace kivo::collection
