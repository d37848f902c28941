#include "platform/types.h"
#include "platform/win32/utf.h"
#include "platform/win32/win32_platform.h"

namespace qm::win32 {

namespace {
HKEY rootOf(RootKey r) { return r == RootKey::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }
HKEY h(HKey k) { return reinterpret_cast<HKEY>(k); }

// The setup is a 32-bit program and sees the 32-bit view; a 64-bit build (used for
// tests under wine64) asks for that view explicitly so it behaves the same.
uint32_t view(uint32_t access) {
    if (sizeof(void*) == 8 && !(access & (KEY_WOW64_64KEY | KEY_WOW64_32KEY))) access |= KEY_WOW64_32KEY;
    return access;
}
}  // namespace

uint32_t Registry::openKey(RootKey root, const std::string& subKey, uint32_t access, HKey& out) {
    HKEY key = nullptr;
    LONG rc = RegOpenKeyExW(rootOf(root), wide(subKey).c_str(), 0, view(access), &key);
    if (rc == ERROR_SUCCESS) out = reinterpret_cast<HKey>(key);
    return uint32_t(rc);
}

uint32_t Registry::createKey(RootKey root, const std::string& subKey, uint32_t access, HKey& out, bool* created) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    LONG rc = RegCreateKeyExW(rootOf(root), wide(subKey).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, view(access),
                              nullptr, &key, &disposition);
    if (rc == ERROR_SUCCESS) {
        out = reinterpret_cast<HKey>(key);
        if (created) *created = disposition == REG_CREATED_NEW_KEY;
    }
    return uint32_t(rc);
}

uint32_t Registry::closeKey(HKey key) { return uint32_t(RegCloseKey(h(key))); }

uint32_t Registry::queryValue(HKey key, const std::string& name, uint32_t& type, std::vector<uint8_t>& data) {
    std::wstring n = wide(name);
    DWORD t = 0, size = 0;
    LONG rc = RegQueryValueExW(h(key), n.c_str(), nullptr, &t, nullptr, &size);
    if (rc != ERROR_SUCCESS) return uint32_t(rc);
    std::vector<uint8_t> raw(size + sizeof(wchar_t));
    rc = RegQueryValueExW(h(key), n.c_str(), nullptr, &t, raw.data(), &size);
    if (rc != ERROR_SUCCESS) return uint32_t(rc);
    raw.resize(size);
    type = t;
    if (t == REG_SZ || t == REG_EXPAND_SZ) {
        std::wstring w(reinterpret_cast<const wchar_t*>(raw.data()), size / sizeof(wchar_t));
        while (!w.empty() && w.back() == L'\0') w.pop_back();
        std::string s = utf8(w);
        data.assign(s.begin(), s.end());
    } else {
        data = std::move(raw);
    }
    return ERROR_SUCCESS;
}

uint32_t Registry::setValue(HKey key, const std::string& name, uint32_t type, const std::vector<uint8_t>& data) {
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        std::wstring w = wide(std::string(data.begin(), data.end()));
        return uint32_t(RegSetValueExW(h(key), wide(name).c_str(), 0, type, reinterpret_cast<const BYTE*>(w.c_str()),
                                       DWORD((w.size() + 1) * sizeof(wchar_t))));
    }
    return uint32_t(RegSetValueExW(h(key), wide(name).c_str(), 0, type, data.data(), DWORD(data.size())));
}

uint32_t Registry::deleteValue(HKey key, const std::string& name) {
    return uint32_t(RegDeleteValueW(h(key), wide(name).c_str()));
}

uint32_t Registry::enumValueNames(HKey key, std::vector<std::string>& names) {
    names.clear();
    DWORD count = 0, maxLen = 0;
    LONG rc = RegQueryInfoKeyW(h(key), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &maxLen,
                               nullptr, nullptr, nullptr);
    if (rc != ERROR_SUCCESS) return uint32_t(rc);
    std::wstring buf(maxLen + 1, L'\0');
    for (DWORD i = 0;; ++i) {
        DWORD len = DWORD(buf.size());
        rc = RegEnumValueW(h(key), i, buf.data(), &len, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_NO_MORE_ITEMS) break;
        if (rc != ERROR_SUCCESS) return uint32_t(rc);
        names.push_back(utf8(buf.c_str(), int(len)));
    }
    return ERROR_SUCCESS;
}

}  // namespace qm::win32
