#pragma once
// For the keep-alive tests of the input controls: the test's only reference to a control, which
// application code drops in the middle of a call on the control (taking it out of its window first),
// and a delegate that drops it from the one method a row of the test names.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "KivoAutoComplete/KivoAutoCompleteDelegate.h"
#include "Platform/ui/view.h"

template <class Control>
class LastReference {
public:
    explicit LastReference(std::shared_ptr<Control> control) : _control(std::move(control)), _weak(_control) {}
    Control* operator->() const { return _control.get(); }
    const std::shared_ptr<Control>& get() const { return _control; }
    void drop() {
        if (auto control = std::move(_control)) control->removeFromSuperview();
    }
    bool freed() const { return _weak.expired(); }

private:
    std::shared_ptr<Control> _control;
    std::weak_ptr<Control> _weak;
};

// Answers nothing (the controls behave as without it) and drops the control from the method named
// `dropIn`.
class DroppingDelegate : public KivoAutoCompleteDelegate {
public:
    DroppingDelegate(std::string dropIn, std::function<void()> drop) : _dropIn(std::move(dropIn)), _drop(std::move(drop)) {}

    void isDropDownOpenChanging(const std::shared_ptr<KivoDropDown>&,
                                const std::shared_ptr<KivoDropDownOpenChangingEventArgs>&) override {
        call("isDropDownOpenChanging");
    }
    void isDropDownOpenChanged(const std::shared_ptr<KivoDropDown>&,
                               const std::shared_ptr<KivoDropDownOpenChangedEventArgs>&) override {
        call("isDropDownOpenChanged");
    }
    void rendered(const std::shared_ptr<KivoDropDown>&) override { call("rendered"); }
    bool selectedIndexChanged(const std::shared_ptr<KivoComboBox>&) override { return call("selectedIndexChanged"); }
    bool textChanged(const std::shared_ptr<KivoComboBox>&) override { return call("textChanged"); }
    std::optional<std::shared_ptr<plat::View>> dropDownItemLoading(
        const std::shared_ptr<KivoComboBox>&, const std::shared_ptr<KivoDropDownItemLoadingEventArgs>&) override {
        call("dropDownItemLoading");
        return std::nullopt;
    }
    bool filtering(const std::shared_ptr<KivoAutoComplete>&,
                   const std::shared_ptr<KivoAutoCompleteFilteringEventArgs>&) override {
        return call("filtering");
    }

private:
    bool call(const std::string& method) {
        if (method == _dropIn && _drop) std::exchange(_drop, nullptr)();
        return false;
    }
    std::string _dropIn;
    std::function<void()> _drop;
};
