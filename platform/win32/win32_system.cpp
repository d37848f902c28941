#include <windows.h>

#include "platform/win32/utf.h"
#include "platform/win32/win32_system.h"

namespace qm::win32 {

// ---------------------------------------------------------------- version resources
uint32_t VersionInfo::getFileVersionInfoSize(const std::string& file) {
    DWORD ignored = 0;
    return GetFileVersionInfoSizeW(wide(file).c_str(), &ignored);
}

bool VersionInfo::getFileVersionInfo(const std::string& file, std::vector<uint8_t>& block) {
    return block.size() > 0 && GetFileVersionInfoW(wide(file).c_str(), 0, DWORD(block.size()), block.data());
}

bool VersionInfo::verQueryValueBinary(const std::vector<uint8_t>& block, const std::string& subBlock,
                                      std::vector<uint8_t>& value) {
    void* p = nullptr;
    UINT len = 0;
    if (block.empty() || !VerQueryValueW(block.data(), wide(subBlock).c_str(), &p, &len) || !p) return false;
    const uint8_t* b = static_cast<const uint8_t*>(p);
    value.assign(b, b + len);
    return true;
}

bool VersionInfo::verQueryValueText(const std::vector<uint8_t>& block, const std::string& subBlock,
                                    std::string& value) {
    void* p = nullptr;
    UINT len = 0;  // characters, with the terminator when there is one
    if (block.empty() || !VerQueryValueW(block.data(), wide(subBlock).c_str(), &p, &len) || !p) return false;
    const wchar_t* w = static_cast<const wchar_t*>(p);
    size_t n = 0;
    while (n < len && w[n] != L'\0') ++n;
    value = utf8(w, int(n));
    return true;
}

// ---------------------------------------------------------------- services
namespace {
SC_HANDLE sc(ScHandle h) { return reinterpret_cast<SC_HANDLE>(h); }
}  // namespace

ScHandle Services::openSCManager(uint32_t access) {
    return reinterpret_cast<ScHandle>(OpenSCManagerW(nullptr, nullptr, access));
}

ScHandle Services::openService(ScHandle manager, const std::string& serviceName, uint32_t access) {
    if (!manager) return 0;
    return reinterpret_cast<ScHandle>(OpenServiceW(sc(manager), wide(serviceName).c_str(), access));
}

bool Services::queryServiceStatus(ScHandle service, uint32_t& currentState) {
    SERVICE_STATUS s{};
    if (!service || !QueryServiceStatus(sc(service), &s)) return false;
    currentState = s.dwCurrentState;
    return true;
}

void Services::closeServiceHandle(ScHandle handle) {
    if (handle) CloseServiceHandle(sc(handle));
}

// ---------------------------------------------------------------- processes
uint32_t Processes::createProcess(const std::string& commandLine, uint32_t creationFlags, uint16_t showWindow,
                                  ProcessInfo& out) {
    // CreateProcessW may write into the command line; it gets a copy of its own, whole.
    std::wstring line = wide(commandLine);
    line.push_back(L'\0');
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = showWindow;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, creationFlags, nullptr, nullptr, &si, &pi))
        return GetLastError();
    out.process = reinterpret_cast<Handle>(pi.hProcess);
    out.thread = reinterpret_cast<Handle>(pi.hThread);
    out.processId = pi.dwProcessId;
    return 0;
}

uint32_t Processes::waitForSingleObject(Handle handle, uint32_t milliseconds) {
    return WaitForSingleObject(reinterpret_cast<HANDLE>(handle), milliseconds);
}

bool Processes::getExitCodeProcess(Handle process, uint32_t& exitCode) {
    DWORD c = 0;
    if (!GetExitCodeProcess(reinterpret_cast<HANDLE>(process), &c)) return false;
    exitCode = c;
    return true;
}

void Processes::closeHandle(Handle handle) {
    if (handle) CloseHandle(reinterpret_cast<HANDLE>(handle));
}

}  // namespace qm::win32
