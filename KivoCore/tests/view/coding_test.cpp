#include <gtest/gtest.h>

#include "KivoCore/KivoCheckBox.h"
#include "KivoCore/KivoView.h"
#include "Platform/runtime/notification_center.h"
#include "Platform/runtime/system_notifications.h"
#include "Platform/testing/archives.h"

namespace {

TEST(KivoCoreCoding, ControlsFromAnInterfaceFileStartAsFromAFrame) {
    plat::testing::expectSameAsFromFrame<KivoView>("KivoView", {5, 6, 120, 80}, {});
    plat::testing::expectSameAsFromFrame<KivoCheckBox>(
        "KivoCheckBox", {0, 0, 44, 44},
        {PLAT_SAME_GETTER(KivoCheckBox, isChecked), PLAT_SAME_GETTER(KivoCheckBox, isReadOnly),
         PLAT_SAME_GETTER(KivoCheckBox, finishedAnimations), PLAT_SAME_GETTER(KivoCheckBox, rippleFromTapLocation),
         PLAT_SAME_GETTER(KivoCheckBox, checkmarkColor), PLAT_SAME_GETTER(KivoCheckBox, tapCirclePositiveColor),
         PLAT_SAME_GETTER(KivoCheckBox, tapCircleNegativeColor), PLAT_SAME_GETTER(KivoCheckBox, radius)});
}

// A view from an interface file observes the text-size notification, as one from a frame does.
class SizeProbe : public KivoView {
public:
    int sizeChanges = 0;
    void respondToSizeChanged() override { ++sizeChanges; }
    static std::shared_ptr<SizeProbe> create(const plat::Coder& coder) {
        return initializedFromCoder(std::shared_ptr<SizeProbe>(new SizeProbe(decodedFrame(coder))), coder);
    }

private:
    using KivoView::KivoView;
};

TEST(KivoCoreCoding, AViewFromAnInterfaceFileObservesTheTextSizeNotification) {
    plat::registerCodedView<SizeProbe>("SizeProbe");
    const auto probe = plat::testing::decodeView<SizeProbe>("SizeProbe", {0, 0, 10, 10});
    ASSERT_TRUE(probe);
    plat::NotificationCenter::defaultCenter().post(std::string(plat::ContentSizeCategoryDidChangeNotification));
    EXPECT_EQ(probe->sizeChanges, 1);
}

TEST(KivoCoreCoding, AnArchiveWithABadKeyIsRefused) {
    for (const char* cls : {"KivoView", "KivoCheckBox"}) plat::testing::expectBadKeysRefused(cls);
}

}  // namespace
