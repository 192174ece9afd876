#include "OmbriGrid/OmbriGrid.h"
#include "GridInternals.h"
#include "look/GridSettings.h"
#include "taps/GridInput.h"

#include <cfloat>
#include <cmath>

#include "KivoCore/IKivoValueFormatter.h"
#include "KivoCore/KivoCollectionView.h"
#include "KivoCore/KivoCursorCollectionView.h"
#include "OmbriGrid/GridCellFactory.h"
#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridMergeManager.h"
#include "OmbriGrid/GridPanel.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGridDetailProvider.h"
#include "Platform/foundation/log.h"
#include "Platform/graphics/context.h"
#include "Platform/runtime/dispatch.h"
#include "Platform/runtime/system_notifications.h"
#include "Platform/ui/gestures.h"
#include "clipboard/GridClipboard.h"
#include "editing/EditSession.h"
#include "events/DelegateRule.h"
#include "events/GridEvents.h"
#include "foundation/saturating_cast.h"
#include "resizing/GridPress.h"
#include "scrolling/GridScroller.h"

using kivo::detail::changeAndInvalidate;
using kivo::detail::changeFont;
using kivo::detail::changeFontName;

namespace {
constexpr const char* DefaultGroupHeaderFormat = "{name}: {value} ({count} items)";
constexpr float HeaderGray = 234.0f / 255.0f;
constexpr float LineGray = 198.0f / 255.0f;
constexpr float GroupGray = 221.0f / 255.0f;
constexpr plat::Color AdornerBlue{0, 122 / 255.0, 1.0, 1.0};
// The press that starts a column resize, and the long press of the context menu.
constexpr double PressDuration = 0.1;
constexpr double LongPressDuration = 1.0;

std::int32_t sizeFromFont(const plat::Font& font) { return plat::detail::saturatingCast<std::int32_t>(2 * font.size + 4); }
}  // namespace

std::shared_ptr<OmbriGrid> OmbriGrid::create(const plat::Rect& frame) {
    return initialized(std::shared_ptr<OmbriGrid>(new OmbriGrid(frame)));
}

OmbriGrid::OmbriGrid(const plat::Rect& frame)
    : KivoView(frame),
      _events(std::make_unique<kivo::detail::GridEvents>()),
      _input(std::make_unique<kivo::detail::GridInput>()),
      _settings(std::make_unique<kivo::detail::GridSettings>()),
      _scroller(std::make_unique<kivo::detail::GridScroller>(*this)),
      _edit(std::make_unique<kivo::detail::EditSession>(*this)),
      _press(std::make_unique<kivo::detail::GridPress>(*this)),
      _clipboard(std::make_unique<kivo::detail::GridClipboard>(*this)) {}

OmbriGrid::~OmbriGrid() {
    _scroller->stop();
    plat::NotificationCenter::defaultCenter().removeObserver(_input->keyboardShown);
    plat::NotificationCenter::defaultCenter().removeObserver(_input->keyboardHidden);
}

void OmbriGrid::initialize() {
    KivoView::initialize();
    initInternals();
}

plat::Color OmbriGrid::grayShade(float fraction) {
    const double f = fraction;
    return {f, f, f, 1.0};
}

