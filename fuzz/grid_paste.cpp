// Pasting arbitrary bytes into the grid, in each flavour a pasteboard may hold them (plain text, the
// web-archive property list, Base64 text, HTML), at a selection the input picks. A paste never adds a
// row, and every cell outside the area the paste may fill keeps its text.
#include <algorithm>

#include "Platform/foundation/base64.h"
#include "Platform/ui/pasteboard.h"
#include "clipboard/ClipboardPayload.h"
#include "fuzz_support.h"
#include "grid_scene.h"

namespace {

std::vector<std::shared_ptr<fuzz::Record>> records() {
    std::vector<std::shared_ptr<fuzz::Record>> made;
    for (int i = 0; i < 6; ++i) {
        auto r = std::make_shared<fuzz::Record>();
        r->text = "row " + std::to_string(i);
        r->flag = i % 2;
        r->amount = 1.5 * i;
        r->when = plat::Date(1709251200.0 + 86400.0 * i);
        r->count = i * 10;
        made.push_back(r);
    }
    return made;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::prepareProcess();
    fuzz::Reader in(data, size);
    const std::uint8_t flavour = in.byte();
    const int row = in.byte() % 7 - 1, col = in.byte() % 6 - 1;  // -1: outside the grid
    const int row2 = in.byte() % 7 - 1, col2 = in.byte() % 6 - 1;
    const std::string bytes = in.rest();

    fuzz::GridScene scene(records());
    const int rowsBefore = scene.rows();
    const auto before = scene.texts();
    auto& pasteboard = plat::Pasteboard::general();
    switch (flavour % 4) {
        case 0:
            pasteboard.setString(bytes);
            break;
        case 1:
            pasteboard.setValue(plat::Value(kivo::detail::webArchive(bytes)), kivo::detail::WebArchivePasteboardType);
            break;
        case 2:
            pasteboard.setString(plat::base64Encode(bytes));
            break;
        default:
            pasteboard.setValue(plat::Value(bytes), "public.html");
            break;
    }
    const std::string pasted = pasteboard.string().value_or("");
    const auto block = kivo::detail::splitPastedText(pasted);
    scene.select(row, col, row2, col2);
    scene.grid->paste(nullptr);

    if (scene.rows() != rowsBefore) fuzz::fail("a paste adds no row", "\"" + pasted + "\"");
    // The area a paste may fill: the block at the selection's top-left, or the whole selection it tiles.
    std::size_t width = 0;
    for (const auto& line : block) width = std::max(width, line.size());
    const int top = std::min(row, row2), left = std::min(col, col2);
    const int bottom = std::max({row, row2, top + static_cast<int>(block.size()) - 1});
    const int right = std::max({col, col2, left + static_cast<int>(width) - 1});
    const auto after = scene.texts();
    for (int r = 0; r < rowsBefore; ++r)
        for (int c = 0; c < fuzz::GridScene::Columns; ++c) {
            const std::size_t k = static_cast<std::size_t>(r * fuzz::GridScene::Columns + c);
            const bool inside = r >= top && r <= bottom && c >= left && c <= right;
            if (!inside && before[k] != after[k])
                fuzz::fail("a paste changes nothing outside its area", "cell " + std::to_string(r) + "," + std::to_string(c) +
                                                                           " \"" + before[k] + "\" -> \"" + after[k] +
                                                                           "\" pasting \"" + pasted + "\"");
        }
    return 0;
}
