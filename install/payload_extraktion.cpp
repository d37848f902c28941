// TfmInstall's payload extraction: single files with progress, the three ZIP payloads.
#include "app/versionen.h"
#include "install/dateien.h"
#include "install/install_errors.h"
#include "install/payload.h"
#include "install/uninstall_log.h"
#include "wizard/install_unit50.h"

namespace qm {

void TfmInstall::extractRessource(const std::string& ziel, const std::string& name, const std::string& typ,
                                  int fortschrittEnde) {
    fortschritt_.start = JvSpecialProgressQM.position();
    fortschritt_.ende = fortschrittEnde;
    laQMStatus.setCaption("Kopiere " + ziel);
    repaint();
    addFeedbackZeile("Kopiere " + ziel);

    const ResourceView daten = findPayload(p_, typ, name);
    fortschritt_.groesse = int32_t(daten.size);
    entpackeZlibPayload(
        p_, daten, payloadBezeichnung(typ, name), ziel, Versionen::BuildZeitpunkt,
        [&] {
            // The uninstaller cannot remove itself; the name test is case-sensitive.
            if (extractFileName(ziel) == Versionen::DeinstallationsProgramm) return;
            if (!uninstallLog_) throw Exception("Die Deinstallationsdatei ist nicht geöffnet.");
            uninstallLog_->append(LogTag::Datei, ziel);
        },
        [this](uint32_t gelesen) { updateFortschritt(gelesen); });
}

void TfmInstall::updateFortschritt(uint32_t gelesen) {
    const Fortschritt& f = fortschritt_;
    const double anteil = f.groesse > 0 ? double(gelesen) / double(f.groesse) : 1.0;
    JvSpecialProgressQM.setPosition(f.start + int32_t(anteil * double(f.ende - f.start)));
    JvSpecialProgressQM.repaint();
    p_.ui.processMessages();
}

void TfmInstall::extractOpenSSL() {
    const std::string basis = installVerzeichnis_ + "\\openssl";
    if (!forceDirectories(p_.files, basis))
        throw EDateiFehler("Der Ordner '" + basis + "' kann nicht erstellt werden.");
    entpackeZipPayload(p_, findPayload(p_, "OpenSSL", "SSL"), payloadBezeichnung("OPENSSL", "SSL"), basis, false);
}

void TfmInstall::extractFBClient() {
    entpackeZipPayload(p_, findPayload(p_, "FBClient", "FIREBIRD"), payloadBezeichnung("FBCLIENT", "FIREBIRD"),
                       installVerzeichnis_, true);
}

// The server step may run without the product step before it: the folder edit names INSTDIR.
void TfmInstall::extractFBServer() {
    const std::string inst = JvdeQMInstallDir.text();
    const std::string basis = p_.files.fullPathName(inst);
    if (basis.empty() || !forceDirectories(p_.files, basis))
        throw EDateiFehler("Der Ordner '" + inst + "' kann nicht erstellt werden.");
    entpackeZipPayload(p_, findPayload(p_, "FBServer", "FIREBIRD"), payloadBezeichnung("FBSERVER", "FIREBIRD"), basis,
                       true);
}

}  // namespace qm
