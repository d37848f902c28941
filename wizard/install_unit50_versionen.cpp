// TfmInstall: version texts of files.
#include <cctype>
#include <climits>

#include "platform/types.h"
#include "wizard/ce_version_info.h"
#include "wizard/install_unit50.h"

namespace qm {

namespace {
// As the toolkit's StrToInt: leading blanks, a sign, decimal digits and nothing else.
int strToInt(const std::string& s) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    bool negativ = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negativ = s[i++] == '-';
    if (i == s.size()) throw EConvertError("'" + s + "' ist kein gültiger Integerwert");
    long long v = 0;
    for (; i < s.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(s[i])) || v > INT_MAX)
            throw EConvertError("'" + s + "' ist kein gültiger Integerwert");
        v = v * 10 + (s[i] - '0');
    }
    v = negativ ? -v : v;
    if (v > INT_MAX || v < INT_MIN) throw EConvertError("'" + s + "' ist kein gültiger Integerwert");
    return int(v);
}
}  // namespace

bool dateiVersionMindestens(const std::string& v, int major, int minor, int release) {
    try {
        const int ma = strToInt(getTextVor('.', v));
        const int mi = strToInt(getTextVor('.', getTextNach('.', v)));
        const int re = strToInt(getTextVor('.', getTextNach('.', getTextNach('.', v))));
        return ma > major || (ma == major && mi > minor) || (ma == major && mi == minor && re >= release);
    } catch (const Exception&) {
        // A version that cannot be read counts as neither newer nor older.
        return false;
    }
}

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
