// The combo box: its display list from the items, the selection shown as index, item, value and
// text with its reports, type-ahead from the keyboard, the list's rows under a sorted or filtered
// view, and the rows the application supplies.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "KivoComboBox/KivoComboBox.h"
#include "KivoCore/KivoSortDescription.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/testing/font_attribute_cases.h"
#include "Platform/testing/keys.h"
#include "Platform/testing/touches.h"
#include "Platform/ui/label.h"
#include "counted_item.h"
#include "input_window_fixture.h"
#include "keep_alive.h"

namespace {

// Items with a "name" (the display text) and an "id"; a null name leaves the key out.
plat::ArrayPtr fruit(const std::vector<const char*>& names) {
    auto items = std::make_shared<plat::Array>();
    int id = 0;
    for (const char* name : names) {
        plat::Dictionary item{{"id", "f" + std::to_string(id++)}};
        if (name) item["name"] = name;
        items->push_back(plat::Value(std::move(item)));
    }
    return items;
}

class ComboBoxTest : public InputWindowTest {
protected:
    // A combo box in the window listing `names`, whose reports are logged.
    std::shared_ptr<KivoComboBox> makeCombo(const std::vector<const char*>& names, bool withPath = true) {
        auto combo = KivoComboBox::create({20, 100, 200, 30});
        if (withPath) combo->setDisplayMemberPath(std::string("name"));
        combo->setItemsSource(fruit(names));
        recordReports(combo);
        return place(combo);
    }
    void recordReports(const std::shared_ptr<KivoComboBox>& combo) {
        record(combo->selectedIndexChanged(), "index", combo);
        record(combo->textChanged(), "text", combo);
    }
    // Types into the combo box's field as a keyboard would.
    plat::testing::Keys keys(const std::shared_ptr<KivoComboBox>& combo) {
        combo->headerTextField()->becomeFirstResponder();
        return plat::testing::Keys(window);
    }
    static std::vector<std::string> rows(const KivoComboBox& combo) { return *combo.tableView()->itemsSource(); }
    static std::string nameOf(const plat::Value& item) {
        return item.isDictionary() && item.asDictionary()->count("name") ? item.asDictionary()->at("name").asString() : "";
    }
    static plat::TextRange selection(const KivoComboBox& combo) { return combo.headerTextField()->selectedRange(); }
};

TEST_F(ComboBoxTest, AnIndexSetBeforeTheItemsIsReportedAndShowsItsTextOnceTheyArrive) {
    auto combo = KivoComboBox::create({20, 100, 200, 30});
    recordReports(combo);
    combo->setSelectedIndex(2);
    EXPECT_EQ(log, std::vector<std::string>{"index"});
    EXPECT_EQ(combo->text(), "");

    combo->setDisplayMemberPath(std::string("name"));
    combo->setItemsSource(fruit({"Apple", "Banana", "Cherry"}));
    EXPECT_EQ(combo->text(), "Cherry");
    EXPECT_EQ(combo->headerTextField()->text(), "Cherry");
    EXPECT_EQ(nameOf(combo->selectedItem()), "Cherry");
    EXPECT_EQ(log, (std::vector<std::string>{"index", "text"}));
}

TEST_F(ComboBoxTest, SelectingAnIndexReportsTheTextBeforeTheIndexAndShowsItFourWays) {
    auto combo = makeCombo({"Apple", "Banana", "Cherry"});
    combo->setSelectedValuePath(std::string("id"));
    combo->setSelectedIndex(1);
    EXPECT_EQ(log, (std::vector<std::string>{"text", "index"}));
    EXPECT_EQ(combo->text(), "Banana");
    EXPECT_EQ(nameOf(combo->selectedItem()), "Banana");
    EXPECT_EQ(combo->selectedValue(), plat::Value("f1"));

    log.clear();
    combo->setSelectedIndex(1);
    EXPECT_TRUE(log.empty());

    // An index beyond the items (or with a negative low half) clears the selection.
    for (std::uint64_t bad : {std::uint64_t{3}, std::uint64_t{0x1FFFFFFFFull}, KivoComboBox::NoSelection}) {
        combo->setSelectedIndex(1);
        log.clear();
        combo->setSelectedIndex(bad);
        EXPECT_EQ(combo->text(), "") << bad;
        EXPECT_TRUE(combo->selectedItem().isNil());
        EXPECT_TRUE(combo->selectedValue().isNil());
        EXPECT_EQ(log, (std::vector<std::string>{"text", "index"})) << bad;
    }
    // The two values of "none" differ, so moving between them is a change.
    log.clear();
    combo->setSelectedIndex(KivoComboBox::NotFound);
    EXPECT_EQ(log, std::vector<std::string>{"index"});
}

TEST_F(ComboBoxTest, TextAndValueSelectTheFirstMatchingItemAndAnUnknownTextKeepsTheIndex) {
    auto combo = makeCombo({"Apple", "Pear", "Apple", "Plum"});
    combo->setSelectedIndex(2);
    // The text lookup lands on the first "Apple".
    EXPECT_EQ(combo->selectedIndex(), 0u);

    combo->setText("Plum");
    EXPECT_EQ(combo->selectedIndex(), 3u);
    // An unknown text keeps the index, whose item's text then shows again.
    combo->setText("Quince");
    EXPECT_EQ(combo->selectedIndex(), 3u);
    EXPECT_EQ(combo->text(), "Plum");

    combo->setSelectedValuePath(std::string("id"));
    log.clear();
    combo->setSelectedValue(plat::Value("f1"));
    EXPECT_EQ(combo->selectedIndex(), 1u);
    EXPECT_EQ(combo->text(), "Pear");
    EXPECT_EQ(log, std::vector<std::string>{"text"});  // the index moves without its report

    combo->setSelectedItem((*combo->itemsSource())[3]);
    EXPECT_EQ(combo->selectedIndex(), 3u);
    EXPECT_EQ(combo->selectedValue(), plat::Value("f3"));
    combo->setSelectedItem(plat::Value("not an item"));
    EXPECT_EQ(combo->selectedIndex(), 3u);
    EXPECT_EQ(combo->selectedItem(), plat::Value("not an item"));
}

TEST_F(ComboBoxTest, TheFirstUnmatchedKeystrokeTurnsNoneIntoNotFoundOnce) {
    auto combo = makeCombo({"Apple", "Apricot"});
    auto typing = keys(combo);
    typing.type("z");
    EXPECT_EQ(combo->selectedIndex(), KivoComboBox::NotFound);
    EXPECT_EQ(combo->text(), "z");
    EXPECT_EQ(log, (std::vector<std::string>{"index", "text"}));
    typing.type("q");
    EXPECT_EQ(combo->headerTextField()->text(), "zq");
    EXPECT_EQ(log, (std::vector<std::string>{"index", "text", "text"}));
}

TEST_F(ComboBoxTest, TypeAheadCompletesToTheFirstItemAndSelectsTheCompletedTail) {
    auto combo = makeCombo({"Apple", "Apricot", "Banana"});
    auto typing = keys(combo);
    typing.type("a");
    EXPECT_EQ(combo->headerTextField()->text(), "Apple");
    EXPECT_EQ(selection(*combo), (plat::TextRange{1, 4}));
    typing.type("p");
    EXPECT_EQ(combo->headerTextField()->text(), "Apple");
    EXPECT_EQ(selection(*combo), (plat::TextRange{2, 3}));
    EXPECT_EQ(combo->selectedIndex(), 0u);
    EXPECT_EQ(combo->text(), "Apple");

    typing.type("r");
    EXPECT_EQ(combo->headerTextField()->text(), "Apricot");
    EXPECT_EQ(selection(*combo), (plat::TextRange{3, 4}));
    EXPECT_EQ(combo->selectedIndex(), 1u);

    // Backspace takes the completed tail away and does not complete again.
    typing.backspace();
    EXPECT_EQ(combo->headerTextField()->text(), "Apr");
    EXPECT_EQ(combo->text(), "Apr");
    EXPECT_EQ(combo->selectedIndex(), KivoComboBox::NotFound);
}

TEST_F(ComboBoxTest, WithoutAutoCompleteOnlyAWholeTextInAnyCaseSelects) {
    auto combo = makeCombo({"Apple", "Apricot"});
    combo->setAutoComplete(false);
    auto typing = keys(combo);
    typing.type("appl");
    EXPECT_EQ(combo->headerTextField()->text(), "appl");
    EXPECT_EQ(combo->selectedIndex(), KivoComboBox::NotFound);
    typing.type("E");
    EXPECT_EQ(combo->headerTextField()->text(), "Apple");
    EXPECT_EQ(combo->selectedIndex(), 0u);
}

TEST_F(ComboBoxTest, TypeAheadIgnoresCaseBeyondAsciiButNotAccents) {
    auto combo = makeCombo({"Été", "Ärger", "Öl"});
    auto typing = keys(combo);
    typing.type("ä");
    EXPECT_EQ(combo->headerTextField()->text(), "Ärger");
    EXPECT_EQ(selection(*combo), (plat::TextRange{1, 4}));
    combo->headerTextField()->selectAll();
    typing.type("e");
    EXPECT_EQ(combo->headerTextField()->text(), "e");
    EXPECT_EQ(combo->selectedIndex(), KivoComboBox::NotFound);
}

TEST_F(ComboBoxTest, WithoutADisplayPathTheListIsEmptyAndTheFieldEditsFreely) {
    auto combo = makeCombo({"Apple", "Apricot"}, false);
    EXPECT_TRUE(rows(*combo).empty());
    keys(combo).type("ap");
    EXPECT_EQ(combo->headerTextField()->text(), "ap");
    EXPECT_TRUE(log.empty());
}

TEST_F(ComboBoxTest, AnItemWithoutADisplayValueShowsAnEmptyRowAndTheListGoesOn) {
    auto combo = makeCombo({"Apple", nullptr, "Cherry"});
    EXPECT_EQ(rows(*combo), (std::vector<std::string>{"Apple", "", "Cherry"}));
    combo->setSelectedIndex(2);
    EXPECT_EQ(combo->text(), "Cherry");
}

TEST_F(ComboBoxTest, UnderASortedOrFilteredViewRowsIndicesAndTextsAgree) {
    auto combo = makeCombo({"Cherry", "Apple", "Banana"});
    combo->collectionView()->sortDescriptions()->addObject(plat::Value(std::make_shared<KivoSortDescription>("name", true)));
    EXPECT_EQ(rows(*combo), (std::vector<std::string>{"Apple", "Banana", "Cherry"}));
    EXPECT_EQ(combo->indexForRow(0), 1u);
    EXPECT_EQ(combo->rowForIndex(0), std::optional<std::int64_t>(2));
    EXPECT_EQ(combo->getDisplayText(0), "Cherry");

    combo->setSelectedIndex(2);
    EXPECT_EQ(combo->text(), "Banana");
    combo->setText("Apple");
    EXPECT_EQ(combo->selectedIndex(), 1u);
    EXPECT_EQ(nameOf(combo->selectedItem()), "Apple");

    combo->collectionView()->setFilter([](const plat::Value& item) { return item.asDictionary()->at("name") != "Banana"; });
    EXPECT_EQ(rows(*combo), (std::vector<std::string>{"Apple", "Cherry"}));
    EXPECT_EQ(combo->indexForRow(1), 0u);
    EXPECT_EQ(combo->getDisplayText(2), "");  // Banana has no row now

    // Choosing a row selects the item it shows.
    combo->setIsDropDownOpen(true);
    window->layoutPass();
    combo->tableView()->didSelectRowAtIndexPath(*combo->tableView(), {0, 1});
    EXPECT_EQ(combo->selectedIndex(), 0u);
    EXPECT_EQ(combo->text(), "Cherry");
    EXPECT_FALSE(combo->isDropDownOpen());
}

TEST_F(ComboBoxTest, ChangesMadeThroughTheCollectionViewReachTheList) {
    auto combo = makeCombo({"Apple", "Banana"});
    plat::Dictionary extra{{"name", "Cherry"}};
    combo->collectionView()->addObject(plat::Value(extra));
    EXPECT_EQ(rows(*combo), (std::vector<std::string>{"Apple", "Banana", "Cherry"}));
    combo->setSelectedIndex(2);
    EXPECT_EQ(combo->text(), "Cherry");

    // A collection view set later is listened to as well.
    auto other = KivoCollectionView::create(fruit({"Plum"}));
    combo->setCollectionView(other);
    other->refresh(true);
    EXPECT_EQ(rows(*combo), std::vector<std::string>{"Plum"});
}

// Items added, inserted, removed or replaced through the view are listed from what the change
// brings: only the new items are read, the view's list of all items is not made (an item the change
// leaves alone gains no holder), and the list, rows, indices and a selection made afterwards agree
// with a full listing.
TEST_F(ComboBoxTest, AChangeToTheItemsReadsOnlyTheItemsItBrings) {
    int reads = 0;
    const auto item = [&](const std::string& name) { return plat::Value(std::make_shared<CountedItem>(name, reads)); };
    auto items = std::make_shared<plat::Array>();
    for (int i = 0; i < 200; ++i) items->push_back(item("Item " + std::to_string(i)));
    const std::weak_ptr<plat::Object> untouched = (*items)[100].asObject();
    const plat::Value removedByItem = (*items)[150];
    auto combo = KivoComboBox::create({20, 100, 200, 30});
    combo->setDisplayMemberPath(std::string("name"));
    combo->setItemsSource(items);
    place(combo);
    const auto& view = combo->collectionView();
    struct Step {
        const char* name;
        std::function<void()> edit;
        int reads;
    };
    const Step steps[] = {
        {"add", [&] { view->addObject(item("Last")); }, 1},
        {"insert", [&] { view->insertObject(item("First"), 0); }, 1},
        {"remove at", [&] { view->removeAt(5); }, 0},
        {"remove", [&] { view->remove(removedByItem); }, 0},
        {"replace", [&] { view->replaceObjectAtIndex(3, item("Third")); }, 1},
        {"add several",
         [&] {
             view->addObjects(plat::Array{item("A"), item("B")});
         },
         2},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        reads = 0;
        const long holders = untouched.use_count();
        step.edit();
        EXPECT_EQ(reads, step.reads);
        EXPECT_LE(untouched.use_count(), holders);
        const plat::Array& visible = *view->items();
        ASSERT_EQ(rows(*combo).size(), visible.size());
        for (std::size_t r = 0; r < visible.size(); ++r) {
            EXPECT_EQ(rows(*combo)[r], visible[r].asObject()->asDynamicObject()->getPropertyValue("name").asString());
            EXPECT_TRUE((*combo->itemsSource())[combo->indexForRow(static_cast<std::int64_t>(r))].isIdentical(visible[r]));
        }
        for (const std::uint64_t k : {std::uint64_t{2}, visible.size() - 1}) {
            combo->setSelectedIndex(k);
            EXPECT_TRUE(combo->selectedItem().isIdentical(visible[k]));
            EXPECT_EQ(combo->text(), rows(*combo)[k]);
            EXPECT_EQ(combo->getDisplayText(k), rows(*combo)[k]);
        }
    }
    combo->setSelectedIndex(0);
    EXPECT_EQ(combo->text(), "First");

    // Under a sorted view (which appends an added item to what it shows) the rows map to their
    // items through the change as well.
    auto sorted = makeCombo({"Cherry", "Apple", "Banana"});
    sorted->collectionView()->sortDescriptions()->addObject(plat::Value(std::make_shared<KivoSortDescription>("name", true)));
    sorted->collectionView()->addObject(plat::Value(plat::Dictionary{{"name", "Avocado"}}));
    EXPECT_EQ(rows(*sorted), (std::vector<std::string>{"Apple", "Banana", "Cherry", "Avocado"}));
    EXPECT_EQ(sorted->indexForRow(3), 3u);
    EXPECT_EQ(sorted->rowForIndex(0), std::optional<std::int64_t>(2));
    sorted->collectionView()->removeAt(0);  // the first row, Apple
    EXPECT_EQ(rows(*sorted), (std::vector<std::string>{"Banana", "Cherry", "Avocado"}));
    EXPECT_EQ(sorted->getDisplayText(2), "Avocado");
    EXPECT_EQ(sorted->rowForIndex(0), std::optional<std::int64_t>(1));
}

class RowDelegate : public KivoComboBoxDelegate {
public:
    std::optional<std::shared_ptr<plat::View>> dropDownItemLoading(
        const std::shared_ptr<KivoComboBox>&, const std::shared_ptr<KivoDropDownItemLoadingEventArgs>& args) override {
        if (!answers) return std::nullopt;
        auto label = plat::Label::create(args->itemRect());
        label->setText("delegate " + args->itemData().asDictionary()->at("name").asString());
        return label;
    }
    bool selectedIndexChanged(const std::shared_ptr<KivoComboBox>&) override {
        ++indexReports;
        return answers;
    }
    bool answers = true;
    int indexReports = 0;
};

TEST_F(ComboBoxTest, TheDelegatesRowsTakePrecedenceOverTheItemLoadingEvent) {
    auto combo = makeCombo({"Apple", "Banana"});
    combo->collectionView()->sortDescriptions()->addObject(plat::Value(std::make_shared<KivoSortDescription>("name", false)));
    std::vector<std::string> loaded;
    combo->dropDownItemLoading()->addHandler(
        [&](const std::shared_ptr<KivoEventContainer>& c) {
            auto args = c->args<KivoDropDownItemLoadingEventArgs>();
            const std::string name = args->itemData().asDictionary()->at("name").asString();
            loaded.push_back(name);
            auto label = plat::Label::create(args->itemRect());
            label->setText("event " + name);
            args->setView(label);
        },
        combo);
    auto delegate = std::make_shared<RowDelegate>();
    combo->setDelegate(delegate);
    const auto shown = [&]() {
        combo->tableView()->reloadData();
        plat::RecordingContext rec;
        window->display(rec);
        std::vector<std::string> texts;
        for (const auto& s : rec.strings()) {
            if (s.find(' ') != std::string::npos) texts.push_back(s);
        }
        return texts;
    };
    combo->setIsDropDownOpen(true);
    EXPECT_EQ(shown(), (std::vector<std::string>{"delegate Banana", "delegate Apple"}));
    EXPECT_TRUE(loaded.empty());

    delegate->answers = false;
    EXPECT_EQ(shown(), (std::vector<std::string>{"event Banana", "event Apple"}));
    EXPECT_EQ(loaded, (std::vector<std::string>{"Banana", "Apple"}));
}

TEST_F(ComboBoxTest, ADelegateThatAnswersTheSelectionReportTakesThePlaceOfTheEvent) {
    auto combo = makeCombo({"Apple", "Banana"});
    auto delegate = std::make_shared<RowDelegate>();
    combo->setDelegate(delegate);
    combo->setSelectedIndex(1);
    EXPECT_EQ(delegate->indexReports, 1);
    EXPECT_EQ(log, std::vector<std::string>{"text"});
    delegate->answers = false;
    combo->setSelectedIndex(0);
    EXPECT_EQ(delegate->indexReports, 2);
    EXPECT_EQ(log, (std::vector<std::string>{"text", "text", "index"}));
}

TEST_F(ComboBoxTest, OpeningShowsTheSelectedRowAtTheTopInTheSelectionColour) {
    std::vector<const char*> names;
    std::vector<std::string> store;
    for (int i = 0; i < 40; ++i) store.push_back("Item " + std::to_string(i));
    for (const auto& s : store) names.push_back(s.c_str());
    auto combo = makeCombo(names);
    combo->setSelectedIndex(30);
    combo->setIsDropDownOpen(true);
    window->layoutPass();
    const auto& table = combo->tableView();
    EXPECT_EQ(table->indexPathForSelectedRow(), (plat::IndexPath{0, 30}));
    EXPECT_EQ(table->contentOffset().y, 30 * plat::TableView::DefaultRowHeight);
    EXPECT_EQ(table->frame(), plat::Rect(0, 0, 200, 100));

    plat::RecordingContext rec;
    window->display(rec);
    // The field's caret shares the colour: the row's highlight is the fill as wide as the list.
    std::vector<plat::Rect> highlights;
    for (const auto* op : rec.fills()) {
        if (op->color == KivoComboBox::DEFAULT_SELECTION_BACKGROUND_COLOR && op->bounds().width() == 200) {
            highlights.push_back(op->bounds());
        }
    }
    EXPECT_EQ(highlights, std::vector<plat::Rect>{plat::Rect(20, 130, 200, 44)});  // the popup's top: row 30
    EXPECT_NE(rec.findText("Item 30"), nullptr);
    // Cells only for the rows in view (and one more at the edge).
    EXPECT_LE(table->visibleCells().size() + table->reusableCellCount(), 4u);
}

TEST_F(ComboBoxTest, TappingARowSelectsItAndClosesTheListAndSoDoesTappingTheSelectedRow) {
    auto combo = makeCombo({"Apple", "Banana", "Cherry"});
    combo->setIsDropDownOpen(true);
    window->layoutPass();
    plat::testing::Touches(window).tap({60, 130 + 44 + 22});
    EXPECT_EQ(combo->selectedIndex(), 1u);
    EXPECT_EQ(combo->text(), "Banana");
    EXPECT_FALSE(combo->isDropDownOpen());
    EXPECT_FALSE(combo->headerTextField()->isFirstResponder());

    combo->setIsDropDownOpen(true);
    window->layoutPass();
    // Row 1 scrolled as far up as the list goes: 32 of its 132 points are above the popup.
    ASSERT_EQ(combo->tableView()->indexPathForSelectedRow(), (plat::IndexPath{0, 1}));
    plat::testing::Touches(window).tap({60, 130 + 22});
    EXPECT_FALSE(combo->isDropDownOpen());
    EXPECT_EQ(combo->selectedIndex(), 1u);
}

TEST(ComboBoxFont, AttributeDictionariesGiveThePlatformsFont) {
    for (const auto& c : plat::testing::fontAttributeCases())
        EXPECT_EQ(KivoComboBox::getDescriptor(c.attributes), c.font) << c.what;
}

TEST_F(ComboBoxTest, AComboBoxTakenOutOfItsWindowIsFreedWithItsList) {
    auto combo = makeCombo({"Apple", "Banana"});
    combo->setDelegate(std::make_shared<RowDelegate>());
    combo->setIsDropDownOpen(true);
    window->layoutPass();
    std::weak_ptr<KivoComboBox> weakCombo = combo;
    std::weak_ptr<plat::View> weakList = combo->tableView();
    combo->removeFromSuperview();
    combo.reset();
    EXPECT_TRUE(weakCombo.expired());
    EXPECT_TRUE(weakList.expired());
}

}  // namespace

