// Stand-in for the database server's service tool.
//
//   instsvc install [-auto | -a | -demand | -d] [-n INSTANCE]
//   instsvc start   [-n INSTANCE]
//   instsvc stop    [-n INSTANCE]
//   instsvc remove  [-n INSTANCE]
//   instsvc query   [-n INSTANCE]
//
// Words may come in any order and any case; INSTANCE defaults to
// DefaultInstance. The service is "FirebirdServer" + INSTANCE and runs the
// server exe lying beside this tool (firebird.exe, else fbserver.exe).
//
// Exit codes: 0 done, 1 bad command line, 2 service manager not reachable,
// 3 the operation failed, 4 the service did not reach the state in time,
// 5 no server exe beside the tool.
#include "standin_common.h"

using namespace standin;

namespace {

const wchar_t kTool[] = L"instsvc";

enum ExitCode { kOk = 0, kUsage = 1, kNoScm = 2, kFailed = 3, kTimeout = 4, kNoServerExe = 5 };

enum class Command { None, Install, Start, Stop, Remove, Query };

struct Args {
    Command command = Command::None;
    bool autoStart = true;
    std::wstring instance = kDefaultInstance;
};

int usage(const std::wstring& why) {
    fwprintf(stderr,
             L"%ls: %ls\n"
             L"usage: instsvc install [-auto|-demand] [-n INSTANCE]\n"
             L"       instsvc start|stop|remove|query [-n INSTANCE]\n",
             kTool, why.c_str());
    return kUsage;
}

bool parse(int argc, wchar_t** argv, Args& a, std::wstring& error) {
    for (int i = 1; i < argc; ++i) {
        std::wstring w = argv[i];
        Command c = Command::None;
        if (iequals(w, L"install")) c = Command::Install;
        else if (iequals(w, L"start")) c = Command::Start;
        else if (iequals(w, L"stop")) c = Command::Stop;
        else if (iequals(w, L"remove")) c = Command::Remove;
        else if (iequals(w, L"query")) c = Command::Query;
        if (c != Command::None) {
            if (a.command != Command::None) {
                error = L"more than one command given";
                return false;
            }
            a.command = c;
        } else if (iequals(w, L"-auto") || iequals(w, L"-a")) {
            a.autoStart = true;
        } else if (iequals(w, L"-demand") || iequals(w, L"-d")) {
            a.autoStart = false;
        } else if (iequals(w, L"-n") || iequals(w, L"-name")) {
            if (i + 1 >= argc || argv[i + 1][0] == L'\0') {
                error = L"-n needs an instance name";
                return false;
            }
            a.instance = argv[++i];
        } else {
            error = L"unknown argument \"" + w + L"\"";
            return false;
        }
    }
    if (a.command == Command::None) {
        error = L"no command given";
        return false;
    }
    return true;
}

std::wstring quoteIfBlank(const std::wstring& s) {
    return s.find_first_of(L" \t") == std::wstring::npos ? s : L"\"" + s + L"\"";
}

int install(SC_HANDLE scm, const Args& a) {
    const std::wstring dir = moduleFolder();
    std::wstring exe = dir + L"firebird.exe";
    if (!fileExists(exe)) exe = dir + L"fbserver.exe";
    if (!fileExists(exe)) {
        messageOut(stderr, kTool, L"neither firebird.exe nor fbserver.exe found in " + dir);
        return kNoServerExe;
    }
    const std::wstring name = serviceName(a.instance);
    const std::wstring display = L"Firebird Server - " + a.instance;
    const std::wstring binPath = L"\"" + exe + L"\" -s " + quoteIfBlank(a.instance);
    ScHandle svc(CreateServiceW(scm, name.c_str(), display.c_str(), SERVICE_ALL_ACCESS,
                                SERVICE_WIN32_OWN_PROCESS,
                                a.autoStart ? SERVICE_AUTO_START : SERVICE_DEMAND_START,
                                SERVICE_ERROR_NORMAL, binPath.c_str(), nullptr, nullptr, nullptr,
                                nullptr, nullptr));
    if (!svc) {
        errorOut(kTool, L"cannot create service " + name, GetLastError());
        return kFailed;
    }
    messageOut(stdout, kTool, L"service " + name + L" installed: " + binPath);
    return kOk;
}

int start(SC_HANDLE scm, const Args& a) {
    const std::wstring name = serviceName(a.instance);
    ScHandle svc(OpenServiceW(scm, name.c_str(), SERVICE_START | SERVICE_QUERY_STATUS));
    if (!svc) {
        errorOut(kTool, L"cannot open service " + name, GetLastError());
        return kFailed;
    }
    if (!StartServiceW(svc.h, 0, nullptr)) {
        DWORD e = GetLastError();
        if (e != ERROR_SERVICE_ALREADY_RUNNING) {
            errorOut(kTool, L"cannot start service " + name, e);
            return kFailed;
        }
    }
    DWORD state = 0;
    if (!waitForState(svc.h, SERVICE_RUNNING, kServiceWaitMs, state)) {
        SERVICE_STATUS st{};
        QueryServiceStatus(svc.h, &st);
        if (state == SERVICE_STOPPED) {
            DWORD code = st.dwWin32ExitCode == ERROR_SERVICE_SPECIFIC_ERROR
                             ? st.dwServiceSpecificExitCode
                             : st.dwWin32ExitCode;
            errorOut(kTool, L"service " + name + L" stopped while starting", code);
            return kFailed;
        }
        messageOut(stderr, kTool,
                   L"service " + name + L" not running after 30 s (state " +
                       std::to_wstring(state) + L")");
        return kTimeout;
    }
    messageOut(stdout, kTool, L"service " + name + L" running");
    return kOk;
}

int stop(SC_HANDLE scm, const Args& a) {
    const std::wstring name = serviceName(a.instance);
    ScHandle svc(OpenServiceW(scm, name.c_str(), SERVICE_STOP | SERVICE_QUERY_STATUS));
    if (!svc) {
        errorOut(kTool, L"cannot open service " + name, GetLastError());
        return kFailed;
    }
    DWORD e = stopAndWait(svc.h, kServiceWaitMs);
    if (e == ERROR_SERVICE_REQUEST_TIMEOUT) {
        messageOut(stderr, kTool, L"service " + name + L" not stopped after 30 s");
        return kTimeout;
    }
    if (e != ERROR_SUCCESS) {
        errorOut(kTool, L"cannot stop service " + name, e);
        return kFailed;
    }
    messageOut(stdout, kTool, L"service " + name + L" stopped");
    return kOk;
}

int removeService(SC_HANDLE scm, const Args& a) {
    const std::wstring name = serviceName(a.instance);
    {
        ScHandle svc(OpenServiceW(scm, name.c_str(), DELETE | SERVICE_STOP | SERVICE_QUERY_STATUS));
        if (!svc) {
            DWORD e = GetLastError();
            // The setup removes before every install, also on a fresh machine.
            if (e == ERROR_SERVICE_DOES_NOT_EXIST) {
                messageOut(stdout, kTool, L"service " + name + L" is not installed");
                return kOk;
            }
            errorOut(kTool, L"cannot open service " + name, e);
            return kFailed;
        }
        // A running service would only be marked for deletion and block the
        // next install, so bring it down first.
        DWORD e = stopAndWait(svc.h, kServiceWaitMs);
        if (e != ERROR_SUCCESS) {
            errorOut(kTool, L"cannot stop service " + name + L" before removing it", e);
            return e == ERROR_SERVICE_REQUEST_TIMEOUT ? kTimeout : kFailed;
        }
        if (!DeleteService(svc.h)) {
            e = GetLastError();
            if (e != ERROR_SERVICE_MARKED_FOR_DELETE) {
                errorOut(kTool, L"cannot remove service " + name, e);
                return kFailed;
            }
        }
    }
    waitUntilGone(scm, name, kServiceWaitMs);
    messageOut(stdout, kTool, L"service " + name + L" removed");
    return kOk;
}

int query(SC_HANDLE scm, const Args& a) {
    const std::wstring name = serviceName(a.instance);
    ScHandle svc(OpenServiceW(scm, name.c_str(), SERVICE_QUERY_STATUS));
    if (!svc) {
        errorOut(kTool, L"cannot open service " + name, GetLastError());
        return kFailed;
    }
    DWORD state = 0;
    if (!queryState(svc.h, state)) {
        errorOut(kTool, L"cannot query service " + name, GetLastError());
        return kFailed;
    }
    const wchar_t* text = state == SERVICE_RUNNING   ? L"running"
                          : state == SERVICE_STOPPED ? L"stopped"
                                                     : L"pending";
    messageOut(stdout, kTool, L"service " + name + L" is " + text);
    return kOk;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    Args a;
    std::wstring error;
    if (!parse(argc, argv, a, error)) return usage(error);

    DWORD access = SC_MANAGER_CONNECT | (a.command == Command::Install ? SC_MANAGER_CREATE_SERVICE : 0);
    ScHandle scm(OpenSCManagerW(nullptr, nullptr, access));
    if (!scm) {
        errorOut(kTool, L"cannot open the service control manager", GetLastError());
        return kNoScm;
    }
    switch (a.command) {
        case Command::Install: return install(scm.h, a);
        case Command::Start: return start(scm.h, a);
        case Command::Stop: return stop(scm.h, a);
        case Command::Remove: return removeService(scm.h, a);
        case Command::Query: return query(scm.h, a);
        case Command::None: break;
    }
    return kUsage;
}
