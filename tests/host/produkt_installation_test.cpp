// installProdukt on the simulated machine: a fresh installation, updates, every failure
// point, the uninstall log, progress, the runtimes and the closing messages.
#include <algorithm>
#include <random>

#include "app/versionen.h"
#include "install/datei_datum.h"
#include "platform/types.h"
#include "tests/host/produkt_fixture.h"

namespace qm {
namespace {

using test::ProduktTest;
using test::user;

const std::string kPrograms = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs";
const std::string kMenu = kPrograms + "\\Quillmark 5.0";
const std::string kDesktop = "C:\\Users\\Public\\Desktop";
const std::string kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillmark50";
const char* const kServerFolgt =
    "Die Installation von Quillmark ist erfolgreich abgeschlossen.\r\n"
    "Fahren Sie jetzt mit der Installation des Datenbankservers fort.";
const char* const kServerDa =
    "Die Installation von Quillmark ist erfolgreich abgeschlossen.\r\n"
    "Falls Sie mit dieser Installation eine vorhandene Version von\r\n"
    "Quillmark aktualisiert haben und der Datenbankserver auf diesem\r\n"
    "Rechner schon installiert ist, können Sie die Installation nun\r\n"
    "beenden. Schließen Sie dazu das Installationsprogramm.";

// FILETIME (UTC) of a local time on a machine one hour ahead of UTC.
FileTime utcOf(int y, int mo, int d, int h, int mi, int s) {
    FileTime local = 0;
    dosDateTimeToFileTime(uint16_t(((y - 1980) << 9) | (mo << 5) | d), uint16_t((h << 11) | (mi << 5) | (s / 2)),
                          local);
    return local - 36000000000ULL;
}

class Produkt : public ProduktTest {
protected:
    std::string p(const std::string& name) const { return inst + "\\" + name; }
    std::vector<std::string> kopiert(std::initializer_list<const char*> namen) const {
        std::vector<std::string> out;
        for (const char* n : namen) out.push_back("Kopiere " + p(n));
        return out;
    }
    // The lines the runtimes write with the installers of this machine.
    std::vector<std::string> laufzeitZeilen(const char* zeile2010, const char* zeile2017) const {
        return {"Kopiere " + p("vcredist_x86_2010_10.0.40219.325.exe"), zeile2010,
                "Kopiere " + p("vc_redist.x86_2015-2022_14.31.31103.0.exe"), zeile2017};
    }
    int run() { return fm->installProdukt(); }
    void expectNotBusy() {
        EXPECT_FALSE(fm->produktInstallationLaeuft());
        EXPECT_TRUE(fm->buInstallieren.enabled());
        EXPECT_TRUE(fm->JvdeQMInstallDir.enabled());
        EXPECT_EQ(m.ui.cursor, ScreenCursor::Default);
    }
};

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_F(Produkt, AFreshInstallationLeavesFilesFoldersLogShortcutsRightsAndTheEntry) {
    m.user.answer(mr::Ok);  // the closing message
    ASSERT_EQ(run(), 0);

    // Feedback, in order.
    const std::vector<std::string> erwartet =
        std::vector<std::string>{"Installation Quillmark gestartet", "Erstelle Verzeichnis " + inst} +
        kopiert({"Quillmark50.exe", "Quillmark50Help.chm", "QM50Uninst.exe", "QM50SQLs.dll", "Readme.txt", "Lizenz.pdf",
                 "Dokumentablage\\BriefQuillmark.dot", "Quillmark50Anleitung.pdf", "TeamViewerQS_Quillmark.exe"}) +
        laufzeitZeilen("Installation 'Microsoft Visual C++ Redistributable 2010' erfolgreich.",
                       "Installation 'Microsoft Visual C++ Redistributable 2017' erfolgreich.") +
        kopiert({"msvcr71.dll"}) +
        std::vector<std::string>{"Erstellen der Verknüpfungen", "Installation Quillmark erfolgreich beendet"};
    EXPECT_EQ(feedback(), erwartet);

    // Files with their content and dates.
    for (const auto& pl : test::einzelPayloads()) {
        const std::map<std::string, std::string> ziel{
            {"QM_EXE", "Quillmark50.exe"}, {"QM_HELP", "Quillmark50Help.chm"}, {"QM_UNINST", "QM50Uninst.exe"},
            {"QM_SQLS", "QM50SQLs.dll"}, {"QM_README", "Readme.txt"}, {"QM_LIZENZ", "Lizenz.pdf"},
            {"QM_BRIEFDOT", "Dokumentablage\\BriefQuillmark.dot"}, {"QM_ANLEITUNG", "Quillmark50Anleitung.pdf"},
            {"TV_EXE", "TeamViewerQS_Quillmark.exe"}, {"VCREDIST_2010", "vcredist_x86_2010_10.0.40219.325.exe"},
            {"VCREDIST_2017", "vc_redist.x86_2015-2022_14.31.31103.0.exe"}, {"MSVCR71DLL", "msvcr71.dll"}};
        const std::string datei = p(ziel.at(pl.typ));
        EXPECT_EQ(m.files.read(datei), pl.inhalt) << datei;
        const FileTime zeit = std::string(pl.typ) == "TV_EXE"       ? utcOf(2022, 1, 25, 10, 4, 10)
                              : std::string(pl.typ) == "MSVCR71DLL" ? utcOf(2003, 2, 21, 3, 42, 22)
                                                                    : utcOf(2024, 8, 12, 5, 18, 24);
        EXPECT_EQ(m.files.stat(datei)->lastWriteTime, zeit) << datei;
    }
    EXPECT_EQ(m.files.list(p("openssl")), (std::vector<std::string>{"HashInfo.txt", "libeay32.dll",
                                                                      "OpenSSL License.txt", "openssl.exe",
                                                                      "ReadMe.txt", "ssleay32.dll"}));
    EXPECT_EQ(m.files.read(p("firebird.conf")), "AuthClient = Srp256\r\nWireCrypt = Required\r\nIpcName = QUILL1\r\n");
    EXPECT_TRUE(m.files.exists(p("GDS32.DLL")));
    EXPECT_TRUE(m.files.exists(p("firebird.msg")));
    for (const char* ordner : {"Datenbanken", "Datenbanken\\Sicherungen\\TaeglicheSicherungen", "Dokumentablage",
                               "Programmdaten", "PAD", "Setupdateien"})
        EXPECT_TRUE(m.files.isDirectory(p(ordner))) << ordner;
    EXPECT_FALSE(m.files.exists(p("Firebird_4.0.2.2816"))) << "the server comes with its own step";

    // The uninstall log, line by line.
    const std::string D = "[Datei]       ", V = "[Verzeichnis] ", L = "[LinkFile]    ";
    EXPECT_EQ(logZeilen(),
              (std::vector<std::string>{
                  D + p("Quillmark50.exe"), D + p("Quillmark50Help.chm"), D + p("QM50SQLs.dll"), D + p("Readme.txt"),
                  D + p("Lizenz.pdf"), D + p("Dokumentablage\\BriefQuillmark.dot"), D + p("Quillmark50Anleitung.pdf"),
                  D + p("TeamViewerQS_Quillmark.exe"), D + p("vcredist_x86_2010_10.0.40219.325.exe"),
                  D + p("vc_redist.x86_2015-2022_14.31.31103.0.exe"), D + p("msvcr71.dll"), V + p("Datenbanken"),
                  V + p("Dokumentablage"), V + p("Programmdaten"), V + p("PAD"), V + p("Setupdateien"),
                  V + p("openssl"), V + p("Firebird_4.0.2.2816"), V + inst, L + kMenu + "\\Quillmark 5.0.lnk",
                  L + kMenu + "\\Lizenzbedingungen.lnk", L + kMenu + "\\Anleitung.lnk",
                  L + kMenu + "\\TeamViewer QuickSupport.lnk", L + kDesktop + "\\Quillmark 5.0.lnk", V + kMenu}));

    // Shortcuts: targets and INSTDIR as the working folder of every one.
    ASSERT_EQ(m.shell.saved.size(), 5u);
    const std::string ziele[5] = {p("Quillmark50.exe"), p("Lizenz.pdf"), p("Quillmark50Anleitung.pdf"),
                                  p("TeamViewerQS_Quillmark.exe"), p("Quillmark50.exe")};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(m.shell.saved[i].target, ziele[i]);
        EXPECT_EQ(m.shell.saved[i].workingFolder, inst);
    }
    ASSERT_EQ(m.shell.notifications.size(), 1u);
    EXPECT_EQ(m.shell.notifications[0].eventId, 8);
    EXPECT_EQ(m.shell.notifications[0].flags, 1u);
    EXPECT_EQ(m.shell.notifications[0].path, kMenu);

