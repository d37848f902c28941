#include <gtest/gtest.h>

#include "platform/types.h"
#include "tests/host/sim_controls.h"
#include "tests/host/sim_fixture.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace qm {
namespace {

// A small window with one of each kind the tests need.
class Probe : public TForm {
public:
    explicit Probe(Platform& p) : TForm(p) {
        setDesignClientSize({400, 300});
        ok.setAnchors(anchors::Right | anchors::Bottom);
        stretched.setAnchors(anchors::Left | anchors::Top | anchors::Right | anchors::Bottom);
        inner.setAnchors(anchors::Left | anchors::Top | anchors::Right);
        abbrechen.cancel = true;
        abbrechen.modalResult = mr::Ok;
        a1.onClick = [this] { clicks.push_back("a1"); };
        a2.onClick = [this] { clicks.push_back("a2"); };
        b1.onClick = [this] { clicks.push_back("b1"); };
        box.onClick = [this] { clicks.push_back(box.checked() ? "box an" : "box aus"); };
        ok.onClick = [this] { clicks.push_back("ok"); };
        edit.setTabOrder(0);
        ok.setTabOrder(2);
        memo.setTabOrder(1);
        loaded();
    }
    std::vector<std::string> clicks;
    TButton ok{*this, nullptr, {300, 260, 80, 25}, "OK"};
    TButton abbrechen{*this, nullptr, {200, 260, 80, 25}, "Abbrechen"};
    TPanel stretched{*this, nullptr, {0, 0, 400, 200}, Bevel::None};
    TEdit inner{*this, &stretched, {10, 10, 380, 21}};
    TRadioButton a1{*this, &stretched, {10, 40, 100, 17}, "A1"};
    TRadioButton a2{*this, &stretched, {10, 60, 100, 17}, "A2"};
    TPanel sub{*this, &stretched, {10, 80, 200, 60}, Bevel::None};
    TRadioButton b1{*this, &sub, {2, 2, 100, 17}, "B1"};
    TRadioButton b2{*this, &sub, {2, 20, 100, 17}, "B2"};
    TCheckBox box{*this, nullptr, {10, 210, 100, 17}, "Box"};
    TEdit edit{*this, nullptr, {10, 230, 100, 21}};
    TMemo memo{*this, nullptr, {120, 210, 60, 40}, false, true, true};
    TRadioButton c1{*this, nullptr, {200, 210, 60, 17}, "C1"};
    TRadioButton c2{*this, nullptr, {200, 230, 60, 17}, "C2"};
};

using ControlLayer = test::SimTest;
using test::user;

TEST_F(ControlLayer, RadioGroupsFollowTheParentAndRaiseClickOnlyWhenBecomingChecked) {
    Probe f(m.platform);
    f.a1.setChecked(true);  // by the program: raises the click as the user's would
    f.b1.setChecked(true);
    EXPECT_EQ(f.clicks, (std::vector<std::string>{"a1", "b1"}));
    EXPECT_TRUE(f.a1.checked());
    EXPECT_TRUE(f.b1.checked()) << "the second group is independent";

    user(f.a2).click();
    EXPECT_FALSE(f.a1.checked());
    EXPECT_TRUE(f.a2.checked());
    EXPECT_TRUE(f.b1.checked());
    EXPECT_FALSE(user(f.a1).checked) << "the peer shows the unchecked sibling";
    EXPECT_EQ(f.clicks.back(), "a2");

    size_t before = f.clicks.size();
    user(f.a2).click();  // already checked: no change, no event
    f.a2.setChecked(true);
    EXPECT_EQ(f.clicks.size(), before);

    user(f.b2).click();
    EXPECT_FALSE(f.b1.checked());
    EXPECT_TRUE(f.a2.checked());

    // Directly on the form: a group of their own.
    f.c1.setChecked(true);
    user(f.c2).click();
    EXPECT_FALSE(f.c1.checked());
    EXPECT_TRUE(f.a2.checked());
    EXPECT_TRUE(f.b2.checked());
}

TEST_F(ControlLayer, CheckBoxTogglesAndReportsEachChange) {
    Probe f(m.platform);
    user(f.box).click();
    user(f.box).click();
    f.box.setChecked(true);
    f.box.setChecked(true);
    EXPECT_EQ(f.clicks, (std::vector<std::string>{"box an", "box aus", "box an"}));
    EXPECT_TRUE(user(f.box).checked);
}

TEST_F(ControlLayer, TheUserReachesNoHiddenOrDisabledControlNorOneInsideADisabledContainer) {
    Probe f(m.platform);
    f.ok.setVisible(false);
    EXPECT_THROW(user(f.ok).click(), std::logic_error);
    f.ok.setVisible(true);
    f.ok.setEnabled(false);
    EXPECT_THROW(user(f.ok).click(), std::logic_error);
    f.sub.setEnabled(false);
    EXPECT_THROW(user(f.b1).click(), std::logic_error);
    EXPECT_FALSE(f.b1.canFocus());
    f.sub.setEnabled(true);
    user(f.b1).click();
    EXPECT_TRUE(f.b1.checked());
    EXPECT_TRUE(f.clicks == std::vector<std::string>{"b1"});
}

TEST_F(ControlLayer, AnchorsMoveAndStretchChildrenBeforeTheFormSeesItsNewSize) {
    Probe f(m.platform);
    Size client = f.peer().clientSize();
    ASSERT_EQ(client, (Size{400, 300}));
    f.peer().setBounds({0, 0, 600 + sim::SimFormPeer::FrameWidth, 450 + sim::SimFormPeer::FrameHeight});
    EXPECT_EQ(f.ok.bounds(), (Rect{500, 410, 80, 25})) << "right and bottom: moves";
    EXPECT_EQ(f.abbrechen.bounds(), (Rect{200, 260, 80, 25})) << "left and top: stays";
    EXPECT_EQ(f.stretched.bounds(), (Rect{0, 0, 600, 350})) << "all four: grows";
    EXPECT_EQ(f.inner.bounds(), (Rect{10, 10, 580, 21})) << "inside a grown panel: follows it";
    EXPECT_EQ(user(f.inner).bounds, (Rect{10, 10, 580, 21}));
    // Back to the design size: everything where it was.
    f.peer().setBounds({0, 0, 400 + sim::SimFormPeer::FrameWidth, 300 + sim::SimFormPeer::FrameHeight});
    EXPECT_EQ(f.ok.bounds(), (Rect{300, 260, 80, 25}));
    EXPECT_EQ(f.inner.bounds(), (Rect{10, 10, 380, 21}));
}

TEST_F(ControlLayer, MemoAppendsLinesAfterWhateverTheUserTyped) {
    Probe f(m.platform);
    EXPECT_TRUE(f.memo.lines().empty());
    f.memo.appendLine("erste");
    f.memo.appendLine("");
    f.memo.appendLine("dritte");
    EXPECT_EQ(f.memo.lines(), (std::vector<std::string>{"erste", "", "dritte"}));
    user(f.memo).type("erste\r\nvom Benutzer\r\n");
    f.memo.appendLine("neu");
    EXPECT_EQ(f.memo.text(), "erste\r\nvom Benutzer\r\nneu\r\n");
    EXPECT_EQ(f.memo.lines(), (std::vector<std::string>{"erste", "vom Benutzer", "neu"}));
    user(f.memo).type("ohne Umbruch");
    f.memo.appendLine("danach");
    EXPECT_EQ(f.memo.lines(), (std::vector<std::string>{"ohne Umbruch", "danach"}));
}

TEST_F(ControlLayer, TabFollowsTheTabOrderDepthFirstAndSkipsWhatCannotTakeTheFocus) {
    Probe f(m.platform);
    auto& form = user(f);
    auto walk = [&](int n) {
        std::vector<TControl*> seen;
        for (int i = 0; i < n; ++i) {
            form.pressKey(vk::Tab);
            seen.push_back(f.focusedControl());
        }
        return seen;
    };
    // Equal orders keep creation order; a container's children come at its place.
    EXPECT_EQ(walk(13), (std::vector<TControl*>{&f.abbrechen, &f.inner, &f.a1, &f.a2, &f.b1, &f.b2, &f.box, &f.edit,
                                                &f.c1, &f.c2, &f.memo, &f.ok, &f.abbrechen}));
    f.sub.setVisible(false);
    f.memo.setEnabled(false);
    EXPECT_EQ(walk(9), (std::vector<TControl*>{&f.inner, &f.a1, &f.a2, &f.box, &f.edit, &f.c1, &f.c2, &f.ok,
                                               &f.abbrechen}));
    form.pressKey(vk::Tab, true);
    EXPECT_EQ(f.focusedControl(), &f.ok) << "Shift+Tab goes back";
}

TEST_F(ControlLayer, EscapePressesTheCancelButtonWhichEndsAModalShowing) {
    Probe f(m.platform);
    m.ui.whileModal([&](sim::SimFormPeer& w) {
        EXPECT_TRUE(w.modal);
        w.pressKey(vk::Escape);
    });
    EXPECT_EQ(f.showModal(), mr::Ok);
    EXPECT_EQ(f.modalResult(), mr::Ok);
    EXPECT_FALSE(f.peer().visible()) << "hidden after it closed";

    m.ui.whileModal([&](sim::SimFormPeer& w) { w.userClose(); });
    EXPECT_EQ(f.showModal(), mr::Cancel) << "the title-bar button cancels";
    EXPECT_FALSE(f.peer().closed()) << "the owner still has the window";
    EXPECT_TRUE(m.ui.modalProblems.empty());
}

TEST_F(ControlLayer, AnErrorInAHandlerReachesTheDefaultErrorDialogAndEndsTheEvent) {
    Probe f(m.platform);
    f.ok.onClick = [&] {
        f.clicks.push_back("vorher");
        throw EConvertError("'x' ist kein gültiger Integerwert");
        f.clicks.push_back("nachher");
    };
    m.user.answer(mr::Ok);
    user(f.ok).click();
    ASSERT_EQ(m.user.shown.size(), 1u);
    EXPECT_EQ(dialog(0).kind, sim::DialogRecord::Kind::Exception);
    EXPECT_EQ(dialog(0).text, "'x' ist kein gültiger Integerwert");
    EXPECT_EQ(f.clicks, std::vector<std::string>{"vorher"});
}

TEST_F(ControlLayer, SimulatedDecoderChecksSignatureHeaderAndChecksum) {
    // 1x1 PNG header (IHDR with its CRC) as written by any encoder.
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0, 0,
                                61, 0, 0, 0, 61, 8, 6, 0, 0, 0};
    // CRC-32 of "IHDR" + data, computed independently with Python's zlib.crc32.
    uint32_t crc = 0x1E6261E9;
    for (int s : {24, 16, 8, 0}) png.push_back(uint8_t(crc >> s));
    auto pic = m.ui.decodePicture(png.data(), png.size(), PictureFormat::Png);
    EXPECT_EQ(pic->width(), 61);
    EXPECT_EQ(pic->height(), 61);
    png[20] ^= 1;  // header damaged
    EXPECT_THROW(m.ui.decodePicture(png.data(), png.size(), PictureFormat::Png), Exception);
    EXPECT_THROW(m.ui.decodePicture(png.data(), 10, PictureFormat::Png), Exception);
}

}  // namespace
}  // namespace qm
