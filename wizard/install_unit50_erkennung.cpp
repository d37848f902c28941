// TfmInstall: what the window finds on the machine when it is created. Nothing is changed
// on the machine; every finding goes into the feedback log.
#include "app/registry_layout.h"
#include "app/tregistry.h"
#include "app/versionen.h"
#include "wizard/install_unit50.h"

namespace qm {

namespace {
const char* const kAlterServer = "Alter Datenbank-Server Version 2.5.2: ";
const char* const kNeuerServer = "Datenbank-Server Version 4.0.2.2816: ";
}  // namespace

void TfmInstall::waehleVorgabeVerzeichnis() {
    TRegistry reg(p_.registry, regaccess::KeyAllAccess);
    if (reg.openKey(RegistryLayout::AnwendungsSchluessel, false) && reg.valueExists(RegistryLayout::WertAppdir))
        vorgabeVerzeichnis = reg.readString(RegistryLayout::WertAppdir);
    if (p_.files.directoryExists(vorgabeVerzeichnis)) {
        std::string ordner = vorgabeVerzeichnis;
        if (!ordner.empty() && ordner.back() == '\\') ordner.pop_back();
        JvdeQMInstallDir.setText(ordner);
        return;
    }
    reg.closeKey();
    TRegistry windows(p_.registry, regaccess::KeyRead);
    windows.openKeyReadOnly(RegistryLayout::WindowsSchluessel);
    vorgabeVerzeichnis = windows.readString(RegistryLayout::WertProgramFilesDir);
    // The ".\" makes a trailing backslash of the programs folder irrelevant.
    JvdeQMInstallDir.setText(p_.files.fullPathName(vorgabeVerzeichnis + ".\\Tessarwind\\" +
                                                   Versionen::ProduktVerzeichnis));
}

void TfmInstall::meldeVorhandeneInstallation() {
    const std::string ordner = JvdeQMInstallDir.text();
    const std::string programm = ordner + "\\" + Versionen::ProgrammDatei;
    if (p_.files.fileExists(programm)) {
        std::string version;
        getDateiVersion(programm, version);
        // The build number's ".0" is not shown.
        addFeedbackZeile("Quillmark-Installation gefunden: Version " +
                         version.substr(0, version.size() >= 2 ? version.size() - 2 : 0));
    }

    neueVersionInstalliert = false;
    std::string alterServer;
    if (checkFirebird252(alterServer)) {
        addFeedbackZeile(std::string(kAlterServer) + "Installation gefunden");
        if (checkDienstVorhanden(Versionen::Firebird252InstanzName)) {
            addFeedbackZeile(std::string("  ") + kAlterServer + "Dienst gefunden");
            addFeedbackZeile(std::string("  ") + kAlterServer +
                             (checkDienstGestartet(Versionen::Firebird252InstanzName) ? "Dienst ist gestartet"
                                                                                     : "Dienst ist nicht gestartet"));
        }
        neueVersionInstalliert = checkNeueVersionInstalliert();
        if (neueVersionInstalliert)
            addFeedbackZeile(
                "Hinweis: Firebird 2.5.2 wird nicht deinstalliert, da schon eine neuere Version von Quillmark "
                "installiert ist, die diese Version nicht benötigt.");
    }

    if (checkFirebird4Datei(ordner)) {
        laFirebirdSchonVorhanden.setCaption("(Server ist wahrscheinlich schon installiert)");
        addFeedbackZeile("Datenbank-Server in der Version 4.0.2.2816 gefunden.");
        if (checkDienstVorhanden(Versionen::Firebird4InstanzName)) {
            addFeedbackZeile(std::string("  ") + kNeuerServer + "Dienst gefunden");
            addFeedbackZeile(std::string("  ") + kNeuerServer +
                             (checkDienstGestartet(Versionen::Firebird4InstanzName) ? "Dienst ist gestartet"
                                                                                   : "Dienst ist nicht gestartet"));
        } else {
            addFeedbackZeile(std::string("  ") + kNeuerServer + "Dienst nicht gefunden");
        }
    }
}

void TfmInstall::stelleInstallationsartWieder() {
    TRegistry reg(p_.registry, regaccess::KeyAllAccess);
    reg.openKey(RegistryLayout::AnwendungsSchluessel, false);
    if (!reg.valueExists(RegistryLayout::WertInstallationsart)) {
        rbIBEinzelplatz.setChecked(true);
        return;
    }
    // Any other number leaves the design-time choice.
    switch (reg.readInteger(RegistryLayout::WertInstallationsart)) {
    case RegistryLayout::ArtEinzelplatz:
        rbIBEinzelplatz.setChecked(true);
        break;
    case RegistryLayout::ArtNetzServer:
        rbIBNetz.setChecked(true);
        rbIBNetzServer.setChecked(true);
        break;
    case RegistryLayout::ArtNetzClient:
        rbIBNetz.setChecked(true);
        rbIBNetzClient.setChecked(true);
        break;
    default:
        break;
    }
}

bool TfmInstall::checkNeueVersionInstalliert() {
    const std::string programm = JvdeQMInstallDir.text() + "\\" + Versionen::ProgrammDatei;
    if (!p_.files.fileExists(programm)) return false;
    std::string version;
    getDateiVersion(programm, version);
    return dateiVersionMindestens(version, 5, 16, 23);
}

}  // namespace qm
