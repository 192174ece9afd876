#pragma once
// The data grid: a view that shows rows and columns of cells in four panels (cells, column headers,
// row headers, top-left corner) over four row and column collections, draws them itself, scrolls
// itself, and reports through 26 events and an optional delegate.
//
// Sections: creation; events and delegate; data and parts (with the selection); look (colours, fonts,
// lines, headers); behaviour switches; sizes and the cells origin; scrolling; view operations;
// drawing pass and invalidation.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "KivoCore/IKivoValueFormatter.h"
#include "KivoCore/KivoCollectionView.h"
#include "KivoCore/KivoEvent.h"
#include "KivoCore/KivoView.h"
// What the accessors return (rows(), columns(), cells(), mergeManager(), …) is usable through this
// header alone.
#include "OmbriGrid/GridCellFactory.h"
#include "OmbriGrid/GridCellRange.h"
#include "OmbriGrid/GridHitTestInfo.h"
#include "OmbriGrid/GridMergeManager.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/KivoOmbriGridExport.h"
#include "OmbriGrid/OmbriGridDelegate.h"
#include "OmbriGrid/OmbriGridDetailProvider.h"
#include "OmbriGrid/OmbriGridTypes.h"
#include "Platform/foundation/passkey.h"
#include "Platform/graphics/color.h"
#include "Platform/graphics/font.h"
#include "Platform/runtime/notification_center.h"
#include "Platform/ui/gesture_recognizer.h"
#include "Platform/ui/picker_view.h"
#include "Platform/ui/text_field.h"

// The rest of what the API names; the types behind the accessors come with the headers above.
class GridCellRangeEventArgs;
class KivoCollectionViewGroup;
class KivoNotifyCollectionChangedEventArgs;
namespace plat {
class BarButtonItem;
class LongPressGestureRecognizer;
}  // namespace plat
namespace kivo::detail {
struct GridEvents;
class GridScroller;
struct GridInput;
struct GridSettings;
class EditSession;
class GridPress;
class GridClipboard;
class GridInternals;
struct GridState;
enum class DelegateRule : int;
}  // namespace kivo::detail

