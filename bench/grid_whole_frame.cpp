// The grid's whole job over plain model objects, against the floor of the drawing stack under it.
// N rows (1,000 / 100,000 / 1,000,000) × 10 columns: three texts, four numbers shown "1,234.50"
// (en_US, right-aligned), two dates shown M/d/yy and a Boolean drawn as a check box; rows of 28 px in a
// 1024 × 768 grid at scale 1, DejaVu Sans 12 px, row headers numbering the rows, column headers and
// grid lines, no selection; the values repeat every 1,000 rows.
// - Whole_Setup/N: from the built items to the end of the first frame (view made, set, columns
//   made, one pass). Counters: bytes_per_row the grid and the view hold beyond the items, and
//   view_bytes_per_row, the view's share of it as made (a list of the view's items made by the binding
//   counts in the grid's share), and row_values_held, the entries of the row list held as values
//   rather than as a counting run (the blocks of the rows drawn).
// - Whole_JumpFrame/N: the frame after a jump from the top to the middle row.
// - Whole_PageDownFrame/N: the frame after a page down (each iteration one of 20 in a row).
// - Whole_SortFrame/N: sorting by Amount (flipping its direction) plus the next frame.
// - Floor_Frame/N: the same visible frame drawn by a plain loop on Cairo and Pango that formats every
//   value with the same formatters and lays each text out with one reused layout.
// - Floor_Setup/N: every item's reference read into a vector, plus one floor frame.
// Goals: the frames within the floor frame; setup at 1,000,000 within 4 × Floor_Setup.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <pango/pangocairo.h>

#include <chrono>
#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "KivoCore/KivoCollectionView.h"
#include "KivoCore/KivoNumberFormatter.h"
#include "KivoCore/KivoSortDescription.h"
#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "OmbriGrid/OmbriGridEventArgs.h"
#include "Platform/foundation/date.h"
#include "Platform/foundation/locale/date_formatter.h"
#include "Platform/foundation/locale/locale.h"
#include "Platform/foundation/locale/timezone.h"
#include "Platform/foundation/reflect.h"
#include "Platform/graphics/image_context.h"
#include "Platform/runtime/clock.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/ui/screen.h"
#include "Platform/ui/window.h"

namespace {

class SalesLine : public plat::Object {
public:
    PLAT_CLASS()
    std::string product, category, region;
    double price = 0, quantity = 0, amount = 0, discount = 0;
    plat::Date ordered, shipped;
    bool active = false;
};

}  // namespace

PLAT_DEFINE_CLASS(SalesLine, plat::Object, plat::property("product", &SalesLine::product),
                  plat::property("category", &SalesLine::category), plat::property("region", &SalesLine::region),
                  plat::property("price", &SalesLine::price), plat::property("quantity", &SalesLine::quantity),
                  plat::property("amount", &SalesLine::amount), plat::property("discount", &SalesLine::discount),
                  plat::property("ordered", &SalesLine::ordered), plat::property("shipped", &SalesLine::shipped),
                  plat::property("active", &SalesLine::active))