    // Full access, recursively, on the four data folders only, before any file was in them.
    std::vector<std::string> rechte;
    for (const auto& c : m.security.calls) rechte.push_back(c.path);
    EXPECT_EQ(rechte, (std::vector<std::string>{p("Dokumentablage"), p("Programmdaten"), p("PAD"), p("Setupdateien")}));

    // The uninstall entry: exactly two values, in the 32-bit view.
    const auto name = m.registry.value(RootKey::LocalMachine, kUninstallKey, "DisplayName");
    const auto cmd = m.registry.value(RootKey::LocalMachine, kUninstallKey, "UninstallString");
    ASSERT_TRUE(name && cmd);
    EXPECT_EQ(std::string(name->data.begin(), name->data.end()), "Quillmark 5.0");
    EXPECT_EQ(std::string(cmd->data.begin(), cmd->data.end()),
              "\"C:\\Praxis\\Quillmark50\\QM50Uninst.exe\" \"C:\\Praxis\\Quillmark50\\QM50Uninst.log\"");
    EXPECT_TRUE(m.registry.keyExists(RootKey::LocalMachine,
                                     "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillmark50",
                                     true));

    // Progress per row: each row's end, rows 8 and 11 to 14 moving it not at all or to 96.
    EXPECT_EQ(user(fm->JvSpecialProgressQM).progressHistory,
              (std::vector<int>{0, 57, 69, 73, 87, 88, 89, 90, 90, 96, 96, 96, 96, 98, 99, 100}));

