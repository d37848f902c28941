// TfmInstall: recognising the old and the private database server by their files.
#include "app/registry_layout.h"
#include "app/tregistry.h"
#include "app/versionen.h"
#include "dbserver/server_tools.h"
#include "wizard/install_unit50.h"

namespace qm {

namespace {
// Up to and including the last "\" or ":".
std::string ordnerTeil(const std::string& pfad) {
    size_t p = pfad.find_last_of("\\:");
    return p == std::string::npos ? std::string() : pfad.substr(0, p + 1);
}
}  // namespace

bool TfmInstall::checkFirebird252(std::string& serverVerzeichnis) {
    serverVerzeichnis.clear();
    TRegistry reg(p_.registry, regaccess::KeyRead);
    if (!reg.openKeyReadOnly(RegistryLayout::FirebirdInstanzenSchluessel)) return false;
    if (!reg.valueExists(Versionen::Firebird252InstanzName)) return false;
    const std::string wert = reg.readString(Versionen::Firebird252InstanzName);
    const std::string ordner = ordnerTeil(wert);
    // A value that names no folder would send the search to whatever the current folder is.
    if (ordner.empty()) return false;
    const std::string programm = p_.files.fullPathName(ordner + ".\\" + ServerTools::AlterServerProgramm);
    if (!p_.files.fileExists(programm)) return false;
    // Known even when the version does not match: the caller may still need the folder.
    serverVerzeichnis = wert;
    std::string version;
    getProduktVersion(programm, version);
    return version == Versionen::Firebird252ProduktVersion;
}

bool TfmInstall::checkFirebird4Datei(const std::string& installationsVerzeichnis) {
    const std::string programm = p_.files.fullPathName(installationsVerzeichnis + ".\\" +
                                                       Versionen::Firebird4Verzeichnis + "\\" +
                                                       ServerTools::NeuerServerProgramm);
    return p_.files.fileExists(programm);
}

}  // namespace qm
