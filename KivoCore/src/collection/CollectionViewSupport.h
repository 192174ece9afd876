#pragma once
// Small helpers shared by the collection view's sources.

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "KivoCore/KivoGroupDescription.h"
#include "KivoCore/KivoObservableArray.h"
#include "Platform/foundation/value.h"
#include "foundation/scoped_flag.h"

namespace kivo::detail {

// The first index of an equal item, or plat::NotFound.
size_t indexOfEqual(const plat::Array& list, const plat::Value& item);
// The first index of the very same item, or plat::NotFound.
size_t indexOfIdentical(const plat::Array& list, const plat::Value& item);

std::vector<std::shared_ptr<KivoGroupDescription>> groupDescriptionsOf(const KivoObservableArray& descriptions);

using plat::detail::ScopedFlag;

// "what" of a standard exception, or a word for any other.
std::string describeException(const std::exception_ptr& failure);

// A new default value of the same kind as `like`: an empty dictionary, array or string, zero, false,
// now, null. Model objects cannot be made without knowing their constructor: nil.
plat::Value defaultInstanceLike(const plat::Value& like);

}  // namespace kivo::detail
