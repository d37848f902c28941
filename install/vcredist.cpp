// TfmInstall::installVCRedist: runs a Visual C++ redistributable installer silently.
#include "wizard/install_unit50.h"

namespace qm {

bool TfmInstall::installVCRedist(const std::string& installer, const std::string& bezeichnung) {
    const std::string paket = "'Microsoft Visual C++ Redistributable " + bezeichnung + "'";
    try {
        const uint32_t code = runProzess(installer + " /q", 0);
        if (code == 5100) {
            addFeedbackZeile("Installation " + paket + " übersprungen, da neuere Version schon installiert.");
            return true;
        }
        if (code == 0) {
            addFeedbackZeile("Installation " + paket + " erfolgreich.");
            return true;
        }
        addFeedbackZeile("Installation " + paket + " fehlgeschlagen. Fehlercode: " + std::to_string(int32_t(code)));
        return false;
    } catch (...) {
        const std::string text = "Die Installation des " + paket + " ist fehlgeschlagen.";
        p_.dialogs.messageDlg(text, MsgDlgType::Error, mb::OK);
        addFeedbackZeile(text);
        return false;
    }
}

}  // namespace qm
