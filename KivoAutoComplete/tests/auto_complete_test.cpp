// The auto-complete box: keystrokes filtering the items after the delay, the popup opening and
// closing with the typed length and the suggestions, the table's height, the highlight, the
// delegate's filtering road, and the selection and text reports, also while a filter is in force.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "KivoAutoComplete/KivoAutoComplete.h"
#include "KivoCore/KivoSortDescription.h"
#include "Platform/graphics/recording_context.h"
#include "Platform/runtime/run_loop.h"
#include "Platform/testing/keys.h"
#include "Platform/testing/touches.h"
#include "Platform/ui/label.h"
#include "Platform/ui/table_view_cell.h"
#include "counted_item.h"
#include "input_window_fixture.h"
#include "keep_alive.h"

namespace {

// Items with a "name" (the display text) and an "id"; a null name leaves the key out.
plat::ArrayPtr named(const std::vector<const char*>& names) {
    auto items = std::make_shared<plat::Array>();
    int id = 0;
    for (const char* name : names) {
        plat::Dictionary item{{"id", "i" + std::to_string(id++)}};
        if (name) item["name"] = name;
        items->push_back(plat::Value(std::move(item)));
    }
    return items;
}

std::string nameOf(const plat::Value& item) {
    return item.isDictionary() && item.asDictionary()->count("name") ? item.asDictionary()->at("name").asString() : "";
}

const std::vector<const char*> Fruit = {"Apple", "Banana", "Cherry", "Mango", "Papaya"};

class AutoCompleteTest : public InputWindowTest {
protected:
    // A box under the top of the screen listing `names`, whose reports are logged.
    std::shared_ptr<KivoAutoComplete> make(const std::vector<const char*>& names, plat::Rect frame = {20, 100, 200, 30}) {
        auto box = KivoAutoComplete::create(frame);
        box->setLocale(plat::Locale::withIdentifier("en_US"));
        box->setDisplayMemberPath(std::string("name"));
        box->setItemsSource(named(names));
        record(box->selectedIndexChanged(), "index", box);
        record(box->textChanged(), "text", box);
        return place(box);
    }
    // Types into the box's field as a keyboard would.
    plat::testing::Keys keys(const std::shared_ptr<KivoAutoComplete>& box) {
        box->headerTextField()->becomeFirstResponder();
        return plat::testing::Keys(window);
    }
    // Lets the pending filtering passes run.
    void settle(double seconds = 0.001) { clock.advance(seconds); }
    static std::vector<std::string> rows(const KivoAutoComplete& box) {
        std::vector<std::string> texts;
        for (const auto& text : *box.tableView()->itemsSource()) texts.push_back(*text);
        return texts;
    }
    std::vector<std::string> drawnRows(const KivoAutoComplete& box) {
        plat::RecordingContext rec;
        window->display(rec);
        std::vector<std::string> shown;
        for (const auto& cell : box.tableView()->visibleCells()) {
            for (const auto& sub : cell->contentView()->subviews()) {
                if (auto label = std::dynamic_pointer_cast<plat::Label>(sub)) shown.push_back(label->text());
            }
        }
        return shown;
    }
};

// Answers the filtering hook with a function of the test's, and logs text reports.
struct FilteringDelegate : KivoAutoCompleteDelegate {
    std::function<void(KivoAutoCompleteFilteringEventArgs&)> onFilter;
    std::vector<std::string>* log = nullptr;
    bool filtering(const std::shared_ptr<KivoAutoComplete>&,
                   const std::shared_ptr<KivoAutoCompleteFilteringEventArgs>& args) override {
        if (!onFilter) return false;
        onFilter(*args);
        return true;
    }
    bool textChanged(const std::shared_ptr<KivoComboBox>&) override {
        if (log) log->push_back("delegate text");
        return true;
    }
};

}  // namespace