class KIVO_GRID_EXPORT OmbriGrid : public KivoView,
                                   public plat::GestureRecognizerDelegate,
                                   public plat::TextFieldDelegate,
                                   public plat::PickerViewDataSource,
                                   public plat::PickerViewDelegate {
public:
    static std::shared_ptr<OmbriGrid> create(const plat::Rect& frame = {});
    // From an interface file, with the same defaults as from a frame; raises plat::CoderException.
    static std::shared_ptr<OmbriGrid> create(const plat::Coder& coder);
    ~OmbriGrid() override;

    // ---- events (sender: the grid) and delegate ----
    const std::shared_ptr<KivoEvent>& ombriGridTapped() const;
    void setOmbriGridTapped(std::shared_ptr<KivoEvent> event);
    const std::shared_ptr<KivoEvent>& ombriGridRendered() const;
    void setOmbriGridRendered(std::shared_ptr<KivoEvent> event);
    const std::shared_ptr<KivoEvent>& ombriGridRendering() const;
    void setOmbriGridRendering(std::shared_ptr<KivoEvent> event);
    const std::shared_ptr<KivoEvent>& ombriGridInvalidated() const;
    void setOmbriGridInvalidated(std::shared_ptr<KivoEvent> event);
    const std::shared_ptr<KivoEvent>& ombriGridFormatItem() const;
    void setOmbriGridFormatItem(std::shared_ptr<KivoEvent> event);
    const std::shared_ptr<KivoEvent>& ombriGridProcessItemOverlay() const;
    void setOmbriGridProcessItemOverlay(std::shared_ptr<KivoEvent> event);
    const std::shared_ptr<KivoEvent>& ombriGridCellTapped() const;
    void setOmbriGridCellTapped(std::shared_ptr<KivoEvent> event);
    const std::shared_ptr<KivoEvent>& ombriGridCellDoubleTapped() const;
    void setOmbriGridCellDoubleTapped(std::shared_ptr<KivoEvent> event);
    const std::shared_ptr<KivoEvent>& ombriGridBeginningEdit() const;
    void setOmbriGridBeginningEdit(std::shared_ptr<KivoEvent> event);
    const std::shared_ptr<KivoEvent>& ombriGridCellEditEnding() const;
    void setOmbriGridCellEditEnding(std::shared_ptr<KivoEvent> event);
    const std::shared_ptr<KivoEvent>& ombriGridCellEditEnded() const;
    void setOmbriGridCellEditEnded(std::shared_ptr<KivoEvent> event);
    const std::shared_ptr<KivoEvent>& ombriGridPrepareCellForEdit() const;
    void setOmbriGridPrepareCellForEdit(std::shared_ptr<KivoEvent> event);
    const std::shared_ptr<KivoEvent>& ombriGridItemsSourceChanged() const;
    void setOmbriGridItemsSourceChanged(std::shared_ptr<KivoEvent> event);
    const std::shared_ptr<KivoEvent>& ombriGridLoadingRows() const;
    void setOmbriGridLoadingRows(std::shared_ptr<KivoEvent> event);
    const std::shared_ptr<KivoEvent>& ombriGridLoadedRows() const;
    void setOmbriGridLoadedRows(std::shared_ptr<KivoEvent> event);
    const std::shared_ptr<KivoEvent>& ombriGridGroupCollapsedChanging() const;
    void setOmbriGridGroupCollapsedChanging(std::shared_ptr<KivoEvent> event);
    const std::shared_ptr<KivoEvent>& ombriGridGroupCollapsedChanged() const;
    void setOmbriGridGroupCollapsedChanged(std::shared_ptr<KivoEvent> event);
    const std::shared_ptr<KivoEvent>& ombriGridScrollPositionChanged() const;
    void setOmbriGridScrollPositionChanged(std::shared_ptr<KivoEvent> event);
    const std::shared_ptr<KivoEvent>& ombriGridSelectionChanging() const;
    void setOmbriGridSelectionChanging(std::shared_ptr<KivoEvent> event);
    const std::shared_ptr<KivoEvent>& ombriGridSelectionChanged() const;
    void setOmbriGridSelectionChanged(std::shared_ptr<KivoEvent> event);
    const std::shared_ptr<KivoEvent>& ombriGridSortingColumn() const;
    void setOmbriGridSortingColumn(std::shared_ptr<KivoEvent> event);
    const std::shared_ptr<KivoEvent>& ombriGridSortedColumn() const;
    void setOmbriGridSortedColumn(std::shared_ptr<KivoEvent> event);
    const std::shared_ptr<KivoEvent>& ombriGridAutoGeneratingColumn() const;
    void setOmbriGridAutoGeneratingColumn(std::shared_ptr<KivoEvent> event);
    const std::shared_ptr<KivoEvent>& ombriGridResizedColumn() const;
    void setOmbriGridResizedColumn(std::shared_ptr<KivoEvent> event);
    const std::shared_ptr<KivoEvent>& ombriGridDroppedCaches() const;
    void setOmbriGridDroppedCaches(std::shared_ptr<KivoEvent> event);
    const std::shared_ptr<KivoEvent>& ombriGridCellLongPressed() const;
    void setOmbriGridCellLongPressed(std::shared_ptr<KivoEvent> event);
    std::shared_ptr<OmbriGridDelegate> delegate() const;
    void setDelegate(const std::shared_ptr<OmbriGridDelegate>& delegate);
    // Keeps the delegate alive, and makes it the delegate.
    const std::shared_ptr<OmbriGridDelegate>& strongDelegate() const;
    void setStrongDelegate(std::shared_ptr<OmbriGridDelegate> delegate);

    // ---- data and parts ----
    const std::shared_ptr<GridRowCollection>& rows() const;
    const std::shared_ptr<GridColumnCollection>& columns() const;
    const std::shared_ptr<GridPanel>& cells() const;
    const std::shared_ptr<GridPanel>& columnHeaders() const;
    const std::shared_ptr<GridPanel>& rowHeaders() const;
    const std::shared_ptr<GridPanel>& topLeftCells() const;
    const std::shared_ptr<GridRow>& columnHeaderRow() const;
    void setColumnHeaderRow(std::shared_ptr<GridRow> row);
    const std::shared_ptr<KivoCollectionView>& collectionView() const;
    // ---- binding ----
    // The application's items, held as they are (no copy).
    const plat::ArrayPtr& itemsSource() const;
    // Binds a new view over `items` (always, even for the same list) and empties the selection.
    void setItemsSource(plat::ArrayPtr items);
    // Binds the view and takes its source list as the items; the same view again does nothing.
    void setCollectionView(std::shared_ptr<KivoCollectionView> view);
    // A group row named `name` heading `items`, added after the rows there are.
    void addGroup(const std::string& name, const plat::Array& items);
    // ---- cells and points ----
    // The cells panel's row, subscripted by column: grid[row][col].
    std::shared_ptr<GridRowAccessor> objectAtIndexedSubscript(std::int32_t row);
    void setCellData(const plat::Value& value, std::int32_t row, std::int32_t col);
    std::shared_ptr<GridHitTestInfo> hitTest(plat::Point point);
    // Raises CellLongPressed for the cell under the point, then tells the delegate; true unless cancelled.
    bool onCellLongPressed(plat::Point point);
    // The long-press recogniser's action: on its start, the event, then the shared edit menu at the
    // point when `defaultContextMenu` is on.
    void respondToLongPressGesture(plat::GestureRecognizer& recognizer);
    const std::shared_ptr<GridHitTestInfo>& contextMenuHitTest() const;
    const std::shared_ptr<GridMergeManager>& mergeManager() const;
    void setMergeManager(std::shared_ptr<GridMergeManager> manager);
    const std::shared_ptr<OmbriGridDetailProvider>& detailProvider() const;
    void setDetailProvider(std::shared_ptr<OmbriGridDetailProvider> provider);
    const std::shared_ptr<GridCellFactory>& cellFactory() const;
    void setCellFactory(std::shared_ptr<GridCellFactory> factory);
    const std::shared_ptr<IKivoValueFormatter>& valueFormatter() const;
    void setValueFormatter(std::shared_ptr<IKivoValueFormatter> formatter);
    // ---- what is selected, and how taps and code change it ----
    const std::shared_ptr<GridCellRange>& selection() const;
    // The grid keeps its own copy, so a caller editing its range later changes nothing on screen. In
    // the row modes the range grows to whole rows; nothing or an empty range deselects. Indices outside
    // the grid are logged and ignored rather than clamped, since a clamped range would select cells the
    // caller never named. Handlers and the delegate can veto before anything moves; the current item
    // follows the new row before the Changed event, so its handlers see both in step.
    void setSelection(const std::shared_ptr<GridCellRange>& selection);
    // The range as given (no widening to whole rows), then, when `show`, its anchor scrolled into view.
    void selectCellRange(const std::shared_ptr<GridCellRange>& range, bool show = true);
    GridSelectionMode selectionMode() const;
    // 0–4; any other value is refused with a log line. The selection is reshaped to fit the new mode.
    void setSelectionMode(std::int64_t mode);
    // Selects by a tap: a cell, a row header's row, or from the corner (all of the grid in the range modes).
    void handleSelection(const GridHitTestInfo& hit);
    // SelectionChanging: the handlers, then the delegate, whose answer decides; true to go on.
    bool onSelectionChanging(const std::shared_ptr<GridCellRangeEventArgs>& args);
    void onSelectionChanged(const std::shared_ptr<GridCellRangeEventArgs>& args);
    // 0 not selected, 1 selected, 2 the anchor cell; 0 outside the grid and in selection mode 0.
    GridSelectedState getSelectedStateForRow(std::int32_t row, std::int32_t col) const;
    // The selection, and its anchor cell, grown to the merged ranges they touch.
    std::shared_ptr<GridCellRange> mergedSelection() const;
    std::shared_ptr<GridCellRange> mergedSingleSelection() const;
    std::int32_t frozenRows() const;
    void setFrozenRows(std::int32_t count);
    std::int32_t frozenColumns() const;
    void setFrozenColumns(std::int32_t count);
    std::int32_t columnBeingSized() const;
    const std::shared_ptr<plat::View>& activeEditor() const;
    void setActiveEditor(std::shared_ptr<plat::View> editor);
    const plat::Value& activeEditorValue() const;
    const std::shared_ptr<GridCellRange>& editRange() const;
    const std::shared_ptr<plat::LongPressGestureRecognizer>& longPressRecognizer() const;

    // ---- editing: one cell, or the merged range it lies in, at a time and in place ----
    // Opens an editor over the cell, or toggles a Boolean cell at once; false when refused or cancelled.
    // `fullEdit` is taken for the callers that pass it and changes nothing.
    bool startEditing(bool fullEdit, std::int32_t row, std::int32_t col);
    // Closes the open edit, writing its value unless `cancel`; always true.
    bool finishEditing(bool cancel);
    // The open editor's value converted by the edited column's type; nil when it does not convert.
    plat::Value getActiveEditorValue() const;
    // The return key of the grid's editor: commits and closes.
    bool textFieldShouldReturn(plat::TextField& field) override;
    // The editor starts with all of its text selected, so typing replaces the cell's value.
    void textFieldDidBeginEditing(plat::TextField& field) override;
    // The cells' and the headers' extent, each sum a 32-bit integer.
    plat::Size intrinsicContentSize() const;
    // The data-map picker: one component of the edited column's display values.
    std::int64_t numberOfComponentsInPickerView(plat::PickerView& picker) override;
    std::int64_t numberOfRowsInComponent(plat::PickerView& picker, std::int64_t component) override;
    std::optional<std::string> titleForRow(plat::PickerView& picker, std::int64_t row, std::int64_t component) override;
    // A picked row's display text goes into the editor; Done commits it.
    void didSelectRow(plat::PickerView& picker, std::int64_t row, std::int64_t component) override;
    void onDataMapPickerDone(plat::BarButtonItem& sender);

    // ---- taps and sorting ----
    // The tap recogniser's action, once the double tap has failed: Tapped, then CellTapped, then the
    // open text editor committed when the tap leaves it, a header sorted, a group row toggled, the
    // tapped cell selected.
    void respondToTapGesture(plat::GestureRecognizer& recognizer);
    // CellDoubleTapped, then the tapped cell selected and its editor opened, or an open editor closed.
    void respondToDoubleTapGesture(plat::GestureRecognizer& recognizer);
    // SortingColumn: the handlers, then the delegate, whose answer decides; true to go on.
    bool onSortingColumn(const std::shared_ptr<GridCellRangeEventArgs>& args);
    void onSortedColumn(const std::shared_ptr<GridCellRangeEventArgs>& args);

    // ---- column resizing and the selection handles' drag ----
    // The short press begins on a header cell's edge (within 15 points) of a column that may be
    // resized, or on a selection handle in the range modes; every other recogniser always begins.
    bool gestureRecognizerShouldBegin(plat::GestureRecognizer& recognizer) override;
    // The short press's action: a column's right edge follows the finger, or the grabbed corner of the
    // selection does; the grid becomes first responder and the edit menu hides on every call.
    void respondToPressGesture(plat::GestureRecognizer& recognizer);

    // ---- keyboard commands ----
    // The grid takes the keyboard whenever asked, and gives it up whenever asked.
    bool canBecomeFirstResponder() const override { return true; }
    bool canResignFirstResponder() const override { return true; }
    // Asked at every key press. While an editor is open only Escape, so that the arrows and Return
    // reach the editor; else the arrows, Shift+arrows, Option+Return and Escape.
    std::vector<std::shared_ptr<plat::KeyCommand>> keyCommands() const override;
    // One cell on: past hidden rows and columns, out of a merged block beside it. The row or column
    // reached is then scrolled into view, and so is the current one when the move was refused or vetoed.
    void leftKeyPress();
    void rightKeyPress();
    void upKeyPress();
    void downKeyPress();
    // In the range modes the range's moving corner one row or column on; elsewhere the plain arrow.
    void leftKeyPressWithShift();
    void rightKeyPressWithShift();
    void upKeyPressWithShift();
    void downKeyPressWithShift();
    // Commits an open edit; else opens an editor on the anchor cell, unless that cell is a Boolean.
    void returnKeyPress();
    // Cancels an open edit; nothing without one.
    void escapeKeyPress();

    // ---- clipboard ----
    // What the edit menu may offer now: copy and cut while the pressed cell lies in the selection (or
    // nothing was pressed), select while it lies outside, paste when there is also something to paste
    // and a selection to take it, select all in the range modes. Cut and paste never on a read-only grid.
    bool canPerformAction(plat::EditAction action, const std::shared_ptr<plat::Object>& sender) const override;
    // The same by the action's name ("copy:", "selectAll:"); the keyboard commands ("returnKeyPress",
    // "escapeKeyPress", "upKeyPress" ... "rightKeyPressWithShift") always, any other name never.
    bool canPerformAction(std::string_view action, const std::shared_ptr<plat::Object>& sender) const;
    // The selection as tab-separated text and as an HTML table in a web archive on the general
    // pasteboard, and as the cells' own values in the grid; a plain copy ends a pending cut.
    void copy(const std::shared_ptr<plat::Object>& sender) override;
    // A copy whose cells are emptied once the copy has been pasted somewhere.
    void cut(const std::shared_ptr<plat::Object>& sender) override;
    // Prefers the grid's own copy, which keeps raw values, as long as nobody has put other text on the
    // pasteboard since; otherwise reads the text back into rows and cells. The block lands at the top-left
    // of the selection and repeats when the selection holds it a whole number of times. A cell that is
    // read-only, or whose column cannot read the value, keeps what it had.
    void paste(const std::shared_ptr<plat::Object>& sender) override;
    // Selects the cell the edit menu was opened on.
    void select(const std::shared_ptr<plat::Object>& sender) override;
    void selectAll(const std::shared_ptr<plat::Object>& sender) override;
    // The earliest date written in the text (current locale and time zone).
    std::optional<plat::Date> dateFromString(std::string_view text) const;
    // Whether the value converts for the cell's column.
    bool tryPasting(const plat::Value& value, std::int32_t row, std::int32_t col) const;
    // Writes one value into the cell's merged range (each cell by its own column, read-only ones left
    // out); on the first tile of a cut, the source cell is then emptied unless this write covered it.
    void doPasting(const plat::Value& value, std::int32_t row, std::int32_t col, std::int32_t sourceRow, std::int32_t sourceCol,
                   bool nonRepeatFlag);

    // ---- detail rows and cell views ----

    // ---- look ----
    // White when the grid is opaque and has no colour or a clear one; else the colour stored.
    std::optional<plat::Color> backgroundColor() const;
    void setBackgroundColor(std::optional<plat::Color> color);
    // The colour stored, else the background colour.
    std::optional<plat::Color> alternatingRowBackgroundColor() const;
    void setAlternatingRowBackgroundColor(std::optional<plat::Color> color);
    plat::Color frozenCellsBorderColor() const;
    void setFrozenCellsBorderColor(plat::Color c);
    plat::Color textColor() const;
    void setTextColor(plat::Color c);
    plat::Color columnHeaderBackgroundColor() const;
    void setColumnHeaderBackgroundColor(plat::Color c);
    plat::Color columnHeaderTextColor() const;
    void setColumnHeaderTextColor(plat::Color c);
    plat::Color gridLinesColor() const;
    void setGridLinesColor(plat::Color c);
    plat::Color groupRowBackgroundColor() const;
    void setGroupRowBackgroundColor(plat::Color c);
    plat::Color groupRowTextColor() const;
    void setGroupRowTextColor(plat::Color c);
    plat::Color headerGridLinesColor() const;
    void setHeaderGridLinesColor(plat::Color c);
    plat::Color headerSelectedBackgroundColor() const;
    void setHeaderSelectedBackgroundColor(plat::Color c);
    plat::Color headerSelectedTextColor() const;
    void setHeaderSelectedTextColor(plat::Color c);
    plat::Color rowHeaderBackgroundColor() const;
    void setRowHeaderBackgroundColor(plat::Color c);
    plat::Color rowHeaderTextColor() const;
    void setRowHeaderTextColor(plat::Color c);
    plat::Color selectionAdornerColor() const;
    void setSelectionAdornerColor(plat::Color c);
    plat::Color selectionAdornerBorderColor() const;
    void setSelectionAdornerBorderColor(plat::Color c);
    plat::Color selectionBackgroundColor() const;
    void setSelectionBackgroundColor(plat::Color c);
    plat::Color selectionTextColor() const;
    void setSelectionTextColor(plat::Color c);
    plat::Color scrollIndicatorColor() const;
    void setScrollIndicatorColor(plat::Color color);

    // Fonts: the data rows follow the row-header font, the header row the column-header font.
    const plat::Font& font() const;
    void setFont(const plat::Font& font);
    const plat::Font& columnHeaderFont() const;
    void setColumnHeaderFont(const plat::Font& font);
    const plat::Font& rowHeaderFont() const;
    void setRowHeaderFont(const plat::Font& font);
    // Name and size of each font; an empty name is refused with a log line.
    std::string fontName() const;
    void setFontName(const std::string& name);
    double fontSize() const;
    void setFontSize(double size);
    std::string columnHeaderFontName() const;
    void setColumnHeaderFontName(const std::string& name);
    double columnHeaderFontSize() const;
    void setColumnHeaderFontSize(double size);
    std::string rowHeaderFontName() const;
    void setRowHeaderFontName(const std::string& name);
    double rowHeaderFontSize() const;
    void setRowHeaderFontSize(double size);

    // 0–3; any other value is refused with a log line.
    GridHeadersVisibility headersVisibility() const;
    void setHeadersVisibility(std::int64_t visibility);
    bool columnHeaderVisible() const;
    void setColumnHeaderVisible(bool visible);
    bool rowHeaderVisible() const;
    void setRowHeaderVisible(bool visible);
    // 0–3; any other value is refused with a log line.
    GridLinesVisibility gridLinesVisibility() const;
    void setGridLinesVisibility(std::int64_t visibility);
    bool horizontalLinesVisible() const;
    void setHorizontalLinesVisible(bool visible);
    bool verticalLinesVisible() const;
    void setVerticalLinesVisible(bool visible);
    double gridLinesWidth() const;
    void setGridLinesWidth(double width);
    const std::string& groupHeaderFormat() const;
    void setGroupHeaderFormat(const std::string& format);
    double treeIndent() const;
    void setTreeIndent(double indent);

    // ---- behaviour ----
    std::int64_t autoSizeMode() const;
    void setAutoSizeMode(std::int64_t mode);
    std::int64_t allowMerging() const;
    void setAllowMerging(std::int64_t merging);
    bool touchFeedback() const;
    void setTouchFeedback(bool on);
    bool allowResizing() const;
    void setAllowResizing(bool on);
    bool autoGenerateColumns() const;
    void setAutoGenerateColumns(bool on);
    bool isEnabled() const { return isUserInteractionEnabled(); }
    void setIsEnabled(bool on) { setUserInteractionEnabled(on); }
    bool isReadOnly() const;
    void setIsReadOnly(bool on);
    bool allowSorting() const;
    void setAllowSorting(bool on);
    bool showSort() const;
    void setShowSort(bool on);
    bool showGroups() const;
    void setShowGroups(bool on);
    bool defaultContextMenu() const;
    void setDefaultContextMenu(bool on);
    // Nothing sets it: touches are told through the recognisers.
    bool isTouching() const { return false; }
    bool isUpdating() const;

    // ---- sizes and the cells origin ----
    // 2 × the row-header font's size + 4, truncated.
    std::int32_t defaultRowSize() const;
    // 2 × the column-header font's size + 4, truncated.
    std::int32_t defaultColumnHeaderRowSize() const;
    void updateDefaultSizes();
    // Where the cells panel begins: after the row headers and the column headers that are shown.
    plat::Point offset() const;
    plat::Rect clientRect() const;

    // ---- scrolling ----
    double originX() const;
    double originY() const;
    plat::Point scrollPosition() const;
    // Clamped to [0, the largest origin], or, with touch feedback, pulled back there by a bounce when
    // more than 2 points above or below the content; raises no ScrollPositionChanged. A coordinate that
    // is not finite is refused with a log line.
    void setScrollPosition(plat::Point position);
    // The pan recogniser's action: the origin follows the finger, then glides on from the release
    // speed; an axis whose frozen cells the pan began on stays put.
    void respondToPanGesture(plat::GestureRecognizer& recognizer);
    // Within one screen of the end of the rows.
    bool isScrolledToBottom() const;

    // ---- view operations (any index: outside the grid a zero rectangle, nil, 0 or false, nothing moved) ----
    // Removes the item at `index` of the view's first top-level group named `name` from the view.
    void removeFromGroup(const std::string& name, std::int32_t index);
    // Appends the item to the bound view; refused with a log line without one.
    void addItem(const plat::Value& item);
    // Collapses every group row of `level` or deeper, expands the others.
    void collapseGroupsToLevel(std::int32_t level);
    plat::Rect getCellRectForRow(std::int32_t row, std::int32_t col) const;
    plat::Value getCellDataForRow(std::int32_t row, std::int32_t col, bool formatted) const;
    // The cell's top lies between the cells' start and the last place the row still fits above the bottom.
    bool isRowInView(std::int32_t row, std::int32_t col) const;
    bool isColumnInView(std::int32_t col, std::int32_t row) const;
    // Moves the origin the least that shows the whole row (column): its bottom at the bottom edge or its
    // top under the frozen rows (its right at the right edge or its left after the frozen columns).
    void scrollRowIntoView(std::int32_t row);
    void scrollColumnIntoView(std::int32_t col);
    // Both at once after the first drawing pass; before it, later on the main queue, after layout.
    bool scrollIntoView(std::int32_t row, std::int32_t col);

    // ---- drawing pass and invalidation ----
    // Drops the cell images, raises Invalidated, tells the delegate, asks for a drawing pass.
    void invalidate();
    // Empties the four panels' image caches, raises DroppedCaches, tells the delegate.
    void dropCaches();
    // Background, the panels (cells, then the headers shown), the selection handles, between
    // Rendering and Rendered; then, after the pass, the check for more items.
    void drawRect(plat::Context& context, const plat::Rect& rect) override;

    // ---- auto-sizing (measuring the text; `header`: the row-header column, or the column-header row) ----
    // A column's width from its cells' and its header's text; an index outside the panel does nothing.
    void autoSizeColumn(std::int32_t column, bool header = false, std::int32_t extra = 0);
    // Each column from `first` to `last`, inclusive; nothing when first is past last.
    void autoSizeColumns(std::int32_t first, std::int32_t last, bool header = false, std::int32_t extra = 0);
    void autoSizeColumns();
    // A row's height from its cells' text, never below the default row size; a row no cell is
    // measured for keeps its height.
    void autoSizeRowInternal(std::int32_t row, bool header, std::int32_t extra);
    void autoSizeRow(std::int32_t row, bool header = false, std::int32_t extra = 0) { autoSizeRowInternal(row, header, extra); }
    void autoSizeRows(std::int32_t first, std::int32_t last, bool header = false, std::int32_t extra = 0);
    void autoSizeRows();

    // Fills the grid with demonstration data: six typed columns, 28 rows and a group row.
    void prepareForInterfaceBuilder();
    void respondToSizeChanged() override;
    void layoutSubviews() override;
    void setFrame(const plat::Rect& frame) override;

    // The grey whose red, green and blue are the single-precision fraction.
    static plat::Color grayShade(float fraction);

protected:
    explicit OmbriGrid(const plat::Rect& frame);
    void initialize() override;

private:
    KIVO_GRID_NO_EXPORT void initInternals();
    // ---- binding ----
    KIVO_GRID_NO_EXPORT void _bindGrid(bool columnsToo);
    // Rebuilds the rows, or, given an edit of a flat view that the rows still mirror, applies that
    // edit alone; either way inside one batch framed by LoadingRows and LoadedRows.
    KIVO_GRID_NO_EXPORT void _bindRows(const KivoNotifyCollectionChangedEventArgs* edit = nullptr);
    KIVO_GRID_NO_EXPORT void _addGroup(const std::shared_ptr<KivoCollectionViewGroup>& group);
    KIVO_GRID_NO_EXPORT void _bindColumns();
    KIVO_GRID_NO_EXPORT plat::Value _getPrototype() const;
    KIVO_GRID_NO_EXPORT void _updateColumnTypes(const plat::Value& prototype);
    KIVO_GRID_NO_EXPORT void _collectionChanged(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args);
    KIVO_GRID_NO_EXPORT void _columnsChanged();
    // ---- the view's current item, following the selected row ----
    // Keeps the view's current item in step with the selection: the item shown by the selected row,
    // found by its position in the view.
    KIVO_GRID_NO_EXPORT void _syncCollectionView();
    // The position in the view's items of the item a row shows; -1 for a group row, a row no item
    // of the view made, or no row.
    KIVO_GRID_NO_EXPORT std::int32_t rowItemIndex(std::int32_t row) const;
    // Whether the range names only cells of the grid (the empty range passes); logs a refusal.
    KIVO_GRID_NO_EXPORT bool selectionFits(const GridCellRange& range, const char* request) const;
    // Stores an accepted range: the vetoable events around the store and the current item's move.
    KIVO_GRID_NO_EXPORT bool changeSelection(const std::shared_ptr<GridCellRange>& range);
    // The client area and the largest origins for a pass over `rect`.
    KIVO_GRID_NO_EXPORT void _measureClientArea(const plat::Rect& rect);
    // Hooks the grid to `view`'s announcements, letting go of the view it followed before.
    KIVO_GRID_NO_EXPORT void followView(const std::shared_ptr<KivoCollectionView>& view);
    // A selection past the last row or column is pulled back onto it; with no rows or no columns it is
    // empty. Stored directly, as binding does, without selection events.
    KIVO_GRID_NO_EXPORT void clampSelection();
    KIVO_GRID_NO_EXPORT void _headersChanged();
    // After a pass: asks a cursor view for more items when the cells do not fill twice the view.
    KIVO_GRID_NO_EXPORT void checkForMoreItems();
    // ---- scrolling ----
    // What a gesture on the grid does first: the grid takes the keyboard, unless an open editor holds it.
    // Taking it then would hide the editor's keyboard, whose hiding ends the edit before the gesture has
    // decided whether it should (a tap on the edited cell keeps the editor, a resize discards the edit).
    KIVO_GRID_NO_EXPORT void takeFirstResponder();

    // ---- taps and sorting ----
    // The double tap leaves the touches on a control in the grid (a detail row's toggle button) to
    // the control: two quick taps on it are two presses, not a double tap on the grid.
    KIVO_GRID_NO_EXPORT bool gestureRecognizerShouldReceiveTouch(plat::GestureRecognizer& recognizer,
                                                                 const plat::Touch& touch) override;

    // ---- detail rows and cell views ----

    // The one way every event is raised: the handlers first, then the delegate, their answers
    // combined by `rule`; true when the action goes on. `onlyWithHandlers` raises only while the event
    // has a handler (the delegate is asked either way).
    KIVO_GRID_NO_EXPORT bool raiseCancelable(const std::shared_ptr<KivoEvent>& event,
                                             const std::shared_ptr<KivoCancelEventArgs>& args, kivo::detail::DelegateRule rule,
                                             const std::function<std::optional<bool>(OmbriGridDelegate&)>& ask,
                                             bool onlyWithHandlers = false);
    // An event that announces: the handlers, then the delegate.
    KIVO_GRID_NO_EXPORT void raiseNotice(const std::shared_ptr<KivoEvent>& event, const std::shared_ptr<KivoEventArgs>& args,
                                         const std::function<void(OmbriGridDelegate&)>& tell, bool onlyWithHandlers = false);

    std::unique_ptr<kivo::detail::GridState> _state;

public:
    // For the library's internal-access class: what the grid holds, and the grid's own ways of
    // raising events, taking the keyboard and following its header sizes.
    KIVO_GRID_NO_EXPORT kivo::detail::GridState& state(plat::Passkey<kivo::detail::GridInternals>) const { return *_state; }
    KIVO_GRID_NO_EXPORT std::shared_ptr<const plat::Object> holdAlive(plat::Passkey<kivo::detail::GridInternals>) const {
        return keepAlive();
    }
    KIVO_GRID_NO_EXPORT std::shared_ptr<OmbriGrid> sharedSelf(plat::Passkey<kivo::detail::GridInternals>) {
        return sharedAs<OmbriGrid>();
    }
    KIVO_GRID_NO_EXPORT void headersChanged(plat::Passkey<kivo::detail::GridInternals>) { _headersChanged(); }
    KIVO_GRID_NO_EXPORT void takeFirstResponder(plat::Passkey<kivo::detail::GridInternals>) { takeFirstResponder(); }
    KIVO_GRID_NO_EXPORT bool raiseCancelable(plat::Passkey<kivo::detail::GridInternals>, const std::shared_ptr<KivoEvent>& event,
                                             const std::shared_ptr<KivoCancelEventArgs>& args, kivo::detail::DelegateRule rule,
                                             const std::function<std::optional<bool>(OmbriGridDelegate&)>& ask) {
        return raiseCancelable(event, args, rule, ask);
    }
    KIVO_GRID_NO_EXPORT void raiseNotice(plat::Passkey<kivo::detail::GridInternals>, const std::shared_ptr<KivoEvent>& event,
                                         const std::shared_ptr<KivoEventArgs>& args,
                                         const std::function<void(OmbriGridDelegate&)>& tell) {
        raiseNotice(event, args, tell);
    }
};
