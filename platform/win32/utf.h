#pragma once
#include <windows.h>

#include <string>

namespace qm::win32 {

inline std::wstring wide(const std::string& s) {
    if (s.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), nullptr, 0);
    std::wstring w(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), w.data(), n);
    return w;
}

inline std::string utf8(const wchar_t* w, int len = -1) {
    if (!w) return {};
    if (len < 0) len = int(wcslen(w));
    if (len == 0) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, w, len, nullptr, 0, nullptr, nullptr);
    std::string s(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, w, len, s.data(), n, nullptr, nullptr);
    return s;
}

inline std::string utf8(const std::wstring& w) { return utf8(w.c_str(), int(w.size())); }

}  // namespace qm::win32