    ASSERT_EQ(m.user.shown.size(), 1u);
    EXPECT_EQ(dialog(0).text, kServerFolgt);
    EXPECT_EQ(dialog(0).type, MsgDlgType::Information);
    EXPECT_EQ(dialog(0).buttons, mb::OK);
    EXPECT_EQ(m.ui.cursorChanges, (std::vector<ScreenCursor>{ScreenCursor::HourGlass, ScreenCursor::Default}));
    EXPECT_EQ(fm->laQMStatus.caption(), "Erstellen der Verknüpfungen");
    expectNotBusy();
}

TEST_F(Produkt, AnUpdateAnsweredNoChangesNothing) {
    m.files.write(p("Quillmark50.exe"), "alt");
    m.user.answer(mr::No);
    EXPECT_EQ(run(), 1);
    ASSERT_EQ(m.user.shown.size(), 1u);
    EXPECT_EQ(dialog(0).type, MsgDlgType::Confirmation);
    EXPECT_EQ(dialog(0).buttons, mb::Yes | mb::No);
    EXPECT_EQ(dialog(0).text.rfind("Es wurde eine vorhandene Installation von Quillmark gefunden.\r\n", 0), 0u);
    EXPECT_NE(dialog(0).text.find("\r\n\r\nSoll die vorhandene Installation aktualisiert werden?"), std::string::npos);
    EXPECT_TRUE(feedback().empty());
    EXPECT_EQ(m.files.list(inst), std::vector<std::string>{"Quillmark50.exe"});
    EXPECT_EQ(m.files.read(p("Quillmark50.exe")), "alt");
    EXPECT_EQ(fm->JvSpecialProgressQM.position(), 0);
    EXPECT_TRUE(m.ui.cursorChanges.empty());
}

TEST_F(Produkt, AnUpdateAnsweredYesReplacesFilesAndTheOldLog) {
    m.files.write(p("Quillmark50.exe"), "eine alte, längere Programmdatei");
    m.files.write(p("QM50Uninst.log"), "[Datei]       C:\\Alt\\weg.txt\r\n");
    m.files.write(p("Dokumentablage\\Brief an Frau M.doc"), "Patientenbrief");
    m.user.answer(mr::Yes);
    m.user.answer(mr::Ok);
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(feedback()[1], "Kopiere " + p("Quillmark50.exe")) << "the folder exists: no line for it";
    EXPECT_EQ(m.files.read(p("Quillmark50.exe")), "MZ Quillmark50.exe");
    const auto log = logZeilen();
    EXPECT_EQ(log.front(), "[Datei]       " + p("Quillmark50.exe")) << "the old log is gone";
    EXPECT_EQ(log.size(), 25u);
    EXPECT_EQ(m.files.read(p("Dokumentablage\\Brief an Frau M.doc")), "Patientenbrief");
    EXPECT_EQ(m.security.explicitOf(p("Dokumentablage\\Brief an Frau M.doc")).size(), 2u)
        << "stored documents get full access too";
    EXPECT_EQ(dialog(1).text, kServerFolgt) << "no server on this machine";
}

TEST_F(Produkt, TheClosingMessageDependsOnUpdateKindServerFolderAndService) {
    struct Fall {
        bool update, netz, client, serverDatei, dienst;
        bool serverDa;
    };
    const Fall faelle[] = {
        {true, false, false, true, true, true},    // single workstation
        {true, true, false, true, true, true},     // network server
        {true, true, true, true, true, false},     // network client
        {false, false, false, true, true, false},  // new installation
        {true, false, false, false, true, false},  // no server files
        {true, false, false, true, false, false},  // no service
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(std::to_string(f.update) + std::to_string(f.netz) + std::to_string(f.client) +
                     std::to_string(f.serverDatei) + std::to_string(f.dienst));
        m.user.shown.clear();
        TfmInstall fenster(m.platform);
        fenster.JvdeQMInstallDir.setText(inst);
        fenster.setSchritt(2);
        if (f.netz) user(fenster.rbIBNetz).click();
        if (f.client) user(fenster.rbIBNetzClient).click();
        fenster.setSchritt(1);
        if (f.update) m.files.write(p("Quillmark50.exe"), "alt");
        else m.files.deleteFile(p("Quillmark50.exe"));
        if (f.serverDatei) m.files.write(p("Firebird_4.0.2.2816\\firebird.exe"), "MZ");
        else m.files.deleteFile(p("Firebird_4.0.2.2816\\firebird.exe"));
        if (f.dienst) m.services.add("FirebirdServerQuillmarkFB4.0.2.2816");
        else m.services.remove("FirebirdServerQuillmarkFB4.0.2.2816");
        if (f.update) m.user.answer(mr::Yes);
        m.user.answer(mr::Ok);
        ASSERT_EQ(fenster.installProdukt(), 0);
        EXPECT_EQ(m.user.shown.back().text, f.serverDa ? kServerDa : kServerFolgt);
    }
}

TEST_F(Produkt, EveryFailurePointEndsTheStepWithItsLineAndResult) {
    struct Fall {
        const char* was;
        std::function<void(sim::SimMachine&, const std::string&)> vorbereiten;
        std::vector<std::string> letzteZeilen;  // the feedback log's end
        std::string meldung;                    // the step's own error box, if any
    };
    const std::string i = inst;
    const Fall faelle[] = {
        {"folder cannot be made", [](sim::SimMachine& mm, const std::string& d) { mm.files.failCreateDirectory(d); },
         {"Installation Quillmark gestartet", "Erstelle Verzeichnis " + i},
         "Das Installationsverzeichnis\r\n'" + i + "'\r\nkann nicht erstellt werden."},
        {"log cannot be made",
         [](sim::SimMachine& mm, const std::string& d) {
             mm.files.write(d + "\\QM50Uninst.log", "alt");
             mm.files.lock(d + "\\QM50Uninst.log");
         },
         {"Installation Quillmark gestartet"}, "Die Datei\r\n'" + i + "\\QM50Uninst.log'\r\nkann nicht erstellt werden."},
        {"missing payload", [](sim::SimMachine& mm, const std::string&) { mm.resources.remove("QM_HELP", "QUILLMARK"); },
         {"Kopiere " + i + "\\Quillmark50Help.chm",
          "Fehler: Die Ressource QM_HELP (QUILLMARK) fehlt im Installationsprogramm.",
          "Installation Quillmark fehlgeschlagen"},
         ""},
        {"corrupt payload",
         [](sim::SimMachine& mm, const std::string&) {
             auto z = test::zlib9(std::string(20000, 'x') + "Ende");
             z.resize(z.size() - 6);
             mm.resources.add("QM_SQLS", "QUILLMARK", z);
         },
         {"Kopiere " + i + "\\QM50SQLs.dll",
          "Fehler: Die Ressource QM_SQLs (QUILLMARK) ist beschädigt (die komprimierten Daten enden vorzeitig); die "
          "Datei '" + i + "\\QM50SQLs.dll' ist unvollständig.",
          "Installation Quillmark fehlgeschlagen"},
         ""},
        {"locked target",
         [](sim::SimMachine& mm, const std::string& d) {
             mm.files.write(d + "\\Readme.txt", "offen");
             mm.files.lock(d + "\\Readme.txt");
         },
         {"Kopiere " + i + "\\Readme.txt",
          "Fehler: Die Datei '" + i + "\\Readme.txt' kann nicht erstellt werden. Der Prozess kann nicht auf die Datei "
          "zugreifen, da sie von einem anderen Prozess verwendet wird.",
          "Installation Quillmark fehlgeschlagen"},
         ""},
        {"corrupt archive",
         [](sim::SimMachine& mm, const std::string&) { mm.resources.add("FBCLIENT", "FIREBIRD", std::string("PK kaputt")); },
         {"Kopiere " + i + "\\Quillmark50Anleitung.pdf",
          "Fehler: Das Archiv FBCLIENT (FIREBIRD) kann nicht entpackt werden: kein ZIP-Archiv (zu kurz).",
          "Installation Quillmark fehlgeschlagen"},
         ""},
        {"failed shortcut",
         [](sim::SimMachine& mm, const std::string&) {
             mm.shell.saveFails["c:\\programdata\\microsoft\\windows\\start menu\\programs\\quillmark 5.0\\anleitung.lnk"] =
                 int32_t(0x80070005);
         },
         {"Erstellen der Verknüpfungen",
          "Fehler: Die Verknüpfung '" + kMenu + "\\Anleitung.lnk' konnte nicht gespeichert werden (Save: 0x80070005).",
          "Erstellen der Verknüpfungen fehlgeschlagen", "Installation Quillmark fehlgeschlagen"},
         ""},
        {"failed registry write",
         [](sim::SimMachine& mm, const std::string&) {
             mm.registry.denyWrites(RootKey::LocalMachine,
                                    "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall");
         },
         {"Erstellen der Verknüpfungen",
          "Fehler: Der Schlüssel HKEY_LOCAL_MACHINE\\" + kUninstallKey + " kann nicht geöffnet werden",
          "Installation Quillmark fehlgeschlagen"},
         ""},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.was);
        sim::SimMachine mm;
        test::installierePayloads(mm);
        f.vorbereiten(mm, inst);
        if (!f.meldung.empty()) mm.user.answer(mr::Ok);
        TfmInstall fenster(mm.platform);
        fenster.JvdeQMInstallDir.setText(inst);
        EXPECT_EQ(fenster.installProdukt(), -1);
        const auto zeilen = fenster.meFeedback.lines();
        ASSERT_GE(zeilen.size(), f.letzteZeilen.size());
        EXPECT_EQ(std::vector<std::string>(zeilen.end() - long(f.letzteZeilen.size()), zeilen.end()), f.letzteZeilen);
        if (f.meldung.empty()) {
            EXPECT_TRUE(mm.user.shown.empty()) << "no message box of the step's own";
        } else {
            ASSERT_EQ(mm.user.shown.size(), 1u);
            EXPECT_EQ(mm.user.shown[0].text, f.meldung);
            EXPECT_EQ(mm.user.shown[0].type, MsgDlgType::Error);
        }
        EXPECT_EQ(mm.files.openHandles(), 0u) << "the log is closed";
        EXPECT_EQ(mm.ui.cursor, ScreenCursor::Default);
        EXPECT_TRUE(fenster.buInstallieren.enabled());
        EXPECT_FALSE(fenster.produktInstallationLaeuft());
    }
}

