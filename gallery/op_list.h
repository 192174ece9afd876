#pragma once
// A page's drawing as text and as a short fingerprint: the recording context's operations written
// one a line (kinds, device geometry, colours, line styles, text with its fonts), every number at a
// fixed precision so that the last bits of floating-point arithmetic, which differ between compilers
// and optimisation levels, do not change it. Nothing that varies between runs (addresses, time)
// goes in. The fingerprint is a 64-bit FNV-1a hash of that text, written as 16 hex digits.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace plat {
struct DrawOp;
}

namespace gallery {

// Places after the decimal point that a number keeps in the text.
inline constexpr int OpListDecimals = 3;

// `value` to OpListDecimals places; "0.000" for a negative zero, "nan", "inf" or "-inf" when not finite.
std::string formatNumber(double value);

std::string serializeOps(const std::vector<plat::DrawOp>& ops);

std::uint64_t fnv1a64(std::string_view bytes);
// Lower-case, zero-padded to 16 digits.
std::string hashHex(std::uint64_t hash);

// Whether the formatting and hash above give their known answers on this build (empty), or what
// went wrong: a fingerprint check that silently changed meaning would accept any picture.
std::string opListSelfCheckProblem();

}  // namespace gallery
