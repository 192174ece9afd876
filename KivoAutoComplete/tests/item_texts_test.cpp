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

// Splicing the texts where items gave way to others leaves them as reading every item again would,
// kept texts keeping their objects.
TEST(ItemTexts, ASpliceAgreesWithReadingEveryItemAgain) {
    const plat::TextFolder folder(plat::Locale::withIdentifier("en_US"), plat::TextFolder::Accents::Ignore);
    struct Case {
        const char* name;
        std::size_t at, removed;
        std::vector<const char*> added;
    };
    const Case cases[] = {
        {"insert first", 0, 0, {"Zest"}},
        {"insert in the middle", 2, 0, {"Caf\u00e9", nullptr}},
        {"append", 5, 0, {"Lime", "Kiwi fruit"}},
        {"replace by a longer text", 1, 1, {"A much longer banana"}},
        {"replace by no text", 3, 1, {nullptr}},
        {"remove several", 1, 3, {}},
        {"remove the last", 4, 1, {}},
        {"beyond the items: nothing", 6, 0, {"Lost"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<const char*> names = {"Apple", "Banana", nullptr, "Cherry", "Mango"};
        plat::Array items = named(names);
        kivo::detail::ItemTexts texts;
        texts.rebuild(items, std::string("name"), folder);
        const plat::StringObject first = texts.text(0);
        const plat::Array added = named(c.added);
        texts.splice(c.at, c.removed, added, std::string("name"), folder);
        if (c.at <= items.size()) {
            items.erase(items.begin() + static_cast<std::ptrdiff_t>(c.at),
                        items.begin() + static_cast<std::ptrdiff_t>(c.at + c.removed));
            items.insert(items.begin() + static_cast<std::ptrdiff_t>(c.at), added.begin(), added.end());
        }
        kivo::detail::ItemTexts fresh;
        fresh.rebuild(items, std::string("name"), folder);
        ASSERT_EQ(texts.size(), fresh.size());
        for (std::size_t i = 0; i < fresh.size(); ++i) {
            EXPECT_EQ(*texts.text(i), *fresh.text(i)) << i;
            EXPECT_EQ(texts.hasValue(i), fresh.hasValue(i)) << i;
            EXPECT_EQ(texts.folded(i), fresh.folded(i)) << i;
        }
        if (c.at > 0) {
            EXPECT_TRUE(texts.text(0).isSameObject(first));
        }
        for (const char* typed : {"a", "an", "e", "cafe", "kiwi f"})
            EXPECT_EQ(texts.matching(folder.fold(typed), folder), fresh.matching(folder.fold(typed), folder)) << typed;
    }
}

// Many changes in a row, most of them replacing texts (whose old folded forms are dropped as they
// pile up), leave the texts as reading every item again would.
TEST(ItemTexts, ManySplicesInARowAgreeWithReadingEveryItemAgain) {
    const plat::TextFolder folder(plat::Locale::withIdentifier("en_US"), plat::TextFolder::Accents::Ignore);
    plat::Array items = named({"Apple", "Banana", "Cherry"});
    kivo::detail::ItemTexts texts;
    texts.rebuild(items, std::string("name"), folder);
    for (int i = 0; i < 600; ++i) {
        const std::string name = (i % 2 ? "Pear number " : "Plum ") + std::to_string(i);
        const plat::Array one = named({name.c_str()});
        const std::size_t at = static_cast<std::size_t>(i) % items.size();
        const std::size_t removed = i % 5 == 0 ? 0 : 1;
        texts.splice(at, removed, one, std::string("name"), folder);
        items.erase(items.begin() + static_cast<std::ptrdiff_t>(at), items.begin() + static_cast<std::ptrdiff_t>(at + removed));
        items.insert(items.begin() + static_cast<std::ptrdiff_t>(at), one.begin(), one.end());
    }
    kivo::detail::ItemTexts fresh;
    fresh.rebuild(items, std::string("name"), folder);
    ASSERT_EQ(texts.size(), fresh.size());
    for (std::size_t i = 0; i < fresh.size(); ++i) EXPECT_EQ(texts.folded(i), fresh.folded(i)) << i;
    for (const char* typed : {"pear", "plum 5", "9", "r n"})
        EXPECT_EQ(texts.matching(folder.fold(typed), folder), fresh.matching(folder.fold(typed), folder)) << typed;
}