TEST_F(AutoCompleteTest, StartsEmptyAndListsEveryItemOnceItemsArriveWithTheArrowShown) {
    auto box = KivoAutoComplete::create({20, 100, 200, 30});
    EXPECT_TRUE(box->button()->isHidden());
    EXPECT_EQ(box->selectedIndex(), KivoComboBox::NoSelection);
    EXPECT_TRUE(rows(*box).empty());
    EXPECT_EQ(box->dropDownView(), box->tableView());
    EXPECT_EQ(box->header(), box->headerTextField());

    box->setDisplayMemberPath(std::string("name"));
    box->setItemsSource(named(Fruit));
    EXPECT_EQ(rows(*box), (std::vector<std::string>(Fruit.begin(), Fruit.end())));
    EXPECT_FALSE(box->button()->isHidden());
    EXPECT_EQ(box->selectedIndex(), KivoComboBox::NotFound);
    EXPECT_FALSE(box->isDropDownOpen());
}

// The box shows a field and a table of its own; the combo box's are never made for it, while a plain
// combo box still makes and shows its own.
TEST_F(AutoCompleteTest, BuildsNoComboBoxFieldOrTableWhileAComboBoxStillBuildsItsOwn) {
    auto box = KivoAutoComplete::create({20, 100, 200, 30});
    const KivoComboBox& asComboBox = *box;
    EXPECT_EQ(asComboBox.headerTextField(), nullptr);
    EXPECT_EQ(asComboBox.tableView(), nullptr);

    auto combo = KivoComboBox::create({20, 100, 200, 30});
    ASSERT_NE(combo->headerTextField(), nullptr);
    ASSERT_NE(combo->tableView(), nullptr);
    EXPECT_EQ(combo->header(), combo->headerTextField());
    EXPECT_EQ(combo->dropDownView(), combo->tableView());
}

TEST_F(AutoCompleteTest, OneCharacterOpensTheMatchesAndClearingTheFieldListsAllButCloses) {
    auto box = make(Fruit);
    auto typing = keys(box);
    typing.type("p");
    EXPECT_EQ(rows(*box).size(), 5u) << "nothing filters before the delay";
    settle();
    EXPECT_EQ(rows(*box), (std::vector<std::string>{"Apple", "Papaya"}));
    EXPECT_TRUE(box->isDropDownOpen());
    EXPECT_EQ(box->filterString(), std::optional<std::string>("p"));
    EXPECT_EQ(drawnRows(*box), (std::vector<std::string>{"Apple", "Papaya"}));

    typing.type("a");
    settle();
    EXPECT_EQ(rows(*box), std::vector<std::string>{"Papaya"});

    typing.backspace(2);
    settle();
    EXPECT_EQ(rows(*box).size(), 5u);
    EXPECT_FALSE(box->isDropDownOpen());
    EXPECT_EQ(box->text(), "") << "typing does not set the text";
}

TEST_F(AutoCompleteTest, MinimumLengthDecidesWhenThePopupOpens) {
    struct Row {
        int minLength;
        const char* typed;
        bool open;
    };
    for (const Row r : {Row{0, "", true}, Row{1, "", false}, Row{2, "a", false}, Row{2, "an", true}, Row{-1, "an", false}}) {
        auto box = make(Fruit);
        box->setMinLength(r.minLength);
        auto typing = keys(box);
        // An empty filter string comes from typing a character and deleting it.
        typing.type(*r.typed ? r.typed : "z");
        if (!*r.typed) typing.backspace();
        settle();
        EXPECT_EQ(box->isDropDownOpen(), r.open) << "minLength " << r.minLength << " typed '" << r.typed << "'";
        box->removeFromSuperview();
    }
}

