#pragma once
// The optional delegate of an auto-complete box, on top of the combo box's and the drop-down's
// notifications: it can do the narrowing itself and, under a Xamarin binding layer, supply the row
// views. Also the filtering arguments: one object that the box keeps, consults on each pass and
// passes to the delegate.

#include <memory>
#include <optional>

#include "KivoComboBox/KivoComboBoxDelegate.h"
#include "KivoInput/KivoInputExport.h"
#include "Platform/foundation/value.h"

namespace plat {
class View;
}

class KivoAutoComplete;

// `cancel` chooses the filtering road: off, the box filters itself; on, the delegate's `filtering`
// gives the candidates. `itemSource` holds the current candidates when the delegate is asked; the
// delegate may change that list in place or set another.
class KIVO_INPUT_EXPORT KivoAutoCompleteFilteringEventArgs : public KivoEventArgs {
public:
    KivoAutoCompleteFilteringEventArgs(plat::ArrayPtr itemSource, bool cancel)
        : _itemSource(std::move(itemSource)), _cancel(cancel) {}

    const plat::ArrayPtr& itemSource() const { return _itemSource; }
    void setItemSource(plat::ArrayPtr items) { _itemSource = std::move(items); }
    bool cancel() const { return _cancel; }
    void setCancel(bool cancel) { _cancel = cancel; }

private:
    plat::ArrayPtr _itemSource;
    bool _cancel;
};

// Every method is optional; the defaults do not answer.
class KIVO_INPUT_EXPORT KivoAutoCompleteDelegate : public KivoComboBoxDelegate {
public:
    // The application's filtering, asked on each filtering pass while `filteringArgs.cancel` is on (or
    // in Xamarin mode) and the box has items. The candidates it leaves in `args->itemSource()` are
    // listed as they stand. true answers it.
    virtual bool filtering(const std::shared_ptr<KivoAutoComplete>& autoComplete,
                           const std::shared_ptr<KivoAutoCompleteFilteringEventArgs>& args) {
        return false;
    }
    // A row's content in Xamarin mode, for the item at `index` of `itemsSource`. nullopt does not
    // answer (the row stays empty, as does an answer of null). A view of zero size is laid out and
    // styled as the built-in label is.
    virtual std::optional<std::shared_ptr<plat::View>> getXamarinCustomView(const std::shared_ptr<KivoAutoComplete>& autoComplete,
                                                                            int index) {
        return std::nullopt;
    }
};