void OmbriGrid::initInternals() {
    auto self = sharedAs<OmbriGrid>();
    setContentMode(plat::ViewContentMode::Redraw);
    _isEverDrawnFlag = false;
    _settings->defaultContextMenu = true;
    _settings->autoSizeMode = GridAutoSizeModeBoth;
    _settings->allowMerging = GridAllowMergingNone;

    setMergeManager(GridMergeManager::create(self));
    setDetailProvider(std::make_shared<OmbriGridDetailProvider>(self));

    std::weak_ptr<OmbriGrid> weak = self;
    auto& center = plat::NotificationCenter::defaultCenter();
    _input->keyboardShown =
        center.addObserver(this, std::string(plat::KeyboardDidShowNotification), [weak](const plat::Notification& n) {
            if (auto grid = weak.lock()) grid->_edit->keyboardShown(n);
        });
    _input->keyboardHidden =
        center.addObserver(this, std::string(plat::KeyboardWillHideNotification), [weak](const plat::Notification&) {
            if (auto grid = weak.lock()) grid->_edit->keyboardHiding();
        });

    _settings->groupHeaderFormat = DefaultGroupHeaderFormat;
    _selection = std::make_shared<GridCellRange>();
    _press->setColumnBeingSized(-1);

    setScrollIndicatorColor(plat::Color(plat::Color::darkGray().r, plat::Color::darkGray().g, plat::Color::darkGray().b, 0.0));
    _settings->frozenCellsBorderColor = plat::Color::black();
    _settings->textColor = plat::Color::black();
    _settings->alternatingRowBackgroundColor.reset();
    _settings->columnHeaderBackgroundColor = grayShade(HeaderGray);
    _settings->columnHeaderTextColor = plat::Color::black();
    _settings->gridLinesColor = grayShade(LineGray);
    _settings->groupRowBackgroundColor = grayShade(GroupGray);
    _settings->groupRowTextColor = plat::Color::black();
    _settings->headerGridLinesColor = grayShade(LineGray);
    _settings->headerSelectedBackgroundColor = grayShade(HeaderGray);
    _settings->headerSelectedTextColor = plat::Color::black();
    _settings->rowHeaderBackgroundColor = grayShade(HeaderGray);
    _settings->rowHeaderTextColor = plat::Color::black();
    _settings->selectionAdornerColor = AdornerBlue;
    _settings->selectionAdornerBorderColor = plat::Color::white();
    _settings->selectionBackgroundColor = AdornerBlue;
    _settings->selectionTextColor = plat::Color::white();

    _settings->font = _settings->columnHeaderFont = _settings->rowHeaderFont = plat::Font::system(plat::SmallSystemFontSize);

    _edit->makeEditors();

    const std::int32_t r = defaultRowSize();
    _rows = std::make_shared<GridRowCollection>(self, r);
    _columns = std::make_shared<GridColumnCollection>(self, plat::detail::saturatingCast<std::int32_t>(4.0 * r));
    _headerRows = std::make_shared<GridRowCollection>(self, defaultColumnHeaderRowSize());
    _headerCols = std::make_shared<GridColumnCollection>(self, plat::detail::saturatingCast<std::int32_t>(5.0 * r) / 4);
    // Columns added later take their data types from the first item.
    _columns->collectionChanged()->addHandler(
        [weak](const std::shared_ptr<KivoEventContainer>&) {
            if (auto grid = weak.lock()) grid->_columnsChanged();
        },
        self);

    _columnHeaderRow = std::make_shared<GridRow>();
    _headerRows->push(_columnHeaderRow);
    _headerCols->push(std::make_shared<GridColumn>());

    _cells = std::make_shared<GridPanel>(self, GridCellTypeCell, _rows, _columns);
    _columnHeaders = std::make_shared<GridPanel>(self, GridCellTypeColumnHeader, _headerRows, _columns);
    _rowHeaders = std::make_shared<GridPanel>(self, GridCellTypeRowHeader, _rows, _headerCols);
    _topLeftCells = std::make_shared<GridPanel>(self, GridCellTypeTopLeft, _headerRows, _headerCols);

    _cellFactory = std::make_shared<GridCellFactory>();
    _originX = _originY = 0;
    _headersChanged();

    // The recognisers are in place from the start; what they do comes with taps, scrolling and resizing.
    const std::weak_ptr<plat::GestureRecognizerDelegate> recognizerDelegate = self;
    _input->tap = plat::TapGestureRecognizer::create();
    _input->tap->setNumberOfTapsRequired(1);
    _input->doubleTap = plat::TapGestureRecognizer::create();
    _input->doubleTap->setNumberOfTapsRequired(2);
    _input->tap->requireGestureRecognizerToFail(_input->doubleTap);
    _input->pan = plat::PanGestureRecognizer::create();
    _input->pan->setMinimumNumberOfTouches(1);
    _input->pan->setMaximumNumberOfTouches(1);
    _input->pan->addTarget([weak](plat::GestureRecognizer& recognizer) {
        if (auto grid = weak.lock()) grid->respondToPanGesture(recognizer);
    });
    auto makePress = [](double duration) {
        auto press = plat::LongPressGestureRecognizer::create();
        press->setMinimumPressDuration(duration);
        press->setNumberOfTouchesRequired(1);
        press->setNumberOfTapsRequired(0);
        press->setAllowableMovement(FLT_MAX);
        return press;
    };
    _input->tap->addTarget([weak](plat::GestureRecognizer& recognizer) {
        if (auto grid = weak.lock()) grid->respondToTapGesture(recognizer);
    });
    _input->doubleTap->addTarget([weak](plat::GestureRecognizer& recognizer) {
        if (auto grid = weak.lock()) grid->respondToDoubleTapGesture(recognizer);
    });
    _input->press = makePress(PressDuration);
    _input->press->addTarget([weak](plat::GestureRecognizer& recognizer) {
        if (auto grid = weak.lock()) grid->respondToPressGesture(recognizer);
    });
    _input->longPress = makePress(LongPressDuration);
    _input->longPress->addTarget([weak](plat::GestureRecognizer& recognizer) {
        if (auto grid = weak.lock()) grid->respondToLongPressGesture(recognizer);
    });
    for (const std::shared_ptr<plat::GestureRecognizer>& r : std::initializer_list<std::shared_ptr<plat::GestureRecognizer>>{
             _input->tap, _input->doubleTap, _input->pan, _input->press, _input->longPress}) {
        r->setDelegate(recognizerDelegate);
        addGestureRecognizer(r);
    }
}