TEST_F(AutoCompleteTest, TheTableShowsAtMostMaxItemsRowsAndNoneWhenMaxItemsIsZero) {
    std::vector<std::string> store;
    for (int i = 0; i < 10; ++i) store.push_back("Item " + std::to_string(i));
    std::vector<const char*> names;
    for (const auto& s : store) names.push_back(s.c_str());
    auto box = make(names);
    box->setMaxItems(3);
    auto typing = keys(box);
    typing.type("i");
    settle();
    window->layoutPass();
    ASSERT_TRUE(box->isDropDownOpen());
    EXPECT_EQ(rows(*box).size(), 10u);
    EXPECT_EQ(box->tableView()->frame().height(), 132);
    EXPECT_EQ(box->dropDownHeight(), 132);
    EXPECT_EQ(box->dropDownBackView()->frame().height(), 132);
    EXPECT_EQ(box->tableView()->contentSize().height, 440) << "the rest scrolls";

    typing.type("tem 7");
    settle();
    EXPECT_EQ(box->tableView()->frame().height(), 44) << "the popup shrinks with the suggestions";

    box->setMaxItems(0);
    EXPECT_TRUE(box->button()->isHidden());
    typing.backspace();
    settle();
    EXPECT_TRUE(rows(*box).empty());
    EXPECT_EQ(box->tableView()->frame().height(), 0);
    EXPECT_FALSE(box->isDropDownOpen());
}

TEST_F(AutoCompleteTest, TheFilteringPassWaitsForTheDelayInMilliseconds) {
    for (const double delay : {300.0, KivoAutoComplete::DefaultDelay}) {
        auto box = make(Fruit);
        box->setDelay(delay);
        keys(box).type("c");
        const double wait = delay / 1000;
        settle(wait * 0.999);
        EXPECT_EQ(rows(*box).size(), 5u) << delay;
        settle(wait * 0.001);
        EXPECT_EQ(rows(*box), std::vector<std::string>{"Cherry"}) << delay;
        box->removeFromSuperview();
    }
}

TEST_F(AutoCompleteTest, TheFilterIsTheFieldsTextAfterAnEditAnywhereInIt) {
    auto box = make({"Paris", "Parma", "Aral", "Arles", "Lima"});
    auto typing = keys(box);
    const auto& field = box->headerTextField();
    typing.type("ar");
    settle();
    EXPECT_EQ(rows(*box), (std::vector<std::string>{"Paris", "Parma", "Aral", "Arles"}));

    // At the start of the field.
    field->setSelectedRange({0, 0});
    typing.type("p");
    settle();
    EXPECT_EQ(box->filterString(), std::optional<std::string>("par"));
    EXPECT_EQ(rows(*box), (std::vector<std::string>{"Paris", "Parma"}));

    // A selection in the middle deleted: what is left of the text, not the text less its last letter.
    field->setSelectedRange({1, 1});
    typing.backspace();
    settle();
    EXPECT_EQ(field->text(), "pr");
    EXPECT_EQ(box->filterString(), std::optional<std::string>("pr"));
    EXPECT_TRUE(rows(*box).empty());
    EXPECT_FALSE(box->isDropDownOpen());
}

TEST_F(AutoCompleteTest, BackspaceInAnEmptyFieldDoesNothing) {
    auto box = make(Fruit);
    // A pass for an empty filter string would open the popup.
    box->setMinLength(0);
    keys(box).backspace();
    settle();
    EXPECT_FALSE(box->filterString().has_value());
    EXPECT_FALSE(box->isDropDownOpen());
}

TEST_F(AutoCompleteTest, AccentsAndCaseAreIgnoredButOnlyAnExactlyTypedPartIsHighlighted) {
    auto box = make({"\u00c9lan", "Dome", "Bay", "R\u00c9SUM\u00c9"});
    box->setHighlightedColor(plat::Color::yellow());
    keys(box).type("e");
    settle();
    ASSERT_EQ(rows(*box), (std::vector<std::string>{"\u00c9lan", "Dome", "R\u00c9SUM\u00c9"}));
    window->layoutPass();
    plat::RecordingContext rec;
    window->display(rec);
    // Each drawn row with the bytes of its text that carry the highlight: only "Dome" has an "e" as typed.
    std::vector<std::pair<std::string, std::string>> highlighted;
    for (const auto* op : rec.texts()) {
        for (const auto& run : op->text.runs) {
            if (run.background == plat::Color::yellow())
                highlighted.emplace_back(op->text.text, op->text.text.substr(run.start, run.length));
        }
    }
    EXPECT_EQ(highlighted, (std::vector<std::pair<std::string, std::string>>{{"Dome", "e"}}));
}