TEST_F(Produkt, AFileWhoseUnpackingBrokeOffStaysListedAndIncomplete) {
    m.files.freeBytes = 60;  // the log's first line, not the whole first file
    EXPECT_EQ(run(), -1);
    const auto zeilen = feedback();
    EXPECT_EQ(zeilen[zeilen.size() - 2].rfind("Fehler: Die Datei '", 0), 0u) << zeilen[zeilen.size() - 2];
    EXPECT_NE(zeilen[zeilen.size() - 2].find("konnte nicht vollständig geschrieben werden. Auf dem Datenträger ist "
                                             "nicht genügend Speicherplatz vorhanden."),
              std::string::npos);
    // Whatever was cut off is in the log already, before its content.
    const std::string log = m.files.read(p("QM50Uninst.log"));
    EXPECT_NE(log.find("[Datei]       " + p("Quillmark50.exe")), std::string::npos);
}

TEST_F(Produkt, AnExistingMsvcr71IsNeitherCopiedNorListed) {
    m.kernel.loadableLibraries.insert("msvcr71.dll");
    m.user.answer(mr::Ok);
    ASSERT_EQ(run(), 0);
    EXPECT_FALSE(m.files.exists(p("msvcr71.dll")));
    for (const auto& z : logZeilen()) EXPECT_EQ(z.find("msvcr71"), std::string::npos) << z;
    for (const auto& z : feedback()) EXPECT_EQ(z.find("msvcr71"), std::string::npos) << z;
    EXPECT_EQ(m.kernel.loadedNow(), 0u) << "the library is released at once";
    EXPECT_EQ(user(fm->JvSpecialProgressQM).progressHistory,
              (std::vector<int>{0, 57, 69, 73, 87, 88, 89, 90, 90, 96, 96, 96, 98, 99, 100}));
}

