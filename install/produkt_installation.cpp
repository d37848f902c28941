// TfmInstall::installProdukt: the application's folders, files, runtimes, access rights,
// shortcuts, uninstall log and uninstall entry.
#include "app/registry_layout.h"
#include "app/tregistry.h"
#include "app/versionen.h"
#include "install/access_rights.h"
#include "install/datei_datum.h"
#include "install/dateien.h"
#include "install/uninstall_log.h"
#include "platform/types.h"
#include "wizard/install_unit50.h"

namespace qm {

namespace {
const char* const kUpdateFrage =
    "Es wurde eine vorhandene Installation von Quillmark gefunden.\r\n"
    "Sie können jetzt diese Installation aktualisieren lassen.\r\n\r\n"
    "Hinweis: Vor der Aktualisierung einer vorhandenen Installation\r\n"
    "sollten Sie ein Backup der Datenbank erstellen.\r\n"
    "Wenn Sie noch kein Backup erstellt haben, klicken Sie jetzt auf\r\n"
    "'Nein', schließen das Installationsprogramm, erstellen ein\r\n"
    "Backup und rufen dann das Installationsprogramm erneut auf.\r\n\r\n"
    "Soll die vorhandene Installation aktualisiert werden?";
const char* const kAbschlussServerDa =
    "Die Installation von Quillmark ist erfolgreich abgeschlossen.\r\n"
    "Falls Sie mit dieser Installation eine vorhandene Version von\r\n"
    "Quillmark aktualisiert haben und der Datenbankserver auf diesem\r\n"
    "Rechner schon installiert ist, können Sie die Installation nun\r\n"
    "beenden. Schließen Sie dazu das Installationsprogramm.";
const char* const kAbschlussServerFolgt =
    "Die Installation von Quillmark ist erfolgreich abgeschlossen.\r\n"
    "Fahren Sie jetzt mit der Installation des Datenbankservers fort.";
}  // namespace

void TfmInstall::FormCloseQuery(bool& canClose) {
    // Unpacking lets messages through; the window must outlive the installation.
    if (produktInstallationLaeuft_) canClose = false;
}

int TfmInstall::installProdukt() {
    using namespace Versionen;
    const std::string inst = JvdeQMInstallDir.text();
    installVerzeichnis_ = inst;
    JvSpecialProgressQM.setPosition(0);

    bool update = false;
    if (p_.files.fileExists(inst + "\\" + ProgrammDatei)) {
        if (p_.dialogs.messageDlg(kUpdateFrage, MsgDlgType::Confirmation, mb::Yes | mb::No) != mr::Yes) return 1;
        update = true;
    }

    // While the step runs, the window repaints but takes no second start, no other step
    // and no other folder: the buttons and the folder edit are off, closing is refused.
    struct Sperre {
        TfmInstall& f;
        std::vector<std::pair<TControl*, bool>> vorher;
        explicit Sperre(TfmInstall& fm) : f(fm) {
            for (TControl* c : std::initializer_list<TControl*>{&f.buInstallieren, &f.buUeberspringen, &f.buZurueck,
                                                                &f.buLizenzbedingungen, &f.cbLizenzbedingungen,
                                                                &f.JvdeQMInstallDir}) {
                vorher.emplace_back(c, c->enabled());
                c->setEnabled(false);
            }
            f.produktInstallationLaeuft_ = true;
        }
        ~Sperre() {
            f.produktInstallationLaeuft_ = false;
            for (auto& [c, an] : vorher) c->setEnabled(an);
        }
    } sperre(*this);

    addFeedbackZeile("Installation Quillmark gestartet");
    p_.ui.setScreenCursor(ScreenCursor::HourGlass);
    uninstallLog_ = std::make_unique<TUninstallLog>(p_);
    struct Abschluss {
        TfmInstall& f;
        ~Abschluss() {
            f.uninstallLog_->close();
            f.p_.ui.setScreenCursor(ScreenCursor::Default);
        }
    } abschluss{*this};

    try {
        // 4. the installation folder
        if (!p_.files.directoryExists(inst)) {
            const std::string text = "Erstelle Verzeichnis " + inst;
            laQMStatus.setCaption(text);
            repaint();
            addFeedbackZeile(text);
            if (!forceDirectories(p_.files, inst)) {
                p_.dialogs.messageDlg("Das Installationsverzeichnis\r\n'" + inst + "'\r\nkann nicht erstellt werden.",
                                      MsgDlgType::Error, mb::OK);
                return -1;
            }
        }
        // 5. the uninstall log, anew
        const std::string logPfad = inst + "\\" + DeinstallationsLog;
        if (!uninstallLog_->create(logPfad)) {
            p_.dialogs.messageDlg("Die Datei\r\n'" + logPfad + "'\r\nkann nicht erstellt werden.", MsgDlgType::Error,
                                  mb::OK);
            return -1;
        }
        // 6. the fixed sub-folders; only the installation folder itself is checked
        const std::string datenbanken = inst + "\\Datenbanken";
        const std::string dokumente = inst + "\\Dokumentablage", programmdaten = inst + "\\Programmdaten",
                          pad = inst + "\\PAD", setupdateien = inst + "\\Setupdateien";
        for (const std::string& ordner : {datenbanken, datenbanken + "\\Sicherungen\\TaeglicheSicherungen", dokumente,
                                          programmdaten, pad, setupdateien})
            forceDirectories(p_.files, ordner);
        // 7. full access for all users, before files arrive in these folders
        try {
            for (const std::string& ordner : {dokumente, programmdaten, pad, setupdateien})
                setZugriffsrechte(p_, ordner, true);
        } catch (...) {
        }
        // 8. the application and its documents
        extractRessource(inst + "\\" + ProgrammDatei, "QUILLMARK", "QM_EXE", 57);
        extractRessource(inst + "\\" + HilfeDatei, "QUILLMARK", "QM_HELP", 69);
        extractRessource(inst + "\\" + DeinstallationsProgramm, "QUILLMARK", "QM_UNINST", 73);
        extractRessource(inst + "\\" + SqlBibliothek, "QUILLMARK", "QM_SQLs", 87);
        extractRessource(inst + "\\" + ReadmeDatei, "QUILLMARK", "QM_README", 88);
        extractRessource(inst + "\\" + LizenzDatei, "QUILLMARK", "QM_Lizenz", 89);
        extractRessource(dokumente + "\\" + BriefVorlage, "QUILLMARK", "QM_BriefDOT", 90);
        extractRessource(inst + "\\" + AnleitungDatei, "QUILLMARK", "QM_Anleitung", 90);
        // 9. OpenSSL and the database client
        extractOpenSSL();
        extractFBClient();
        // 10. the remote-support tool; nothing of it stops the installation
        const std::string fernwartung = inst + "\\TeamViewerQS_Quillmark.exe";
        try {
            extractRessource(fernwartung, "TEAMVIEWER", "TV_EXE", 96);
            setDateiDatum(p_.files, fernwartung, ZeitstempelTeamViewer);
        } catch (...) {
        }
        // 11., 12. the Visual C++ runtimes; an installer left by an earlier run still runs
        const struct {
            const char* datei;
            const char* typ;
            const char* bezeichnung;
        } laufzeiten[] = {{"vcredist_x86_2010_10.0.40219.325.exe", "VCREDIST_2010", "2010"},
                          {"vc_redist.x86_2015-2022_14.31.31103.0.exe", "VCREDIST_2017", "2017"}};
        for (const auto& l : laufzeiten) {
            const std::string pfad = inst + "\\" + l.datei;
            try {
                extractRessource(pfad, "MICROSOFT", l.typ, 96);
            } catch (...) {
            }
            if (p_.files.fileExists(pfad)) installVCRedist(pfad, l.bezeichnung);
        }
        // 13. the legacy C runtime, only where Windows has none
        if (Handle msvcr71 = p_.kernel.loadLibrary("msvcr71.dll")) {
            p_.kernel.freeLibrary(msvcr71);
        } else {
            const std::string pfad = inst + "\\msvcr71.dll";
            try {
                extractRessource(pfad, "MICROSOFT", "MSVCR71DLL", 96);
                setDateiDatum(p_.files, pfad, ZeitstempelMsvcr71);
            } catch (...) {
            }
        }
        // 14. the folders for the uninstaller, the installation folder last
        for (const std::string& ordner : {datenbanken, dokumente, programmdaten, pad, setupdateien,
                                          inst + "\\openssl", inst + "\\" + Firebird4Verzeichnis})
            uninstallLog_->append(LogTag::Verzeichnis, ordner);
        uninstallLog_->append(LogTag::Verzeichnis, inst);
        // 15. shortcuts
        if (!createVerknuepfungen()) {
            addFeedbackZeile("Installation Quillmark fehlgeschlagen");
            return -1;
        }
        // 16. the uninstall entry, exactly its two values
        {
            TRegistry reg(p_.registry, regaccess::KeyAllAccess);
            if (!reg.openKey(RegistryLayout::UninstallSchluesselPfad, true))
                throw ERegistryException(std::string("Der Schlüssel HKEY_LOCAL_MACHINE\\") +
                                         RegistryLayout::UninstallSchluesselPfad + " kann nicht geöffnet werden");
            reg.writeString(RegistryLayout::WertDisplayName, std::string("Quillmark ") + HauptVersion);
            reg.writeString(RegistryLayout::WertUninstallString, "\"" + inst + "\\" + DeinstallationsProgramm +
                                                                     "\" \"" + inst + "\\" + DeinstallationsLog + "\"");
        }
        // 17. the closing message: may the user stop here or must the server step follow?
        const bool serverSchonDa = update && (rbIBEinzelplatz.checked() || rbIBNetzServer.checked()) &&
                                   checkFirebird4Datei(inst) && checkDienstVorhanden(Firebird4InstanzName);
        p_.dialogs.messageDlg(serverSchonDa ? kAbschlussServerDa : kAbschlussServerFolgt, MsgDlgType::Information,
                              mb::OK);
        addFeedbackZeile("Installation Quillmark erfolgreich beendet");
        return 0;
    } catch (const std::exception& e) {
        // The cause stays readable in the log; the sequence shows its own message.
        addFeedbackZeile(std::string("Fehler: ") + e.what());
        addFeedbackZeile("Installation Quillmark fehlgeschlagen");
        return -1;
    } catch (...) {
        addFeedbackZeile("Installation Quillmark fehlgeschlagen");
        return -1;
    }
}

}  // namespace qm