TEST_F(AutoCompleteTest, TheLocaleDecidesHowCaseFolds) {
    auto box = make({"ISPARTA", "Izmir"});
    auto typing = keys(box);
    typing.type("\u0131s");  // dotless i
    settle();
    EXPECT_TRUE(rows(*box).empty());
    box->setLocale(plat::Locale::withIdentifier("tr_TR"));
    typing.type("p");
    settle();
    EXPECT_EQ(rows(*box), std::vector<std::string>{"ISPARTA"});
}

TEST_F(AutoCompleteTest, CustomFilteringOrAnOperatorLeavesTheListAndThePopupAloneButTheSelectionIsCleared) {
    for (const bool custom : {true, false}) {
        auto box = make(Fruit);
        box->setSelectedIndex(0);
        if (custom) {
            box->setIsCustomFiltering(true);
        } else {
            box->setOperatorType(1);
        }
        keys(box).type("an");
        settle();
        EXPECT_EQ(rows(*box).size(), 5u) << custom;
        EXPECT_FALSE(box->isDropDownOpen()) << custom;
        EXPECT_EQ(box->selectedIndex(), KivoComboBox::NotFound) << custom;
        box->removeFromSuperview();
    }
}

TEST_F(AutoCompleteTest, OnTheDelegateRoadTheApplicationsCandidatesStand) {
    auto box = make(Fruit);
    box->filteringArgs()->setCancel(true);
    auto typing = keys(box);
    // Without an answering delegate the road filters nothing.
    typing.type("x");
    settle();
    EXPECT_EQ(rows(*box).size(), 5u);
    EXPECT_FALSE(box->isDropDownOpen());

    auto delegate = std::make_shared<FilteringDelegate>();
    std::vector<std::size_t> handed;
    delegate->onFilter = [&](KivoAutoCompleteFilteringEventArgs& args) {
        handed.push_back(args.itemSource()->size());
        // Keeps the items whose names are more than three letters longer than the filter string.
        auto kept = std::make_shared<plat::Array>();
        for (const auto& item : *args.itemSource()) {
            if (nameOf(item).size() > box->filterString()->size() + 3) kept->push_back(item);
        }
        args.setItemSource(kept);
    };
    box->setDelegate(delegate);
    typing.type("y");
    settle();
    EXPECT_EQ(handed, std::vector<std::size_t>{5}) << "the current candidates are handed over";
    EXPECT_EQ(rows(*box), (std::vector<std::string>{"Banana", "Cherry", "Papaya"})) << "not filtered again for 'xy'";
    EXPECT_TRUE(box->isDropDownOpen()) << "decided on the delegate's suggestions";

    // A row of the delegate's list selects its own item.
    plat::testing::Touches(window).tap({60, 130 + 44 + 22});
    EXPECT_EQ(box->selectedIndex(), 2u);
    EXPECT_EQ(box->text(), "Cherry");

    // Choosing closed the popup and the keyboard; typing again filters the delegate's last candidates.
    keys(box).type("z");
    settle();
    EXPECT_EQ(handed, (std::vector<std::size_t>{5, 3}));
    EXPECT_TRUE(rows(*box).empty());
    EXPECT_FALSE(box->isDropDownOpen());
}