namespace {

// Application code that drops the last reference to the combo box during a call on it, through each
// delegate method and event the combo box calls: the box lives until the call returns.
TEST_F(ComboBoxTest, AComboBoxDroppedByApplicationCodeLivesUntilTheCallReturns) {
    struct Row {
        const char* name;
        const char* dropIn;  // a delegate method, or "index" / "text" / "loading" for the events
        bool open;           // opened (on a selected row) before the call
        std::function<void(KivoComboBox&)> call;
    };
    const Row rows[] = {
        {"select an index, its event", "index", false, [](KivoComboBox& c) { c.setSelectedIndex(1); }},
        {"select an index, its delegate", "selectedIndexChanged", false, [](KivoComboBox& c) { c.setSelectedIndex(1); }},
        {"select an index, the text delegate", "textChanged", false, [](KivoComboBox& c) { c.setSelectedIndex(1); }},
        {"set the text, its event", "text", false, [](KivoComboBox& c) { c.setText("Banana"); }},
        {"select an item, the text event", "text", false, [](KivoComboBox& c) { c.setSelectedItem((*c.itemsSource())[1]); }},
        {"select a value, the text event", "text", false,
         [](KivoComboBox& c) {
             c.setSelectedValuePath(std::string("id"));
             c.setSelectedValue(plat::Value("f1"));
         }},
        {"open, the open delegate", "isDropDownOpenChanged", false, [](KivoComboBox& c) { c.setIsDropDownOpen(true); }},
        {"layout pass, the rendered delegate", "rendered", false, [](KivoComboBox& c) { c.layoutSubviews(); }},
        {"open on a selection, the row delegate", "dropDownItemLoading", false,
         [](KivoComboBox& c) {
             c.setSelectedIndex(2);
             c.setIsDropDownOpen(true);
         }},
        {"selection colour while open, the row event", "loading", true,
         [](KivoComboBox& c) { c.setSelectedBackgroundColor(plat::Color::red()); }},
        {"a row chosen, the index event", "index", true,
         [](KivoComboBox& c) {
             c.tableView()->didSelectRowAtIndexPath(*c.tableView(), {0, 2});
         }},
        {"a keystroke, the text event", "text", false,
         [](KivoComboBox& c) {
             c.headerTextField()->shouldChangeCharactersInRange(*c.headerTextField(), {0, 0}, "Ch");
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        LastReference<KivoComboBox> held(makeCombo({"Apple", "Banana", "Cherry"}));
        if (row.open) {
            held->setSelectedIndex(1);
            held->setIsDropDownOpen(true);
            window->layoutPass();
        }
        const std::string dropIn = row.dropIn;
        held->setDelegate(std::make_shared<DroppingDelegate>(dropIn, [&] { held.drop(); }));
        const auto dropper = [&](const std::shared_ptr<KivoEventContainer>&) { held.drop(); };
        if (dropIn == "index") held->selectedIndexChanged()->addHandler(dropper, nullptr);
        if (dropIn == "text") held->textChanged()->addHandler(dropper, nullptr);
        if (dropIn == "loading") held->dropDownItemLoading()->addHandler(dropper, nullptr);
        KivoComboBox& control = *held.get();
        row.call(control);
        window->layoutPass();
        EXPECT_TRUE(held.freed());
    }
}

}  // namespace
