// Windows-side helper for the stand-in checks under Wine: runs a command line
// the way the setup does and reads what the setup reads.
//
//   probe run "CMDLINE"     CreateProcess as the setup's runProzess does;
//                           prints "exit=N" with the full 32-bit code
//   probe sem NAME          exit 0 when the semaphore NAME exists
//   probe ver FILE KEY      prints the version string KEY, looked up through
//                           the first translation entry
//   probe svc NAME          prints the service state (1 stopped, 4 running)
//                           or "missing"
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <vector>

namespace {

int run(const wchar_t* cmd) {
    wchar_t buf[513] = {};
    wcsncpy(buf, cmd, 512);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, buf, nullptr, nullptr, FALSE,
                        CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, nullptr, nullptr, &si, &pi)) {
        wprintf(L"start failed %lu\n", GetLastError());
        return 2;
    }
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    wprintf(L"exit=%lu\n", code);
    return 0;
}

int ver(const wchar_t* file, const wchar_t* key) {
    DWORD dummy = 0, size = GetFileVersionInfoSizeW(file, &dummy);
    if (!size) {
        wprintf(L"<no version info>\n");
        return 1;
    }
    std::vector<BYTE> block(size);
    GetFileVersionInfoW(file, 0, size, block.data());
    WORD* tr = nullptr;
    UINT len = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&tr), &len) ||
        len < 4) {
        wprintf(L"<no translation>\n");
        return 1;
    }
    wchar_t path[128];
    swprintf(path, 128, L"\\StringFileInfo\\%04x%04x\\%ls", tr[0], tr[1], key);
    wchar_t* value = nullptr;
    if (!VerQueryValueW(block.data(), path, reinterpret_cast<void**>(&value), &len)) {
        wprintf(L"<no %ls>\n", path);
        return 1;
    }
    wprintf(L"%ls\n", value);
    return 0;
}

int svc(const wchar_t* name) {
    SC_HANDLE scm = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE s = scm ? OpenServiceW(scm, name, SERVICE_QUERY_STATUS) : nullptr;
    SERVICE_STATUS st{};
    if (s && QueryServiceStatus(s, &st))
        wprintf(L"%lu\n", st.dwCurrentState);
    else
        wprintf(L"missing\n");
    if (s) CloseServiceHandle(s);
    if (scm) CloseServiceHandle(scm);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && !wcscmp(argv[1], L"run")) return run(argv[2]);
    if (argc == 3 && !wcscmp(argv[1], L"sem")) {
        HANDLE h = OpenSemaphoreW(SYNCHRONIZE, FALSE, argv[2]);
        if (h) CloseHandle(h);
        wprintf(h ? L"present\n" : L"absent\n");
        return h ? 0 : 1;
    }
    if (argc == 4 && !wcscmp(argv[1], L"ver")) return ver(argv[2], argv[3]);
    if (argc == 3 && !wcscmp(argv[1], L"svc")) return svc(argv[2]);
    fwprintf(stderr, L"usage: probe run CMDLINE | sem NAME | ver FILE KEY | svc NAME\n");
    return 64;
}