// ---- events ----

bool OmbriGrid::raiseCancelable(const std::shared_ptr<KivoEvent>& event, const std::shared_ptr<KivoCancelEventArgs>& args,
                                kivo::detail::DelegateRule rule,
                                const std::function<std::optional<bool>(OmbriGridDelegate&)>& ask, bool onlyWithHandlers) {
    using kivo::detail::DelegateRule;
    const auto alive = keepAlive();
    if (event) {
        const auto handlers = event->handlers();
        if (!onlyWithHandlers || (handlers && !handlers->empty())) event->raise(sharedAs<OmbriGrid>(), args);
    }
    bool cancel = args->cancel();
    const auto d = delegate();
    if (d) {
        switch (rule) {
            case DelegateRule::Replaces:
                if (auto answer = ask(*d)) cancel = *answer;
                break;
            case DelegateRule::EitherStops:
                if (auto answer = ask(*d); answer && *answer) cancel = true;
                break;
            case DelegateRule::HandlersFirst:
                if (!cancel)
                    if (auto answer = ask(*d)) cancel = *answer;
                break;
        }
    }
    args->setCancel(cancel);
    return !cancel;
}

void OmbriGrid::raiseNotice(const std::shared_ptr<KivoEvent>& event, const std::shared_ptr<KivoEventArgs>& args,
                            const std::function<void(OmbriGridDelegate&)>& tell, bool onlyWithHandlers) {
    const auto alive = keepAlive();
    if (event) {
        const auto handlers = event->handlers();
        if (!onlyWithHandlers || (handlers && !handlers->empty())) event->raise(sharedAs<OmbriGrid>(), args);
    }
    if (const auto d = delegate()) tell(*d);
}

void OmbriGrid::setStrongDelegate(std::shared_ptr<OmbriGridDelegate> delegate) {
    _strongDelegate = std::move(delegate);
    setDelegate(_strongDelegate);
}

// ---- parts ----

void OmbriGrid::setColumnHeaderRow(std::shared_ptr<GridRow> row) { changeAndInvalidate(*this, _columnHeaderRow, row); }

void OmbriGrid::setMergeManager(std::shared_ptr<GridMergeManager> manager) {
    _mergeManager = std::move(manager);
    invalidate();
}

void OmbriGrid::setDetailProvider(std::shared_ptr<OmbriGridDetailProvider> provider) {
    _detailProvider = std::move(provider);
    invalidate();
}

void OmbriGrid::setValueFormatter(std::shared_ptr<IKivoValueFormatter> formatter) {
    changeAndInvalidate(*this, _valueFormatter, formatter);
}

void OmbriGrid::setAllowMerging(std::int64_t merging) {
    _settings->allowMerging = merging;
    invalidate();
}

void OmbriGrid::setAutoGenerateColumns(bool on) {
    if (on == _settings->autoGenerateColumns) return;
    _settings->autoGenerateColumns = on;
    _bindGrid(true);
    invalidate();
}

std::int32_t OmbriGrid::frozenRows() const { return _rows->frozen(); }
void OmbriGrid::setFrozenRows(std::int32_t count) { _rows->setFrozen(count); }
std::int32_t OmbriGrid::frozenColumns() const { return _columns->frozen(); }
void OmbriGrid::setFrozenColumns(std::int32_t count) { _columns->setFrozen(count); }

