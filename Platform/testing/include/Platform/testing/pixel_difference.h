#pragma once
// Byte-for-byte comparison of two images, for tests that draw one scene two ways.

#include <string>

namespace plat {
class Image;
}

namespace plat::testing {

// The first pixel (row by row) at which the two images differ, with both raw values; "sizes differ"
// when they are not the same size; empty when every pixel agrees.
std::string firstPixelDifference(const Image& a, const Image& b);

}  // namespace plat::testing
