#pragma once
// The default content of a drop-down's popup: a light grey view that the application fills with
// its own subviews.

#include <cstdint>
#include <memory>

#include "KivoInput/KivoInputExport.h"
#include "Platform/ui/view.h"

class KivoDropDown;

class KIVO_INPUT_EXPORT KivoDropDownView : public plat::View {
public:
    static std::shared_ptr<KivoDropDownView> create(const plat::Rect& frame = {});
    // From an interface file, with the same defaults as from a frame; raises plat::CoderException.
    static std::shared_ptr<KivoDropDownView> create(const plat::Coder& coder);

    static constexpr plat::Color DefaultBackgroundColor = plat::Color::lightGray();

    // Resize the view keeping its origin and the other dimension; negative or non-finite sizes are
    // ignored.
    void setDropDownHeight(double height);
    void setDropDownWidth(double width);
    void refresh() { setNeedsLayout(); }

    // Set by the drop-down that made the view; held weakly.
    std::shared_ptr<KivoDropDown> kivoDropDown() const { return _kivoDropDown.lock(); }
    void setKivoDropDown(const std::shared_ptr<KivoDropDown>& dropDown) { _kivoDropDown = dropDown; }

    // Plain storage for the application; nothing in the control reads them.
    double width() const { return _width; }
    void setWidth(double width) { _width = width; }
    double maxHeight() const { return _maxHeight; }
    void setMaxHeight(double height) { _maxHeight = height; }
    double minHeight() const { return _minHeight; }
    void setMinHeight(double height) { _minHeight = height; }
    double maxWidth() const { return _maxWidth; }
    void setMaxWidth(double width) { _maxWidth = width; }
    double minWidth() const { return _minWidth; }
    void setMinWidth(double width) { _minWidth = width; }
    bool autoClose() const { return _autoClose; }
    void setAutoClose(bool autoClose) { _autoClose = autoClose; }
    bool isDropDownOpen() const { return _isDropDownOpen; }
    void setIsDropDownOpen(bool open) { _isDropDownOpen = open; }
    std::int64_t dropDownDirection() const { return _dropDownDirection; }
    void setDropDownDirection(std::int64_t direction) { _dropDownDirection = direction; }

protected:
    explicit KivoDropDownView(const plat::Rect& frame) : plat::View(frame) {}
    void initialize() override;

private:
    std::weak_ptr<KivoDropDown> _kivoDropDown;
    double _width = 0, _maxHeight = 0, _minHeight = 0, _maxWidth = 0, _minWidth = 0;
    bool _autoClose = false;
    bool _isDropDownOpen = false;
    std::int64_t _dropDownDirection = 0;
};