// ---- look ----

std::optional<plat::Color> OmbriGrid::backgroundColor() const {
    const auto& stored = plat::View::backgroundColor();
    if (isOpaque() && (!stored || *stored == plat::Color::clear())) return plat::Color::white();
    return stored;
}

void OmbriGrid::setBackgroundColor(std::optional<plat::Color> color) {
    if (color == plat::View::backgroundColor()) return;
    plat::View::setBackgroundColor(color);
    invalidate();
}

std::optional<plat::Color> OmbriGrid::alternatingRowBackgroundColor() const {
    return _settings->alternatingRowBackgroundColor ? _settings->alternatingRowBackgroundColor : backgroundColor();
}

void OmbriGrid::setAlternatingRowBackgroundColor(std::optional<plat::Color> color) {
    changeAndInvalidate(*this, _settings->alternatingRowBackgroundColor, color);
}

plat::Color OmbriGrid::scrollIndicatorColor() const { return _settings->scrollIndicatorColor; }

void OmbriGrid::setScrollIndicatorColor(plat::Color color) { _settings->scrollIndicatorColor = color; }

void OmbriGrid::setHeadersVisibility(std::int64_t visibility) {
    if (visibility < GridHeadersVisibilityNone || visibility > GridHeadersVisibilityAll) {
        // Stored, a value of more bits would draw no header while hit testing, which reads bits, found some.
        plat::log("Grid: headers visibility " + std::to_string(visibility) + " refused: it must be 0 to 3");
        return;
    }
    if (visibility == _settings->headersVisibility) return;
    _settings->headersVisibility = static_cast<GridHeadersVisibility>(visibility);
    _headersChanged();
}

void OmbriGrid::setColumnHeaderVisible(bool visible) {
    setHeadersVisibility(visible ? (_settings->headersVisibility | GridHeadersVisibilityColumn)
                                 : (_settings->headersVisibility & ~GridHeadersVisibilityColumn));
}

void OmbriGrid::setRowHeaderVisible(bool visible) {
    setHeadersVisibility(visible ? (_settings->headersVisibility | GridHeadersVisibilityRow)
                                 : (_settings->headersVisibility & ~GridHeadersVisibilityRow));
}

void OmbriGrid::setGridLinesVisibility(std::int64_t visibility) {
    if (visibility < GridLinesVisibilityNone || visibility > GridLinesVisibilityAll) {
        plat::log("Grid: grid lines visibility " + std::to_string(visibility) + " refused: it must be 0 to 3");
        return;
    }
    changeAndInvalidate(*this, _settings->gridLinesVisibility, static_cast<GridLinesVisibility>(visibility));
}

void OmbriGrid::setHorizontalLinesVisible(bool visible) {
    setGridLinesVisibility(visible ? (_settings->gridLinesVisibility | GridLinesVisibilityHorizontal)
                                   : (_settings->gridLinesVisibility & ~GridLinesVisibilityHorizontal));
}

void OmbriGrid::setVerticalLinesVisible(bool visible) {
    setGridLinesVisibility(visible ? (_settings->gridLinesVisibility | GridLinesVisibilityVertical)
                                   : (_settings->gridLinesVisibility & ~GridLinesVisibilityVertical));
}

// ---- sizes and the cells origin ----

std::int32_t OmbriGrid::defaultRowSize() const { return sizeFromFont(_settings->rowHeaderFont); }
std::int32_t OmbriGrid::defaultColumnHeaderRowSize() const { return sizeFromFont(_settings->columnHeaderFont); }

void OmbriGrid::updateDefaultSizes() {
    const std::int32_t r = defaultRowSize();
    _rows->setDefaultSize(r);
    _columns->setDefaultSize(plat::detail::saturatingCast<std::int32_t>(4.0 * r));
    _headerRows->setDefaultSize(defaultColumnHeaderRowSize());
    _headerCols->setDefaultSize(plat::detail::saturatingCast<std::int32_t>(5.0 * r) / 4);
    _headersChanged();
}

