#include "platform/types.h"
#include "platform/win32/utf.h"
#include "platform/win32/win32_platform.h"

namespace qm::win32 {

Handle Kernel::getModuleHandle(const std::string& name) {
    HMODULE m = GetModuleHandleW(wide(name).c_str());
    if (!m) lastError_ = GetLastError();
    return reinterpret_cast<Handle>(m);
}

bool Kernel::hasExport(Handle module, const std::string& exportName) {
    return GetProcAddress(reinterpret_cast<HMODULE>(module), exportName.c_str()) != nullptr;
}

bool Kernel::getVersionEx(OsVersionInfo& info) {
    OSVERSIONINFOA v{};
    v.dwOSVersionInfoSize = sizeof(v);  // 148
    if (!GetVersionExA(&v)) {
        lastError_ = GetLastError();
        return false;
    }
    info.major = v.dwMajorVersion;
    info.minor = v.dwMinorVersion;
    info.build = v.dwBuildNumber;
    info.platformId = v.dwPlatformId;
    info.csdVersion = v.szCSDVersion;
    return true;
}

std::string Kernel::errorText(uint32_t code) {
    wchar_t* buf = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, reinterpret_cast<wchar_t*>(&buf), 0, nullptr);
    std::string s = n ? utf8(buf, int(n)) : "Systemfehler " + std::to_string(code);
    if (buf) LocalFree(buf);
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ')) s.pop_back();
    return s;
}

SemaphoreResult Kernel::createSemaphore(const std::string& name, long initial, long maximum) {
    SetLastError(0);  // a new semaphore does not reset it
    HANDLE s = CreateSemaphoreW(nullptr, initial, maximum, wide(name).c_str());
    lastError_ = GetLastError();
    return {reinterpret_cast<Handle>(s), lastError_};
}

void Kernel::closeHandle(Handle h) { CloseHandle(reinterpret_cast<HANDLE>(h)); }

void Kernel::sleep(uint32_t ms) { Sleep(ms); }

std::string Kernel::moduleFileName() {
    std::wstring buf(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buf.data(), DWORD(buf.size()));
        if (n < buf.size()) return utf8(buf.c_str(), int(n));
        buf.resize(buf.size() * 2);
    }
}

Handle Kernel::loadLibrary(const std::string& name) {
    HMODULE m = LoadLibraryW(wide(name).c_str());
    if (!m) lastError_ = GetLastError();
    return reinterpret_cast<Handle>(m);
}

void Kernel::freeLibrary(Handle module) {
    if (module) FreeLibrary(reinterpret_cast<HMODULE>(module));
}

// ---------------------------------------------------------------- locale
namespace {
std::string localeText(LCTYPE type) {
    wchar_t buf[128] = {};
    int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buf, 128);
    return n > 0 ? utf8(buf) : std::string();
}
}  // namespace

Locale::Locale() {
    settings_.shortDateFormat = localeText(LOCALE_SSHORTDATE);
    std::string d = localeText(LOCALE_SDATE);
    std::string t = localeText(LOCALE_STIME);
    settings_.dateSeparator = d.empty() ? '/' : d[0];
    settings_.timeSeparator = t.empty() ? ':' : t[0];
}

std::string Locale::ansiFromUtf8(const std::string& text) {
    const std::wstring w = wide(text);
    if (w.empty()) return {};
    int n = WideCharToMultiByte(CP_ACP, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, w.data(), int(w.size()), out.data(), n, nullptr, nullptr);
    return out;
}

int Locale::currentYear() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return st.wYear;
}

}  // namespace qm::win32
