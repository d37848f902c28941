// TfmInstall::createVerknuepfungen: the shortcuts for all users and their log lines.
#include <cstdio>

#include "app/versionen.h"
#include "install/uninstall_log.h"
#include "platform/types.h"
#include "wizard/install_unit50.h"

namespace qm {

namespace {
void speichere(Platform& p, const std::string& ziel, const std::string& arbeitsordner, const std::string& datei) {
    const ShellLinkResult r = p.shell.saveShellLink(ziel, arbeitsordner, datei);
    if (r.ok()) return;
    char hr[16];
    std::snprintf(hr, sizeof hr, "0x%08X", unsigned(r.hr));
    // A link that was not saved is no link: the step must not report it as made.
    throw Exception("Die Verknüpfung '" + datei + "' konnte nicht gespeichert werden (" + r.failedCall + ": " + hr +
                    ").");
}
}  // namespace

bool TfmInstall::createVerknuepfungen() {
    using namespace Versionen;
    try {
        laQMStatus.setCaption("Erstellen der Verknüpfungen");
        repaint();
        addFeedbackZeile("Erstellen der Verknüpfungen");

        const std::string inst = JvdeQMInstallDir.text();
        const std::string programm = std::string("Quillmark ") + HauptVersion;
        const std::string namen[4] = {programm, "Lizenzbedingungen", "Anleitung", "TeamViewer QuickSupport"};
        const std::string ziele[4] = {inst + "\\" + ProgrammDatei, inst + "\\" + LizenzDatei,
                                      inst + "\\" + AnleitungDatei, inst + "\\TeamViewerQS_Quillmark.exe"};
        if (!uninstallLog_) throw Exception("Die Deinstallationsdatei ist nicht geöffnet.");

        std::string programme;
        if (!p_.shell.specialFolderPath(csidl::CommonPrograms, programme))
            throw Exception("Der Ordner 'Programme' des Startmenüs für alle Benutzer wurde nicht gefunden.");
        const std::string startmenue = programme + "\\" + programm;
        p_.files.createDirectory(startmenue);  // an existing folder is reused
        for (int i = 0; i < 4; ++i) {
            if (!p_.files.fileExists(ziele[i])) continue;
            const std::string link = startmenue + "\\" + namen[i] + ".lnk";
            speichere(p_, ziele[i], inst, link);
            uninstallLog_->append(LogTag::LinkFile, link);
        }
        p_.shell.changeNotify(shcne::MkDir, shcne::PathA, startmenue);
        JvSpecialProgressQM.setPosition(98);

        std::string desktop;
        if (!p_.shell.specialFolderPath(csidl::CommonDesktopDirectory, desktop))
            throw Exception("Der Desktop für alle Benutzer wurde nicht gefunden.");
        if (p_.files.fileExists(ziele[0])) {
            const std::string link = desktop + "\\" + programm + ".lnk";
            speichere(p_, ziele[0], inst, link);
            uninstallLog_->append(LogTag::LinkFile, link);
        }
        JvSpecialProgressQM.setPosition(99);
        JvSpecialProgressQM.setPosition(100);
        uninstallLog_->append(LogTag::Verzeichnis, startmenue);
        return true;
    } catch (const std::exception& e) {
        addFeedbackZeile(std::string("Fehler: ") + e.what());
        addFeedbackZeile("Erstellen der Verknüpfungen fehlgeschlagen");
        return false;
    }
}

}  // namespace qm
