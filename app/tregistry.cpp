#include "app/tregistry.h"

#include <cstring>

#include "platform/types.h"

namespace qm {

namespace {
[[noreturn]] void raiseGetFailed(const std::string& name) {
    throw ERegistryException("Fehler beim Holen der Daten für '" + name + "'");
}
[[noreturn]] void raiseWrongType(const std::string& name) {
    throw ERegistryException("Ungültiger Datentyp für '" + name + "'");
}
[[noreturn]] void raiseSetFailed(const std::string& name) {
    throw ERegistryException("Fehler beim Setzen der Daten für '" + name + "'");
}
}  // namespace

TRegistry::TRegistry(IRegistry& reg, uint32_t access, RootKey root) : reg_(reg), access_(access), root_(root) {}

TRegistry::~TRegistry() { closeKey(); }

bool TRegistry::openKey(const std::string& key, bool canCreate) {
    closeKey();
    HKey h = 0;
    uint32_t rc = canCreate ? reg_.createKey(root_, key, access_, h) : reg_.openKey(root_, key, access_, h);
    if (rc != winerr::Success) return false;
    key_ = h;
    return true;
}

bool TRegistry::openKeyReadOnly(const std::string& key) {
    closeKey();
    access_ = regaccess::KeyRead;
    HKey h = 0;
    if (reg_.openKey(root_, key, access_, h) != winerr::Success) return false;
    key_ = h;
    return true;
}

void TRegistry::closeKey() {
    if (key_ != 0) {
        reg_.closeKey(key_);
        key_ = 0;
    }
}

bool TRegistry::valueExists(const std::string& name) {
    if (!key_) return false;
    uint32_t type = 0;
    std::vector<uint8_t> data;
    return reg_.queryValue(key_, name, type, data) == winerr::Success;
}

std::string TRegistry::readString(const std::string& name) {
    if (!key_) return "";
    uint32_t type = 0;
    std::vector<uint8_t> data;
    if (reg_.queryValue(key_, name, type, data) != winerr::Success) return "";
    if (type != regtype::Sz && type != regtype::ExpandSz) raiseWrongType(name);
    return std::string(data.begin(), data.end());
}

int TRegistry::readInteger(const std::string& name) {
    uint32_t type = 0;
    std::vector<uint8_t> data;
    if (!key_ || reg_.queryValue(key_, name, type, data) != winerr::Success) raiseGetFailed(name);
    if (type != regtype::Dword || data.size() != 4) raiseWrongType(name);
    int32_t v;
    std::memcpy(&v, data.data(), 4);
    return v;
}

void TRegistry::writeString(const std::string& name, const std::string& value) {
    std::vector<uint8_t> data(value.begin(), value.end());
    if (!key_ || reg_.setValue(key_, name, regtype::Sz, data) != winerr::Success) raiseSetFailed(name);
}

void TRegistry::writeInteger(const std::string& name, int value) {
    std::vector<uint8_t> data(4);
    int32_t v = value;
    std::memcpy(data.data(), &v, 4);
    if (!key_ || reg_.setValue(key_, name, regtype::Dword, data) != winerr::Success) raiseSetFailed(name);
}

bool TRegistry::deleteValue(const std::string& name) {
    return key_ && reg_.deleteValue(key_, name) == winerr::Success;
}

std::vector<std::string> TRegistry::getValueNames() {
    std::vector<std::string> names;
    if (key_) reg_.enumValueNames(key_, names);
    return names;
}

}  // namespace qm
