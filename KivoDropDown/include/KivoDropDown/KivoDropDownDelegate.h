#pragma once
// The optional delegate of a drop-down, told before and after every request to open or close the
// popup and at every layout pass; and the arguments of the two open-state events.

#include <memory>

#include "KivoCore/KivoEventArgs.h"
#include "KivoInput/KivoInputExport.h"

class KivoDropDown;

// The arguments of isDropDownOpenChanging: the drop-down whose popup is about to open or close.
class KIVO_INPUT_EXPORT KivoDropDownOpenChangingEventArgs : public KivoEventArgs {
public:
    explicit KivoDropDownOpenChangingEventArgs(std::shared_ptr<KivoDropDown> dropDown) : _dropDown(std::move(dropDown)) {}
    const std::shared_ptr<KivoDropDown>& dropDown() const { return _dropDown; }

private:
    std::shared_ptr<KivoDropDown> _dropDown;
};

// The arguments of isDropDownOpenChanged: the drop-down whose popup has opened or closed.
class KIVO_INPUT_EXPORT KivoDropDownOpenChangedEventArgs : public KivoEventArgs {
public:
    explicit KivoDropDownOpenChangedEventArgs(std::shared_ptr<KivoDropDown> dropDown) : _dropDown(std::move(dropDown)) {}
    const std::shared_ptr<KivoDropDown>& dropDown() const { return _dropDown; }

private:
    std::shared_ptr<KivoDropDown> _dropDown;
};

// Every method is optional; the defaults do nothing.
class KIVO_INPUT_EXPORT KivoDropDownDelegate {
public:
    virtual ~KivoDropDownDelegate() = default;

    // Before each request to open or close (also one that changes nothing), unless the
    // isDropDownOpenChanging event has handlers and the control is not in Xamarin mode.
    virtual void isDropDownOpenChanging(const std::shared_ptr<KivoDropDown>& dropDown,
                                        const std::shared_ptr<KivoDropDownOpenChangingEventArgs>& args) {}
    // After each such request, on the same terms with the isDropDownOpenChanged event.
    virtual void isDropDownOpenChanged(const std::shared_ptr<KivoDropDown>& dropDown,
                                       const std::shared_ptr<KivoDropDownOpenChangedEventArgs>& args) {}
    // At every layout pass of the control.
    virtual void rendered(const std::shared_ptr<KivoDropDown>& dropDown) {}
};
