#include "wizard/ce_version_info.h"

#include <cstdio>
#include <vector>

namespace qm {

namespace {
// Queried in this order.
struct Feld {
    const char* key;
    std::string TCEVersionInfo::*feld;
};
const Feld kFelder[10] = {
    {"CompanyName", &TCEVersionInfo::CompanyName},
    {"FileDescription", &TCEVersionInfo::FileDescription},
    {"FileVersion", &TCEVersionInfo::FileVersion},
    {"InternalName", &TCEVersionInfo::Internalname},
    {"LegalCopyright", &TCEVersionInfo::LegalCopyright},
    {"LegalTradeMarks", &TCEVersionInfo::LegalTradeMarks},
    {"OriginalFilename", &TCEVersionInfo::OriginalFilename},
    {"ProductName", &TCEVersionInfo::ProductName},
    {"ProductVersion", &TCEVersionInfo::ProductVersion},
    {"Comments", &TCEVersionInfo::Comments},
};

// The paths keep their doubled separators; VerQueryValue skips the empty components.
const char* const kUebersetzung = "\\\\VarFileInfo\\\\Translation";
const char* const kTextPfad = "\\\\StringFileInfo\\\\%.4x%.4x\\\\";

// The text before the first separator, the rest kept; no separator: an empty part,
// the whole rest kept.
std::string abtrennen(std::string& rest, char sep) {
    size_t p = rest.find(sep);
    if (p == std::string::npos) return "";
    std::string teil = rest.substr(0, p);
    rest.erase(0, p + 1);
    return teil;
}
}  // namespace

TCEVersionInfo::TCEVersionInfo(IVersionInfo& versionInfo, IKernel& kernel) : vi_(versionInfo) {
    GetInfo(kernel.moduleFileName());
}

void TCEVersionInfo::setAll(const std::string& text) {
    for (const auto& f : kFelder) this->*f.feld = text;
    MajorVersion = MinorVersion = Release = Build = text;
}

void TCEVersionInfo::GetInfo(const std::string& fileName) {
    const uint32_t size = vi_.getFileVersionInfoSize(fileName);
    std::vector<uint8_t> block(size, 0);
    std::vector<uint8_t> uebersetzung;
    // Without a translation table no string table can be named: no version information.
    if (size == 0 || !vi_.getFileVersionInfo(fileName, block) ||
        !vi_.verQueryValueBinary(block, kUebersetzung, uebersetzung) || uebersetzung.size() < 4) {
        setAll(NichtVerfuegbar);
        return;
    }
    const unsigned sprache = uebersetzung[0] | (uebersetzung[1] << 8);
    const unsigned codeSeite = uebersetzung[2] | (uebersetzung[3] << 8);
    char ordner[64];
    std::snprintf(ordner, sizeof ordner, kTextPfad, sprache, codeSeite);
    for (const auto& f : kFelder) {
        std::string wert;
        this->*f.feld = vi_.verQueryValueText(block, std::string(ordner) + f.key, wert) ? wert : NichtVerfuegbar;
    }
    splitFileVersion();
}

void TCEVersionInfo::splitFileVersion() {
    char sep = 0;
    if (FileVersion.find('.') != std::string::npos) sep = '.';
    else if (FileVersion.find(',') != std::string::npos) sep = ',';
    if (FileVersion.empty() || sep == 0) {
        MajorVersion = MinorVersion = Release = Build = NichtVerfuegbar;
        return;
    }
    std::string rest = FileVersion;
    MajorVersion = abtrennen(rest, sep);
    MinorVersion = abtrennen(rest, sep);
    Release = abtrennen(rest, sep);
    Build = rest;
}

}  // namespace qm