TEST_F(AutoCompleteTest, ChoosingAFilteredRowSelectsItsItemWithItsText) {
    auto box = make(Fruit);
    box->setSelectedValuePath(std::string("id"));
    keys(box).type("an");
    settle();
    window->layoutPass();
    ASSERT_EQ(rows(*box), (std::vector<std::string>{"Banana", "Mango"}));
    log.clear();
    plat::testing::Touches(window).tap({60, 130 + 44 + 22});
    EXPECT_EQ(box->selectedIndex(), 3u);
    EXPECT_EQ(nameOf(box->selectedItem()), "Mango");
    EXPECT_EQ(box->selectedValue(), plat::Value("i3"));
    EXPECT_EQ(box->text(), "Mango");
    EXPECT_EQ(box->headerTextField()->text(), "Mango");
    EXPECT_EQ(log, (std::vector<std::string>{"text", "index"}));
    EXPECT_FALSE(box->isDropDownOpen());
    EXPECT_EQ(box->rowForIndex(3), std::optional<std::int64_t>(1));
    EXPECT_EQ(box->tableView()->indexPathForSelectedRow(), (plat::IndexPath{0, 1}));

    // An item the filter left out still shows its own text when selected.
    box->setSelectedIndex(0);
    EXPECT_EQ(box->text(), "Apple");
    EXPECT_FALSE(box->tableView()->indexPathForSelectedRow().has_value());
}

TEST_F(AutoCompleteTest, SetTextRaisesTheEventThenTellsTheDelegateAndAnEqualTextReportsAgain) {
    auto box = make(Fruit);
    auto delegate = std::make_shared<FilteringDelegate>();
    delegate->log = &log;
    box->setDelegate(delegate);
    box->setText("Zebra");
    EXPECT_EQ(log, (std::vector<std::string>{"text", "delegate text"}));
    box->setText("Zebra");
    EXPECT_EQ(log.size(), 4u) << "an equal text in another object is reported again";

    log.clear();
    const plat::StringObject held = box->textObject();
    box->setTextObject(held);
    EXPECT_TRUE(log.empty()) << "the very object held and shown";
    keys(box).type("!");
    box->setTextObject(held);
    EXPECT_EQ(box->headerTextField()->text(), "Zebra") << "the field no longer showed it";
    EXPECT_EQ(log, (std::vector<std::string>{"text", "delegate text"}));

    // A display text selects its item; the text the selection sets is that item's own object.
    log.clear();
    box->setText("Cherry");
    EXPECT_EQ(box->selectedIndex(), 2u);
    EXPECT_EQ(log, (std::vector<std::string>{"text", "delegate text", "index", "text", "delegate text"}));
    log.clear();
    box->setSelectedIndex(2);
    EXPECT_TRUE(log.empty());
}

TEST_F(AutoCompleteTest, AValueSelectsTheLastItemWithItAndClearingItSelectsNone) {
    auto items = named(Fruit);
    items->push_back(plat::Value(plat::Dictionary{{"name", "Quince"}}));              // no id
    items->push_back(plat::Value(plat::Dictionary{{"name", "Lime"}, {"id", "i1"}}));  // Banana's id again
    auto box = make({});
    box->setItemsSource(items);
    box->setSelectedValuePath(std::string("id"));
    box->setSelectedValue(plat::Value("i1"));
    EXPECT_EQ(box->selectedIndex(), 6u);
    EXPECT_EQ(box->text(), "Lime");
    // Clearing the selection clears the value, which must not then select the item without one.
    box->setSelectedIndex(KivoComboBox::NotFound);
    EXPECT_TRUE(box->selectedValue().isNil());
    EXPECT_EQ(box->selectedIndex(), KivoComboBox::NotFound);
    EXPECT_TRUE(box->selectedItem().isNil());
}

TEST_F(AutoCompleteTest, AnItemWithoutADisplayValueIsAnEmptyRowThatNothingTypedMatches) {
    auto box = make({"Apple", nullptr, "Apricot"});
    EXPECT_EQ(rows(*box), (std::vector<std::string>{"Apple", "", "Apricot"}));
    keys(box).type("ap");
    settle();
    EXPECT_EQ(rows(*box), (std::vector<std::string>{"Apple", "Apricot"}));
    EXPECT_EQ(box->indexForRow(1), 2u);
}

