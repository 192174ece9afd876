#include "Platform/foundation/collator.h"

#include <unicode/coll.h>
#include <unicode/stringpiece.h>
#include <unicode/ucol.h>
#include <unicode/uniset.h>
#include <unicode/usetiter.h>

#include <algorithm>
#include <array>
#include <list>
#include <map>
#include <mutex>
#include <stdexcept>
#include <utility>

#include "foundation/collator_cache.h"
#include "locale/icu_bridge.h"

namespace plat {

struct Collator::Impl {
    std::unique_ptr<const icu::Collator> icu;
    // Rank of each ASCII character under this collator (0: ignorable), valid when `asciiFastPath`.
    std::array<unsigned char, 128> asciiRank{};
    bool asciiFastPath = false;
};

namespace {

using detail::toICU;

bool isAscii(std::string_view s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

bool isAllAscii(const icu::UnicodeString& s) {
    for (int32_t i = 0; i < s.length(); ++i)
        if (s.charAt(i) >= 0x80) return false;
    return true;
}

// Whether a set of contractions or expansions can take effect inside pure ASCII text: a single ASCII
// character, or a string made only of ASCII characters (the root collation's "l·" never can).
bool reachableFromAscii(const icu::UnicodeSet& set) {
    if (set.containsSome(0, 0x7F)) return true;
    icu::UnicodeSetIterator it(set);
    while (it.next())
        if (it.isString() && isAllAscii(it.getString())) return true;
    return false;
}

int sign(int v) { return (v > 0) - (v < 0); }

int compareAsciiByRank(const std::array<unsigned char, 128>& rank, std::string_view a, std::string_view b) {
    size_t i = 0, j = 0;
    while (true) {
        while (i < a.size() && rank[static_cast<unsigned char>(a[i])] == 0) ++i;
        while (j < b.size() && rank[static_cast<unsigned char>(b[j])] == 0) ++j;
        if (i == a.size() || j == b.size()) return (i < a.size()) - (j < b.size());
        int ra = rank[static_cast<unsigned char>(a[i++])], rb = rank[static_cast<unsigned char>(b[j++])];
        if (ra != rb) return ra < rb ? -1 : 1;
    }
}

// ASCII text can be ordered by a per-character table when the collator compares ASCII characters one
// by one: no contraction or expansion involves them, spaces and punctuation are not ignorable, digits
// are not read as numbers, and no two characters that are equal at the primary level differ at the
// collator's strength (else a later character could not outweigh an earlier difference). The table is
// then checked against ICU on a fixed set of strings; any disagreement turns the fast path off.
void buildAsciiTable(Collator::Impl& impl, const icu::Collator& coll, Collator::Strength strength) {
    if (strength == Collator::Strength::Tertiary) return;
    UErrorCode status = U_ZERO_ERROR;
    if (coll.getAttribute(UCOL_ALTERNATE_HANDLING, status) != UCOL_NON_IGNORABLE) return;
    if (coll.getAttribute(UCOL_NUMERIC_COLLATION, status) != UCOL_OFF || U_FAILURE(status)) return;
    const UCollator* ucoll = coll.toUCollator();
    if (!ucoll) return;
    icu::UnicodeSet contractions, expansions;
    ucol_getContractionsAndExpansions(ucoll, contractions.toUSet(), expansions.toUSet(), true, &status);
    if (U_FAILURE(status) || reachableFromAscii(contractions) || reachableFromAscii(expansions)) return;

    std::unique_ptr<icu::Collator> primary(coll.clone());
    if (!primary) return;
    primary->setStrength(icu::Collator::PRIMARY);

    std::array<icu::UnicodeString, 128> single;
    for (int c = 0; c < 128; ++c) single[c] = icu::UnicodeString(static_cast<UChar>(c));
    std::vector<int> order;
    const icu::UnicodeString empty;
    for (int c = 0; c < 128; ++c) {
        if (coll.compare(single[c], empty, status) == UCOL_EQUAL) continue;  // ignorable: rank 0
        order.push_back(c);
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return coll.compare(single[a], single[b], status) == UCOL_LESS; });
    if (U_FAILURE(status)) return;
    unsigned char rank = 0;
    for (size_t k = 0; k < order.size(); ++k) {
        if (k > 0) {
            bool sameHere = coll.compare(single[order[k - 1]], single[order[k]], status) == UCOL_EQUAL;
            bool samePrimary = primary->compare(single[order[k - 1]], single[order[k]], status) == UCOL_EQUAL;
            if (samePrimary != sameHere) return;
            if (sameHere) {
                impl.asciiRank[order[k]] = rank;
                continue;
            }
        }
        impl.asciiRank[order[k]] = ++rank;
    }
    if (U_FAILURE(status)) return;

    // The check: pseudo-random strings, with case and punctuation variants, against ICU itself.
    std::uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    const char* alphabet = "aAbBzZ09 -_.,'~^`\x01\t!@[]{}";
    const size_t alphabetSize = std::char_traits<char>::length(alphabet);
    for (int round = 0; round < 400; ++round) {
        std::string s[2];
        for (auto& str : s) {
            size_t len = next() % 6;
            for (size_t i = 0; i < len; ++i)
                str += (next() & 1) ? alphabet[next() % alphabetSize] : static_cast<char>(next() % 128);
        }
        int expect = sign(coll.compareUTF8(icu::StringPiece(s[0]), icu::StringPiece(s[1]), status));
        if (compareAsciiByRank(impl.asciiRank, s[0], s[1]) != expect || U_FAILURE(status)) return;
    }
    impl.asciiFastPath = true;
}

std::shared_ptr<const Collator::Impl> makeImpl(const Locale& locale, Collator::Strength strength) {
    UErrorCode status = U_ZERO_ERROR;
    // The locale's data name, not the identifier asked for: ICU remembers every name it loads
    // collation data for, and the data names are bounded while identifiers are not.
    std::unique_ptr<icu::Collator> coll(icu::Collator::createInstance(locale.impl().icu, status));
    if (U_FAILURE(status) || !coll) {
        status = U_ZERO_ERROR;
        coll.reset(icu::Collator::createInstance(icu::Locale::getRoot(), status));
        if (U_FAILURE(status) || !coll) throw std::runtime_error("plat::Collator: ICU has no collation data");
    }
    coll->setStrength(strength == Collator::Strength::Primary     ? icu::Collator::PRIMARY
                      : strength == Collator::Strength::Secondary ? icu::Collator::SECONDARY
                                                                  : icu::Collator::TERTIARY);
    auto impl = std::make_shared<Collator::Impl>();
    buildAsciiTable(*impl, *coll, strength);
    impl->icu = std::move(coll);
    return impl;
}

// Building a collator loads tailoring data and checks the ASCII table, so collators are shared by
// locale data and strength. Only the most recently used are kept: each holds an ICU collator, and an
// application that asks for many locales must not keep one for every locale it ever asked for.
struct CollatorCache {
    using Key = std::pair<std::string, Collator::Strength>;
    using Recent = std::list<std::pair<Key, std::shared_ptr<const Collator::Impl>>>;
    std::mutex mutex;
    Recent recent;  // most recent first
    std::map<Key, Recent::iterator> byKey;
};

CollatorCache& collatorCache() {
    static CollatorCache* c = new CollatorCache;  // never destroyed: collators may be used during static teardown
    return *c;
}

}  // namespace

namespace detail {

std::size_t collatorCacheSize() {
    auto& c = collatorCache();
    std::lock_guard lock(c.mutex);
    return c.recent.size();
}

}  // namespace detail

Collator::Collator(const Locale& locale, Strength strength) : _locale(locale), _strength(strength) {
    auto& c = collatorCache();
    CollatorCache::Key key{locale.impl().icu.getName(), strength};
    std::lock_guard lock(c.mutex);
    if (auto it = c.byKey.find(key); it != c.byKey.end()) {
        c.recent.splice(c.recent.begin(), c.recent, it->second);
        _impl = it->second->second;
        return;
    }
    _impl = makeImpl(locale, strength);
    c.recent.emplace_front(key, _impl);
    c.byKey.emplace(std::move(key), c.recent.begin());
    if (c.recent.size() > detail::MaxCachedCollators) {
        c.byKey.erase(c.recent.back().first);
        c.recent.pop_back();
    }
}

int Collator::compare(std::string_view a, std::string_view b) const {
    if (_impl->asciiFastPath && isAscii(a) && isAscii(b)) return compareAsciiByRank(_impl->asciiRank, a, b);
    UErrorCode status = U_ZERO_ERROR;
    auto r = _impl->icu->compareUTF8(icu::StringPiece(a.data(), static_cast<int32_t>(a.size())),
                                     icu::StringPiece(b.data(), static_cast<int32_t>(b.size())), status);
    return sign(r);
}

bool Collator::hasAsciiFastPath() const { return _impl->asciiFastPath; }

std::vector<std::string> Collator::sortKeys(std::span<const std::string_view> strings) const {
    std::vector<std::string> keys(strings.size());
    bool ascii = _impl->asciiFastPath && std::all_of(strings.begin(), strings.end(), isAscii);
    if (ascii) {
        const auto& rank = _impl->asciiRank;
        for (size_t i = 0; i < strings.size(); ++i) {
            std::string& key = keys[i];
            key.reserve(strings[i].size());
            for (unsigned char c : strings[i])
                if (unsigned char r = rank[c]) key.push_back(static_cast<char>(r));
        }
        return keys;
    }
    std::vector<uint8_t> buffer(64);
    for (size_t i = 0; i < strings.size(); ++i) {
        icu::UnicodeString u = toICU(strings[i]);
        int32_t n = _impl->icu->getSortKey(u, buffer.data(), static_cast<int32_t>(buffer.size()));
        if (n > static_cast<int32_t>(buffer.size())) {
            buffer.resize(static_cast<size_t>(n));
            n = _impl->icu->getSortKey(u, buffer.data(), n);
        }
        // Drop ICU's terminating zero: keys then order with a proper prefix first.
        if (n > 0) keys[i].assign(reinterpret_cast<const char*>(buffer.data()), static_cast<size_t>(n - 1));
    }
    return keys;
}

}  // namespace plat