void OmbriGrid::_headersChanged() {
    // Called while the panels are being made, too: the first header row arrives before them.
    if (!_rowHeaders || !_columnHeaders) return;
    const double w = _rowHeaders->width();
    const double h = _columnHeaders->height();
    switch (_settings->headersVisibility) {
        case GridHeadersVisibilityNone:
            _cellsStart = {0, 0};
            break;
        case GridHeadersVisibilityColumn:
            _cellsStart = {0, h};
            break;
        case GridHeadersVisibilityRow:
            _cellsStart = {w, 0};
            break;
        case GridHeadersVisibilityAll:
            _cellsStart = {w, h};
            break;
    }
    invalidate();
}

// ---- drawing pass and invalidation ----

void OmbriGrid::invalidate() {
    const auto alive = keepAlive();
    dropCaches();
    raiseNotice(_events->Invalidated, KivoEventArgs::empty(),
                [this](OmbriGridDelegate& d) { d.invalidated(sharedAs<OmbriGrid>()); });
    setNeedsDisplay();
}

void OmbriGrid::dropCaches() {
    const auto alive = keepAlive();
    for (const auto* panel : {&_topLeftCells, &_columnHeaders, &_rowHeaders, &_cells})
        if (*panel) (*panel)->resetCache(nullptr);
    raiseNotice(_events->DroppedCaches, KivoEventArgs::empty(),
                [this](OmbriGridDelegate& d) { d.droppedCaches(sharedAs<OmbriGrid>()); });
}

void OmbriGrid::drawRect(plat::Context& context, const plat::Rect& rect) {
    const auto alive = keepAlive();
    _measureClientArea(rect);
    _isEverDrawnFlag = true;
    _scroller->updatePanMax();
    kivo::detail::GridInternals::layOut(*_rows);
    // Column positions and star widths follow the client width on every pass.
    kivo::detail::GridInternals::markLayoutStale(*_columns);
    kivo::detail::GridInternals::layOut(*_columns);
    raiseNotice(_events->Rendering, KivoEventArgs::empty(), [this](OmbriGridDelegate& d) { d.rendering(sharedAs<OmbriGrid>()); });
    // The panels draw into the current context.
    plat::CurrentContextScope current(context);
    if (isOpaque()) {
        context.setFillColor(backgroundColor().value_or(plat::Color::white()));
        context.setLineWidth(0.0);
        context.fillRect(rect);
    }
    _cells->drawCells();
    if (_settings->headersVisibility & GridHeadersVisibilityColumn) _columnHeaders->drawCells();
    if (_settings->headersVisibility & GridHeadersVisibilityRow) _rowHeaders->drawCells();
    if (_settings->headersVisibility == GridHeadersVisibilityAll) _topLeftCells->drawCells();
    _cells->drawSelection();
    raiseNotice(_events->Rendered, KivoEventArgs::empty(), [this](OmbriGridDelegate& d) { d.rendered(sharedAs<OmbriGrid>()); });
    // A grid gone by then asks for nothing.
    plat::dispatch::async(plat::dispatch::Queue::main(), [weak = std::weak_ptr<OmbriGrid>(sharedAs<OmbriGrid>())] {
        if (const auto grid = weak.lock()) grid->checkForMoreItems();
    });
}

void OmbriGrid::_measureClientArea(const plat::Rect& rect) {
    _clientRect = rect;
    _scroller->updatePanMax();
}

void OmbriGrid::checkForMoreItems() {
    const auto cursor = std::dynamic_pointer_cast<KivoCursorCollectionView>(_collectionView);
    if (!cursor) return;
    if (!(2 * bounds().height() > _cells->height())) return;
    if (cursor->hasMoreItems()) _scroller->tryLoadMore();
}

void OmbriGrid::takeFirstResponder() {
    if (!_edit->activeEditor) becomeFirstResponder();
}

void OmbriGrid::respondToSizeChanged() { invalidate(); }
void OmbriGrid::layoutSubviews() { KivoView::layoutSubviews(); }
void OmbriGrid::setFrame(const plat::Rect& frame) { KivoView::setFrame(frame); }

plat::Size OmbriGrid::intrinsicContentSize() const {
    using plat::detail::saturatingCast;
    const auto sum = [](std::int64_t a, std::int64_t b) {
        return static_cast<double>(saturatingCast<std::int32_t>(double(a + b)));
    };
    return {sum(_cells->width(), _rowHeaders->width()), sum(_cells->height(), _columnHeaders->height())};
}