TEST_F(Produkt, IgnoredRowsNeverStopTheInstallation) {
    m.resources.remove("TV_EXE", "TEAMVIEWER");
    m.resources.remove("MSVCR71DLL", "MICROSOFT");
    m.user.answer(mr::Ok);
    ASSERT_EQ(run(), 0);
    EXPECT_FALSE(m.files.exists(p("TeamViewerQS_Quillmark.exe")));
    for (const auto& l : m.shell.saved) EXPECT_EQ(l.path.find("TeamViewer"), std::string::npos) << l.path;
    EXPECT_EQ(m.shell.saved.size(), 4u) << "three start-menu shortcuts and the desktop";
    EXPECT_EQ(feedback().back(), "Installation Quillmark erfolgreich beendet");
}

TEST_F(Produkt, ShortcutsTakeTheFolderEditAsItStandsAndLeaveOutMissingTargets) {
    // The shortcut step reads the folder edit again: here it names a folder holding only
    // the licence, so the application gets neither its start-menu nor its desktop link.
    const std::string anders = "C:\\Andere";
    m.files.write(anders + "\\Lizenz.pdf", "%PDF");
    m.files.makeDirectories(kMenu);
    m.files.write(kMenu + "\\Lizenzbedingungen.lnk", "alt");
    m.ui.whileProcessingMessages = [&] { fm->JvdeQMInstallDir.setText(anders); };
    m.user.answer(mr::Ok);
    ASSERT_EQ(run(), 0);
    ASSERT_EQ(m.shell.saved.size(), 1u);
    EXPECT_EQ(m.shell.saved[0].path, kMenu + "\\Lizenzbedingungen.lnk");
    EXPECT_EQ(m.shell.saved[0].target, anders + "\\Lizenz.pdf");
    EXPECT_EQ(m.shell.saved[0].workingFolder, anders);
    EXPECT_NE(m.files.read(kMenu + "\\Lizenzbedingungen.lnk"), "alt") << "an existing link is overwritten";
    const auto log = logZeilen();
    EXPECT_EQ(std::vector<std::string>(log.end() - 2, log.end()),
              (std::vector<std::string>{"[LinkFile]    " + kMenu + "\\Lizenzbedingungen.lnk", "[Verzeichnis] " + kMenu}));
    EXPECT_TRUE(m.files.exists(p("Quillmark50.exe"))) << "the files went to the folder read at the start";
}

