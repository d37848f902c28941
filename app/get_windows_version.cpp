#include "app/get_windows_version.h"

#include "platform/kernel.h"
#include "platform/types.h"

namespace qm {

namespace {

struct ExportProbe {
    const char* name;
    WindowsVersion result;
};

// Each export first appeared in the version it stands for.
constexpr ExportProbe kProbes[] = {
    {"GetLocaleInfoEx", WindowsVersion::WinVista},
    {"GetLargePageMinimum", WindowsVersion::WinServer2003},
    {"GetNativeSystemInfo", WindowsVersion::WinXP},
    {"ReplaceFile", WindowsVersion::Win2000},
    {"OpenThread", WindowsVersion::WinMe},
    {"GetThreadPriorityBoost", WindowsVersion::WinNT4},
    {"IsDebuggerPresent", WindowsVersion::Win98},
    {"GetDiskFreeSpaceEx", WindowsVersion::Win95OSR2},
    {"ConnectNamedPipe", WindowsVersion::WinNT35},
    {"Beep", WindowsVersion::Win95},
};

std::string secondCharTrimmed(const std::string& csd) {
    if (csd.size() < 2) return "";
    char c = csd[1];
    return c == ' ' ? std::string() : std::string(1, c);
}

}  // namespace

WindowsVersion windowsVersionFromVersionInfo(const OsVersionInfo& v) {
    switch (v.platformId) {
    case 0: return WindowsVersion::Win31;
    case 1:
        if (v.minor == 0)
            return secondCharTrimmed(v.csdVersion) == "B" ? WindowsVersion::Win95OSR2 : WindowsVersion::Win95;
        if (v.minor == 10)
            return secondCharTrimmed(v.csdVersion) == "A" ? WindowsVersion::Win98SE : WindowsVersion::Win98;
        if (v.minor == 90) return v.build == 0x045A0BB8u ? WindowsVersion::WinMe : WindowsVersion::Unknown;
        return WindowsVersion::Win9x;
    case 2:
        switch (v.major) {
        case 3: return WindowsVersion::WinNT35;
        case 4: return WindowsVersion::WinNT4;
        case 5:
            if (v.minor == 0) return WindowsVersion::Win2000;
            if (v.minor == 1) return WindowsVersion::WinXP;
            if (v.minor == 2) return WindowsVersion::WinServer2003;
            return WindowsVersion::WinNT;
        case 6: return WindowsVersion::WinVista;
        default: return WindowsVersion::Unknown;
        }
    default: return WindowsVersion::Unknown;
    }
}

WindowsVersion getWindowsVersion(IKernel& kernel) {
    Handle k = kernel.getModuleHandle("kernel32");
    if (k == 0) {
        uint32_t code = kernel.lastError();
        throw EOSError(code, kernel.errorText(code));
    }
    for (const auto& p : kProbes)
        if (kernel.hasExport(k, p.name)) return p.result;
    OsVersionInfo info;
    if (!kernel.getVersionEx(info)) return WindowsVersion::Unknown;
    return windowsVersionFromVersionInfo(info);
}

bool istWindowsVersionAbgelehnt(WindowsVersion v) {
    return !(v == WindowsVersion::WinXP || v == WindowsVersion::WinServer2003 || v == WindowsVersion::WinVista);
}

}  // namespace qm
