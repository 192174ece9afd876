#pragma once
// The one loading flag of the process: a cursor view is asked for more items by one grid at a time.

namespace kivo::detail {

// True while a load runs, from its start to its completion.
bool gridIsLoadingMoreItems();

}  // namespace kivo::detail