TEST_F(Produkt, WhileUnpackingTheWindowRepaintsButTakesNoSecondStartAndStaysOpen) {
    std::mt19937 rnd(7);
    std::string gross(300000, '\0');
    for (auto& c : gross) c = char(rnd());
    m.resources.add("QM_EXE", "QUILLMARK", test::zlib9(gross));  // five chunks of 64 KiB
    int versuche = 0;
    std::function<void()> benutzer = [&] {
        ++versuche;
        EXPECT_TRUE(fm->produktInstallationLaeuft());
        EXPECT_THROW(user(fm->buInstallieren).click(), std::logic_error) << "the install button is off";
        EXPECT_THROW(user(fm->buUeberspringen).click(), std::logic_error);
        EXPECT_THROW(user(fm->JvdeQMInstallDir).type("D:\\anders"), std::logic_error);
        user(*fm).userClose();
        EXPECT_FALSE(fm->peer().closed()) << "closing waits for the end of the step";
        if (versuche < 3) m.ui.whileProcessingMessages = benutzer;
    };
    m.ui.whileProcessingMessages = benutzer;
    m.user.answer(mr::Ok);
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(versuche, 3);
    EXPECT_GT(user(fm->JvSpecialProgressQM).repaints, 5) << "the bar is drawn at each chunk";
    EXPECT_EQ(user(*fm).repaints, 14) << "the window is drawn for each status text, at once";
    expectNotBusy();
    user(*fm).userClose();
    EXPECT_TRUE(fm->peer().closed()) << "after the step the window closes";
}

}  // namespace
}  // namespace qm

