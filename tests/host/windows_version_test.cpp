#include <gtest/gtest.h>

#include "app/get_windows_version.h"
#include "platform/sim/sim_machine.h"
#include "platform/types.h"

namespace qm {
namespace {

using WV = WindowsVersion;

struct ExportCase {
    std::vector<std::string> exports;
    WV expected;
};

TEST(GetWindowsVersion, NewestExistingExportDecides) {
    const std::vector<ExportCase> cases = {
        {{"GetLocaleInfoEx", "GetNativeSystemInfo", "Beep"}, WV::WinVista},
        {{"GetLargePageMinimum", "GetNativeSystemInfo"}, WV::WinServer2003},
        {{"GetNativeSystemInfo", "ReplaceFile"}, WV::WinXP},
        {{"ReplaceFile", "OpenThread"}, WV::Win2000},
        {{"OpenThread", "IsDebuggerPresent"}, WV::WinMe},
        {{"GetThreadPriorityBoost", "IsDebuggerPresent"}, WV::WinNT4},
        {{"IsDebuggerPresent", "Beep"}, WV::Win98},
        {{"GetDiskFreeSpaceEx"}, WV::Win95OSR2},
        {{"ConnectNamedPipe", "Beep"}, WV::WinNT35},
        {{"Beep"}, WV::Win95},
    };
    for (const auto& c : cases) {
        sim::SimKernel k;
        k.exports = {c.exports.begin(), c.exports.end()};
        k.version = {2, 0, 0, 0, ""};  // would say "Unknown" if it were asked
        EXPECT_EQ(getWindowsVersion(k), c.expected) << c.exports.front();
    }
}

struct VersionCase {
    OsVersionInfo info;
    WV expected;
};

TEST(GetWindowsVersion, VersionRecordDecidesWithoutProbedExports) {
    const std::vector<VersionCase> cases = {
        {{3, 10, 0, 0, ""}, WV::Win31},
        {{4, 0, 950, 1, " B"}, WV::Win95OSR2},
        {{4, 0, 950, 1, " C"}, WV::Win95},
        {{4, 0, 950, 1, ""}, WV::Win95},
        {{4, 10, 2222, 1, " A "}, WV::Win98SE},
        {{4, 10, 1998, 1, ""}, WV::Win98},
        {{4, 90, 0x045A0BB8, 1, ""}, WV::WinMe},
        {{4, 90, 3001, 1, ""}, WV::Unknown},
        {{4, 3, 0, 1, ""}, WV::Win9x},
        {{3, 51, 1057, 2, ""}, WV::WinNT35},
        {{4, 0, 1381, 2, "Service Pack 6"}, WV::WinNT4},
        {{5, 0, 2195, 2, ""}, WV::Win2000},
        {{5, 1, 2600, 2, ""}, WV::WinXP},
        {{5, 2, 3790, 2, ""}, WV::WinServer2003},
        {{5, 3, 0, 2, ""}, WV::WinNT},
        {{6, 1, 7601, 2, ""}, WV::WinVista},
        {{6, 3, 9600, 2, ""}, WV::WinVista},
        {{10, 0, 19045, 2, ""}, WV::Unknown},
        {{6, 0, 0, 3, ""}, WV::Unknown},
    };
    for (const auto& c : cases) {
        sim::SimKernel k;
        k.exports.clear();
        k.version = c.info;
        EXPECT_EQ(getWindowsVersion(k), c.expected)
            << c.info.platformId << " " << c.info.major << "." << c.info.minor << " '" << c.info.csdVersion << "'";
    }
}

TEST(GetWindowsVersion, RefusedAndAcceptedSet) {
    for (int v = 0; v <= 14; ++v) {
        auto wv = static_cast<WV>(v);
        bool accepted = wv == WV::WinXP || wv == WV::WinServer2003 || wv == WV::WinVista;
        EXPECT_EQ(istWindowsVersionAbgelehnt(wv), !accepted) << v;
    }
}

TEST(GetWindowsVersion, MissingKernel32RaisesTheSystemError) {
    sim::SimKernel k;
    k.kernel32Loaded = false;
    try {
        getWindowsVersion(k);
        FAIL() << "expected EOSError";
    } catch (const EOSError& e) {
        EXPECT_EQ(e.code(), 126u);
    }
}

}  // namespace
}  // namespace qm
