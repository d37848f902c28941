// Small helpers shared by the server stand-ins (instsvc, firebird/fbserver,
// unins000). Header-only so every tool stays a single translation unit.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace standin {

inline const wchar_t kServicePrefix[] = L"FirebirdServer";
inline const wchar_t kDefaultInstance[] = L"DefaultInstance";
constexpr int kDefaultPort = 3050;
constexpr DWORD kServiceWaitMs = 30000;

inline bool iequals(const std::wstring& a, const wchar_t* b) {
    return _wcsicmp(a.c_str(), b) == 0;
}

inline std::wstring serviceName(const std::wstring& instance) {
    return kServicePrefix + instance;
}

inline std::wstring modulePath() {
    std::vector<wchar_t> buf(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0) return {};
        if (n < buf.size()) return std::wstring(buf.data(), n);
        buf.resize(buf.size() * 2);
    }
}

// Folder part including the trailing backslash ("" when there is none).
inline std::wstring folderOf(const std::wstring& path) {
    auto pos = path.find_last_of(L"\\/");
    return pos == std::wstring::npos ? std::wstring() : path.substr(0, pos + 1);
}

inline std::wstring moduleFolder() { return folderOf(modulePath()); }

inline bool fileExists(const std::wstring& path) {
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

inline std::wstring win32Message(DWORD code) {
    wchar_t* text = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring s = n ? std::wstring(text, n) : std::wstring();
    if (text) LocalFree(text);
    while (!s.empty() && (s.back() == L'\r' || s.back() == L'\n' || s.back() == L' ')) s.pop_back();
    return s;
}

inline void errorOut(const wchar_t* tool, const std::wstring& what, DWORD code) {
    std::wstring text = win32Message(code);
    fwprintf(stderr, L"%ls: %ls (error %lu%ls%ls)\n", tool, what.c_str(),
             static_cast<unsigned long>(code), text.empty() ? L"" : L": ", text.c_str());
    fflush(stderr);
}

inline void messageOut(FILE* f, const wchar_t* tool, const std::wstring& what) {
    fwprintf(f, L"%ls: %ls\n", tool, what.c_str());
    fflush(f);
}

struct ScHandle {
    SC_HANDLE h = nullptr;
    ScHandle() = default;
    explicit ScHandle(SC_HANDLE x) : h(x) {}
    ScHandle(const ScHandle&) = delete;
    ScHandle& operator=(const ScHandle&) = delete;
    ~ScHandle() {
        if (h) CloseServiceHandle(h);
    }
    explicit operator bool() const { return h != nullptr; }
};

inline bool queryState(SC_HANDLE svc, DWORD& state) {
    SERVICE_STATUS_PROCESS st{};
    DWORD needed = 0;
    if (!QueryServiceStatusEx(svc, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&st), sizeof st,
                              &needed))
        return false;
    state = st.dwCurrentState;
    return true;
}

// Polls until the service reaches `wanted`. Returns false on time-out, or at
// once when it settles in the other stable state (e.g. a start that died).
inline bool waitForState(SC_HANDLE svc, DWORD wanted, DWORD timeoutMs, DWORD& last) {
    DWORD start = GetTickCount();
    for (;;) {
        if (!queryState(svc, last)) return false;
        if (last == wanted) return true;
        if (wanted == SERVICE_RUNNING && last == SERVICE_STOPPED && GetTickCount() - start > 500)
            return false;
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(100);
    }
}

// Stops the service if it runs and waits for STOPPED. ERROR_SUCCESS or the reason.
inline DWORD stopAndWait(SC_HANDLE svc, DWORD timeoutMs) {
    DWORD state = 0;
    if (!queryState(svc, state)) return GetLastError();
    if (state == SERVICE_STOPPED) return ERROR_SUCCESS;
    if (state != SERVICE_STOP_PENDING) {
        SERVICE_STATUS st{};
        if (!ControlService(svc, SERVICE_CONTROL_STOP, &st)) {
            DWORD e = GetLastError();
            if (e != ERROR_SERVICE_NOT_ACTIVE) return e;
        }
    }
    DWORD last = 0;
    return waitForState(svc, SERVICE_STOPPED, timeoutMs, last) ? ERROR_SUCCESS
                                                                : static_cast<DWORD>(ERROR_SERVICE_REQUEST_TIMEOUT);
}

// After DeleteService the name stays taken until the last handle is gone;
// waiting here keeps a following "install" from failing with 1072.
inline void waitUntilGone(SC_HANDLE scm, const std::wstring& name, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        SC_HANDLE h = OpenServiceW(scm, name.c_str(), SERVICE_QUERY_STATUS);
        if (!h) return;
        CloseServiceHandle(h);
        if (GetTickCount() - start >= timeoutMs) return;
        Sleep(100);
    }
}

inline std::string trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) return {};
    size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

// Reads RemoteServicePort from a firebird.conf ("Key = value", '#' comments,
// keys case-insensitive like the real server). false when the file is missing.
inline bool readPortFromConf(const std::wstring& path, int& port) {
    FILE* f = _wfopen(path.c_str(), L"rb");
    if (!f) return false;
    char line[1024];
    bool first = true;
    while (fgets(line, sizeof line, f)) {
        std::string s(line);
        if (first && s.size() >= 3 && static_cast<unsigned char>(s[0]) == 0xEF &&
            static_cast<unsigned char>(s[1]) == 0xBB && static_cast<unsigned char>(s[2]) == 0xBF)
            s.erase(0, 3);
        first = false;
        if (auto hash = s.find('#'); hash != std::string::npos) s.erase(hash);
        auto eq = s.find('=');
        if (eq == std::string::npos) continue;
        std::string key = trim(s.substr(0, eq));
        std::string value = trim(s.substr(eq + 1));
        if (_stricmp(key.c_str(), "RemoteServicePort") != 0) continue;
        char* end = nullptr;
        long v = strtol(value.c_str(), &end, 10);
        if (!value.empty() && end && *end == '\0' && v > 0 && v < 65536) port = static_cast<int>(v);
    }
    fclose(f);
    return true;
}

// The new server keeps firebird.conf beside its exe, the old one in the
// parent of bin\, so look in both places, own folder first.
inline int configuredPort(std::wstring* usedConf = nullptr) {
    int port = kDefaultPort;
    std::wstring dir = moduleFolder();
    std::wstring candidates[2] = {dir + L"firebird.conf", dir + L"..\\firebird.conf"};
    for (auto& c : candidates) {
        if (readPortFromConf(c, port)) {
            if (usedConf) *usedConf = c;
            break;
        }
    }
    return port;
}

}  // namespace standin
