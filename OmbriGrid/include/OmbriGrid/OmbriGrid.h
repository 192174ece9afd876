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
#include "Platform/graphics/color.h"
#include "Platform/graphics/font.h"
#include "Platform/runtime/notification_center.h"
#include "Platform/ui/gesture_recognizer.h"
#include "Platform/ui/picker_view.h"
#include "Platform/ui/text_field.h"

class GridPanel;
class GridRowAccessor;
class GridHitTestInfo;
class GridCellRangeEventArgs;
class GridRow;
class GridColumn;
class GridRowCollection;
class GridColumnCollection;
class GridMergeManager;
class GridCellFactory;
class OmbriGridDetailProvider;
class KivoCollectionView;
class KivoCollectionViewGroup;
class KivoNotifyCollectionChangedEventArgs;
class IKivoValueFormatter;
class GridDataMap;
class KivoAnimationDriver;
namespace plat {
class BarButtonItem;
class LongPressGestureRecognizer;
class Toolbar;
class TapGestureRecognizer;
class PanGestureRecognizer;
class Timer;
}  // namespace plat
namespace kivo::detail {
struct GridTestAccess;
enum class DelegateRule : int;
class GroupCollapse;
}  // namespace kivo::detail

class KIVO_GRID_EXPORT OmbriGrid : public KivoView,
                                   public plat::GestureRecognizerDelegate,
                                   public plat::TextFieldDelegate,
                                   public plat::PickerViewDataSource,
                                   public plat::PickerViewDelegate {
public:
    static std::shared_ptr<OmbriGrid> create(const plat::Rect& frame = {});
    ~OmbriGrid() override;

    // ---- events (sender: the grid) and delegate ----
    const std::shared_ptr<KivoEvent>& ombriGridTapped() const { return _ombriGridTapped; }
    void setOmbriGridTapped(std::shared_ptr<KivoEvent> event) { _ombriGridTapped = std::move(event); }
    const std::shared_ptr<KivoEvent>& ombriGridRendered() const { return _ombriGridRendered; }
    void setOmbriGridRendered(std::shared_ptr<KivoEvent> event) { _ombriGridRendered = std::move(event); }
    const std::shared_ptr<KivoEvent>& ombriGridRendering() const { return _ombriGridRendering; }
    void setOmbriGridRendering(std::shared_ptr<KivoEvent> event) { _ombriGridRendering = std::move(event); }
    const std::shared_ptr<KivoEvent>& ombriGridInvalidated() const { return _ombriGridInvalidated; }
    void setOmbriGridInvalidated(std::shared_ptr<KivoEvent> event) { _ombriGridInvalidated = std::move(event); }
    const std::shared_ptr<KivoEvent>& ombriGridFormatItem() const { return _ombriGridFormatItem; }
    void setOmbriGridFormatItem(std::shared_ptr<KivoEvent> event) { _ombriGridFormatItem = std::move(event); }
    const std::shared_ptr<KivoEvent>& ombriGridProcessItemOverlay() const { return _ombriGridProcessItemOverlay; }
    void setOmbriGridProcessItemOverlay(std::shared_ptr<KivoEvent> event) { _ombriGridProcessItemOverlay = std::move(event); }
    const std::shared_ptr<KivoEvent>& ombriGridCellTapped() const { return _ombriGridCellTapped; }
    void setOmbriGridCellTapped(std::shared_ptr<KivoEvent> event) { _ombriGridCellTapped = std::move(event); }
    const std::shared_ptr<KivoEvent>& ombriGridCellDoubleTapped() const { return _ombriGridCellDoubleTapped; }
    void setOmbriGridCellDoubleTapped(std::shared_ptr<KivoEvent> event) { _ombriGridCellDoubleTapped = std::move(event); }
    const std::shared_ptr<KivoEvent>& ombriGridBeginningEdit() const { return _ombriGridBeginningEdit; }
    void setOmbriGridBeginningEdit(std::shared_ptr<KivoEvent> event) { _ombriGridBeginningEdit = std::move(event); }
    const std::shared_ptr<KivoEvent>& ombriGridCellEditEnding() const { return _ombriGridCellEditEnding; }
    void setOmbriGridCellEditEnding(std::shared_ptr<KivoEvent> event) { _ombriGridCellEditEnding = std::move(event); }
    const std::shared_ptr<KivoEvent>& ombriGridCellEditEnded() const { return _ombriGridCellEditEnded; }
    void setOmbriGridCellEditEnded(std::shared_ptr<KivoEvent> event) { _ombriGridCellEditEnded = std::move(event); }
    const std::shared_ptr<KivoEvent>& ombriGridPrepareCellForEdit() const { return _ombriGridPrepareCellForEdit; }
    void setOmbriGridPrepareCellForEdit(std::shared_ptr<KivoEvent> event) { _ombriGridPrepareCellForEdit = std::move(event); }
    const std::shared_ptr<KivoEvent>& ombriGridItemsSourceChanged() const { return _ombriGridItemsSourceChanged; }
    void setOmbriGridItemsSourceChanged(std::shared_ptr<KivoEvent> event) { _ombriGridItemsSourceChanged = std::move(event); }
    const std::shared_ptr<KivoEvent>& ombriGridLoadingRows() const { return _ombriGridLoadingRows; }
    void setOmbriGridLoadingRows(std::shared_ptr<KivoEvent> event) { _ombriGridLoadingRows = std::move(event); }
    const std::shared_ptr<KivoEvent>& ombriGridLoadedRows() const { return _ombriGridLoadedRows; }
    void setOmbriGridLoadedRows(std::shared_ptr<KivoEvent> event) { _ombriGridLoadedRows = std::move(event); }
    const std::shared_ptr<KivoEvent>& ombriGridGroupCollapsedChanging() const { return _ombriGridGroupCollapsedChanging; }
    void setOmbriGridGroupCollapsedChanging(std::shared_ptr<KivoEvent> event) {
        _ombriGridGroupCollapsedChanging = std::move(event);
    }
    const std::shared_ptr<KivoEvent>& ombriGridGroupCollapsedChanged() const { return _ombriGridGroupCollapsedChanged; }
    void setOmbriGridGroupCollapsedChanged(std::shared_ptr<KivoEvent> event) {
        _ombriGridGroupCollapsedChanged = std::move(event);
    }
    const std::shared_ptr<KivoEvent>& ombriGridScrollPositionChanged() const { return _ombriGridScrollPositionChanged; }
    void setOmbriGridScrollPositionChanged(std::shared_ptr<KivoEvent> event) {
        _ombriGridScrollPositionChanged = std::move(event);
    }
    const std::shared_ptr<KivoEvent>& ombriGridSelectionChanging() const { return _ombriGridSelectionChanging; }
    void setOmbriGridSelectionChanging(std::shared_ptr<KivoEvent> event) { _ombriGridSelectionChanging = std::move(event); }
    const std::shared_ptr<KivoEvent>& ombriGridSelectionChanged() const { return _ombriGridSelectionChanged; }
    void setOmbriGridSelectionChanged(std::shared_ptr<KivoEvent> event) { _ombriGridSelectionChanged = std::move(event); }
    const std::shared_ptr<KivoEvent>& ombriGridSortingColumn() const { return _ombriGridSortingColumn; }
    void setOmbriGridSortingColumn(std::shared_ptr<KivoEvent> event) { _ombriGridSortingColumn = std::move(event); }
    const std::shared_ptr<KivoEvent>& ombriGridSortedColumn() const { return _ombriGridSortedColumn; }
    void setOmbriGridSortedColumn(std::shared_ptr<KivoEvent> event) { _ombriGridSortedColumn = std::move(event); }
    const std::shared_ptr<KivoEvent>& ombriGridAutoGeneratingColumn() const { return _ombriGridAutoGeneratingColumn; }
    void setOmbriGridAutoGeneratingColumn(std::shared_ptr<KivoEvent> event) { _ombriGridAutoGeneratingColumn = std::move(event); }
    const std::shared_ptr<KivoEvent>& ombriGridResizedColumn() const { return _ombriGridResizedColumn; }
    void setOmbriGridResizedColumn(std::shared_ptr<KivoEvent> event) { _ombriGridResizedColumn = std::move(event); }
    const std::shared_ptr<KivoEvent>& ombriGridDroppedCaches() const { return _ombriGridDroppedCaches; }
    void setOmbriGridDroppedCaches(std::shared_ptr<KivoEvent> event) { _ombriGridDroppedCaches = std::move(event); }
    const std::shared_ptr<KivoEvent>& ombriGridCellLongPressed() const { return _ombriGridCellLongPressed; }
    void setOmbriGridCellLongPressed(std::shared_ptr<KivoEvent> event) { _ombriGridCellLongPressed = std::move(event); }
    std::shared_ptr<OmbriGridDelegate> delegate() const { return _delegate.lock(); }
    void setDelegate(const std::shared_ptr<OmbriGridDelegate>& delegate) { _delegate = delegate; }
    // Keeps the delegate alive, and makes it the delegate.
    const std::shared_ptr<OmbriGridDelegate>& strongDelegate() const { return _strongDelegate; }
    void setStrongDelegate(std::shared_ptr<OmbriGridDelegate> delegate);

    // ---- data and parts ----
    const std::shared_ptr<GridRowCollection>& rows() const { return _rows; }
    const std::shared_ptr<GridColumnCollection>& columns() const { return _columns; }
    const std::shared_ptr<GridPanel>& cells() const { return _cells; }
    const std::shared_ptr<GridPanel>& columnHeaders() const { return _columnHeaders; }
    const std::shared_ptr<GridPanel>& rowHeaders() const { return _rowHeaders; }
    const std::shared_ptr<GridPanel>& topLeftCells() const { return _topLeftCells; }
    const std::shared_ptr<GridRow>& columnHeaderRow() const { return _columnHeaderRow; }
    void setColumnHeaderRow(std::shared_ptr<GridRow> row);
    const std::shared_ptr<KivoCollectionView>& collectionView() const { return _collectionView; }
    // ---- binding ----
    // The application's items, held as they are (no copy).
    const plat::ArrayPtr& itemsSource() const { return _itemsSource; }
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
    const std::shared_ptr<GridHitTestInfo>& contextMenuHitTest() const { return _contextMenuHTI; }
    const std::shared_ptr<GridMergeManager>& mergeManager() const { return _mergeManager; }
    void setMergeManager(std::shared_ptr<GridMergeManager> manager);
    const std::shared_ptr<OmbriGridDetailProvider>& detailProvider() const { return _detailProvider; }
    void setDetailProvider(std::shared_ptr<OmbriGridDetailProvider> provider);
    const std::shared_ptr<GridCellFactory>& cellFactory() const { return _cellFactory; }
    void setCellFactory(std::shared_ptr<GridCellFactory> factory) { _cellFactory = std::move(factory); }
    const std::shared_ptr<IKivoValueFormatter>& valueFormatter() const { return _valueFormatter; }
    void setValueFormatter(std::shared_ptr<IKivoValueFormatter> formatter);
    // ---- what is selected, and how taps and code change it ----
    const std::shared_ptr<GridCellRange>& selection() const { return _selection; }
    // The grid keeps its own copy, so a caller editing its range later changes nothing on screen. In
    // the row modes the range grows to whole rows; nothing or an empty range deselects. Indices outside
    // the grid are logged and ignored rather than clamped, since a clamped range would select cells the
    // caller never named. Handlers and the delegate can veto before anything moves; the current item
    // follows the new row before the Changed event, so its handlers see both in step.
    void setSelection(const std::shared_ptr<GridCellRange>& selection);
    // The range as given (no widening to whole rows), then, when `show`, its anchor scrolled into view.
    void selectCellRange(const std::shared_ptr<GridCellRange>& range, bool show = true);
    GridSelectionMode selectionMode() const { return _selectionMode; }
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
    std::int32_t columnBeingSized() const { return _columnBeingSized; }
    const std::shared_ptr<plat::View>& activeEditor() const { return _activeEditor; }
    void setActiveEditor(std::shared_ptr<plat::View> editor) { _activeEditor = std::move(editor); }
    const plat::Value& activeEditorValue() const { return _activeEditorValue; }
    const std::shared_ptr<GridCellRange>& editRange() const { return _editRange; }
    const std::shared_ptr<plat::LongPressGestureRecognizer>& longPressRecognizer() const { return _longPressRecognizer; }

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
    // Whether the cell could be edited at all: a data row (no group, spacer or detail row) and a
    // column, both inside the grid.
    bool _isValidRow(std::int32_t row, std::int32_t col) const;
    // The edited column's data map; null without an open edit or a map.
    std::shared_ptr<GridDataMap> _getDataMap() const;
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
    plat::Color frozenCellsBorderColor() const { return _frozenCellsBorderColor; }
    void setFrozenCellsBorderColor(plat::Color c) { changeAndInvalidate(_frozenCellsBorderColor, c); }
    plat::Color textColor() const { return _textColor; }
    void setTextColor(plat::Color c) { changeAndInvalidate(_textColor, c); }
    plat::Color columnHeaderBackgroundColor() const { return _columnHeaderBackgroundColor; }
    void setColumnHeaderBackgroundColor(plat::Color c) { changeAndInvalidate(_columnHeaderBackgroundColor, c); }
    plat::Color columnHeaderTextColor() const { return _columnHeaderTextColor; }
    void setColumnHeaderTextColor(plat::Color c) { changeAndInvalidate(_columnHeaderTextColor, c); }
    plat::Color gridLinesColor() const { return _gridLinesColor; }
    void setGridLinesColor(plat::Color c) { changeAndInvalidate(_gridLinesColor, c); }
    plat::Color groupRowBackgroundColor() const { return _groupRowBackgroundColor; }
    void setGroupRowBackgroundColor(plat::Color c) { changeAndInvalidate(_groupRowBackgroundColor, c); }
    plat::Color groupRowTextColor() const { return _groupRowTextColor; }
    void setGroupRowTextColor(plat::Color c) { changeAndInvalidate(_groupRowTextColor, c); }
    plat::Color headerGridLinesColor() const { return _headerGridLinesColor; }
    void setHeaderGridLinesColor(plat::Color c) { changeAndInvalidate(_headerGridLinesColor, c); }
    plat::Color headerSelectedBackgroundColor() const { return _headerSelectedBackgroundColor; }
    void setHeaderSelectedBackgroundColor(plat::Color c) { changeAndInvalidate(_headerSelectedBackgroundColor, c); }
    plat::Color headerSelectedTextColor() const { return _headerSelectedTextColor; }
    void setHeaderSelectedTextColor(plat::Color c) { changeAndInvalidate(_headerSelectedTextColor, c); }
    plat::Color rowHeaderBackgroundColor() const { return _rowHeaderBackgroundColor; }
    void setRowHeaderBackgroundColor(plat::Color c) { changeAndInvalidate(_rowHeaderBackgroundColor, c); }
    plat::Color rowHeaderTextColor() const { return _rowHeaderTextColor; }
    void setRowHeaderTextColor(plat::Color c) { changeAndInvalidate(_rowHeaderTextColor, c); }
    plat::Color selectionAdornerColor() const { return _selectionAdornerColor; }
    void setSelectionAdornerColor(plat::Color c) { changeAndInvalidate(_selectionAdornerColor, c); }
    plat::Color selectionAdornerBorderColor() const { return _selectionAdornerBorderColor; }
    void setSelectionAdornerBorderColor(plat::Color c) { changeAndInvalidate(_selectionAdornerBorderColor, c); }
    plat::Color selectionBackgroundColor() const { return _selectionBackgroundColor; }
    void setSelectionBackgroundColor(plat::Color c) { changeAndInvalidate(_selectionBackgroundColor, c); }
    plat::Color selectionTextColor() const { return _selectionTextColor; }
    void setSelectionTextColor(plat::Color c) { changeAndInvalidate(_selectionTextColor, c); }
    plat::Color scrollIndicatorColor() const;
    void setScrollIndicatorColor(plat::Color color);

    // Fonts: the data rows follow the row-header font, the header row the column-header font.
    const plat::Font& font() const { return _font; }
    void setFont(const plat::Font& font) { changeFont(_font, font); }
    const plat::Font& columnHeaderFont() const { return _columnHeaderFont; }
    void setColumnHeaderFont(const plat::Font& font) { changeFont(_columnHeaderFont, font); }
    const plat::Font& rowHeaderFont() const { return _rowHeaderFont; }
    void setRowHeaderFont(const plat::Font& font) { changeFont(_rowHeaderFont, font); }
    // Name and size of each font; an empty name is refused with a log line.
    std::string fontName() const { return _font.family; }
    void setFontName(const std::string& name) { changeFontName(_font, name); }
    double fontSize() const { return _font.size; }
    void setFontSize(double size) { changeFont(_font, _font.withSize(size)); }
    std::string columnHeaderFontName() const { return _columnHeaderFont.family; }
    void setColumnHeaderFontName(const std::string& name) { changeFontName(_columnHeaderFont, name); }
    double columnHeaderFontSize() const { return _columnHeaderFont.size; }
    void setColumnHeaderFontSize(double size) { changeFont(_columnHeaderFont, _columnHeaderFont.withSize(size)); }
    std::string rowHeaderFontName() const { return _rowHeaderFont.family; }
    void setRowHeaderFontName(const std::string& name) { changeFontName(_rowHeaderFont, name); }
    double rowHeaderFontSize() const { return _rowHeaderFont.size; }
    void setRowHeaderFontSize(double size) { changeFont(_rowHeaderFont, _rowHeaderFont.withSize(size)); }

    // 0–3; any other value is refused with a log line.
    GridHeadersVisibility headersVisibility() const { return _headersVisibility; }
    void setHeadersVisibility(std::int64_t visibility);
    bool columnHeaderVisible() const { return (_headersVisibility & GridHeadersVisibilityColumn) != 0; }
    void setColumnHeaderVisible(bool visible);
    bool rowHeaderVisible() const { return (_headersVisibility & GridHeadersVisibilityRow) != 0; }
    void setRowHeaderVisible(bool visible);
    // 0–3; any other value is refused with a log line.
    GridLinesVisibility gridLinesVisibility() const { return _gridLinesVisibility; }
    void setGridLinesVisibility(std::int64_t visibility);
    bool horizontalLinesVisible() const { return (_gridLinesVisibility & GridLinesVisibilityHorizontal) != 0; }
    void setHorizontalLinesVisible(bool visible);
    bool verticalLinesVisible() const { return (_gridLinesVisibility & GridLinesVisibilityVertical) != 0; }
    void setVerticalLinesVisible(bool visible);
    double gridLinesWidth() const { return _gridLinesWidth; }
    void setGridLinesWidth(double width) { changeAndInvalidate(_gridLinesWidth, width); }
    const std::string& groupHeaderFormat() const { return _groupHeaderFormat; }
    void setGroupHeaderFormat(const std::string& format) { changeAndInvalidate(_groupHeaderFormat, format); }
    double treeIndent() const { return _treeIndent; }
    void setTreeIndent(double indent) { changeAndInvalidate(_treeIndent, indent); }

    // ---- behaviour ----
    std::int64_t autoSizeMode() const { return _autoSizeMode; }
    void setAutoSizeMode(std::int64_t mode) { _autoSizeMode = mode; }
    std::int64_t allowMerging() const { return _allowMerging; }
    void setAllowMerging(std::int64_t merging);
    bool touchFeedback() const { return _touchFeedback; }
    void setTouchFeedback(bool on) { _touchFeedback = on; }
    bool allowResizing() const { return _allowResizing; }
    void setAllowResizing(bool on) { _allowResizing = on; }
    bool autoGenerateColumns() const { return _autoGenerateColumns; }
    void setAutoGenerateColumns(bool on);
    bool isEnabled() const { return isUserInteractionEnabled(); }
    void setIsEnabled(bool on) { setUserInteractionEnabled(on); }
    bool isReadOnly() const { return _isReadOnly; }
    void setIsReadOnly(bool on) { _isReadOnly = on; }
    bool allowSorting() const { return _allowSorting; }
    void setAllowSorting(bool on) { _allowSorting = on; }
    bool showSort() const { return _showSort; }
    void setShowSort(bool on) { changeAndInvalidate(_showSort, on); }
    bool showGroups() const { return _showGroups; }
    void setShowGroups(bool on) { changeAndInvalidate(_showGroups, on); }
    bool defaultContextMenu() const { return _defaultContextMenu; }
    void setDefaultContextMenu(bool on) { _defaultContextMenu = on; }
    // Nothing sets it: touches are told through the recognisers.
    bool isTouching() const { return false; }
    bool isUpdating() const { return _isUpdating; }

    // ---- sizes and the cells origin ----
    // 2 × the row-header font's size + 4, truncated.
    std::int32_t defaultRowSize() const;
    // 2 × the column-header font's size + 4, truncated.
    std::int32_t defaultColumnHeaderRowSize() const;
    void updateDefaultSizes();
    // Where the cells panel begins: after the row headers and the column headers that are shown.
    plat::Point offset() const { return _cellsStart; }
    plat::Rect clientRect() const { return _clientRect; }

    // ---- scrolling ----
    double originX() const { return _originX; }
    double originY() const { return _originY; }
    plat::Point scrollPosition() const { return {_originX, _originY}; }
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
    friend class GridRowColCollection;
    friend class GridColumnCollection;
    friend class GridRowCol;
    friend class GridRow;
    friend class GridColumn;
    friend class kivo::detail::GroupCollapse;
    friend struct kivo::detail::GridTestAccess;

    void initInternals();
    // ---- binding ----
    void _bindGrid(bool columnsToo);
    // Rebuilds the rows, or, given an edit of a flat view that the rows still mirror, applies that
    // edit alone; either way inside one batch framed by LoadingRows and LoadedRows.
    void _bindRows(const KivoNotifyCollectionChangedEventArgs* edit = nullptr);
    void _addGroup(const std::shared_ptr<KivoCollectionViewGroup>& group);
    void _bindColumns();
    plat::Value _getPrototype() const;
    void _updateColumnTypes(const plat::Value& prototype);
    void _collectionChanged(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args);
    void _columnsChanged();
    // ---- the view's current item, following the selected row ----
    // Moves the view's current item to the selected row's item, by its position in the view.
    void _syncCollectionView();
    // The position in the view's items of the item a row shows; -1 for a group row, a row no item
    // of the view made, or no row.
    std::int32_t rowItemIndex(std::int32_t row) const;
    // Whether the range names only cells of the grid (the empty range passes); logs a refusal.
    bool selectionFits(const GridCellRange& range, const char* request) const;
    // Stores an accepted range: the vetoable events around the store and the current item's move.
    bool changeSelection(const std::shared_ptr<GridCellRange>& range);
    // The client area and the largest origins for a pass over `rect`.
    void _measureClientArea(const plat::Rect& rect);
    // Hooks the grid to `view`'s announcements, letting go of the view it followed before.
    void followView(const std::shared_ptr<KivoCollectionView>& view);
    // A selection past the last row or column is pulled back onto it; with no rows or no columns it is
    // empty. Stored directly, as binding does, without selection events.
    void clampSelection();
    void _headersChanged();
    void _constrainOriginInternal();
    // After a pass: asks a cursor view for more items when the cells do not fill twice the view.
    void checkForMoreItems();
    // ---- scrolling ----
    void updatePanMax();
    void _handlePan(plat::Point translation);
    // A pan step shows the scroll indicators a little more and stops a pending fade.
    void doReactPan();
    // One frame of the glide or the bounce, `t` seconds after its start.
    void _panTimer(double t, bool last);
    void _panTimer2(double t, bool last);
    // One frame of the glide or the bounce; true once it ends (its last frame, or a stop asked for).
    bool slideTick(double t, bool last);
    // The origin back within the content. While it moves: the horizontal one, and the vertical one
    // only when touch feedback is off. Once it rests: both, the vertical one by a bounce when more than
    // 2 points out and touch feedback is on.
    void _constrainOriginNonFinal();
    void _constrainOriginFinal();
    // Raises ScrollPositionChanged when the whole-point origin moved from `before`.
    void scrollPositionMoved(plat::Point before);
    // Starts the glide or the bounce, stopping the one that runs.
    void startSlide(bool bounce);
    // The indicators fade out once the origin has been still for a while.
    void scrollBarGhost();
    void _scrollGhostDisappear(double t, bool last);
    void stopScrollTimers();
    // Asks a cursor view for more items when scrolled to the bottom and no load of any grid runs.
    void tryLoadCursorCollectionItems();
    // What a gesture on the grid does first: the grid takes the keyboard, unless an open editor holds it.
    // Taking it then would hide the editor's keyboard, whose hiding ends the edit before the gesture has
    // decided whether it should (a tap on the edited cell keeps the editor, a resize discards the edit).
    void takeFirstResponder();
    void keyboardWasShown(const plat::Notification& notification);
    void keyboardWillBeHidden(const plat::Notification& notification);

    // ---- editing ----
    // The data-map picker, its toolbar and Done item: the editor's input and accessory views for
    // columns with a data map.
    void initToolbars();
    // Fills and shows the grid's own editor for the cell's column; false for a column it cannot edit.
    bool prepareEditor(std::int32_t row, std::int32_t col, plat::Rect rect);
    // Writes the closing edit's value into every cell of its merged range, column by column.
    void commitEdit();
    // The text the grid's editor opens with for the cell.
    std::string editorTextForCell(std::int32_t row, std::int32_t col) const;
    // Whether the row and column an edit is starting on are still the ones it was asked for, after
    // application code ran; logs a refusal when not.
    bool editCellStands(std::int32_t row, std::int32_t col, const std::shared_ptr<GridRow>& rowObject,
                        const std::shared_ptr<GridColumn>& column) const;
    // Takes back what a start refused halfway had set.
    void abandonStart();
    // Notes the rows of the opening edit's range, so that the edit can follow its item.
    void holdEditedItem();
    // Puts the open edit (its cell, its range, its editor) where its item stands now; false when the
    // item has left the rows.
    bool followEditedItem();
    // The row that shows the edited item now; -1 when none does.
    std::int32_t editedItemRow() const;
    // Lets go of what the closing edit held.
    void releaseEditedItem();

    // ---- taps and sorting ----
    // A header tap's sort: the column's description flipped in place, or the whole sort replaced by
    // an ascending one on the column, each behind SortingColumn.
    void sortByColumnHeader(const GridHitTestInfo& hit);
    // Whether the hit falls on a cell of the range being edited.
    bool isOnEditRange(const GridHitTestInfo& hit) const;
    // Commits and closes the open editor as its return key would.
    void returnFromActiveEditor();
    // The double tap leaves the touches on a control in the grid (a detail row's toggle button) to
    // the control: two quick taps on it are two presses, not a double tap on the grid.
    bool gestureRecognizerShouldReceiveTouch(plat::GestureRecognizer& recognizer, const plat::Touch& touch) override;

    // ---- column resizing and the selection handles' drag ----
    // Which column a header press at `point` would size (walking left over hidden columns from a left
    // edge); -1 when it is in no edge zone or resizing is off.
    std::int32_t columnToSize(const GridHitTestInfo& hit, plat::Point point);
    bool pressShouldBegin(plat::Point point);
    void beginPress(plat::Point point);
    // One drag step of the column being sized: the column follows the finger from `p1`.
    void resizeStep(double x);
    // The grabbed corner of the selection follows the finger over the cells.
    void dragSelectionHandle(plat::Point point);
    // The press is over, however it ended: the sized column keeps its width and is no longer marked.
    void endPress();
    // Every column fixed at the width it shows, the sized one at `sizedWidth`.
    void fixColumnWidths(std::int32_t sizedWidth);
    // The column's cell images (and the next one's) in the cells and both header panels; -1: all of them.
    void dropColumnCaches(std::int32_t column);

    // ---- keyboard commands ----
    // An arrow key: a step of one row (dRow) or one column (dCol), extending the range for Shift.
    void arrowKeyPress(std::int32_t dRow, std::int32_t dCol, bool extend);
    // The merged block the cell lies in, or the cell alone.
    std::shared_ptr<GridCellRange> mergedRangeOfCell(std::int32_t row, std::int32_t col) const;

    // ---- clipboard ----
    // One paste: the cells it wrote and left alone, the cut sources it empties at its end.
    struct PasteRun;
    void copySelection();
    // Places `rows` (the grid's copy or a pasted text) from the selection's top-left data row.
    // `valueAt` gives the value of copied row k, column j; null leaves that cell alone.
    void pasteBlock(PasteRun& run, std::size_t rowCount, std::size_t columnCount,
                    const std::function<const plat::Value*(std::size_t k, std::size_t j)>& valueAt);
    // One value into the merged range of (row, col); true when a cell was written.
    bool pasteInto(PasteRun& run, const plat::Value& value, std::int32_t row, std::int32_t col);
    // A row as the clipboard reads and writes it.
    struct ClipboardRow;
    // Points `view` at row `index`.
    void viewClipboardRow(ClipboardRow& view, std::int32_t index) const;
    // Empties the cut's sources this paste did not write, logs what was left alone, invalidates once.
    void finishPaste(PasteRun& run);
    // The row that shows a cut's source now, or -1 when none does.
    std::int32_t cutSourceRow(PasteRun& run, std::size_t source) const;

    // ---- detail rows and cell views ----

    // The one way every event is raised: the handlers first, then the delegate, their answers
    // combined by `rule`; true when the action goes on. `onlyWithHandlers` raises only while the event
    // has a handler (the delegate is asked either way).
    KIVO_GRID_NO_EXPORT bool raiseCancelable(const std::shared_ptr<KivoEvent>& event,
                                             const std::shared_ptr<KivoCancelEventArgs>& args, kivo::detail::DelegateRule rule,
                                             const std::function<std::optional<bool>(OmbriGridDelegate&)>& ask,
                                             bool onlyWithHandlers = false);
    // An event that announces: the handlers, then the delegate.
    void raiseNotice(const std::shared_ptr<KivoEvent>& event, const std::shared_ptr<KivoEventArgs>& args,
                     const std::function<void(OmbriGridDelegate&)>& tell, bool onlyWithHandlers = false);

    template <class T>
    void changeAndInvalidate(T& field, const T& value) {
        if (field == value) return;
        field = value;
        invalidate();
    }
    void changeFont(plat::Font& field, const plat::Font& font);
    void changeFontName(plat::Font& field, const std::string& name);

    std::shared_ptr<KivoEvent> _ombriGridTapped;
    std::shared_ptr<KivoEvent> _ombriGridRendered;
    std::shared_ptr<KivoEvent> _ombriGridRendering;
    std::shared_ptr<KivoEvent> _ombriGridInvalidated;
    std::shared_ptr<KivoEvent> _ombriGridFormatItem;
    std::shared_ptr<KivoEvent> _ombriGridProcessItemOverlay;
    std::shared_ptr<KivoEvent> _ombriGridCellTapped;
    std::shared_ptr<KivoEvent> _ombriGridCellDoubleTapped;
    std::shared_ptr<KivoEvent> _ombriGridBeginningEdit;
    std::shared_ptr<KivoEvent> _ombriGridCellEditEnding;
    std::shared_ptr<KivoEvent> _ombriGridCellEditEnded;
    std::shared_ptr<KivoEvent> _ombriGridPrepareCellForEdit;
    std::shared_ptr<KivoEvent> _ombriGridItemsSourceChanged;
    std::shared_ptr<KivoEvent> _ombriGridLoadingRows;
    std::shared_ptr<KivoEvent> _ombriGridLoadedRows;
    std::shared_ptr<KivoEvent> _ombriGridGroupCollapsedChanging;
    std::shared_ptr<KivoEvent> _ombriGridGroupCollapsedChanged;
    std::shared_ptr<KivoEvent> _ombriGridScrollPositionChanged;
    std::shared_ptr<KivoEvent> _ombriGridSelectionChanging;
    std::shared_ptr<KivoEvent> _ombriGridSelectionChanged;
    std::shared_ptr<KivoEvent> _ombriGridSortingColumn;
    std::shared_ptr<KivoEvent> _ombriGridSortedColumn;
    std::shared_ptr<KivoEvent> _ombriGridAutoGeneratingColumn;
    std::shared_ptr<KivoEvent> _ombriGridResizedColumn;
    std::shared_ptr<KivoEvent> _ombriGridDroppedCaches;
    std::shared_ptr<KivoEvent> _ombriGridCellLongPressed;
    std::weak_ptr<OmbriGridDelegate> _delegate;
    std::shared_ptr<OmbriGridDelegate> _strongDelegate;

    std::shared_ptr<GridRowCollection> _rows;
    std::shared_ptr<GridColumnCollection> _columns;
    std::shared_ptr<GridRowCollection> _headerRows;
    std::shared_ptr<GridColumnCollection> _headerCols;
    std::shared_ptr<GridPanel> _cells, _columnHeaders, _rowHeaders, _topLeftCells;
    std::shared_ptr<GridRow> _columnHeaderRow;
    std::shared_ptr<KivoCollectionView> _collectionView;
    plat::ArrayPtr _itemsSource;
    std::shared_ptr<GridHitTestInfo> _contextMenuHTI;
    // The view whose announcements the grid follows, and the subscription's owner token.
    std::weak_ptr<KivoCollectionView> _followedView;
    std::shared_ptr<int> _viewToken;
    std::shared_ptr<GridMergeManager> _mergeManager;
    std::shared_ptr<OmbriGridDetailProvider> _detailProvider;
    std::shared_ptr<GridCellFactory> _cellFactory;
    std::shared_ptr<IKivoValueFormatter> _valueFormatter;
    std::shared_ptr<GridCellRange> _selection;
    // Grouped rows: the view position of each row's item (-1 for group rows), in row order.
    std::vector<std::int32_t> _rowItemPositions;
    std::shared_ptr<GridCellRange> _editRange;
    std::shared_ptr<plat::View> _activeEditor;
    plat::Value _activeEditorValue;
    std::shared_ptr<plat::TextField> _editor;
    std::shared_ptr<plat::TapGestureRecognizer> _tapRecognizer, _doubleTapRecognizer;
    std::shared_ptr<plat::PanGestureRecognizer> _panRecognizer;
    std::shared_ptr<plat::LongPressGestureRecognizer> _pressRecognizer, _longPressRecognizer;
    plat::NotificationCenter::Token _keyboardShownToken{}, _keyboardHiddenToken{};

    std::optional<plat::Color> _alternatingRowBackgroundColor;
    plat::Color _frozenCellsBorderColor, _textColor, _columnHeaderBackgroundColor, _columnHeaderTextColor, _gridLinesColor,
        _groupRowBackgroundColor, _groupRowTextColor, _headerGridLinesColor, _headerSelectedBackgroundColor,
        _headerSelectedTextColor, _rowHeaderBackgroundColor, _rowHeaderTextColor, _selectionAdornerColor,
        _selectionAdornerBorderColor, _selectionBackgroundColor, _selectionTextColor;
    plat::Color _scrollIndicatorColor;
    plat::Font _font, _columnHeaderFont, _rowHeaderFont;

    GridHeadersVisibility _headersVisibility = GridHeadersVisibilityAll;
    GridLinesVisibility _gridLinesVisibility = GridLinesVisibilityAll;
    GridSelectionMode _selectionMode = GridSelectionModeRow;
    double _gridLinesWidth = 1.0;
    double _treeIndent = 14.0;
    std::string _groupHeaderFormat;
    std::int64_t _autoSizeMode = GridAutoSizeModeBoth;
    std::int64_t _allowMerging = GridAllowMergingNone;
    bool _touchFeedback = true;
    bool _allowResizing = true;
    bool _autoGenerateColumns = true;
    bool _isReadOnly = false;
    bool _allowSorting = true;
    bool _showSort = true;
    bool _showGroups = true;
    bool _defaultContextMenu = true;
    bool _isUpdating = false;
    bool _isFinishingFlag = false;
    bool _editTimerLock = false;
    bool _editStartLock = false;
    bool _isEverDrawnFlag = false;
    std::int32_t _columnBeingSized = -1;

    plat::Rect _clientRect{};
    plat::Point _cellsStart{};
    plat::Point _panMax{};
    double _originX = 0, _originY = 0;
    // ---- scrolling ----
    plat::Point _panStart{}, _panVelocity{};
    plat::Point startPoint{}, finalPoint{};
    // The glide's or the bounce's length in seconds, in single precision as the speed it comes from.
    float slideFactor = 0;
    bool freezeHorizontal = false, freezeVertical = false;
    // Frames of the glide or bounce, and the indicators' fade state; set past the end to stop them at
    // their next frame.
    std::int32_t _timerCount = 0, _ghostTimerCount = 0;
    // The glide or bounce, and the fade, on the animation driver; the fade's wait on a one-shot timer.
    std::shared_ptr<KivoAnimationDriver> _slideMove, _ghostMove;
    std::shared_ptr<plat::Timer> _ghostWaitTimer;
    double _ghostStartAlpha = 0;  // the indicators' alpha when the fade began
    // ---- editing ----
    std::shared_ptr<plat::PickerView> _dataMapPicker;
    std::shared_ptr<plat::Toolbar> _dataMapPickerToolbar;
    std::shared_ptr<plat::BarButtonItem> _dataMapPickerDone;
    // The cell the open edit was started on (inside `_editRange`), and its editor's text then: a commit
    // of unchanged text writes nothing.
    std::int32_t _editRow = -1, _editCol = -1;
    std::string _editStartText;
    // Counts the edits opened, so that a deferred step knows whether its edit is still the open one.
    std::uint64_t _editSerial = 0;
    // The open edit toggles a Boolean cell rather than reading an editor's text.
    bool _editToggles = false;
    // Set while an edit closes: a handler that asks to finish it again meanwhile changes nothing.
    bool _editClosing = false;
    // The rows of the open edit's range, top down, and the edited row's item: a sort, a removal or an
    // insertion moves them, and the edit goes with its item, never onto whatever took its place.
    std::vector<std::shared_ptr<GridRow>> _editRows;
    plat::Value _editItem;
    // Owns the handler that keeps the open editor over its item's cell at each drawing pass.
    std::shared_ptr<int> _editFollowToken;

    // ---- taps and sorting ----
    // Which corner of the selection an extension moves: true, the far corner (row2, col2), the anchor
    // staying put (a tap sets it); false, the anchor, the far corner staying put (the start handle).
    bool _selOrigin = false;
    // While a header tap changes the sort: the rebinding that follows only reorders the same items.
    bool _headerSortRunning = false;

    // ---- column resizing and the selection handles' drag ----
    // The x of the last press position while a column is sized.
    double p1 = 0;
    // The selection as it was when a press began on the cells; null outside such a press.
    std::shared_ptr<GridCellRange> _selStart;
    // What the short press will do once it begins, decided when it is asked to: only a press that
    // really begins marks a column or changes the moving corner.
    std::int32_t _pressColumn = -1;
    int _pressHandle = 0;

    // ---- keyboard commands ----

    // ---- clipboard ----
    // The grid's own copy: each copied data row's raw values by column offset (nil: no value), the
    // row's item, identity and index (so that a cut finds its cells where they were, or after a sort
    // by what they show), the copied block, and the text put on the pasteboard with it.
    std::vector<std::vector<plat::Value>> _localClipboard;
    std::vector<plat::Value> _localClipboardItems;
    std::vector<std::uint64_t> _localClipboardRowIds;
    std::vector<std::int32_t> _localClipboardRows;
    std::optional<std::string> _localClipboardText;
    std::shared_ptr<GridCellRange> _copiedRange;
    bool _copyBeingCut = false;
    PasteRun* _pasteRun = nullptr;

    // ---- detail rows and cell views ----
};
