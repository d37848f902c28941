// Until the database-server methods arrive: no program can be started here, no
// service exists.
#include "wizard/install_unit50.h"

namespace qm {

bool TfmInstall::checkDienstVorhanden(const std::string&) { return false; }
uint32_t TfmInstall::runProzess(const std::string&, uint16_t) { return ProzessNichtGestartet; }
bool TfmInstall::checkFirebird4Datei(const std::string& inst) {
    return p_.files.fileExists(p_.files.fullPathName(inst + "\\.\\Firebird_4.0.2.2816\\firebird.exe"));
}

}  // namespace qm