TEST_F(AutoCompleteTest, ChangesThroughTheCollectionViewReachTheFilter) {
    auto box = make(Fruit);
    auto source = box->collectionView()->sourceCollection();
    source->push_back(plat::Value(plat::Dictionary{{"name", "Grape"}}));
    box->collectionView()->refresh();
    keys(box).type("gr");
    settle();
    EXPECT_EQ(rows(*box), std::vector<std::string>{"Grape"});
    EXPECT_EQ(box->indexForRow(0), 5u);
}

// Items added, inserted, removed or replaced through the view: only the new items are read, and the
// suggestions, the rows' items, the candidates, the cleared selection and what typing then finds are
// those of a full listing, also when the report of one change makes another, and under a sort.
TEST_F(AutoCompleteTest, EachRoadThroughTheViewReadsOnlyTheItemsItBrings) {
    int reads = 0;
    const auto item = [&](const std::string& name) { return plat::Value(std::make_shared<CountedItem>(name, reads)); };
    auto items = std::make_shared<plat::Array>();
    for (int i = 0; i < 40; ++i) items->push_back(item((i % 3 ? "Plum " : "Pear ") + std::to_string(i)));
    const plat::Value removedByItem = (*items)[20];
    auto box = KivoAutoComplete::create({20, 100, 200, 30});
    box->setLocale(plat::Locale::withIdentifier("en_US"));
    box->setDisplayMemberPath(std::string("name"));
    box->setItemsSource(items);
    place(box);
    const auto& view = box->collectionView();
    bool changeFromReport = false;
    box->selectedIndexChanged()->addHandler(
        [&](const std::shared_ptr<KivoEventContainer>&) {
            if (std::exchange(changeFromReport, false)) view->addObject(item("Pêche from a report"));
        },
        box);
    struct Step {
        const char* name;
        std::function<void()> edit;
        int reads;
    };
    const Step steps[] = {
        {"add", [&] { view->addObject(item("Pêche last")); }, 1},
        {"insert", [&] { view->insertObject(item("Pear inserted"), 7); }, 1},
        {"remove at", [&] { view->removeAt(12); }, 0},
        {"remove", [&] { view->remove(removedByItem); }, 0},
        {"replace", [&] { view->replaceObjectAtIndex(3, item("Plum replacing")); }, 1},
        {"add several",
         [&] {
             view->addObjects(plat::Array{item("Pear A"), item("Plum B")});
         },
         2},
        {"a change from the report of another", [&] { changeFromReport = true, view->insertObject(item("Plum first"), 0); }, 2},
        {"under a sort",
         [&] {
             view->sortDescriptions()->addObject(plat::Value(std::make_shared<KivoSortDescription>("name", false)));
             view->addObject(item("Pear sorted"));
         },
         -1},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        box->setSelectedIndex(4);
        reads = 0;
        step.edit();
        if (step.reads >= 0) {
            EXPECT_EQ(reads, step.reads);
        }
        const plat::Array& source = *view->sourceCollection();
        std::vector<std::string> names;
        for (const auto& one : source) names.push_back(static_cast<const CountedItem&>(*one.asObject()).name());
        EXPECT_EQ(box->itemsSource(), view->sourceCollection());
        EXPECT_EQ(rows(*box), names);
        EXPECT_EQ(box->selectedIndex(), KivoComboBox::NotFound);
        for (std::size_t r = 0; r < source.size(); ++r) {
            EXPECT_EQ(box->indexForRow(static_cast<std::int64_t>(r)), r);
            EXPECT_EQ(box->rowForIndex(r), std::optional<std::int64_t>(r));
        }
        const std::uint64_t last = source.size() - 1;
        box->setSelectedIndex(last);
        EXPECT_TRUE(box->selectedItem().isIdentical(source[last]));
        EXPECT_EQ(box->text(), names[last]);
    }
    const auto& candidates = box->temporaryItemSource();
    ASSERT_EQ(candidates->size(), view->sourceCollection()->size());
    for (std::size_t k = 0; k < candidates->size(); ++k)
        EXPECT_TRUE((*candidates)[k].isIdentical((*view->sourceCollection())[k]));

    // The texts read so far, kept through every change, are what typing searches.
    box->setSelectedIndex(KivoComboBox::NotFound);
    box->setText("");
    keys(box).type("pe");
    settle();
    std::vector<std::string> found;
    for (const auto& one : *view->sourceCollection()) {
        const std::string& name = static_cast<const CountedItem&>(*one.asObject()).name();
        if (name.rfind("Pear", 0) == 0 || name.rfind("Pêche", 0) == 0) found.push_back(name);
    }
    EXPECT_EQ(rows(*box), found);
}

