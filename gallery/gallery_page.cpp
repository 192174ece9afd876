#include "gallery_page.h"

#include <utility>

namespace gallery {

namespace {
// Reached from static initialisers in other files, so built on first use.
std::vector<Page>& pageStore() {
    static std::vector<Page> pages;
    return pages;
}
}  // namespace

const std::vector<Page>& registeredPages() { return pageStore(); }

PageRegistrar::PageRegistrar(Page page) { pageStore().push_back(std::move(page)); }

}  // namespace gallery