namespace qm {
namespace {

class Entpacken : public test::ProduktTest {};

TEST_F(Entpacken, TheBarRisesOncePer64KiBOfCompressedInputToTheRowsEnd) {
    std::mt19937 rnd(11);
    std::string gross(300000, '\0');
    for (auto& c : gross) c = char(rnd());
    const auto z = test::zlib9(gross);
    m.resources.add("QM_UNINST", "QUILLMARK", z);
    struct Fall {
        int start, ende;
    };
    for (const Fall f : {Fall{10, 60}, Fall{73, 73}, Fall{0, 100}}) {
        SCOPED_TRACE(std::to_string(f.start) + ".." + std::to_string(f.ende));
        fm->JvSpecialProgressQM.setPosition(f.start);
        user(fm->JvSpecialProgressQM).progressHistory.clear();
        // The uninstaller is never listed, so this works without an open log.
        fm->extractRessource("C:\\Neu\\Tief\\QM50Uninst.exe", "QUILLMARK", "QM_UNINST", f.ende);
        std::vector<int> erwartet;
        for (size_t gelesen = 65536;; gelesen += 65536) {
            const size_t g = std::min(gelesen, z.size());
            erwartet.push_back(f.start + int(double(g) / double(z.size()) * (f.ende - f.start)));
            if (g == z.size()) break;
        }
        EXPECT_EQ(erwartet.size(), (z.size() + 65535) / 65536);
        EXPECT_EQ(user(fm->JvSpecialProgressQM).progressHistory, erwartet);
        EXPECT_EQ(fm->JvSpecialProgressQM.position(), f.ende);
        EXPECT_EQ(m.files.read("C:\\Neu\\Tief\\QM50Uninst.exe"), gross) << "the folder chain was made";
    }
    EXPECT_EQ(fm->laQMStatus.caption(), "Kopiere C:\\Neu\\Tief\\QM50Uninst.exe");
    EXPECT_EQ(feedback().back(), "Kopiere C:\\Neu\\Tief\\QM50Uninst.exe");
}

TEST_F(Entpacken, OnlyTheExactUninstallerNameStaysOutOfTheLog) {
    // Without an open log, a file that would be listed cannot be unpacked: that shows
    // which names the step lists.
    for (const char* name : {"qm50uninst.exe", "QM50UNINST.EXE", "QM50Uninst.exe.bak"}) {
        try {
            fm->extractRessource(std::string("C:\\Ziel\\") + name, "QUILLMARK", "QM_UNINST", 0);
            ADD_FAILURE() << name << " must be listed";
        } catch (const Exception& e) {
            EXPECT_STREQ(e.what(), "Die Deinstallationsdatei ist nicht geöffnet.") << name;
        }
    }
    EXPECT_NO_THROW(fm->extractRessource("C:\\Ziel\\QM50Uninst.exe", "QUILLMARK", "QM_UNINST", 0));
}

TEST_F(Entpacken, AShorterPayloadReplacesAnExistingFileCompletely) {
    m.files.write("C:\\Ziel\\QM50Uninst.exe", std::string(100000, 'a'));
    fm->extractRessource("C:\\Ziel\\QM50Uninst.exe", "quillmark", "qm_uninst", 0);  // any case finds it
    EXPECT_EQ(m.files.read("C:\\Ziel\\QM50Uninst.exe"), "MZ QM50Uninst.exe");
}

}  // namespace
}  // namespace qm

namespace qm {
namespace {

TEST_F(Produkt, TheUninstallLogIsWrittenInTheAnsiCodePage) {
    const std::string ordner = "C:\\Praxis Müller\\Quillmark50";
    fm->JvdeQMInstallDir.setText(ordner);
    m.user.answer(mr::Ok);
    ASSERT_EQ(run(), 0);
    const std::string log = m.files.read(ordner + "\\QM50Uninst.log");
    EXPECT_EQ(log.rfind("[Datei]       C:\\Praxis M\xFCller\\Quillmark50\\Quillmark50.exe\r\n", 0), 0u);
    EXPECT_EQ(log.find("\xC3\xBC"), std::string::npos) << "no UTF-8 in the log";
    EXPECT_EQ(log.substr(log.size() - 2), "\r\n");
}

}  // namespace
}  // namespace qm