TEST_F(AutoCompleteTest, APopupAboveTheFieldStaysOnItAsItShrinks) {
    const double bottom = plat::Screen::main().bounds().height();
    auto box = make(Fruit, {20, bottom - 60, 200, 30});
    auto typing = keys(box);
    typing.type("a");
    settle();
    window->layoutPass();
    ASSERT_TRUE(box->isDropDownOpen());
    EXPECT_EQ(box->dropdownRealDirection(), KivoDropDownDirectionAbove);
    EXPECT_EQ(box->dropDownBackView()->frame().maxY(), bottom - 60);
    typing.type("n");
    settle();
    EXPECT_EQ(rows(*box).size(), 2u);
    EXPECT_EQ(box->dropDownBackView()->frame().height(), 88);
    EXPECT_EQ(box->dropDownBackView()->frame().maxY(), bottom - 60);
}

TEST_F(AutoCompleteTest, APendingPassOutlivingTheBoxDoesNothing) {
    std::weak_ptr<KivoAutoComplete> weak;
    {
        auto box = make(Fruit);
        weak = box;
        keys(box).type("a");
        box->removeFromSuperview();
    }
    EXPECT_TRUE(weak.expired()) << "the pending pass holds the field, not the box";
    settle();
}

// A binding layer's delegate: filters with the box's own filter (case only) and supplies the rows.
struct XamarinDelegate : KivoAutoCompleteDelegate {
    bool filtering(const std::shared_ptr<KivoAutoComplete>& box,
                   const std::shared_ptr<KivoAutoCompleteFilteringEventArgs>&) override {
        box->headerTextField()->autoComplete(box, box->filterString().value_or(""));
        return true;
    }
    std::optional<std::shared_ptr<plat::View>> getXamarinCustomView(const std::shared_ptr<KivoAutoComplete>&,
                                                                    int index) override {
        asked.push_back(index);
        if (index == 1) return plat::Label::create();  // no size: laid out as the built-in label
        return plat::View::create({2, 3, 50, 20});
    }
    std::vector<int> asked;
};

TEST_F(AutoCompleteTest, InXamarinModeTheDelegateFiltersIgnoringCaseOnlyAndSuppliesTheRows) {
    auto box = make({"\u00c9lan", "elk", "Bell"});
    box->setIsXf(true);
    auto delegate = std::make_shared<XamarinDelegate>();
    box->setDelegate(delegate);
    keys(box).type("e");
    settle();
    EXPECT_EQ(rows(*box), (std::vector<std::string>{"elk", "Bell"})) << "accents count in this filter";
    ASSERT_TRUE(box->isDropDownOpen());
    window->layoutPass();
    window->display(*std::make_unique<plat::RecordingContext>());
    EXPECT_EQ(delegate->asked, (std::vector<int>{1, 2})) << "rows ask by the index of their item";

    const auto first = box->tableView()->cellForRowAtIndexPath(plat::IndexPath{0, 0});
    const auto second = box->tableView()->cellForRowAtIndexPath(plat::IndexPath{0, 1});
    ASSERT_TRUE(first && second);
    const auto label = std::dynamic_pointer_cast<plat::Label>(first->contentView()->subviews().at(0));
    ASSERT_TRUE(label);
    EXPECT_EQ(label->text(), "elk");
    EXPECT_EQ(label->frame(), plat::Rect(8, 0, 200 - 16, 44));
    EXPECT_EQ(second->contentView()->subviews().at(0)->frame(), plat::Rect(2 + 8, 3, 200, 44));
}

