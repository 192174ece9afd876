#include "Platform/ui/view_coding.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "Platform/testing/archives.h"
#include "Platform/ui/view.h"

namespace {

using plat::testing::plist;
using plat::testing::viewDict;

// A view that notes what it saw when its internal initialiser ran, and every instance made.
class ProbeView : public plat::View {
public:
    static std::shared_ptr<ProbeView> create(const plat::Coder& coder) {
        std::shared_ptr<ProbeView> view(new ProbeView(decodedFrame(coder)));
        made().push_back(view);
        return initializedFromCoder(view, coder);
    }
    static std::vector<std::weak_ptr<ProbeView>>& made() {
        static std::vector<std::weak_ptr<ProbeView>> views;
        return views;
    }
    int initializeRuns = 0;
    plat::Rect frameAtInitialize;
    std::int64_t tagAtInitialize = -1;

protected:
    using plat::View::View;
    void initialize() override {
        plat::View::initialize();
        ++initializeRuns;
        frameAtInitialize = frame();
        tagAtInitialize = tag();
    }
};

[[maybe_unused]] const bool probeRegistered = plat::registerCodedView<ProbeView>("ProbeView");

TEST(ViewCoding, AViewDecodesItsOwnKeysAndItsSubviewsByClassName) {
    const auto root = plat::loadInterface(
        plist(viewDict("View", R"(<key>frame</key><array><real>10</real><real>20</real><real>300</real><real>200</real></array>
            <key>hidden</key><true/> <key>alpha</key><real>0.25</real> <key>tag</key><integer>5</integer>
            <key>backgroundColor</key><array><real>0</real><real>0</real><real>1</real><real>0.5</real></array>
            <key>userInteractionEnabled</key><false/> <key>clipsToBounds</key><true/>
            <key>subviews</key><array>)" +
                                   viewDict("ProbeView",
                                            "<key>tag</key><integer>9</integer><key>frame</key><array><real>1</real><real>2</"
                                            "real><real>3</real><real>4</real></array>") +
                                   viewDict("View") + "</array>")),
        "mem");
    ASSERT_TRUE(root);
    EXPECT_EQ(root->frame(), plat::Rect(10, 20, 300, 200));
    EXPECT_TRUE(root->isHidden());
    EXPECT_EQ(root->alpha(), 0.25);
    EXPECT_EQ(root->tag(), 5);
    EXPECT_EQ(root->backgroundColor(), plat::Color(0, 0, 1, 0.5));
    EXPECT_FALSE(root->isUserInteractionEnabled());
    EXPECT_TRUE(root->clipsToBounds());
    ASSERT_EQ(root->subviews().size(), 2u);
    const auto probe = std::dynamic_pointer_cast<ProbeView>(root->subviews()[0]);
    ASSERT_TRUE(probe);
    // The internal initialiser runs once, after the archived keys, as a view from a frame runs it.
    EXPECT_EQ(probe->initializeRuns, 1);
    EXPECT_EQ(probe->frameAtInitialize, plat::Rect(1, 2, 3, 4));
    EXPECT_EQ(probe->tagAtInitialize, 9);
    EXPECT_EQ(probe->superview(), root);
    // Unset keys keep a view's defaults.
    const auto plain = root->subviews()[1];
    const auto fresh = plat::View::create();
    EXPECT_EQ(plain->frame(), fresh->frame());
    EXPECT_EQ(plain->alpha(), fresh->alpha());
    EXPECT_EQ(plain->isHidden(), fresh->isHidden());
    EXPECT_EQ(plain->backgroundColor(), fresh->backgroundColor());
    EXPECT_EQ(plain->isUserInteractionEnabled(), fresh->isUserInteractionEnabled());
    EXPECT_EQ(plain->clipsToBounds(), fresh->clipsToBounds());
}

TEST(ViewCoding, AViewFromAnArchiveWithOnlyAFrameStartsAsFromAFrame) {
    plat::testing::expectSameAsFromFrame<plat::View>("View", {1, 2, 30, 40}, {});
}

TEST(ViewCoding, TheRegistryNamesItsClassesAndALaterRegistrationReplaces) {
    EXPECT_TRUE(plat::CodedViewRegistry::isRegistered("View"));
    EXPECT_TRUE(plat::CodedViewRegistry::isRegistered("ProbeView"));
    EXPECT_FALSE(plat::CodedViewRegistry::isRegistered("Nothing"));
    int made = 0;
    plat::CodedViewRegistry::registerClass("Counted", [&](const plat::Coder& c) {
        ++made;
        return plat::View::create(c);
    });
    plat::CodedViewRegistry::registerClass("Counted", [&](const plat::Coder& c) {
        made += 10;
        return plat::View::create(c);
    });
    plat::loadInterface(plist(viewDict("Counted")), "mem");
    EXPECT_EQ(made, 10);
    plat::CodedViewRegistry::registerClass("Counted", [](const plat::Coder&) { return std::shared_ptr<plat::View>(); });
    EXPECT_EQ(plat::testing::coderErrorOf([] { plat::loadInterface(plist(viewDict("Counted")), "mem"); }),
              "mem: key \"class\": the class \"Counted\" made no view");
}

