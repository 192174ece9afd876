// The display texts folded in advance and searched all at once: a hit counts only within one item's
// text and on whole characters, and agrees with searching each item on its own.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "autocomplete/ItemTexts.h"

namespace {

plat::Array named(const std::vector<const char*>& names) {
    plat::Array items;
    for (const char* name : names)
        items.push_back(name ? plat::Value(plat::Dictionary{{"name", name}}) : plat::Value(plat::Dictionary{}));
    return items;
}

}  // namespace

TEST(ItemTexts, HitsStayWithinOneItemAndAgreeWithSearchingEachItem) {
    for (const auto accents : {plat::TextFolder::Accents::Ignore, plat::TextFolder::Accents::Count}) {
        const plat::TextFolder folder(plat::Locale::withIdentifier("en_US"), accents);
        // "ab" + "cd" would meet across the first two; the third item has no name; "cafe" + accent.
        const auto items = named({"xab", "cdy", nullptr, "Cafe\u0301", "cafe", "", "ABCD", "d"});
        kivo::detail::ItemTexts texts;
        texts.rebuild(items, std::string("name"), folder);
        ASSERT_EQ(texts.size(), items.size());
        EXPECT_FALSE(texts.hasValue(2));
        EXPECT_EQ(*texts.text(2), "");
        EXPECT_EQ(&*texts.text(0), &*texts.text(0)) << "the same object on every call";

        for (const char* typed : {"bc", "abcd", "b", "cafe", "CAF\u00c9", "e", "d", "y", "", "\u0301"}) {
            const std::u16string pattern = folder.fold(typed);
            std::vector<std::uint64_t> each;
            for (std::size_t i = 0; i < texts.size(); ++i) {
                if (texts.hasValue(i) && folder.contains(texts.folded(i), pattern)) each.push_back(i);
            }
            EXPECT_EQ(texts.matching(pattern, folder), each) << "'" << typed << "' accents " << static_cast<int>(accents);
        }
    }
}

TEST(ItemTexts, WithoutAPathNoItemHasAText) {
    const plat::TextFolder folder(plat::Locale::withIdentifier("en_US"), plat::TextFolder::Accents::Ignore);
    kivo::detail::ItemTexts texts;
    texts.rebuild(named({"a", "b"}), std::nullopt, folder);
    EXPECT_TRUE(texts.matching(folder.fold("a"), folder).empty());
    EXPECT_TRUE(texts.matching(u"", folder).empty());
}
