// TfmInstall: version texts of files.
#include "wizard/ce_version_info.h"
#include "wizard/install_unit50.h"

namespace qm {

void TfmInstall::getProduktVersion(const std::string& datei, std::string& version) {
    TCEVersionInfo info(p_.versionInfo, p_.kernel);
    info.GetInfo(datei);
    version = info.ProductVersion;
}

void TfmInstall::getDateiVersion(const std::string& datei, std::string& version) {
    TCEVersionInfo info(p_.versionInfo, p_.kernel);
    info.GetInfo(datei);
    version = info.FileVersion;
}

std::string getTextVor(char sep, const std::string& text) {
    size_t p = text.find(sep);
    return p == std::string::npos ? std::string() : text.substr(0, p);
}

std::string getTextNach(char sep, const std::string& text) {
    size_t p = text.find(sep);
    return p == std::string::npos ? text : text.substr(p + 1);
}

}  // namespace qm
