#pragma once
// The common base of the suite's larger controls (grid, gauges, calendar): from creation to
// destruction it observes the user's text-size and the device-orientation notifications, answering them
// through two hooks that
// subclasses override, and renders itself into a PNG image.

#include <cstdint>
#include <memory>
#include <vector>

#include "KivoCore/KivoCoreExport.h"
#include "Platform/ui/view.h"

class KIVO_CORE_EXPORT KivoView : public plat::View {
public:
    static std::shared_ptr<KivoView> create(const plat::Rect& frame = {});
    // From an interface file, with the same defaults as from a frame; raises plat::CoderException.
    static std::shared_ptr<KivoView> create(const plat::Coder& coder);
    ~KivoView() override;

    // Called with no argument once per change of the user's preferred text size. Does nothing here.
    virtual void respondToSizeChanged() {}
    // Called with no argument once per change of the device orientation (while the application has
    // orientation notifications switched on). Does nothing here.
    virtual void respondToOrientationChanged() {}

    // PNG bytes of the view as it looks now (its layer tree, at the main screen's scale, transparent
    // where nothing is drawn); empty for a view without width or height.
    std::vector<std::uint8_t> getImage();

protected:
    explicit KivoView(const plat::Rect& frame) : plat::View(frame) {}
    // Runs _initKivoView; subclasses run their own set-up after calling this.
    void initialize() override;
    void _initKivoView();
};
