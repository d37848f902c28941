#include "wizard/install_unit50.h"

#include <algorithm>

#include "app/get_windows_version.h"
#include "app/konstanten.h"
#include "app/registry_layout.h"
#include "app/tregistry.h"
#include "app/versionen.h"
#include "install/uninstall_log.h"
#include "platform/types.h"
#include "wizard/png_bmp_loader.h"

namespace qm {

namespace {
const char* const kWillkommen = "Herzlich willkommen zur Installation von Quillmark.\r\n\r\n";
}

TfmInstall::TfmInstall(Platform& p) : TForm(p) {
    initControls();
    safe([this] { FormCreate(); });
}

TfmInstall::~TfmInstall() {
    if (laufMarker_) p_.kernel.closeHandle(laufMarker_);
}

void TfmInstall::FormCreate() {
    loadPngRessource(imQuillmarkLogo, "BildRessourcen", "QuillmarkLogo");
    loadPngRessource(imFirebirdLogo, "BildRessourcen", "FirebirdLogo");
    const std::string titel = std::string("Quillmark ") + Versionen::ProgrammVersion + " - Installation";
    peer_->setCaption(titel);
    p_.ui.setApplicationTitle(titel);
    laFirebirdSchonVorhanden.setCaption("");
    waehleVorgabeVerzeichnis();
    setSchritt(1);
    meldeVorhandeneInstallation();
    laQMStatus.setCaption("");
    JvLabelTitel.setCaption(std::string("Quillmark ") + Versionen::ProgrammVersion);
    stelleInstallationsartWieder();
}

std::string TfmInstall::meldungKeineAdminRechte() {
    return std::string(kWillkommen) +
           "Leider verfügen Sie auf Ihrem Rechner nicht über die erforderlichen Rechte\r\n"
           "in der Registrierungsdatei zur Installation von Software.\r\n"
           "Führen Sie die Installation erneut mit Administratorrechten durch.\r\n\r\n"
           "Bei Fragen wenden Sie sich an Ihren Administrator oder wenden Sie sich\r\nan " +
           Konstanten::SupportAdresse + ".";
}

std::string TfmInstall::meldungWindowsVersion() {
    return std::string(kWillkommen) +
           "Leider ist das Programm unter Ihrer Windows-Version nicht lauffähig.\r\n"
           "Installieren Sie das Programm bitte auf einem Rechner, auf dem\r\n"
           "Windows XP, Windows Vista, Windows 7 oder eine höhere Version\r\n"
           "von Windows installiert ist.";
}

std::string TfmInstall::meldungProgrammLaeuft() {
    return std::string(kWillkommen) +
           "Bitte schließen Sie zunächst das laufende Programm Quillmark\r\n"
           "und starten Sie anschließend die Installation erneut.";
}

bool TfmInstall::checkAdminRechte() {
    try {
        TRegistry reg(p_.registry, regaccess::KeyAllAccess);
        if (!reg.openKey(RegistryLayout::AdminProbeSchluessel, true))
            throw ERegistryException("Schlüssel kann nicht geöffnet werden");
        reg.writeString(RegistryLayout::AdminProbeWert, "Test");
        if (!reg.deleteValue(RegistryLayout::AdminProbeWert))
            throw ERegistryException("Wert kann nicht gelöscht werden");
        return true;
    } catch (...) {
        return false;
    }
}

bool TfmInstall::probeLaufMarker() {
    SemaphoreResult r = p_.kernel.createSemaphore(Versionen::laufMarkerName(), 0, 1);
    if (r.handle != 0 && r.lastError == winerr::AlreadyExists) {
        p_.kernel.closeHandle(r.handle);
        return true;
    }
    // Our own marker stays open while the setup runs.
    if (r.handle != 0 && laufMarker_ == 0) laufMarker_ = r.handle;
    else if (r.handle != 0) p_.kernel.closeHandle(r.handle);
    return false;
}

bool TfmInstall::checkProgrammLaeuft() {
    if (!probeLaufMarker()) return false;
    p_.kernel.sleep(3000);
    return probeLaufMarker();
}

void TfmInstall::FormShow() {
    inFormShow_ = true;
    struct Reset {
        TfmInstall* f;
        ~Reset() { f->inFormShow_ = false; }
    } reset{this};

    const Size screen = p_.ui.screenSize();
    Rect b = peer_->bounds();
    b.width = std::min(screen.width, 1280);
    b.height = std::min(screen.height, 720);
    peer_->setBounds(b);

    auto ablehnen = [this](const std::string& text) {
        p_.dialogs.messageDlg(text, MsgDlgType::Information, mb::OK);
        postMessage(WM_SCHLIESSEN, 0, 0);
    };
    if (!checkAdminRechte()) ablehnen(meldungKeineAdminRechte());
    if (istWindowsVersionAbgelehnt(getWindowsVersion(p_.kernel))) ablehnen(meldungWindowsVersion());
    if (checkProgrammLaeuft()) ablehnen(meldungProgrammLaeuft());

    inFormShow_ = false;
    if (schliessenAngefordert_) close();
}

void TfmInstall::handleMessage(uint32_t msg, uintptr_t, intptr_t) {
    if (msg != WM_SCHLIESSEN) return;
    if (inFormShow_) {
        schliessenAngefordert_ = true;
        return;
    }
    if (!peer_->closed()) close();
}

}  // namespace qm
