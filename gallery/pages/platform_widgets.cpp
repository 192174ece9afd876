// The platform's widgets: a scroll view moved into its content with both indicators showing, a
// focused text field with part of its text selected, a table view with a selected row, a turned
// translucent view composited in one piece, a view revealed through a shape-layer mask, and a picker
// with a row chosen under a toolbar with Cancel and Done.

#include <iterator>
#include <memory>
#include <numbers>
#include <optional>
#include <string>

#include "Platform/ui/label.h"
#include "Platform/ui/picker_view.h"
#include "Platform/ui/scroll_view.h"
#include "Platform/ui/shape_layer.h"
#include "Platform/ui/table_view.h"
#include "Platform/ui/text_field.h"
#include "Platform/ui/toolbar.h"
#include "Platform/ui/window.h"
#include "caption.h"
#include "gallery_page.h"

namespace {

constexpr plat::Color CaptionColor{0.35, 0.35, 0.38};
constexpr plat::Color FrameColor{0.8, 0.8, 0.82};
constexpr double TileSize = 56;
constexpr double TileGap = 4;
constexpr int TileColumns = 8, TileRows = 9;

void outline(const plat::View& view) {
    view.layer()->setBorderColor(FrameColor);
    view.layer()->setBorderWidth(1);
}

// A grid of numbered tiles, larger than the view both ways, scrolled into its middle.
void addScrollView(plat::Window& window, const plat::Rect& frame) {
    auto scroll = plat::ScrollView::create(frame);
    scroll->setBackgroundColor(plat::Color::white());
    outline(*scroll);
    for (int row = 0; row < TileRows; ++row) {
        for (int column = 0; column < TileColumns; ++column) {
            const int n = row * TileColumns + column;
            auto tile = plat::Label::create(
                {TileGap + column * (TileSize + TileGap), TileGap + row * (TileSize + TileGap), TileSize, TileSize});
            const double hue = static_cast<double>(n % 12) / 12;
            tile->setBackgroundColor(plat::Color::fromHSB(hue, 0.35, 0.95));
            tile->setText(std::to_string(n + 1));
            tile->setTextAlignment(plat::TextAlignment::Center);
            tile->setFont(plat::Font::boldSystem(15));
            tile->setTextColor(plat::Color::white(0.25));
            scroll->addSubview(tile);
        }
    }
    scroll->setContentSize({TileGap + TileColumns * (TileSize + TileGap), TileGap + TileRows * (TileSize + TileGap)});
    scroll->setContentOffset({150, 170});
    window.addSubview(scroll);
    scroll->flashScrollIndicators();
}

void addTextField(plat::Window& window, const plat::Rect& frame) {
    auto field = plat::TextField::create(frame);
    field->setBorderStyle(plat::TextBorderStyle::RoundedRect);
    field->setFont(plat::Font::system(15));
    field->setClearButtonMode(plat::TextFieldViewMode::WhileEditing);
    field->setText("Ship to Rotterdam");
    window.addSubview(field);
    field->becomeFirstResponder();
    field->setSelectedRange({8, 9});  // "Rotterdam"

    auto empty = plat::TextField::create(frame.offsetBy(0, frame.height() + 10));
    empty->setBorderStyle(plat::TextBorderStyle::RoundedRect);
    empty->setFont(plat::Font::system(15));
    empty->setPlaceholder("Reference (optional)");
    window.addSubview(empty);
}

class Cities : public plat::TableViewDataSource {
public:
    std::int64_t numberOfRowsInSection(plat::TableView&, std::int64_t) override { return 12; }
    std::shared_ptr<plat::TableViewCell> cellForRowAtIndexPath(plat::TableView& table, const plat::IndexPath& ip) override {
        static const char* const names[] = {"Amsterdam", "Berlin",  "Copenhagen", "Dublin", "Edinburgh", "Florence",
                                            "Geneva",    "Hamburg", "Istanbul",   "Jena",   "Krakow",    "Lisbon"};
        static const char* const details[] = {"Netherlands", "Germany", "Denmark", "Ireland", "Scotland", "Italy",
                                              "Switzerland", "Germany", "Turkey",  "Germany", "Poland",   "Portugal"};
        auto cell = table.dequeueReusableCellWithIdentifier("city");
        if (!cell) cell = plat::TableViewCell::create(plat::TableViewCellStyle::Subtitle, "city");
        cell->textLabel()->setText(names[ip.row]);
        cell->detailTextLabel()->setText(details[ip.row]);
        cell->detailTextLabel()->setTextColor(plat::TableViewCell::DetailTextColor);
        return cell;
    }
};

void addTableView(plat::Window& window, const plat::Rect& frame) {
    static const auto source = std::make_shared<Cities>();
    auto table = plat::TableView::create(frame);
    outline(*table);
    table->setRowHeight(48);
    table->setDataSource(source);
    window.addSubview(table);
    table->selectRowAtIndexPath(plat::IndexPath{0, 1}, false, plat::TableViewScrollPosition::None);
    table->flashScrollIndicators();
}

constexpr double CardTurnDegrees = -12;
constexpr double CardAlpha = 0.5;
constexpr double RevealDegrees = 270;

// Bands of colour behind the translucent card, so that what shows through it can be seen.
void addBands(plat::Window& window, const plat::Rect& frame) {
    static const plat::Color bands[] = {plat::Color::rgb255(230, 57, 70), plat::Color::rgb255(241, 250, 238),
                                        plat::Color::rgb255(69, 123, 157), plat::Color::rgb255(29, 53, 87)};
    const double height = frame.height() / std::size(bands);
    for (std::size_t i = 0; i < std::size(bands); ++i) {
        auto band = plat::View::create({frame.x(), frame.y() + i * height, frame.width(), height});
        band->setBackgroundColor(bands[i]);
        window.addSubview(band);
    }
}

// A card at half alpha, turned: its two overlapping squares show no darker overlap, since the card
// is composited once.
void addTurnedCard(plat::Window& window, const plat::Rect& frame) {
    addBands(window, frame);
    auto card = plat::View::create(frame.insetBy(30, 24));
    card->setBackgroundColor(plat::Color::white());
    card->layer()->setCornerRadius(8);
    card->setClipsToBounds(true);
    auto first = plat::View::create({12, 12, 60, 60});
    first->setBackgroundColor(plat::Color::rgb255(255, 149, 0));
    auto second = plat::View::create({42, 24, 60, 60});
    second->setBackgroundColor(plat::Color::rgb255(0, 122, 255));
    auto label = plat::Label::create({108, 30, 40, 30});
    label->setText("½");
    label->setFont(plat::Font::boldSystem(24));
    card->addSubview(first);
    card->addSubview(second);
    card->addSubview(label);
    card->setAlpha(CardAlpha);
    card->setTransform(plat::AffineTransform::rotation(CardTurnDegrees * std::numbers::pi / 180));
    window.addSubview(card);
}

// Coloured tiles seen through a pie-shaped mask, as a load reveal shows a pie part way.
void addMaskedTiles(plat::Window& window, const plat::Rect& frame) {
    auto tiles = plat::View::create(frame);
    const double side = frame.width() / 4;
    for (int i = 0; i < 16; ++i) {
        auto tile = plat::View::create({(i % 4) * side, (i / 4) * side, side, side});
        tile->setBackgroundColor(plat::Color::fromHSB(i / 16.0, 0.55, 0.95));
        tiles->addSubview(tile);
    }
    auto reveal = plat::ShapeLayer::create();
    reveal->setFrame(tiles->bounds());
    const plat::Point centre = tiles->bounds().center();
    plat::Path sector;
    sector.moveTo(centre);
    sector.addArc(centre, frame.width() / 2, -std::numbers::pi / 2, (RevealDegrees - 90) * std::numbers::pi / 180);
    sector.close();
    reveal->setPath(sector);
    tiles->layer()->setMask(reveal);
    window.addSubview(tiles);
}

class Shipping : public plat::PickerViewDataSource, public plat::PickerViewDelegate {
public:
    std::int64_t numberOfComponentsInPickerView(plat::PickerView&) override { return 2; }
    std::int64_t numberOfRowsInComponent(plat::PickerView&, std::int64_t component) override {
        return component == 0 ? std::ssize(ports) : std::ssize(speeds);
    }
    std::optional<std::string> titleForRow(plat::PickerView&, std::int64_t row, std::int64_t component) override {
        return component == 0 ? ports[row] : speeds[row];
    }

private:
    static constexpr const char* ports[] = {"Antwerp", "Bremen", "Gdansk", "Le Havre", "Rotterdam", "Tallinn", "Valencia", "Zeebrugge"};
    static constexpr const char* speeds[] = {"Standard", "Express", "Overnight"};
};

// A picker with a chosen row in each component, under the toolbar that an input view wears.
void addPicker(plat::Window& window, const plat::Rect& frame) {
    static const auto shipping = std::make_shared<Shipping>();
    auto toolbar = plat::Toolbar::create({frame.x(), frame.y(), frame.width(), plat::Toolbar::DefaultHeight});
    toolbar->setItems({plat::BarButtonItem::create(plat::BarButtonSystemItem::Cancel),
                       plat::BarButtonItem::create(plat::BarButtonSystemItem::FlexibleSpace),
                       plat::BarButtonItem::create(plat::BarButtonSystemItem::Done)});
    auto picker = plat::PickerView::create(
        {frame.x(), frame.y() + plat::Toolbar::DefaultHeight, frame.width(), frame.height() - plat::Toolbar::DefaultHeight});
    outline(*picker);
    picker->setDataSource(shipping);
    picker->setDelegate(shipping);
    picker->selectRow(4, 0, false);
    picker->selectRow(1, 1, false);
    window.addSubview(toolbar);
    window.addSubview(picker);
}

void populate(plat::Window& window) {
    gallery::addCaption(window, {16, 8, 200, 14}, "scroll view, indicators showing", CaptionColor);
    addScrollView(window, {16, 26, 200, 200});
    gallery::addCaption(window, {236, 8, 200, 14}, "table view, second row selected", CaptionColor);
    addTableView(window, {236, 26, 200, 290});
    gallery::addCaption(window, {16, 238, 200, 14}, "text field, editing, a word selected", CaptionColor);
    addTextField(window, {16, 256, 200, 32});
    gallery::addCaption(window, {16, 338, 200, 14}, "turned view at half alpha", CaptionColor);
    addTurnedCard(window, {16, 356, 200, 150});
    gallery::addCaption(window, {236, 338, 200, 14}, "tiles through a mask layer", CaptionColor);
    addMaskedTiles(window, {261, 356, 150, 150});
    gallery::addCaption(window, {16, 522, 420, 14}, "picker view, a row chosen in each part, under a toolbar", CaptionColor);
    addPicker(window, {16, 540, 420, 44 + plat::PickerView::DefaultHeight});
}

const gallery::PageRegistrar registrar({
    .name = "platform_widgets",
    .description =
        "The platform layer's widgets: a scroll view with its indicators, a focused text field with a "
        "selection and its clear button (and an empty one with its placeholder), a table view of subtitle cells with a "
        "selected row, a turned view at half alpha whose overlapping squares composite once, and tiles revealed through "
        "a pie-shaped shape-layer mask, and a two-part picker with a row chosen in each under a toolbar with Cancel and "
        "Done.",
    .size = {452, 816},
    .populate = populate,
});

}  // namespace
