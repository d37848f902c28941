// Stand-in for the old server's uninstaller, lying in the old server's root
// folder (the folder "DefaultInstance" names).
//
//   unins000.exe [/SILENT | /VERYSILENT] [/NoRestart] [other /options ignored]
//
// Stops and deletes the service FirebirdServerDefaultInstance, deletes the
// folder tree it lies in, and deletes the registry value DefaultInstance under
// HKLM\SOFTWARE\Firebird Project\Firebird Server\Instances. A running exe
// cannot delete itself, so unins000.exe and the then empty folder are only
// scheduled for deletion at the next restart; no restart is ever started.
//
// Exit codes: 0 done, 1 cancelled by the user (without /SILENT),
// 2 the service could not be stopped or deleted (nothing else was touched),
// 3 some files could not be deleted.
#include <algorithm>
#include <cstdlib>

#include "standin_common.h"

using namespace standin;

namespace {

const wchar_t kTool[] = L"unins000";
const wchar_t kInstancesKey[] = L"SOFTWARE\\Firebird Project\\Firebird Server\\Instances";

enum ExitCode { kOk = 0, kCancelled = 1, kServiceFailed = 2, kFilesLeft = 3 };

DWORD removeService() {
    ScHandle scm(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!scm) return GetLastError();
    const std::wstring name = serviceName(kDefaultInstance);
    {
        ScHandle svc(OpenServiceW(scm.h, name.c_str(), DELETE | SERVICE_STOP | SERVICE_QUERY_STATUS));
        if (!svc) {
            DWORD e = GetLastError();
            return e == ERROR_SERVICE_DOES_NOT_EXIST ? ERROR_SUCCESS : e;
        }
        if (DWORD e = stopAndWait(svc.h, kServiceWaitMs)) return e;
        if (!DeleteService(svc.h) && GetLastError() != ERROR_SERVICE_MARKED_FOR_DELETE)
            return GetLastError();
    }
    waitUntilGone(scm.h, name, kServiceWaitMs);
    return ERROR_SUCCESS;
}

// Deletes everything below dir (with trailing backslash) except `keep`.
// Returns the number of entries that could not be deleted.
int deleteTree(const std::wstring& dir, const std::wstring& keep) {
    int failures = 0;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir + L"*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return 0;
    do {
        std::wstring n = fd.cFileName;
        if (n == L"." || n == L"..") continue;
        std::wstring p = dir + n;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
            SetFileAttributesW(p.c_str(), fd.dwFileAttributes & ~FILE_ATTRIBUTE_READONLY);
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            failures += deleteTree(p + L"\\", keep);
            if (!RemoveDirectoryW(p.c_str())) {
                errorOut(kTool, L"cannot delete folder " + p, GetLastError());
                ++failures;
            }
        } else if (_wcsicmp(p.c_str(), keep.c_str()) != 0 && !DeleteFileW(p.c_str())) {
            errorOut(kTool, L"cannot delete " + p, GetLastError());
            ++failures;
        }
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return failures;
}

// The old server is a 32-bit program: its registration lives in the 32-bit view, also
// when this tool is built for x86-64 to run under wine64.
constexpr REGSAM kView32 = KEY_WOW64_32KEY;

bool isEmptyKey(HKEY parent, const std::wstring& sub) {
    HKEY k;
    if (RegOpenKeyExW(parent, sub.c_str(), 0, KEY_QUERY_VALUE | kView32, &k) != ERROR_SUCCESS) return false;
    DWORD subKeys = 1, values = 1;
    RegQueryInfoKeyW(k, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(k);
    return subKeys == 0 && values == 0;
}

void removeRegistration() {
    HKEY k;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kInstancesKey, 0, KEY_SET_VALUE | kView32, &k) != ERROR_SUCCESS)
        return;
    LONG e = RegDeleteValueW(k, kDefaultInstance);
    RegCloseKey(k);
    if (e != ERROR_SUCCESS && e != ERROR_FILE_NOT_FOUND)
        errorOut(kTool, L"cannot delete the registry value DefaultInstance", static_cast<DWORD>(e));
    // Drop the keys the server's installer made, but only while nothing else
    // (another instance, another Firebird version) lives in them.
    std::wstring key = kInstancesKey;
    for (int i = 0; i < 3 && isEmptyKey(HKEY_LOCAL_MACHINE, key); ++i) {
        if (RegDeleteKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), kView32, 0) != ERROR_SUCCESS) break;
        key.erase(key.find_last_of(L'\\'));
    }
}

bool isDriveRoot(const std::wstring& dir) {
    return dir.size() <= 3 || (dir.rfind(L"\\\\", 0) == 0 && std::count(dir.begin(), dir.end(), L'\\') <= 4);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, wchar_t*, int) {
    bool silent = false;
    for (int i = 1; i < __argc; ++i) {
        std::wstring w = __wargv[i];
        if (iequals(w, L"/SILENT") || iequals(w, L"/VERYSILENT")) silent = true;
    }
    if (!silent &&
        MessageBoxW(nullptr,
                    L"M\u00f6chten Sie Firebird 2.5.2 und alle zugeh\u00f6rigen Komponenten "
                    L"vollst\u00e4ndig entfernen?",
                    L"Firebird 2.5.2 deinstallieren", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return kCancelled;

    if (DWORD e = removeService()) {
        errorOut(kTool, L"cannot remove the service " + serviceName(kDefaultInstance), e);
        return kServiceFailed;
    }

    const std::wstring self = modulePath();
    const std::wstring root = folderOf(self);
    int failures = 0;
    // Only a folder that looks like a server installation is emptied, so a
    // copy of this exe started from a wrong place cannot wipe it.
    DWORD binAttr = GetFileAttributesW((root + L"bin").c_str());
    bool looksInstalled = (binAttr != INVALID_FILE_ATTRIBUTES && (binAttr & FILE_ATTRIBUTE_DIRECTORY)) ||
                          fileExists(root + L"firebird.conf");
    if (looksInstalled && !isDriveRoot(root)) {
        failures = deleteTree(root, self);
        MoveFileExW(self.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
        std::wstring folder = root.substr(0, root.size() - 1);
        MoveFileExW(folder.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    }

    removeRegistration();
    if (failures) {
        messageOut(stderr, kTool, std::to_wstring(failures) + L" file(s) or folder(s) left in " + root);
        return kFilesLeft;
    }
    return kOk;
}
