#pragma once
// Sorting of a collection view's visible list. Each key is read once per item per sort (not at every
// comparison) into a compact cell, strings into collation keys, so a million items sort at close to
// the speed of sorting their bare values.
//
// The order: for each description in turn, an item without a value comes first (in both directions);
// two numbers compare naturally, two strings by the locale's case-insensitive collation, two dates
// chronologically, each reversed for a descending key; any other pair (different kinds, or other
// objects) leaves the decision to the next description. Such mixed keys need not form a consistent
// order, so the sort is a merge sort, which stays within bounds whatever its comparisons answer. A
// single key of numbers (or of dates) sorts by radix instead. Both are stable.

#include <memory>
#include <vector>

#include "KivoCore/KivoCollectionView.h"
#include "Platform/foundation/locale/locale.h"
#include "collection/VisibleList.h"

namespace kivo::detail {

using SortDescriptionList = std::vector<std::shared_ptr<KivoSortDescription>>;

// The items to sort: a list, or the part of it that a filter kept (positions in the list).
struct ItemList {
    const plat::Array& list;
    const std::vector<std::uint32_t>* subset = nullptr;

    size_t size() const { return subset ? subset->size() : list.size(); }
    // Checked, so that a list shortened behind the view's back reads nil rather than past its end.
    const plat::Value& operator[](size_t i) const {
        static const plat::Value nil;
        size_t j = subset ? (*subset)[i] : i;
        return j < list.size() ? list[j] : nil;
    }
};

// The sorted order of the items: order[k] is the position (in `items`) of the k-th item. After each
// run of the application's code (a getter, the converter) `guard`, when given, checks the list.
std::vector<std::uint32_t> sortOrder(const ItemList& items, const SortDescriptionList& descriptions,
                                     const KivoCollectionView::SortConverter& converter, const plat::Locale& locale,
                                     const BaseGuard* guard = nullptr);

}  // namespace kivo::detail
