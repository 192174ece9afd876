#pragma once
// Parses an XML property list into a Value tree (dict → Dictionary, array → Array, string, integer,
// real, true, false), refusing anything else. Never loads a DTD, an external entity or anything over
// the network, and never expands entities.

#include <string>
#include <string_view>

#include "Platform/foundation/value.h"

namespace plat::detail {

struct PlistResult {
    Value value;        // nil on failure
    std::string error;  // what went wrong and where (line, element); empty on success
};

// `maxDepth` counts nested dicts and arrays.
PlistResult readPlist(std::string_view data, int maxDepth);

}  // namespace plat::detail