namespace qm {
namespace {

TEST_F(Entpacken, TheServerArchiveLandsBelowTheAbsoluteFormOfTheFolder) {
    m.files.cwd = "C:\\Setup";
    m.files.makeDirectories("C:\\Setup");
    fm->JvdeQMInstallDir.setText("Praxis\\.\\Quillmark50");
    fm->extractFBServer();
    EXPECT_EQ(m.files.read("C:\\Setup\\Praxis\\Quillmark50\\Firebird_4.0.2.2816\\firebird.exe"), "MZ firebird");
    EXPECT_EQ(m.files.read("C:\\Setup\\Praxis\\Quillmark50\\Firebird_4.0.2.2816\\firebird.conf"),
              "RemoteServicePort = 4439\r\n");
    EXPECT_TRUE(feedback().empty()) << "archives write no feedback";
    // Unpacking again overwrites what is there.
    m.files.write("C:\\Setup\\Praxis\\Quillmark50\\Firebird_4.0.2.2816\\firebird.conf", "geändert");
    fm->extractFBServer();
    EXPECT_EQ(m.files.read("C:\\Setup\\Praxis\\Quillmark50\\Firebird_4.0.2.2816\\firebird.conf"),
              "RemoteServicePort = 4439\r\n");
}

}  // namespace
}  // namespace qm

namespace qm {
namespace {

TEST_F(Produkt, TheRuntimeInstallersRunSilentlyAndTheirExitCodesAreReported) {
    struct Fall {
        uint32_t code;
        std::string zeile;
    };
    const std::string paket = "'Microsoft Visual C++ Redistributable 2017'";
    const Fall faelle[] = {
        {0, "Installation " + paket + " erfolgreich."},
        {5100, "Installation " + paket + " übersprungen, da neuere Version schon installiert."},
        {3010, "Installation " + paket + " fehlgeschlagen. Fehlercode: 3010"},
        {1638, "Installation " + paket + " fehlgeschlagen. Fehlercode: 1638"},
        {0xFFFFFFFE, "Installation " + paket + " fehlgeschlagen. Fehlercode: -2"},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.code);
        m.files.remove(inst);
        m.processes.starts.clear();
        laufzeitInstaller(0, f.code);
        m.user.answer(mr::Ok);
        TfmInstall fenster(m.platform);
        fenster.JvdeQMInstallDir.setText(inst);
        ASSERT_EQ(fenster.installProdukt(), 0) << "a runtime never stops the installation";
        const auto zeilen = fenster.meFeedback.lines();
        EXPECT_NE(std::find(zeilen.begin(), zeilen.end(), f.zeile), zeilen.end());
        ASSERT_EQ(m.processes.starts.size(), 2u);
        EXPECT_EQ(m.processes.starts[1].commandLine, inst + "\\vc_redist.x86_2015-2022_14.31.31103.0.exe /q")
            << "unquoted, one blank, /q";
        EXPECT_EQ(m.processes.starts[1].showWindow, 0u);
        EXPECT_EQ(m.processes.starts[0].commandLine, inst + "\\vcredist_x86_2010_10.0.40219.325.exe /q");
    }
}

TEST_F(Produkt, AnInstallerLeftByAnEarlierRunStillRunsWhenItsUnpackingFails) {
    m.resources.remove("VCREDIST_2010", "MICROSOFT");
    m.processes.installExit(p("vcredist_x86_2010_10.0.40219.325.exe"), 5100);  // the earlier run's file
    m.user.answer(mr::Ok);
    ASSERT_EQ(run(), 0);
    const auto zeilen = feedback();
    const auto kopiere = std::find(zeilen.begin(), zeilen.end(), "Kopiere " + p("vcredist_x86_2010_10.0.40219.325.exe"));
    ASSERT_NE(kopiere, zeilen.end());
    EXPECT_EQ(*(kopiere + 1), "Installation 'Microsoft Visual C++ Redistributable 2010' übersprungen, da neuere "
                              "Version schon installiert.");
    for (const auto& z : logZeilen()) EXPECT_EQ(z.find("vcredist_x86_2010"), std::string::npos) << "not unpacked: not listed";
}

TEST_F(Produkt, AnInstallerThatBreaksDownIsReportedInABoxAndALine) {
    m.processes.install(p("vc_redist.x86_2015-2022_14.31.31103.0.exe"),
                        [](const std::string&, const std::string&) -> uint32_t { throw Exception("kaputt"); });
    m.files.remove(inst);
    const std::string text = "Die Installation des 'Microsoft Visual C++ Redistributable 2017' ist fehlgeschlagen.";
    m.user.answer(mr::Ok);  // the error box
    m.user.answer(mr::Ok);  // the closing message
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(dialog(0).text, text);
    EXPECT_EQ(dialog(0).type, MsgDlgType::Error);
    const auto zeilen = feedback();
    EXPECT_NE(std::find(zeilen.begin(), zeilen.end(), text), zeilen.end());
}

}  // namespace
}  // namespace qm
