#include <gtest/gtest.h>

#include "app/program.h"
#include "app/versionen.h"
#include "tests/host/sim_fixture.h"
#include "wizard/install_unit50.h"

namespace qm {
namespace {

const char* const kMarker = "Quillmark 5.0 - Privatliquidation";

class StartupChecks : public test::SimTest {
protected:
    void refuseAdmin() { m.registry.denyWrites(RootKey::LocalMachine, "Software"); }
    void refuseWindows() {
        m.kernel.exports = {"ReplaceFile"};  // Windows 2000
    }
    size_t closeRequests() const {
        size_t n = 0;
        for (auto& p : m.ui.pending()) n += p.msg == TfmInstall::WM_SCHLIESSEN;
        return n;
    }
};

TEST_F(StartupChecks, MarkerNameAndCloseMessage) {
    EXPECT_EQ(Versionen::laufMarkerName(), kMarker);
    EXPECT_EQ(TfmInstall::WM_SCHLIESSEN, 0x0500u);
}

TEST_F(StartupChecks, AdminProbeWritesAndRemovesTheTestValue) {
    TfmInstall fm(m.platform);
    EXPECT_TRUE(fm.checkAdminRechte());
    EXPECT_FALSE(m.registry.value(RootKey::LocalMachine, "Software", "Test").has_value());
    EXPECT_EQ(m.registry.openHandles(), 0u);
    refuseAdmin();
    EXPECT_FALSE(fm.checkAdminRechte());
    EXPECT_EQ(m.registry.openHandles(), 0u);
}

struct RefusalCase {
    bool admin, windows, running;
    std::vector<std::string> messages;
};

TEST_F(StartupChecks, EveryFailingCheckShowsItsMessageAndPostsItsOwnCloseRequest) {
    const std::string admin = TfmInstall::meldungKeineAdminRechte();
    const std::string win = TfmInstall::meldungWindowsVersion();
    const std::string run = TfmInstall::meldungProgrammLaeuft();
    const std::vector<RefusalCase> cases = {
        {false, false, false, {}},
        {true, false, false, {admin}},
        {false, true, false, {win}},
        {false, false, true, {run}},
        {true, true, false, {admin, win}},
        {true, true, true, {admin, win, run}},
    };
    for (const auto& c : cases) {
        sim::SimMachine mm;
        if (c.admin) mm.registry.denyWrites(RootKey::LocalMachine, "Software");
        if (c.windows) mm.kernel.exports = {"ReplaceFile"};
        if (c.running) mm.kernel.holdExternally(kMarker);
        for (size_t i = 0; i < c.messages.size(); ++i) mm.user.answer(mr::Ok);
        TfmInstall fm(mm.platform);
        fm.show();
        ASSERT_EQ(mm.user.shown.size(), c.messages.size());
        size_t posted = 0;
        for (auto& p : mm.ui.pending()) posted += p.msg == TfmInstall::WM_SCHLIESSEN;
        EXPECT_EQ(posted, c.messages.size());
        for (size_t i = 0; i < c.messages.size(); ++i) {
            EXPECT_EQ(mm.user.shown[i].text, c.messages[i]);
            EXPECT_EQ(mm.user.shown[i].type, MsgDlgType::Information);
            EXPECT_EQ(mm.user.shown[i].buttons, mb::OK);
        }
        // The first request closes the window; the others find it closed.
        mm.ui.setMainForm(&fm.peer());
        mm.ui.processMessages();
        EXPECT_EQ(fm.peer().closed(), !c.messages.empty());
        EXPECT_EQ(mm.ui.ended(), !c.messages.empty());
    }
}

TEST_F(StartupChecks, MessagesAreExact) {
    EXPECT_EQ(TfmInstall::meldungKeineAdminRechte(),
              "Herzlich willkommen zur Installation von Quillmark.\r\n\r\n"
              "Leider verfügen Sie auf Ihrem Rechner nicht über die erforderlichen Rechte\r\n"
              "in der Registrierungsdatei zur Installation von Software.\r\n"
              "Führen Sie die Installation erneut mit Administratorrechten durch.\r\n\r\n"
              "Bei Fragen wenden Sie sich an Ihren Administrator oder wenden Sie sich\r\n"
              "an support@tessarwind.de.");
    EXPECT_EQ(TfmInstall::meldungWindowsVersion(),
              "Herzlich willkommen zur Installation von Quillmark.\r\n\r\n"
              "Leider ist das Programm unter Ihrer Windows-Version nicht lauffähig.\r\n"
              "Installieren Sie das Programm bitte auf einem Rechner, auf dem\r\n"
              "Windows XP, Windows Vista, Windows 7 oder eine höhere Version\r\n"
              "von Windows installiert ist.");
    EXPECT_EQ(TfmInstall::meldungProgrammLaeuft(),
              "Herzlich willkommen zur Installation von Quillmark.\r\n\r\n"
              "Bitte schließen Sie zunächst das laufende Programm Quillmark\r\n"
              "und starten Sie anschließend die Installation erneut.");
}

TEST_F(StartupChecks, RunningApplicationIsProbedAgainAfterThreeSeconds) {
    TfmInstall fm(m.platform);
    // Not running: one probe, no wait, and the setup now holds the marker itself.
    EXPECT_FALSE(fm.checkProgrammLaeuft());
    EXPECT_TRUE(m.kernel.sleeps.empty());
    EXPECT_TRUE(m.kernel.semaphoreExists(kMarker));
}

TEST_F(StartupChecks, ApplicationClosedDuringTheWaitCountsAsNotRunning) {
    m.kernel.holdExternally(kMarker);
    m.kernel.onSleep = [this](uint32_t) { m.kernel.releaseExternal(kMarker); };
    {
        TfmInstall fm(m.platform);
        EXPECT_FALSE(fm.checkProgrammLaeuft());
        EXPECT_EQ(m.kernel.sleeps, std::vector<uint32_t>{3000});
        EXPECT_TRUE(m.kernel.semaphoreExists(kMarker)) << "the second probe keeps the new marker";
    }
    EXPECT_FALSE(m.kernel.semaphoreExists(kMarker)) << "released when the setup ends";
    EXPECT_EQ(m.kernel.openHandles(), 0u);
}

TEST_F(StartupChecks, ApplicationStillRunningAfterTheWait) {
    m.kernel.holdExternally(kMarker);
    TfmInstall fm(m.platform);
    EXPECT_TRUE(fm.checkProgrammLaeuft());
    EXPECT_EQ(m.kernel.sleeps, std::vector<uint32_t>{3000});
    EXPECT_EQ(m.kernel.openHandles(), 0u) << "probe handles of a foreign marker are closed at once";
}

TEST_F(StartupChecks, ShowSizesTheWindowToTheScreenBeforeTheChecks) {
    struct ScreenCase {
        Size screen, expected;
    };
    for (auto c : {ScreenCase{{1920, 1080}, {1280, 720}}, ScreenCase{{1024, 768}, {1024, 720}},
                   ScreenCase{{800, 600}, {800, 600}}}) {
        sim::SimMachine mm;
        mm.ui.screen = c.screen;
        TfmInstall fm(mm.platform);
        fm.show();
        Size expected{std::max(c.expected.width, 686), std::max(c.expected.height, 550)};
        EXPECT_EQ(fm.peer().bounds().width, expected.width);
        EXPECT_EQ(fm.peer().bounds().height, expected.height);
    }
}

TEST_F(StartupChecks, ProgramEntryOpensTheWindowOnAGoodMachine) {
    m.locale.settings = {"d.M.yyyy", '.', ':'};
    EXPECT_EQ(runSetup(m.platform), 0);
    EXPECT_TRUE(m.user.shown.empty());
    EXPECT_EQ(m.ui.applicationTitle(), "Quillmark 5.18.25 - Installation");
    EXPECT_TRUE(m.ui.classicDialogs);
    EXPECT_TRUE(m.ui.mainFormOnTaskbar);
    EXPECT_FALSE(m.ui.ended());
}

TEST_F(StartupChecks, ProgramEntryWithAMonthFirstFormatStillShowsTheWindowThenEnds) {
    m.locale.settings = {"M/d/yyyy", '/', ':'};
    m.kernel.exports = {"GetNativeSystemInfo"};  // XP: no taskbar change, no Vista advice
    m.user.answer(mr::Ok);
    EXPECT_EQ(runSetup(m.platform), 0);
    ASSERT_EQ(m.user.shown.size(), 1u);
    EXPECT_NE(m.user.shown[0].text.find("erkannt: M/d/yyyy\r\n"), std::string::npos);
    EXPECT_EQ(m.user.shown[0].text.find("Windows 7 hilft"), std::string::npos);
    EXPECT_FALSE(m.ui.mainFormOnTaskbar);
    EXPECT_TRUE(m.ui.ended());
}

}  // namespace
}  // namespace qm
