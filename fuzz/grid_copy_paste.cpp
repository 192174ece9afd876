// Copy and paste between grids: items with any text, Boolean, number, date and integer, copied whole
// from one grid and pasted into a fresh grid of the same columns over default items. The fresh grid
// reads the pasteboard's text (it holds no copy of its own) and must then show every cell as the first
// grid does.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "Platform/ui/pasteboard.h"
#include "clipboard/TextRepair.h"
#include "fuzz_support.h"
#include "grid_scene.h"

namespace {

double number(fuzz::Reader& in) {
    std::uint8_t raw[sizeof(double)];
    for (auto& b : raw) b = in.byte();
    double value;
    std::memcpy(&value, raw, sizeof value);
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::prepareProcess();
    fuzz::Reader in(data, size);
    const int count = 1 + in.byte() % 4;
    std::vector<std::shared_ptr<fuzz::Record>> records, blanks;
    for (int i = 0; i < count; ++i) {
        auto r = std::make_shared<fuzz::Record>();
        r->flag = in.byte() & 1;
        r->amount = number(in);
        r->when = plat::Date(std::round(number(in)));
        r->count = static_cast<long>(static_cast<std::int32_t>(in.byte() << 24 | in.byte() << 16 | in.byte() << 8 | in.byte()));
        // Tabs and line breaks separate the copied cells and rows (the format has no quoting), and a
        // number column reads finite numbers only: those are outside what a round trip can keep.
        r->text = in.text('\x01', 40);
        std::replace_if(
            r->text.begin(), r->text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
        if (!std::isfinite(r->amount)) r->amount = 0;
        // A date far beyond the calendar's years shows no text, and an empty cell pastes as nothing.
        if (!(std::fabs(r->when.seconds) < 3e10)) r->when = plat::Date();
        records.push_back(r);
        blanks.push_back(std::make_shared<fuzz::Record>());
    }
    fuzz::GridScene source(records);
    source.select(0, 0, count - 1, fuzz::GridScene::Columns - 1);
    source.grid->copy(nullptr);
    const std::string copied = plat::Pasteboard::general().string().value_or("");

    fuzz::GridScene target(blanks);
    target.select(0, 0, 0, 0);
    target.grid->paste(nullptr);
    // The copy writes ill-formed UTF-8 as U+FFFD (the pasteboard carries well-formed text only).
    auto expected = source.texts();
    for (auto& text : expected) text = kivo::detail::wellFormedText(text);
    const auto actual = target.texts();
    for (std::size_t k = 0; k < expected.size(); ++k)
        if (expected[k] != actual[k])
            fuzz::fail("a pasted copy reads back equal", "cell " + std::to_string(k / fuzz::GridScene::Columns) + "," +
                                                             std::to_string(k % fuzz::GridScene::Columns) + ": \"" + expected[k] +
                                                             "\" became \"" + actual[k] + "\" through \"" + copied + "\"");
    return 0;
}
