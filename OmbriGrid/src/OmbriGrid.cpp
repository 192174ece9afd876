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

OmbriGrid::OmbriGrid(const plat::Rect& frame) : KivoView(frame), _state(std::make_unique<kivo::detail::GridState>()) {
    // The parts are made in the order the state lists them, as each may read those before it.
    _state->events = std::make_unique<kivo::detail::GridEvents>();
    _state->input = std::make_unique<kivo::detail::GridInput>();
    _state->settings = std::make_unique<kivo::detail::GridSettings>();
    _state->scroller = std::make_unique<kivo::detail::GridScroller>(*this);
    _state->edit = std::make_unique<kivo::detail::EditSession>(*this);
    _state->press = std::make_unique<kivo::detail::GridPress>(*this);
    _state->clipboard = std::make_unique<kivo::detail::GridClipboard>(*this);
}

OmbriGrid::~OmbriGrid() {
    _state->scroller->stop();
    plat::NotificationCenter::defaultCenter().removeObserver(_state->input->keyboardShown);
    plat::NotificationCenter::defaultCenter().removeObserver(_state->input->keyboardHidden);
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
    _state->isEverDrawnFlag = false;
    _state->settings->defaultContextMenu = true;
    _state->settings->autoSizeMode = GridAutoSizeModeBoth;
    _state->settings->allowMerging = GridAllowMergingNone;

    setMergeManager(GridMergeManager::create(self));
    setDetailProvider(std::make_shared<OmbriGridDetailProvider>(self));

    std::weak_ptr<OmbriGrid> weak = self;
    auto& center = plat::NotificationCenter::defaultCenter();
    _state->input->keyboardShown =
        center.addObserver(this, std::string(plat::KeyboardDidShowNotification), [weak](const plat::Notification& n) {
            if (auto grid = weak.lock()) grid->_state->edit->keyboardShown(n);
        });
    _state->input->keyboardHidden =
        center.addObserver(this, std::string(plat::KeyboardWillHideNotification), [weak](const plat::Notification&) {
            if (auto grid = weak.lock()) grid->_state->edit->keyboardHiding();
        });

    _state->settings->groupHeaderFormat = DefaultGroupHeaderFormat;
    _state->selection = std::make_shared<GridCellRange>();
    _state->press->setColumnBeingSized(-1);

    setScrollIndicatorColor(plat::Color(plat::Color::darkGray().r, plat::Color::darkGray().g, plat::Color::darkGray().b, 0.0));
    _state->settings->frozenCellsBorderColor = plat::Color::black();
    _state->settings->textColor = plat::Color::black();
    _state->settings->alternatingRowBackgroundColor.reset();
    _state->settings->columnHeaderBackgroundColor = grayShade(HeaderGray);
    _state->settings->columnHeaderTextColor = plat::Color::black();
    _state->settings->gridLinesColor = grayShade(LineGray);
    _state->settings->groupRowBackgroundColor = grayShade(GroupGray);
    _state->settings->groupRowTextColor = plat::Color::black();
    _state->settings->headerGridLinesColor = grayShade(LineGray);
    _state->settings->headerSelectedBackgroundColor = grayShade(HeaderGray);
    _state->settings->headerSelectedTextColor = plat::Color::black();
    _state->settings->rowHeaderBackgroundColor = grayShade(HeaderGray);
    _state->settings->rowHeaderTextColor = plat::Color::black();
    _state->settings->selectionAdornerColor = AdornerBlue;
    _state->settings->selectionAdornerBorderColor = plat::Color::white();
    _state->settings->selectionBackgroundColor = AdornerBlue;
    _state->settings->selectionTextColor = plat::Color::white();

    _state->settings->font = _state->settings->columnHeaderFont = _state->settings->rowHeaderFont =
        plat::Font::system(plat::SmallSystemFontSize);

    _state->edit->makeEditors();

    const std::int32_t r = defaultRowSize();
    _state->rows = std::make_shared<GridRowCollection>(self, r);
    _state->columns = std::make_shared<GridColumnCollection>(self, plat::detail::saturatingCast<std::int32_t>(4.0 * r));
    _state->headerRows = std::make_shared<GridRowCollection>(self, defaultColumnHeaderRowSize());
    _state->headerCols = std::make_shared<GridColumnCollection>(self, plat::detail::saturatingCast<std::int32_t>(5.0 * r) / 4);
    // Columns added later take their data types from the first item.
    _state->columns->collectionChanged()->addHandler(
        [weak](const std::shared_ptr<KivoEventContainer>&) {
            if (auto grid = weak.lock()) grid->_columnsChanged();
        },
        self);

    _state->columnHeaderRow = std::make_shared<GridRow>();
    _state->headerRows->push(_state->columnHeaderRow);
    _state->headerCols->push(std::make_shared<GridColumn>());

    _state->cells = std::make_shared<GridPanel>(self, GridCellTypeCell, _state->rows, _state->columns);
    _state->columnHeaders = std::make_shared<GridPanel>(self, GridCellTypeColumnHeader, _state->headerRows, _state->columns);
    _state->rowHeaders = std::make_shared<GridPanel>(self, GridCellTypeRowHeader, _state->rows, _state->headerCols);
    _state->topLeftCells = std::make_shared<GridPanel>(self, GridCellTypeTopLeft, _state->headerRows, _state->headerCols);

    _state->cellFactory = std::make_shared<GridCellFactory>();
    _state->originX = _state->originY = 0;
    _headersChanged();

    // The recognisers are in place from the start; what they do comes with taps, scrolling and resizing.
    const std::weak_ptr<plat::GestureRecognizerDelegate> recognizerDelegate = self;
    _state->input->tap = plat::TapGestureRecognizer::create();
    _state->input->tap->setNumberOfTapsRequired(1);
    _state->input->doubleTap = plat::TapGestureRecognizer::create();
    _state->input->doubleTap->setNumberOfTapsRequired(2);
    _state->input->tap->requireGestureRecognizerToFail(_state->input->doubleTap);
    _state->input->pan = plat::PanGestureRecognizer::create();
    _state->input->pan->setMinimumNumberOfTouches(1);
    _state->input->pan->setMaximumNumberOfTouches(1);
    _state->input->pan->addTarget([weak](plat::GestureRecognizer& recognizer) {
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
    _state->input->tap->addTarget([weak](plat::GestureRecognizer& recognizer) {
        if (auto grid = weak.lock()) grid->respondToTapGesture(recognizer);
    });
    _state->input->doubleTap->addTarget([weak](plat::GestureRecognizer& recognizer) {
        if (auto grid = weak.lock()) grid->respondToDoubleTapGesture(recognizer);
    });
    _state->input->press = makePress(PressDuration);
    _state->input->press->addTarget([weak](plat::GestureRecognizer& recognizer) {
        if (auto grid = weak.lock()) grid->respondToPressGesture(recognizer);
    });
    _state->input->longPress = makePress(LongPressDuration);
    _state->input->longPress->addTarget([weak](plat::GestureRecognizer& recognizer) {
        if (auto grid = weak.lock()) grid->respondToLongPressGesture(recognizer);
    });
    for (const std::shared_ptr<plat::GestureRecognizer>& r : std::initializer_list<std::shared_ptr<plat::GestureRecognizer>>{
             _state->input->tap, _state->input->doubleTap, _state->input->pan, _state->input->press, _state->input->longPress}) {
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
    _state->strongDelegate = std::move(delegate);
    setDelegate(_state->strongDelegate);
}

// ---- parts ----

void OmbriGrid::setColumnHeaderRow(std::shared_ptr<GridRow> row) { changeAndInvalidate(*this, _state->columnHeaderRow, row); }

void OmbriGrid::setMergeManager(std::shared_ptr<GridMergeManager> manager) {
    _state->mergeManager = std::move(manager);
    invalidate();
}

void OmbriGrid::setDetailProvider(std::shared_ptr<OmbriGridDetailProvider> provider) {
    _state->detailProvider = std::move(provider);
    invalidate();
}

void OmbriGrid::setValueFormatter(std::shared_ptr<IKivoValueFormatter> formatter) {
    changeAndInvalidate(*this, _state->valueFormatter, formatter);
}

void OmbriGrid::setAllowMerging(std::int64_t merging) {
    _state->settings->allowMerging = merging;
    invalidate();
}

void OmbriGrid::setAutoGenerateColumns(bool on) {
    if (on == _state->settings->autoGenerateColumns) return;
    _state->settings->autoGenerateColumns = on;
    _bindGrid(true);
    invalidate();
}

std::int32_t OmbriGrid::frozenRows() const { return _state->rows->frozen(); }
void OmbriGrid::setFrozenRows(std::int32_t count) { _state->rows->setFrozen(count); }
std::int32_t OmbriGrid::frozenColumns() const { return _state->columns->frozen(); }
void OmbriGrid::setFrozenColumns(std::int32_t count) { _state->columns->setFrozen(count); }

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
    return _state->settings->alternatingRowBackgroundColor ? _state->settings->alternatingRowBackgroundColor : backgroundColor();
}

void OmbriGrid::setAlternatingRowBackgroundColor(std::optional<plat::Color> color) {
    changeAndInvalidate(*this, _state->settings->alternatingRowBackgroundColor, color);
}

plat::Color OmbriGrid::scrollIndicatorColor() const { return _state->settings->scrollIndicatorColor; }

void OmbriGrid::setScrollIndicatorColor(plat::Color color) { _state->settings->scrollIndicatorColor = color; }

void OmbriGrid::setHeadersVisibility(std::int64_t visibility) {
    if (visibility < GridHeadersVisibilityNone || visibility > GridHeadersVisibilityAll) {
        // Stored, a value of more bits would draw no header while hit testing, which reads bits, found some.
        plat::log("Grid: headers visibility " + std::to_string(visibility) + " refused: it must be 0 to 3");
        return;
    }
    if (visibility == _state->settings->headersVisibility) return;
    _state->settings->headersVisibility = static_cast<GridHeadersVisibility>(visibility);
    _headersChanged();
}

void OmbriGrid::setColumnHeaderVisible(bool visible) {
    setHeadersVisibility(visible ? (_state->settings->headersVisibility | GridHeadersVisibilityColumn)
                                 : (_state->settings->headersVisibility & ~GridHeadersVisibilityColumn));
}

void OmbriGrid::setRowHeaderVisible(bool visible) {
    setHeadersVisibility(visible ? (_state->settings->headersVisibility | GridHeadersVisibilityRow)
                                 : (_state->settings->headersVisibility & ~GridHeadersVisibilityRow));
}

void OmbriGrid::setGridLinesVisibility(std::int64_t visibility) {
    if (visibility < GridLinesVisibilityNone || visibility > GridLinesVisibilityAll) {
        plat::log("Grid: grid lines visibility " + std::to_string(visibility) + " refused: it must be 0 to 3");
        return;
    }
    changeAndInvalidate(*this, _state->settings->gridLinesVisibility, static_cast<GridLinesVisibility>(visibility));
}

void OmbriGrid::setHorizontalLinesVisible(bool visible) {
    setGridLinesVisibility(visible ? (_state->settings->gridLinesVisibility | GridLinesVisibilityHorizontal)
                                   : (_state->settings->gridLinesVisibility & ~GridLinesVisibilityHorizontal));
}

void OmbriGrid::setVerticalLinesVisible(bool visible) {
    setGridLinesVisibility(visible ? (_state->settings->gridLinesVisibility | GridLinesVisibilityVertical)
                                   : (_state->settings->gridLinesVisibility & ~GridLinesVisibilityVertical));
}

// ---- sizes and the cells origin ----

std::int32_t OmbriGrid::defaultRowSize() const { return sizeFromFont(_state->settings->rowHeaderFont); }
std::int32_t OmbriGrid::defaultColumnHeaderRowSize() const { return sizeFromFont(_state->settings->columnHeaderFont); }

void OmbriGrid::updateDefaultSizes() {
    const std::int32_t r = defaultRowSize();
    _state->rows->setDefaultSize(r);
    _state->columns->setDefaultSize(plat::detail::saturatingCast<std::int32_t>(4.0 * r));
    _state->headerRows->setDefaultSize(defaultColumnHeaderRowSize());
    _state->headerCols->setDefaultSize(plat::detail::saturatingCast<std::int32_t>(5.0 * r) / 4);
    _headersChanged();
}

void OmbriGrid::_headersChanged() {
    // Called while the panels are being made, too: the first header row arrives before them.
    if (!_state->rowHeaders || !_state->columnHeaders) return;
    const double w = _state->rowHeaders->width();
    const double h = _state->columnHeaders->height();
    switch (_state->settings->headersVisibility) {
        case GridHeadersVisibilityNone:
            _state->cellsStart = {0, 0};
            break;
        case GridHeadersVisibilityColumn:
            _state->cellsStart = {0, h};
            break;
        case GridHeadersVisibilityRow:
            _state->cellsStart = {w, 0};
            break;
        case GridHeadersVisibilityAll:
            _state->cellsStart = {w, h};
            break;
    }
    invalidate();
}

// ---- drawing pass and invalidation ----

void OmbriGrid::invalidate() {
    const auto alive = keepAlive();
    dropCaches();
    raiseNotice(_state->events->Invalidated, KivoEventArgs::empty(),
                [this](OmbriGridDelegate& d) { d.invalidated(sharedAs<OmbriGrid>()); });
    setNeedsDisplay();
}

void OmbriGrid::dropCaches() {
    const auto alive = keepAlive();
    for (const auto* panel : {&_state->topLeftCells, &_state->columnHeaders, &_state->rowHeaders, &_state->cells})
        if (*panel) (*panel)->resetCache(nullptr);
    raiseNotice(_state->events->DroppedCaches, KivoEventArgs::empty(),
                [this](OmbriGridDelegate& d) { d.droppedCaches(sharedAs<OmbriGrid>()); });
}

void OmbriGrid::drawRect(plat::Context& context, const plat::Rect& rect) {
    const auto alive = keepAlive();
    _measureClientArea(rect);
    _state->isEverDrawnFlag = true;
    _state->scroller->updatePanMax();
    kivo::detail::GridInternals::layOut(*_state->rows);
    // Column positions and star widths follow the client width on every pass.
    kivo::detail::GridInternals::markLayoutStale(*_state->columns);
    kivo::detail::GridInternals::layOut(*_state->columns);
    raiseNotice(_state->events->Rendering, KivoEventArgs::empty(),
                [this](OmbriGridDelegate& d) { d.rendering(sharedAs<OmbriGrid>()); });
    // The panels draw into the current context.
    plat::CurrentContextScope current(context);
    if (isOpaque()) {
        context.setFillColor(backgroundColor().value_or(plat::Color::white()));
        context.setLineWidth(0.0);
        context.fillRect(rect);
    }
    _state->cells->drawCells();
    if (_state->settings->headersVisibility & GridHeadersVisibilityColumn) _state->columnHeaders->drawCells();
    if (_state->settings->headersVisibility & GridHeadersVisibilityRow) _state->rowHeaders->drawCells();
    if (_state->settings->headersVisibility == GridHeadersVisibilityAll) _state->topLeftCells->drawCells();
    _state->cells->drawSelection();
    raiseNotice(_state->events->Rendered, KivoEventArgs::empty(),
                [this](OmbriGridDelegate& d) { d.rendered(sharedAs<OmbriGrid>()); });
    // A grid gone by then asks for nothing.
    plat::dispatch::async(plat::dispatch::Queue::main(), [weak = std::weak_ptr<OmbriGrid>(sharedAs<OmbriGrid>())] {
        if (const auto grid = weak.lock()) grid->checkForMoreItems();
    });
}

void OmbriGrid::_measureClientArea(const plat::Rect& rect) {
    _state->clientRect = rect;
    _state->scroller->updatePanMax();
}

void OmbriGrid::checkForMoreItems() {
    const auto cursor = std::dynamic_pointer_cast<KivoCursorCollectionView>(_state->collectionView);
    if (!cursor) return;
    if (!(2 * bounds().height() > _state->cells->height())) return;
    if (cursor->hasMoreItems()) _state->scroller->tryLoadMore();
}

void OmbriGrid::takeFirstResponder() {
    if (!_state->edit->activeEditor) becomeFirstResponder();
}

void OmbriGrid::respondToSizeChanged() { invalidate(); }
void OmbriGrid::layoutSubviews() { KivoView::layoutSubviews(); }
void OmbriGrid::setFrame(const plat::Rect& frame) { KivoView::setFrame(frame); }

plat::Size OmbriGrid::intrinsicContentSize() const {
    using plat::detail::saturatingCast;
    const auto sum = [](std::int64_t a, std::int64_t b) {
        return static_cast<double>(saturatingCast<std::int32_t>(double(a + b)));
    };
    return {sum(_state->cells->width(), _state->rowHeaders->width()),
            sum(_state->cells->height(), _state->columnHeaders->height())};
}
