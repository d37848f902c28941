#include <gtest/gtest.h>

#include "platform/sim/sim_programs.h"
#include "tests/host/sim_controls.h"
#include "tests/host/sim_fixture.h"
#include "wizard/install_unit50.h"

namespace qm {
namespace {

using sim::SimMachine;
using sim::VersionResource;

const char* const kAnwendung = "Software\\Tessarwind\\Quillmark\\5.0";
const char* const kInstanzen = "Software\\Firebird Project\\Firebird Server\\Instances";
const char* const kWindows = "Software\\Microsoft\\Windows\\CurrentVersion";
const std::string kStandard = "C:\\Program Files (x86)\\Tessarwind\\Quillmark50";
const std::string kAltServer = "C:\\Programme\\Firebird\\Firebird_2_5\\";

// Building blocks of a machine.
void appdir(SimMachine& m, const std::string& ordner) { m.registry.setString(RootKey::LocalMachine, kAnwendung, "Appdir", ordner); }
void anwendung(SimMachine& m, const std::string& ordner, std::optional<std::string> version) {
    m.files.addExe(ordner + "\\Quillmark50.exe",
                   version ? std::optional(VersionResource::of(*version, *version)) : std::nullopt);
}
void alterServer(SimMachine& m, std::optional<uint32_t> dienst, const std::string& version = "2.5.2.26540") {
    m.registry.setString(RootKey::LocalMachine, kInstanzen, "DefaultInstance", kAltServer);
    m.files.addExe(kAltServer + "bin\\fbserver.exe", VersionResource::of(version, version));
    sim::installServiceTool(m, kAltServer + "bin\\instsvc.exe");
    if (dienst) m.services.add("FirebirdServerDefaultInstance", *dienst);
}
void privaterServer(SimMachine& m, const std::string& ordner, std::optional<uint32_t> dienst) {
    m.files.addExe(ordner + "\\Firebird_4.0.2.2816\\firebird.exe", VersionResource::of("4.0.2.2816", "4.0.2.2816"));
    if (dienst) m.services.add("FirebirdServerQuillmarkFB4.0.2.2816", *dienst);
}
void art(SimMachine& m, uint32_t wert) { m.registry.setDword(RootKey::LocalMachine, kAnwendung, "Installationsart", wert); }

const std::string kGefunden = "Quillmark-Installation gefunden: Version ";
const std::string kAlt = "Alter Datenbank-Server Version 2.5.2: Installation gefunden";
const std::string kAltDienst = "  Alter Datenbank-Server Version 2.5.2: Dienst gefunden";
const std::string kAltLaeuft = "  Alter Datenbank-Server Version 2.5.2: Dienst ist gestartet";
const std::string kAltSteht = "  Alter Datenbank-Server Version 2.5.2: Dienst ist nicht gestartet";
const std::string kHinweis =
    "Hinweis: Firebird 2.5.2 wird nicht deinstalliert, da schon eine neuere Version von Quillmark installiert ist, "
    "die diese Version nicht benötigt.";
const std::string kNeu = "Datenbank-Server in der Version 4.0.2.2816 gefunden.";
const std::string kNeuDienst = "  Datenbank-Server Version 4.0.2.2816: Dienst gefunden";
const std::string kNeuLaeuft = "  Datenbank-Server Version 4.0.2.2816: Dienst ist gestartet";
const std::string kNeuSteht = "  Datenbank-Server Version 4.0.2.2816: Dienst ist nicht gestartet";
const std::string kNeuFehlt = "  Datenbank-Server Version 4.0.2.2816: Dienst nicht gefunden";
const std::string kLabel = "(Server ist wahrscheinlich schon installiert)";

enum Wahl { Einzelplatz, NetzServer, NetzClient, NetzOhneUnteroption };

struct Fall {
    const char* name;
    std::function<void(SimMachine&)> maschine;
    std::string edit;
    std::string vorgabe;
    std::vector<std::string> log;
    bool label;
    Wahl wahl;
    bool neueVersion;
};

TEST(Erkennung, WhatTheWindowFindsOnEachMachine) {
    const std::string praxis = "C:\\Praxis\\Quillmark50";
    const Fall faelle[] = {
        {"fresh machine", [](SimMachine&) {}, kStandard, "C:\\Program Files (x86)", {}, false, Einzelplatz, false},
        {"Appdir with trailing backslash",
         [&](SimMachine& m) { m.files.addFolder(praxis); appdir(m, praxis + "\\"); },
         praxis, praxis + "\\", {}, false, Einzelplatz, false},
        {"Appdir of a deleted folder", [&](SimMachine& m) { appdir(m, praxis); },
         kStandard, "C:\\Program Files (x86)", {}, false, Einzelplatz, false},
        {"Appdir names a file", [&](SimMachine& m) { m.files.addFile(praxis); appdir(m, praxis); },
         kStandard, "C:\\Program Files (x86)", {}, false, Einzelplatz, false},
        {"installed 5.18.25.0, no server",
         [&](SimMachine& m) { anwendung(m, praxis, "5.18.25.0"); appdir(m, praxis); },
         praxis, praxis, {kGefunden + "5.18.25"}, false, Einzelplatz, false},
        {"5.16.23.0 with the old server running",
         [&](SimMachine& m) {
             anwendung(m, praxis, "5.16.23.0");
             appdir(m, praxis);
             alterServer(m, svcstate::Running);
         },
         praxis, praxis, {kGefunden + "5.16.23", kAlt, kAltDienst, kAltLaeuft, kHinweis}, false, Einzelplatz, true},
        {"5.16.22.0 with the old server stopped",
         [&](SimMachine& m) {
             anwendung(m, praxis, "5.16.22.0");
             appdir(m, praxis);
             alterServer(m, svcstate::Stopped);
         },
         praxis, praxis, {kGefunden + "5.16.22", kAlt, kAltDienst, kAltSteht}, false, Einzelplatz, false},
        {"6.0.0.0, old server start pending",
         [&](SimMachine& m) {
             anwendung(m, kStandard, "6.0.0.0");
             alterServer(m, svcstate::StartPending);
         },
         kStandard, "C:\\Program Files (x86)", {kGefunden + "6.0.0", kAlt, kAltDienst, kAltSteht, kHinweis}, false,
         Einzelplatz, true},
        {"5.17.0.0, old server without service",
         [&](SimMachine& m) {
             anwendung(m, kStandard, "5.17.0.0");
             alterServer(m, std::nullopt);
         },
         kStandard, "C:\\Program Files (x86)", {kGefunden + "5.17.0", kAlt, kHinweis}, false, Einzelplatz, true},
        {"three-part version",
         [&](SimMachine& m) {
             anwendung(m, kStandard, "5.18.25");
             alterServer(m, std::nullopt);
         },
         kStandard, "C:\\Program Files (x86)", {kGefunden + "5.18.", kAlt}, false, Einzelplatz, false},
        {"application without version information",
         [&](SimMachine& m) {
             anwendung(m, kStandard, std::nullopt);
             alterServer(m, std::nullopt);
         },
         kStandard, "C:\\Program Files (x86)", {kGefunden + "<info not availabl", kAlt}, false, Einzelplatz, false},
        {"new version without the old server",
         [&](SimMachine& m) { anwendung(m, kStandard, "5.18.25.0"); },
         kStandard, "C:\\Program Files (x86)", {kGefunden + "5.18.25"}, false, Einzelplatz, false},
        {"old server of another version",
         [&](SimMachine& m) {
             anwendung(m, kStandard, "5.18.25.0");
             alterServer(m, svcstate::Running, "2.5.9.27139");
         },
         kStandard, "C:\\Program Files (x86)", {kGefunden + "5.18.25"}, false, Einzelplatz, false},
        {"private server files without service",
         [&](SimMachine& m) { privaterServer(m, kStandard, std::nullopt); },
         kStandard, "C:\\Program Files (x86)", {kNeu, kNeuFehlt}, true, Einzelplatz, false},
        {"private server running, network server",
         [&](SimMachine& m) {
             anwendung(m, praxis, "5.18.25.0");
             appdir(m, praxis + "\\");
             privaterServer(m, praxis, svcstate::Running);
             art(m, 2);
         },
         praxis, praxis + "\\", {kGefunden + "5.18.25", kNeu, kNeuDienst, kNeuLaeuft}, true, NetzServer, false},
        {"private server stopped, network client",
         [&](SimMachine& m) {
             privaterServer(m, kStandard, svcstate::Stopped);
             art(m, 3);
         },
         kStandard, "C:\\Program Files (x86)", {kNeu, kNeuDienst, kNeuSteht}, true, NetzClient, false},
        {"private server below another folder is not looked for",
         [&](SimMachine& m) { privaterServer(m, praxis, svcstate::Running); },
         kStandard, "C:\\Program Files (x86)", {}, false, Einzelplatz, false},
        {"update machine with everything",
         [&](SimMachine& m) {
             anwendung(m, kStandard, "5.16.23.0");
             appdir(m, kStandard);
             alterServer(m, svcstate::Running);
             privaterServer(m, kStandard, svcstate::Stopped);
             art(m, 1);
         },
         kStandard, kStandard,
         {kGefunden + "5.16.23", kAlt, kAltDienst, kAltLaeuft, kHinweis, kNeu, kNeuDienst, kNeuSteht}, true,
         Einzelplatz, true},
        {"Installationsart 1", [](SimMachine& m) { art(m, 1); }, kStandard, "C:\\Program Files (x86)", {}, false,
         Einzelplatz, false},
        {"unknown Installationsart keeps the design-time choice", [](SimMachine& m) { art(m, 7); }, kStandard,
         "C:\\Program Files (x86)", {}, false, Einzelplatz, false},
        {"ProgramFilesDir with trailing backslash",
         [](SimMachine& m) { m.registry.setString(RootKey::LocalMachine, kWindows, "ProgramFilesDir", "C:\\Program Files (x86)\\"); },
         kStandard, "C:\\Program Files (x86)\\", {}, false, Einzelplatz, false},
        {"ProgramFilesDir missing: below the current folder",
         [](SimMachine& m) {
             HKey h = 0;
             m.registry.openKey(RootKey::LocalMachine, kWindows, regaccess::KeyAllAccess, h);
             m.registry.deleteValue(h, "ProgramFilesDir");
             m.registry.closeKey(h);
         },
         "C:\\Setup\\Tessarwind\\Quillmark50", "", {}, false, Einzelplatz, false},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.name);
        SimMachine m;
        f.maschine(m);
        TfmInstall fm(m.platform);
        EXPECT_EQ(fm.JvdeQMInstallDir.text(), f.edit);
        EXPECT_EQ(fm.vorgabeVerzeichnis, f.vorgabe);
        EXPECT_EQ(fm.meFeedback.lines(), f.log);
        EXPECT_EQ(fm.laFirebirdSchonVorhanden.caption(), f.label ? kLabel : "");
        EXPECT_EQ(fm.neueVersionInstalliert, f.neueVersion);
        EXPECT_EQ(fm.rbIBEinzelplatz.checked(), f.wahl == Einzelplatz);
        EXPECT_EQ(fm.rbIBNetz.checked(), f.wahl != Einzelplatz);
        EXPECT_EQ(fm.rbIBNetzServer.checked(), f.wahl == NetzServer);
        EXPECT_EQ(fm.rbIBNetzClient.checked(), f.wahl == NetzClient);
        // Step 1 whatever was found: the sub-options wait for step 2.
        EXPECT_EQ(fm.schritt, 1);
        EXPECT_FALSE(fm.rbIBNetzServer.enabled());
        EXPECT_FALSE(fm.rbIBNetzClient.enabled());
        EXPECT_EQ(fm.JvLabelTitel.caption(), "Quillmark 5.18.25");
        EXPECT_EQ(fm.laQMStatus.caption(), "");
        EXPECT_TRUE(m.user.shown.empty());
        EXPECT_EQ(m.registry.openHandles(), 0u);
        EXPECT_EQ(m.services.openHandles(), 0u);
        EXPECT_TRUE(m.processes.starts.empty()) << "detection runs no program";
    }
}

TEST(Erkennung, UnreachableServiceManagerIsReportedForEachQueryAndTheServicesReadAsMissing) {
    SimMachine m;
    anwendung(m, kStandard, "5.16.23.0");
    alterServer(m, svcstate::Running);
    privaterServer(m, kStandard, svcstate::Running);
    m.services.managerReachable = false;
    m.user.answer(mr::Ok);
    m.user.answer(mr::Ok);
    TfmInstall fm(m.platform);
    EXPECT_EQ(fm.meFeedback.lines(), (std::vector<std::string>{kGefunden + "5.16.23", kAlt, kHinweis, kNeu, kNeuFehlt}));
    ASSERT_EQ(m.user.shown.size(), 2u);
    for (const auto& d : m.user.shown) EXPECT_EQ(d.text, "Service-Manager nicht erreicht!");
    EXPECT_TRUE(fm.neueVersionInstalliert);
}

TEST(Erkennung, AnInstallationsartThatIsNoNumberReachesTheErrorDialogAndTheWindowStillOpens) {
    SimMachine m;
    anwendung(m, kStandard, "5.18.25.0");
    m.registry.setString(RootKey::LocalMachine, kAnwendung, "Installationsart", "Netz");
    m.user.answer(mr::Ok);
    TfmInstall fm(m.platform);
    ASSERT_EQ(m.user.shown.size(), 1u);
    EXPECT_EQ(m.user.shown[0].kind, sim::DialogRecord::Kind::Exception);
    EXPECT_EQ(m.user.shown[0].text, "Ungültiger Datentyp für 'Installationsart'");
    EXPECT_EQ(fm.meFeedback.lines(), (std::vector<std::string>{kGefunden + "5.18.25"}));
    EXPECT_TRUE(fm.rbIBEinzelplatz.checked()) << "the design-time choice stays";
    EXPECT_EQ(m.registry.openHandles(), 0u);
    fm.show();
    EXPECT_TRUE(fm.peer().visible());
}

TEST(Erkennung, NewVersionTestReadsTheFolderNowInTheEdit) {
    SimMachine m;
    anwendung(m, "C:\\Alt", "5.5.3.0");
    anwendung(m, "C:\\Neu", "5.18.25.0");
    TfmInstall fm(m.platform);
    EXPECT_FALSE(fm.checkNeueVersionInstalliert()) << "nothing in the offered folder";
    fm.JvdeQMInstallDir.setText("C:\\Neu");
    EXPECT_TRUE(fm.checkNeueVersionInstalliert());
    fm.JvdeQMInstallDir.setText("C:\\Alt");
    EXPECT_FALSE(fm.checkNeueVersionInstalliert());
    EXPECT_FALSE(fm.neueVersionInstalliert) << "the detection is not repeated";
}

}  // namespace
}  // namespace qm
