#include <gtest/gtest.h>

#include "dbserver/server_tools.h"
#include "platform/sim/sim_programs.h"
#include "tests/host/sim_fixture.h"
#include "wizard/install_unit50.h"

namespace qm {
namespace {

class Dienste : public test::SimTest {
protected:
    void TearDown() override {
        EXPECT_EQ(m.services.openHandles(), 0u) << "every service handle is closed";
        EXPECT_EQ(m.processes.openHandles(), 0u) << "process and thread handles are closed";
        SimTest::TearDown();
    }
    const sim::SimProcessStart& lastStart() {
        if (m.processes.starts.empty()) throw std::logic_error("nothing started");
        return m.processes.starts.back();
    }
};

TEST_F(Dienste, QueriesAskForTheServiceOfTheInstanceInEveryState) {
    struct Case {
        std::optional<uint32_t> state;  // none: no such service
        bool vorhanden, gestartet;
    };
    const Case cases[] = {
        {std::nullopt, false, false},           {svcstate::Stopped, true, false},
        {svcstate::StartPending, true, false},  {svcstate::StopPending, true, false},
        {svcstate::ContinuePending, true, false}, {svcstate::PausePending, true, false},
        {svcstate::Paused, true, false},        {svcstate::Running, true, true},
    };
    TfmInstall fm(m.platform);
    for (const char* instanz : {"DefaultInstance", "QuillmarkFB4.0.2.2816"}) {
        const std::string name = std::string("FirebirdServer") + instanz;
        for (const auto& c : cases) {
            m.services.remove(name);
            if (c.state) m.services.add(name, *c.state);
            m.services.serviceOpens.clear();
            m.services.managerAccess.clear();
            EXPECT_EQ(fm.checkDienstVorhanden(instanz), c.vorhanden) << name << " " << c.state.value_or(0);
            EXPECT_EQ(fm.checkDienstGestartet(instanz), c.gestartet) << name << " " << c.state.value_or(0);
            ASSERT_EQ(m.services.serviceOpens.size(), 2u);
            EXPECT_EQ(m.services.serviceOpens[0], std::make_pair(name, scaccess::ServiceAllAccess));
            EXPECT_EQ(m.services.managerAccess, (std::vector<uint32_t>{0xF003F, 0xF003F}));
            EXPECT_EQ(m.services.openHandles(), 0u);
        }
    }
    // A service of another instance is not taken for this one.
    m.services.add("FirebirdServerDefaultInstance2", svcstate::Running);
    m.services.remove("FirebirdServerDefaultInstance");
    EXPECT_FALSE(fm.checkDienstVorhanden("DefaultInstance"));
    EXPECT_TRUE(m.user.shown.empty());
}

TEST_F(Dienste, FailingStatusQueryCountsAsNotRunning) {
    TfmInstall fm(m.platform);
    m.services.add("FirebirdServerDefaultInstance", svcstate::Running);
    m.services.statusQueryFails = true;
    EXPECT_TRUE(fm.checkDienstVorhanden("DefaultInstance"));
    EXPECT_FALSE(fm.checkDienstGestartet("DefaultInstance"));
}

TEST_F(Dienste, UnreachableServiceManagerIsReportedOnEveryQuery) {
    TfmInstall fm(m.platform);
    m.services.add("FirebirdServerDefaultInstance", svcstate::Running);
    m.services.managerReachable = false;
    for (int i = 0; i < 3; ++i) m.user.answer(mr::Ok);
    EXPECT_FALSE(fm.checkDienstVorhanden("DefaultInstance"));
    EXPECT_FALSE(fm.checkDienstGestartet("DefaultInstance"));
    EXPECT_FALSE(fm.checkDienstGestartet("QuillmarkFB4.0.2.2816"));
    ASSERT_EQ(m.user.shown.size(), 3u);
    for (const auto& d : m.user.shown) {
        EXPECT_EQ(d.kind, sim::DialogRecord::Kind::MessageBox);
        EXPECT_EQ(d.text, "Service-Manager nicht erreicht!");
        EXPECT_EQ(d.caption, "Quillmark 5.18.25 - Installation");
        EXPECT_EQ(d.flags, 0u) << "text and an OK button only";
    }
    EXPECT_TRUE(m.services.serviceOpens.empty());
}

TEST_F(Dienste, ServiceToolCommandLinesAreTheUnquotedAbsoluteToolPathAndTheSubCommand) {
    using Methode = std::function<bool(TfmInstall&, const std::string&)>;
    struct Case {
        const char* ordner;
        Methode methode;
        const char* befehlszeile;
    };
    const std::string fb4 = "QuillmarkFB4.0.2.2816";
    const std::string alt = "DefaultInstance";
    const char* blanks = "C:\\Program Files (x86)\\Tessarwind\\Quillmark50\\Firebird_4.0.2.2816";
    const Case cases[] = {
        {"C:\\Daten\\FB", [&](TfmInstall& f, const std::string& o) { return f.installDienst(o, fb4); },
         "C:\\Daten\\FB\\instsvc.exe install -auto -n QuillmarkFB4.0.2.2816"},
        {"C:\\Daten\\FB\\", [&](TfmInstall& f, const std::string& o) { return f.installDienst(o, fb4); },
         "C:\\Daten\\FB\\instsvc.exe install -auto -n QuillmarkFB4.0.2.2816"},
        {"C:\\Daten\\FB", [&](TfmInstall& f, const std::string& o) { return f.startDienst(o, fb4, false); },
         "C:\\Daten\\FB\\instsvc.exe start -n QuillmarkFB4.0.2.2816"},
        {"C:\\Daten\\FB\\", [&](TfmInstall& f, const std::string& o) { return f.stopDienst(o, fb4, false); },
         "C:\\Daten\\FB\\instsvc.exe stop -n QuillmarkFB4.0.2.2816"},
        {"C:\\Daten\\FB", [&](TfmInstall& f, const std::string& o) { return f.removeDienst(o, fb4); },
         "C:\\Daten\\FB\\instsvc.exe remove -n QuillmarkFB4.0.2.2816"},
        {"C:\\Prog\\Firebird_2_5\\", [&](TfmInstall& f, const std::string& o) { return f.stopDienst(o, alt, true); },
         "C:\\Prog\\Firebird_2_5\\bin\\instsvc.exe stop -n DefaultInstance"},
        {"C:\\Prog\\Firebird_2_5", [&](TfmInstall& f, const std::string& o) { return f.startDienst(o, alt, true); },
         "C:\\Prog\\Firebird_2_5\\bin\\instsvc.exe start -n DefaultInstance"},
        {blanks, [&](TfmInstall& f, const std::string& o) { return f.installDienst(o, fb4); },
         "C:\\Program Files (x86)\\Tessarwind\\Quillmark50\\Firebird_4.0.2.2816\\instsvc.exe install -auto -n "
         "QuillmarkFB4.0.2.2816"},
        {"C:\\Prog\\Firebird_2_5\\", [&](TfmInstall& f, const std::string& o) { return f.stopDienst(o, alt, true); },
         "C:\\Prog\\Firebird_2_5\\bin\\instsvc.exe stop -n DefaultInstance"},
    };
    TfmInstall fm(m.platform);
    for (uint32_t exitCode : {0u, 1u}) {
        for (const auto& c : cases) {
            const std::string bc = c.befehlszeile;
            m.processes.installExit(bc.substr(0, bc.find(".exe") + 4), exitCode);
            EXPECT_EQ(c.methode(fm, c.ordner), exitCode == 0) << bc;
            EXPECT_EQ(lastStart().commandLine, bc);
            EXPECT_EQ(lastStart().program, bc.substr(0, bc.find(".exe") + 4)) << "found although unquoted";
            EXPECT_EQ(lastStart().showWindow, 0u);
        }
    }
}

TEST_F(Dienste, AMissingServiceToolIsAFailureWithTheSystemsReason) {
    TfmInstall fm(m.platform);
    const std::string ordner = "C:\\Praxis\\Firebird_4.0.2.2816";
    m.files.addFolder(ordner);
    EXPECT_FALSE(fm.installDienst(ordner, "QuillmarkFB4.0.2.2816"));
    EXPECT_EQ(fm.letzterProzessFehler(), "Das System kann die angegebene Datei nicht finden. (Fehler 2)");
    EXPECT_FALSE(fm.startDienst(ordner, "QuillmarkFB4.0.2.2816", false));
    EXPECT_FALSE(fm.stopDienst("C:\\Prog\\Firebird_2_5\\", "DefaultInstance", true));
    EXPECT_FALSE(fm.removeDienst(ordner, "QuillmarkFB4.0.2.2816"));
    EXPECT_EQ(m.processes.starts.size(), 4u);
    for (const auto& s : m.processes.starts) EXPECT_EQ(s.error, 2u) << s.commandLine;
}

TEST_F(Dienste, RunProzessStartsHiddenInANewConsoleWaitsAndReturnsTheFullExitCode) {
    TfmInstall fm(m.platform);
    for (uint32_t code : {0u, 1u, 3010u, 5100u, 0xC0000005u}) {
        m.processes.installExit("C:\\Werkzeug\\prog.exe", code);
        m.processes.waits.clear();
        EXPECT_EQ(fm.runProzess("C:\\Werkzeug\\prog.exe /q", 0), code);
        EXPECT_EQ(lastStart().creationFlags, 0x30u);
        EXPECT_EQ(lastStart().showWindow, 0u);
        EXPECT_EQ(m.processes.waits, (std::vector<uint32_t>{0xFFFFFFFF})) << "no time-out";
        EXPECT_EQ(fm.letzterProzessFehler(), "");
    }
    EXPECT_EQ(fm.runProzess("C:\\Werkzeug\\prog.exe", 5), 0xC0000005u);
    EXPECT_EQ(lastStart().showWindow, 5u) << "the caller's show-window value";
}

TEST_F(Dienste, RunProzessTellsAStartFailureApartFromEveryExitCode) {
    TfmInstall fm(m.platform);
    m.files.addFile("C:\\Werkzeug\\liesmich.txt");
    EXPECT_EQ(fm.runProzess("C:\\Werkzeug\\fehlt.exe /q", 0), TfmInstall::ProzessNichtGestartet);
    EXPECT_EQ(fm.letzterProzessFehler(), "Das System kann die angegebene Datei nicht finden. (Fehler 2)");
    EXPECT_EQ(fm.runProzess("C:\\Werkzeug\\liesmich.txt", 0), TfmInstall::ProzessNichtGestartet);
    EXPECT_EQ(fm.letzterProzessFehler(), "Systemfehler 193 (Fehler 193)");
    EXPECT_EQ(fm.runProzess("", 0), TfmInstall::ProzessNichtGestartet);
    m.processes.installExit("C:\\Werkzeug\\prog.exe", 0);
    EXPECT_EQ(fm.runProzess("C:\\Werkzeug\\prog.exe", 0), 0u);
    EXPECT_EQ(fm.letzterProzessFehler(), "") << "a run that started forgets the earlier reason";
}

TEST_F(Dienste, LongCommandLinesArePassedOnWhole) {
    TfmInstall fm(m.platform);
    std::string received;
    m.processes.install("C:\\Firebird\\gbak.exe", [&](const std::string& line, const std::string&) {
        received = line;
        return 0u;
    });
    const std::string tief = "C:\\" + std::string(300, 'd') + "\\" + std::string(300, 'e') + "\\Praxis.fdb";
    const std::string line =
        ServerTools::wiederherstellung("C:\\Firebird\\gbak.exe", tief + ".fbk", tief);
    ASSERT_GT(line.size(), 1200u);
    EXPECT_EQ(fm.runProzess(line, 0), 0u);
    EXPECT_EQ(received, line);
}

TEST_F(Dienste, ServiceToolDrivesAServiceThroughItsWholeLife) {
    const std::string ordner = "C:\\Praxis\\Firebird_4.0.2.2816\\";
    sim::installServiceTool(m, ordner + "instsvc.exe");
    const std::string inst = "QuillmarkFB4.0.2.2816";
    TfmInstall fm(m.platform);
    EXPECT_TRUE(fm.removeDienst(ordner, inst)) << "removing what is not there succeeds";
    EXPECT_FALSE(fm.checkDienstVorhanden(inst));
    ASSERT_TRUE(fm.installDienst(ordner, inst));
    EXPECT_TRUE(m.services.find("FirebirdServerQuillmarkFB4.0.2.2816")->autoStart);
    EXPECT_TRUE(fm.checkDienstVorhanden(inst));
    EXPECT_FALSE(fm.checkDienstGestartet(inst));
    EXPECT_FALSE(fm.installDienst(ordner, inst)) << "already registered";
    ASSERT_TRUE(fm.startDienst(ordner, inst, false));
    EXPECT_TRUE(fm.checkDienstGestartet(inst));
    ASSERT_TRUE(fm.stopDienst(ordner, inst, false));
    EXPECT_FALSE(fm.checkDienstGestartet(inst));
    EXPECT_TRUE(fm.checkDienstVorhanden(inst));
    ASSERT_TRUE(fm.startDienst(ordner, inst, false));
    ASSERT_TRUE(fm.removeDienst(ordner, inst)) << "a running service is stopped and removed";
    EXPECT_FALSE(fm.checkDienstVorhanden(inst));
    EXPECT_FALSE(fm.startDienst(ordner, inst, false)) << "nothing to start";
}

TEST(ServerTools, CommandLinesOfTheOtherTools) {
    using namespace ServerTools;
    EXPECT_EQ(statistikKopf("C:\\FB\\gstat.exe", "D:\\Daten\\Praxis.fdb"), "\"C:\\FB\\gstat.exe\" -h \"D:\\Daten\\Praxis.fdb\"");
    EXPECT_EQ(sicherung("C:\\FB 2\\bin\\gbak.exe", "D:\\Daten\\P.fdb", "D:\\S\\P.fbk", StandardAnmeldung),
              "\"C:\\FB 2\\bin\\gbak.exe\" -b -user quillmark -password kornblumenwiesel \"D:\\Daten\\P.fdb\" "
              "\"D:\\S\\P.fbk\"");
    EXPECT_EQ(sicherung("gbak.exe", "a", "b", ErsatzAnmeldung),
              "\"gbak.exe\" -b -user eexoyy -password quarzlamp \"a\" \"b\"");
    EXPECT_EQ(wiederherstellung("C:\\Q\\Firebird_4.0.2.2816\\gbak.exe", "D:\\S\\P.fbk", "D:\\Daten\\P.fdb"),
              "\"C:\\Q\\Firebird_4.0.2.2816\\gbak.exe\" -rep -c -user quillmark -password kornblumenwiesel "
              "\"D:\\S\\P.fbk\" \"xnet://D:\\Daten\\P.fdb\"");
    EXPECT_EQ(alterServerDeinstallation("C:\\Programme\\Firebird\\Firebird_2_5\\"),
              "C:\\Programme\\Firebird\\Firebird_2_5\\unins000.exe /SILENT /NoRestart");
}

}  // namespace
}  // namespace qm
