#pragma once
#include <cstdint>

namespace qm {
class IKernel;
struct OsVersionInfo;

enum class WindowsVersion : uint8_t {
    Unknown = 0,
    Win31,
    Win95,
    Win95OSR2,
    Win98,
    Win98SE,
    WinMe,
    Win9x,
    WinNT35,
    WinNT4,
    Win2000,
    WinXP,
    WinNT,
    WinServer2003,
    WinVista,  // Vista and every later version
};

// Probes kernel32's exports, newest first; GetVersionEx decides only when none exists.
// Raises EOSError when kernel32 is not loaded.
WindowsVersion getWindowsVersion(IKernel& kernel);

// The decision by the OS version record alone.
WindowsVersion windowsVersionFromVersionInfo(const OsVersionInfo& info);

// The setup runs on XP, Server 2003 and Vista or later only.
bool istWindowsVersionAbgelehnt(WindowsVersion v);

}  // namespace qm
