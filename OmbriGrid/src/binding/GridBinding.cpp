// The grid's binding to a collection view: items source and view, rows (flat, spacers, groups) rebuilt
// in full or, for a flat view the rows still mirror, edit by edit; generated columns and their types.
#include <algorithm>
#include "GridState.h"

#include "KivoCore/KivoCollectionView.h"
#include "KivoCore/KivoCollectionViewGroup.h"
#include "KivoCore/KivoDataType.h"
#include "KivoCore/KivoReflector.h"
#include "OmbriGrid/GridColumn.h"
#include "OmbriGrid/GridRowColCollection.h"
#include "OmbriGrid/OmbriGrid.h"
#include "OmbriGrid/OmbriGridDetailProvider.h"
#include "OmbriGrid/OmbriGridEventArgs.h"
#include "binding/SpacerItems.h"
#include "events/DelegateRule.h"
#include "events/GridEvents.h"
#include "look/GridSettings.h"
#include "selection/ItemPositions.h"

using kivo::detail::DelegateRule;

void OmbriGrid::followView(const std::shared_ptr<KivoCollectionView>& view) {
    // Edits of a view the grid no longer shows must leave its rows alone.
    if (auto previous = _state->followedView.lock(); previous && _state->viewToken)
        if (auto event = previous->collectionChanged()) event->removeHandlersForObject(_state->viewToken);
    _state->followedView.reset();
    _state->viewToken.reset();
    if (!view) return;
    auto event = view->collectionChanged();
    if (!event) return;
    _state->viewToken = std::make_shared<int>(0);
    _state->followedView = view;
    std::weak_ptr<OmbriGrid> weak = sharedAs<OmbriGrid>();
    event->addHandler(
        [weak](const std::shared_ptr<KivoEventContainer>& c) {
            if (auto grid = weak.lock()) grid->_collectionChanged(c->args<KivoNotifyCollectionChangedEventArgs>());
        },
        _state->viewToken);
}

void OmbriGrid::setItemsSource(plat::ArrayPtr items) {
    const auto alive = keepAlive();
    _state->selection = std::make_shared<GridCellRange>();
    _state->itemsSource = std::move(items);
    _state->collectionView = KivoCollectionView::create(_state->itemsSource);
    followView(_state->collectionView);
    _bindGrid(true);
    raiseNotice(_state->events->ItemsSourceChanged, KivoEventArgs::empty(),
                [this](OmbriGridDelegate& d) { d.itemsSourceChanged(sharedAs<OmbriGrid>()); });
}

void OmbriGrid::setCollectionView(std::shared_ptr<KivoCollectionView> view) {
    if (view == _state->collectionView) return;
    const auto alive = keepAlive();
    _state->itemsSource = view ? view->sourceCollection() : nullptr;
    _state->collectionView = std::move(view);
    followView(_state->collectionView);
    _bindGrid(true);
    raiseNotice(_state->events->ItemsSourceChanged, KivoEventArgs::empty(),
                [this](OmbriGridDelegate& d) { d.itemsSourceChanged(sharedAs<OmbriGrid>()); });
}

void OmbriGrid::_bindGrid(bool columnsToo) {
    const auto alive = keepAlive();
    if (_state->detailProvider) _state->detailProvider->hideDetail(nullptr);
    _bindRows();
    if (columnsToo) _bindColumns();
    clampSelection();
}

void OmbriGrid::_collectionChanged(const std::shared_ptr<KivoNotifyCollectionChangedEventArgs>& args) {
    const auto alive = keepAlive();
    if (_state->settings->autoGenerateColumns && _state->columns->count() == 0) {
        _bindGrid(true);
        return;
    }
    // A flat view's add, remove or replace reaches only the rows it concerns; every other change, and
    // any change of a grouped view whose group rows are shown, rebuilds them.
    const auto& groups = _state->collectionView ? _state->collectionView->groups() : KivoCollectionViewGroupList{};
    const bool groupRowsShown = _state->settings->showGroups && !groups.empty();
    if (!args || groupRowsShown || args->action() == KivoNotifyCollectionChangedActionReset || !_state->rows->mirrorsView({})) {
        _bindGrid(false);
        return;
    }
    if (_state->detailProvider) _state->detailProvider->hideDetail(nullptr);
    _bindRows(args.get());
    clampSelection();
}