TEST_F(AutoCompleteTest, InFullScreenModeTheTableFillsThePopupOverTheScreen) {
    plat::Screen::main().setStatusBarFrame({0, 0, 320, 20});
    auto box = make(Fruit);
    box->setDropDownMode(1);
    keys(box).type("a");
    settle();
    ASSERT_TRUE(box->isDropDownOpen());
    const plat::Rect screen = plat::Screen::main().bounds();
    const plat::Rect popup = box->dropDownBackView()->frame();
    EXPECT_EQ(popup, plat::Rect(0, 20, screen.width(), screen.height() - 20));
    EXPECT_EQ(box->dropDownHeight(), screen.height());
    for (int pass = 0; pass < 2; ++pass) {
        EXPECT_EQ(box->tableView()->frame(), plat::Rect(5, 5, popup.width() - 10, popup.height() - 10)) << pass;
        box->setNeedsLayout();
        window->layoutPass();
    }
}

namespace {

// Application code that drops the last reference to the box during a call on it, through each
// delegate method and event the box calls: the box lives until the call returns.
TEST_F(AutoCompleteTest, ABoxDroppedByApplicationCodeLivesUntilTheCallReturns) {
    struct Row {
        const char* name;
        const char* dropIn;  // a delegate method, or "index" / "text" for the events
        std::function<void(KivoAutoComplete&)> call;
    };
    const auto filterFor = [](const char* typed, bool delegateRoad) {
        return [=](KivoAutoComplete& b) {
            b.filteringArgs()->setCancel(delegateRoad);
            b.setFilterString(std::string(typed));
            b.performFiltering();
        };
    };
    const Row rows[] = {
        {"filtering, the delegate's road", "filtering", filterFor("an", true)},
        {"filtering opens the list, the open delegate", "isDropDownOpenChanged", filterFor("an", false)},
        {"layout pass, the rendered delegate", "rendered", [](KivoAutoComplete& b) { b.layoutSubviews(); }},
        {"set the text, its event", "text", [](KivoAutoComplete& b) { b.setText("Mango"); }},
        {"set the text, the text delegate", "textChanged", [](KivoAutoComplete& b) { b.setText("Mango"); }},
        {"select an index, its delegate", "selectedIndexChanged", [](KivoAutoComplete& b) { b.setSelectedIndex(1); }},
        {"select an item, the text event", "text", [](KivoAutoComplete& b) { b.setSelectedItem((*b.itemsSource())[2]); }},
        {"select a value, the index event", "index",
         [](KivoAutoComplete& b) {
             b.setSelectedValuePath(std::string("id"));
             b.setSelectedValue(plat::Value("i3"));
         }},
        {"new items clear the selection, the index event", "index",
         [](KivoAutoComplete& b) {
             b.collectionView()->addObject(plat::Value(plat::Dictionary{{"name", "Kiwi"}}));
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        LastReference<KivoAutoComplete> held(make(Fruit));
        held->setSelectedIndex(0);
        const std::string dropIn = row.dropIn;
        held->setDelegate(std::make_shared<DroppingDelegate>(dropIn, [&] { held.drop(); }));
        const auto dropper = [&](const std::shared_ptr<KivoEventContainer>&) { held.drop(); };
        if (dropIn == "index") held->selectedIndexChanged()->addHandler(dropper, nullptr);
        if (dropIn == "text") held->textChanged()->addHandler(dropper, nullptr);
        KivoAutoComplete& control = *held.get();
        row.call(control);
        EXPECT_TRUE(held.freed());
    }
}

}  // namespace