namespace {

using Clock = std::chrono::steady_clock;

constexpr double VirtualStart = 1704067200;  // 2024-01-01 00:00 UTC
constexpr long Period = 1000;
constexpr plat::Rect Screen{0, 0, 1024, 768};
constexpr double Widths[] = {120, 100, 100, 90, 80, 110, 80, 90, 90, 60};
constexpr const char* Properties[] = {"product", "category", "region",  "price",   "quantity",
                                      "amount",  "discount", "ordered", "shipped", "active"};
constexpr const char* Headers[] = {"Product", "Category", "Region",  "Price",   "Quantity",
                                   "Amount",  "Discount", "Ordered", "Shipped", "Active"};
constexpr int ColumnCount = 10;
enum class Kind { Text, Number, Date, Boolean };
constexpr Kind Kinds[] = {Kind::Text,   Kind::Text,   Kind::Text, Kind::Number, Kind::Number,
                          Kind::Number, Kind::Number, Kind::Date, Kind::Date,   Kind::Boolean};
constexpr double RowSize = 28;
const char* const FontFamily = "DejaVu Sans";
constexpr double FontSize = 12;

plat::Value line(long i) {
    const long k = i % Period;
    auto r = std::make_shared<SalesLine>();
    r->product = "Product " + std::to_string(k);
    r->category = "Category " + std::to_string(k % 12);
    r->region = "Region " + std::to_string(k % 7);
    r->price = static_cast<double>(k % 97) * 10.5 + 0.99;
    r->quantity = static_cast<double>(k % 50 + 1);
    r->amount = r->price * r->quantity;
    r->discount = static_cast<double>(k % 20) * 1.25;
    r->ordered = plat::Date(VirtualStart + static_cast<double>(k) * 86400);
    r->shipped = plat::Date(VirtualStart + static_cast<double>(k + 3) * 86400);
    r->active = k % 3 != 0;
    return plat::Value(std::move(r));
}

const plat::ArrayPtr& items(long n) {
    static std::map<long, plat::ArrayPtr> made;
    auto& slot = made[n];
    if (!slot) {
        slot = std::make_shared<plat::Array>();
        slot->reserve(static_cast<std::size_t>(n));
        for (long i = 0; i < n; ++i) slot->push_back(line(i));
    }
    return slot;
}

std::shared_ptr<plat::DateFormatter> dateFormatter() {
    auto f = std::make_shared<plat::DateFormatter>(plat::Locale::withIdentifier("en_US"), plat::TimeZone::utc());
    f->setDateFormat("M/d/yy");
    return f;
}

std::size_t heapInUse() {
    const auto info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// The screen the frames are for: scale 1, as the target image is. Left at the default scale 2, every
// cell image would be made at twice the target's resolution and scaled down as it is drawn.
struct ScreenAtScaleOne {
    ScreenAtScaleOne() {
        plat::Screen::main().setBounds(Screen);
        plat::Screen::main().setScale(1);
    }
    ~ScreenAtScaleOne() { plat::Screen::main().reset(); }
    ScreenAtScaleOne(const ScreenAtScaleOne&) = delete;
    ScreenAtScaleOne& operator=(const ScreenAtScaleOne&) = delete;
};

// The grid as an application sets it up, drawn once.
struct Job {
    ScreenAtScaleOne screen;
    std::shared_ptr<plat::Window> window = plat::Window::create(Screen);
    std::shared_ptr<OmbriGrid> grid = OmbriGrid::create(Screen);
    std::shared_ptr<KivoCollectionView> view;
    plat::ImageContext& image;
    std::shared_ptr<int> token = std::make_shared<int>();
    std::size_t viewBytes = 0;

    Job(const plat::ArrayPtr& source, plat::ImageContext& target) : image(target) {
        const std::size_t before = heapInUse();
        // The view as the grid leaves it: what the binding reads of it is made by the binding, not here.
        view = KivoCollectionView::create(source);
        viewBytes = heapInUse() - before;
        const plat::Font font(FontFamily, FontSize);
        grid->setFont(font);
        grid->setColumnHeaderFont(font);
        grid->setRowHeaderFont(font);
        grid->setSelectionMode(GridSelectionModeNone);
        grid->setHeadersVisibility(GridHeadersVisibilityAll);
        grid->setGridLinesVisibility(GridLinesVisibilityAll);
        grid->setAutoGenerateColumns(false);
        const auto dates = dateFormatter();
        for (int c = 0; c < ColumnCount; ++c) {
            auto column = std::make_shared<GridColumn>();
            column->setBinding(std::string(Properties[c]));
            column->setHeader(std::string(Headers[c]));
            column->setWidth(Widths[c]);
            if (Kinds[c] == Kind::Number) column->setFormat(std::string("n2"));
            if (Kinds[c] == Kind::Date) column->setFormatter(dates);
            grid->columns()->insertObject(plat::Value(column), static_cast<std::size_t>(c));
        }
        // Row numbers in the row headers, drawn as an application would.
        grid->ombriGridFormatItem()->addHandler(
            [this](const std::shared_ptr<KivoEventContainer>& e) {
                const auto args = e->args<GridFormatItemEventArgs>();
                if (args->panel()->cellType() != GridCellTypeRowHeader) return;
                const plat::Rect rect = args->panel()->getCellRect(args->row(), args->col()).insetBy(4, 0);
                plat::TextOptions options;
                options.alignment = plat::TextAlignment::Right;
                const plat::AttributedString text(std::to_string(args->row() + 1), plat::Font(FontFamily, FontSize),
                                                  plat::Color::black());
                const double height = plat::measureText(text).height;
                args->context()->drawText(text, {rect.x(), rect.y() + (rect.height() - height) / 2, rect.width(), height},
                                          options);
                args->setCancel(true);
            },
            token);
        grid->setCollectionView(view);
        window->addSubview(grid);
        window->display(image.context());
    }
    ~Job() {
        window.reset();
        plat::RunLoop::main().discardPendingWork();
    }
    Job(const Job&) = delete;
    Job& operator=(const Job&) = delete;

    void frame() { window->display(image.context()); }
    double middle() const { return grid->rows()->totalSize() / 2.0; }
    void scrollTo(double y) {
        grid->setScrollPosition({0, y});
        frame();
    }
};

struct VirtualClock {
    VirtualClock() { plat::Clock::useVirtual(plat::Date(VirtualStart)); }
    ~VirtualClock() { plat::Clock::useSystem(); }
};

double seconds(Clock::time_point from, Clock::time_point to) { return std::chrono::duration<double>(to - from).count(); }

void Whole_Setup(benchmark::State& state) {
    const VirtualClock clock;
    const long n = state.range(0);
    const auto& source = items(n);
    plat::ImageContext image(Screen.size, 1, true);
    double bytes = 0, viewBytes = 0, held = 0;
    for (auto _ : state) {
        const std::size_t before = heapInUse();
        auto job = std::make_unique<Job>(source, image);
        state.PauseTiming();
        bytes = static_cast<double>(heapInUse() - before);
        viewBytes = static_cast<double>(job->viewBytes);
        held = static_cast<double>(job->grid->rows()->sourceArray().heldValueCount());
        job.reset();
        state.ResumeTiming();
    }
    state.counters["bytes_per_row"] = bytes / static_cast<double>(n);
    state.counters["view_bytes_per_row"] = viewBytes / static_cast<double>(n);
    state.counters["row_values_held"] = held;
}

void Whole_JumpFrame(benchmark::State& state) {
    const VirtualClock clock;
    plat::ImageContext image(Screen.size, 1, true);
    Job job(items(state.range(0)), image);
    for (auto _ : state) {
        job.grid->invalidate();
        job.scrollTo(0);
        const auto start = Clock::now();
        job.scrollTo(job.middle());
        state.SetIterationTime(seconds(start, Clock::now()));
    }
}

void Whole_PageDownFrame(benchmark::State& state) {
    const VirtualClock clock;
    plat::ImageContext image(Screen.size, 1, true);
    Job job(items(state.range(0)), image);
    const double page = job.grid->clientRect().height() - job.grid->offset().y;
    int step = 0;
    for (auto _ : state) {
        if (step++ % 20 == 0) {
            job.grid->invalidate();
            job.scrollTo(0);
        }
        const auto start = Clock::now();
        job.scrollTo(job.grid->scrollPosition().y + page);
        state.SetIterationTime(seconds(start, Clock::now()));
    }
}

void Whole_SortFrame(benchmark::State& state) {
    const VirtualClock clock;
    plat::ImageContext image(Screen.size, 1, true);
    Job job(items(state.range(0)), image);
    const auto sorts = job.view->sortDescriptions();
    bool ascending = true;
    for (auto _ : state) {
        sorts->removeAllObjects();
        sorts->addObject(plat::Value(std::make_shared<KivoSortDescription>("amount", ascending)));
        job.frame();
        ascending = !ascending;
    }
}

// ---- the floor ----

struct FloorFrame {
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, static_cast<int>(Screen.width()), static_cast<int>(Screen.height()));
    cairo_t* cr = cairo_create(surface);
    PangoLayout* layout = pango_cairo_create_layout(cr);
    std::shared_ptr<plat::DateFormatter> dates = dateFormatter();

    FloorFrame() {
        PangoFontDescription* font = pango_font_description_new();
        pango_font_description_set_family(font, FontFamily);
        pango_font_description_set_absolute_size(font, FontSize * PANGO_SCALE);
        pango_layout_set_font_description(layout, font);
        pango_font_description_free(font);
    }
    ~FloorFrame() {
        g_object_unref(layout);
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
    }
    FloorFrame(const FloorFrame&) = delete;
    FloorFrame& operator=(const FloorFrame&) = delete;

    void text(const std::string& s, double x, double y, double width, bool right) {
        pango_layout_set_text(layout, s.data(), static_cast<int>(s.size()));
        int w = 0, h = 0;
        pango_layout_get_pixel_size(layout, &w, &h);
        cairo_move_to(cr, right ? x + width - 4 - w : x + 4, y + (RowSize - h) / 2);
        pango_cairo_show_layout(cr, layout);
    }

    // The rows from `first` on that fill the screen, with their headers.
    void draw(const plat::Array& rows, long first) {
        const double headerWidth = 50, headerHeight = RowSize;
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
        const long visible = static_cast<long>(std::ceil((Screen.height() - headerHeight) / RowSize));
        cairo_set_line_width(cr, 1);
        // Headers.
        cairo_set_source_rgb(cr, 0.93, 0.93, 0.93);
        cairo_rectangle(cr, 0, 0, Screen.width(), headerHeight);
        cairo_rectangle(cr, 0, headerHeight, headerWidth, Screen.height() - headerHeight);
        cairo_fill(cr);
        cairo_set_source_rgb(cr, 0, 0, 0);
        double x = headerWidth;
        for (int c = 0; c < ColumnCount; ++c) {
            text(Headers[c], x, 0, Widths[c], false);
            x += Widths[c];
        }
        for (long r = 0; r < visible && first + r < static_cast<long>(rows.size()); ++r) {
            const double y = headerHeight + static_cast<double>(r) * RowSize;
            text(std::to_string(first + r + 1), 0, y, headerWidth, true);
            const auto* item = static_cast<const SalesLine*>(rows[static_cast<std::size_t>(first + r)].asObject().get());
            const double numbers[] = {item->price, item->quantity, item->amount, item->discount};
            x = headerWidth;
            for (int c = 0; c < ColumnCount; ++c) {
                switch (Kinds[c]) {
                    case Kind::Text:
                        text(c == 0 ? item->product : c == 1 ? item->category : item->region, x, y, Widths[c], false);
                        break;
                    case Kind::Number:
                        text(KivoNumberFormatter::numberToStringWithParameters(plat::Value(numbers[c - 3]), "n2").value_or(""), x,
                             y, Widths[c], true);
                        break;
                    case Kind::Date:
                        text(dates->stringForObjectValue(plat::Value(c == 7 ? item->ordered : item->shipped)).value_or(""), x, y,
                             Widths[c], false);
                        break;
                    case Kind::Boolean: {
                        const double side = 14, bx = x + (Widths[c] - side) / 2, by = y + (RowSize - side) / 2;
                        cairo_rectangle(cr, bx + 0.5, by + 0.5, side - 1, side - 1);
                        cairo_stroke(cr);
                        if (item->active) {
                            cairo_move_to(cr, bx + 3, by + 7);
                            cairo_line_to(cr, bx + 6, by + 10);
                            cairo_line_to(cr, bx + 11, by + 4);
                            cairo_stroke(cr);
                        }
                        break;
                    }
                }
                x += Widths[c];
            }
        }
        // Grid lines.
        cairo_set_source_rgb(cr, 0.8, 0.8, 0.8);
        for (long r = 0; r <= visible; ++r) {
            const double y = headerHeight + static_cast<double>(r) * RowSize + 0.5;
            cairo_move_to(cr, 0, y);
            cairo_line_to(cr, Screen.width(), y);
        }
        x = headerWidth;
        for (int c = 0; c <= ColumnCount; ++c) {
            cairo_move_to(cr, x + 0.5, 0);
            cairo_line_to(cr, x + 0.5, Screen.height());
            if (c < ColumnCount) x += Widths[c];
        }
        cairo_stroke(cr);
        cairo_surface_flush(surface);
    }
};

void Floor_Frame(benchmark::State& state) {
    const long n = state.range(0);
    const auto& rows = *items(n);
    FloorFrame floor;
    long first = 0;
    for (auto _ : state) {
        floor.draw(rows, first);
        first = (first + 27) % (n - 27);
    }
}

void Floor_Setup(benchmark::State& state) {
    const long n = state.range(0);
    const auto& rows = *items(n);
    FloorFrame floor;
    for (auto _ : state) {
        std::vector<const SalesLine*> refs;
        refs.reserve(rows.size());
        for (const auto& v : rows) refs.push_back(static_cast<const SalesLine*>(v.asObject().get()));
        benchmark::DoNotOptimize(refs.data());
        floor.draw(rows, 0);
    }
}

}  // namespace

BENCHMARK(Whole_Setup)->Arg(1000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(Whole_JumpFrame)->Arg(1000)->Arg(100'000)->Arg(1'000'000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(Whole_PageDownFrame)
    ->Arg(1000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Iterations(20)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Whole_SortFrame)->Arg(1000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(Floor_Frame)->Arg(1000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(Floor_Setup)->Arg(1000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