TEST(ViewCoding, AFailedLoadLeavesNoViewBehind) {
    ProbeView::made().clear();
    const std::string file =
        plist(viewDict("ProbeView", "<key>subviews</key><array>" + viewDict("ProbeView") + viewDict("ProbeView") +
                                        viewDict("ProbeView", "<key>alpha</key><string>x</string>") + "</array>"));
    EXPECT_EQ(plat::testing::coderErrorOf([&] { plat::loadInterface(file, "mem"); }),
              "mem: key \"subviews[2].alpha\": expected a number, found a string");
    EXPECT_EQ(ProbeView::made().size(), 4u);                                 // the root and three subviews were constructed...
    for (const auto& view : ProbeView::made()) EXPECT_TRUE(view.expired());  // ...and are gone
}

TEST(ViewCoding, AHostileInterfaceFileGivesAnErrorNeverACrash) {
    const std::string path = ::testing::TempDir() + "hostile.plist";
    std::string nested = viewDict("View");
    for (int i = 0; i < 40; ++i) nested = viewDict("View", "<key>subviews</key><array>" + nested + "</array>");
    std::string veryDeep;
    for (int i = 0; i < 200000; ++i) veryDeep += "<array>";
    const struct {
        std::string name;
        std::string data;
        plat::CoderLimits limits;
        std::string message;
    } cases[] = {
        {"truncated", plist(viewDict("View")).substr(0, 50), {}, "not a property list"},
        {"empty", "", {}, "not a property list"},
        {"binary", std::string("bplist00\0\x01\xff", 11), {}, "not a property list"},
        {"past the size limit", plist(viewDict("View")), {.maxBytes = 20}, "bytes, more than the limit of 20"},
        {"deep nesting", plist(nested), {}, "nested deeper than 64 levels"},
        // Far past the parser's own depth limit: refused before any recursion over it.
        {"very deep nesting", plist(veryDeep), {}, "not a property list"},
        {"unknown class",
         plist(viewDict("View", "<key>subviews</key><array>" + viewDict("Gizmo") + "</array>")),
         {},
         "key \"subviews[0].class\": no view class is registered as \"Gizmo\""},
        {"no class", plist("<dict/>"), {}, "key \"class\": a view needs the name of its class"},
        {"class not a string",
         plist("<dict><key>class</key><integer>1</integer></dict>"),
         {},
         "key \"class\": expected a string"},
        {"NaN frame",
         plist(viewDict("View", "<key>frame</key><array><real>nan</real><real>0</real><real>1</real><real>1</real></array>")),
         {},
         "key \"frame\": expected a rectangle"},
        {"infinite frame",
         plist(
             viewDict("ProbeView", "<key>frame</key><array><real>0</real><real>0</real><real>inf</real><real>1</real></array>")),
         {},
         "key \"frame\": expected a rectangle"},
        {"frame of three",
         plist(viewDict("View", "<key>frame</key><array><real>0</real><real>0</real><real>1</real></array>")),
         {},
         "key \"frame\": expected a rectangle"},
        {"alpha out of range",
         plist(viewDict("View", "<key>alpha</key><real>2</real>")),
         {},
         "key \"alpha\": expected a number in 0...1"},
        {"hidden as a string",
         plist(viewDict("View", "<key>hidden</key><string>yes</string>")),
         {},
         "key \"hidden\": expected a boolean"},
        {"tag as a real", plist(viewDict("View", "<key>tag</key><real>1.5</real>")), {}, "key \"tag\": expected an integer"},
        {"colour as a string",
         plist(viewDict("View", "<key>backgroundColor</key><string>red</string>")),
         {},
         "key \"backgroundColor\": expected a colour"},
        {"subviews as a dict",
         plist(viewDict("View", "<key>subviews</key><dict/>")),
         {},
         "key \"subviews\": expected an array of dicts"},
        {"subview as a string",
         plist(viewDict("View", "<key>subviews</key><array><string>View</string></array>")),
         {},
         "key \"subviews[0]\": expected a dict"},
    };
    for (const auto& c : cases) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << c.data;
        const std::string error = plat::testing::coderErrorOf([&] { plat::loadInterfaceFile(path, c.limits); });
        EXPECT_EQ(error.rfind(path + ": ", 0), 0u) << c.name << ": " << error;
        EXPECT_NE(error.find(c.message), std::string::npos) << c.name << ": " << error;
    }
}

}  // namespace
