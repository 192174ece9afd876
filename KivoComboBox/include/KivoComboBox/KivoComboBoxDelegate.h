#pragma once
// The optional delegate of a combo box (besides the drop-down's open and layout notifications): told
// of selection and text changes in place of the matching events, and asked for the content of each
// row of the list; and the arguments of the item-loading event.

#include <memory>
#include <optional>

#include "KivoDropDown/KivoDropDownDelegate.h"
#include "KivoInput/KivoInputExport.h"
#include "Platform/foundation/geometry.h"
#include "Platform/foundation/value.h"

namespace plat {
class View;
}

class KivoComboBox;

// The arguments of dropDownItemLoading: the item a row shows and the row's content frame. A handler
// may give the row's content by setting `view`; a row left without one shows nothing.
class KIVO_INPUT_EXPORT KivoDropDownItemLoadingEventArgs : public KivoEventArgs {
public:
    KivoDropDownItemLoadingEventArgs(plat::Value itemData, const plat::Rect& itemRect)
        : _itemData(std::move(itemData)), _itemRect(itemRect) {}

    const plat::Value& itemData() const { return _itemData; }
    const plat::Rect& itemRect() const { return _itemRect; }
    const std::shared_ptr<plat::View>& view() const { return _view; }
    void setView(std::shared_ptr<plat::View> view) { _view = std::move(view); }

private:
    plat::Value _itemData;
    plat::Rect _itemRect;
    std::shared_ptr<plat::View> _view;
};

// A method that answers takes the place of the matching event. The defaults do not answer.
class KIVO_INPUT_EXPORT KivoComboBoxDelegate : public KivoDropDownDelegate {
public:
    // After the selected index changed; true answers it (no selectedIndexChanged event is raised).
    virtual bool selectedIndexChanged(const std::shared_ptr<KivoComboBox>& comboBox) { return false; }
    // After the text changed; true answers it (no textChanged event is raised).
    virtual bool textChanged(const std::shared_ptr<KivoComboBox>& comboBox) { return false; }
    // The content of one row of the list. nullopt does not answer (the event or the built-in label
    // follows); an answer of null leaves the row empty.
    virtual std::optional<std::shared_ptr<plat::View>> dropDownItemLoading(
        const std::shared_ptr<KivoComboBox>& comboBox, const std::shared_ptr<KivoDropDownItemLoadingEventArgs>& args) {
        return std::nullopt;
    }
};