void OmbriGrid::_bindRows(const KivoNotifyCollectionChangedEventArgs* edit) {
    const auto alive = keepAlive();
    auto rows = _state->rows;
    rows->beginUpdate();
    rows->binding({}) = true;
    auto args = std::make_shared<KivoCancelEventArgs>();
    if (!raiseCancelable(_state->events->LoadingRows, args, DelegateRule::Replaces,
                         [this](OmbriGridDelegate& d) { return d.loadingRows(sharedAs<OmbriGrid>()); })) {
        // The rows stay as they were, and no longer mirror the view; rows that read the view by position
        // keep the items they stood for before the edit.
        if (edit && rows->mirrorsView({})) rows->keepItemsBefore({}, *edit);
        rows->mirrorsView({}) = false;
        _state->rowItemPositions.clear();
        rows->binding({}) = false;
        rows->endUpdate();
        return;
    }
    if (!edit || !rows->followEdit({}, *edit, &kivo::detail::spacerHeight)) {
        const auto view = _state->collectionView;
        const auto& groups = view ? view->groups() : KivoCollectionViewGroupList{};
        const bool groupRows = !groups.empty() && _state->settings->showGroups;
        // A header tap only reorders the items the rows stand for: the rows read them from the view
        // where they now stand, rather than from a list of a million items made for the purpose.
        const bool reordered = !edit && _state->headerSortRunning && view && !groupRows && rows->reorderedAs({}, view);
        if (reordered) {
            _state->rowItemPositions.clear();
        } else if (view && groupRows) {
            rows->bindItems({}, nullptr);
            for (const auto& group : groups) _addGroup(group);
            rows->mirrorsView({}) = false;
            _state->rowItemPositions = kivo::detail::groupedItemPositions(*view->items(), groups);
        } else {
            // Flat rows read their items from the view by position: no list of them is made.
            _state->rowItemPositions.clear();
            rows->bindView({}, view, &kivo::detail::spacerHeight);
            rows->mirrorsView({}) = view != nullptr;
        }
    }
    rows->endUpdate();
    rows->binding({}) = false;
    raiseNotice(_state->events->LoadedRows, KivoEventArgs::empty(),
                [this](OmbriGridDelegate& d) { d.loadedRows(sharedAs<OmbriGrid>()); });
}

void OmbriGrid::_addGroup(const std::shared_ptr<KivoCollectionViewGroup>& group) {
    if (!group) return;
    auto row = std::make_shared<GridGroupRow>();
    row->setLevel(group->level());
    row->setDataItem(plat::Value(group));
    _state->rows->push(row);
    if (group->isBottomLevel()) {
        if (const auto& items = group->items())
            for (const plat::Value& item : *items) _state->rows->push(std::make_shared<GridRow>(item));
    } else {
        for (const auto& sub : group->groups()) _addGroup(sub);
    }
}

void OmbriGrid::addGroup(const std::string& name, const plat::Array& items) {
    auto group = std::make_shared<KivoCollectionViewGroup>(nullptr, name, 0, true);
    for (const plat::Value& item : items) group->items()->push_back(item);
    _addGroup(group);
}

plat::Value OmbriGrid::_getPrototype() const {
    // The first visible item, read without making the view's list.
    return _state->collectionView ? _state->collectionView->itemAt(0) : plat::Value();
}

void OmbriGrid::_bindColumns() {
    const auto alive = keepAlive();
    for (std::size_t i = 0; i < _state->columns->count();) {
        auto column = _state->columns->column(static_cast<std::int64_t>(i));
        if (column && (column->flags() & GridRowColFlagsAutoGenerated) != 0)
            _state->columns->removeObjectAtIndex(i);
        else
            ++i;
    }
    const plat::Value prototype = _getPrototype();
    if (prototype.isNil()) return;
    if (_state->settings->autoGenerateColumns) {
        for (const auto& property : KivoReflector::getProperties(prototype)) {
            if (!property) continue;
            auto column = std::make_shared<GridColumn>();
            column->markAutoGenerated({});
            column->setBinding(property->name());
            column->setDataType(property->dataType() != 0 ? property->dataType() : std::int64_t{KivoDataTypeString});
            column->setIsReadOnly(property->isReadOnly());
            auto args = std::make_shared<GridAutoGeneratingColumnEventArgs>(column, property);
            if (raiseCancelable(_state->events->AutoGeneratingColumn, args, DelegateRule::Replaces,
                                [this, &property, &column](OmbriGridDelegate& d) {
                                    return d.autoGeneratingColumn(sharedAs<OmbriGrid>(), property, column);
                                }))
                _state->columns->push(column);
        }
    }
    _updateColumnTypes(prototype);
}

void OmbriGrid::_updateColumnTypes(const plat::Value& prototype) {
    for (std::size_t i = 0; i < _state->columns->count(); ++i) {
        auto column = _state->columns->column(static_cast<std::int64_t>(i));
        if (column && column->dataType() == 0 && column->binding()) column->setDataType(column->getBoundDataType(prototype));
    }
}

void OmbriGrid::_columnsChanged() {
    const plat::Value prototype = _getPrototype();
    if (!prototype.isNil()) _updateColumnTypes(prototype);
}

void OmbriGrid::clampSelection() {
    const auto rowCount = static_cast<std::int64_t>(_state->rows->count());
    const auto columnCount = static_cast<std::int64_t>(_state->columns->count());
    if (rowCount == 0 || columnCount == 0) {
        _state->selection = std::make_shared<GridCellRange>();
        return;
    }
    if (!_state->selection) return;
    const auto lastRow = static_cast<std::int32_t>(std::min<std::int64_t>(rowCount - 1, INT32_MAX));
    const auto lastColumn = static_cast<std::int32_t>(std::min<std::int64_t>(columnCount - 1, INT32_MAX));
    const GridCellRange& s = *_state->selection;
    if (s.row() <= lastRow && s.row2() <= lastRow && s.col() <= lastColumn && s.col2() <= lastColumn) return;
    _state->selection = std::make_shared<GridCellRange>(std::min(s.row(), lastRow), std::min(s.col(), lastColumn),
                                                        std::min(s.row2(), lastRow), std::min(s.col2(), lastColumn));
}
