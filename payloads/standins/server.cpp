// Stand-in for the database server exe (built as firebird.exe and as the
// old server's fbserver.exe).
//
//   <exe> -s INSTANCE   run as the service "FirebirdServer" + INSTANCE
//   <exe> -a            run in this console until Ctrl+C (for debugging)
//
// It listens on 127.0.0.1 at RemoteServicePort from firebird.conf (default
// 3050), accepts connections and closes them at once: enough for "the
// server runs and its port answers".
#include <winsock2.h>
#include <ws2tcpip.h>

#include "standin_common.h"

using namespace standin;

namespace {

const wchar_t* g_tool = L"server";
std::wstring g_serviceName;
SERVICE_STATUS_HANDLE g_statusHandle = nullptr;
SERVICE_STATUS g_status{};
HANDLE g_stopEvent = nullptr;

void report(DWORD state, DWORD win32Exit = NO_ERROR, DWORD specificExit = 0, DWORD waitHint = 0) {
    static DWORD checkPoint = 1;
    g_status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    g_status.dwCurrentState = state;
    g_status.dwControlsAccepted =
        state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN : 0;
    g_status.dwWin32ExitCode = win32Exit;
    g_status.dwServiceSpecificExitCode = specificExit;
    g_status.dwWaitHint = waitHint;
    g_status.dwCheckPoint =
        (state == SERVICE_RUNNING || state == SERVICE_STOPPED) ? 0 : checkPoint++;
    SetServiceStatus(g_statusHandle, &g_status);
}

// Runs the listener until g_stopEvent is set. onListening is called once the
// port is bound. Returns 0 or the Winsock error that kept it from listening.
template <class F>
int serve(int port, F onListening) {
    WSADATA wsa;
    if (int e = WSAStartup(MAKEWORD(2, 2), &wsa)) return e;
    int result = 0;
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    WSAEVENT acceptEvent = WSACreateEvent();
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<u_short>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (listener == INVALID_SOCKET || acceptEvent == WSA_INVALID_EVENT ||
        bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == SOCKET_ERROR ||
        listen(listener, SOMAXCONN) == SOCKET_ERROR ||
        WSAEventSelect(listener, acceptEvent, FD_ACCEPT) == SOCKET_ERROR) {
        result = WSAGetLastError();
    } else {
        onListening();
        HANDLE waits[2] = {g_stopEvent, acceptEvent};
        while (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
            WSANETWORKEVENTS ne;
            WSAEnumNetworkEvents(listener, acceptEvent, &ne);
            for (;;) {
                SOCKET c = accept(listener, nullptr, nullptr);
                if (c == INVALID_SOCKET) break;
                closesocket(c);
            }
        }
    }
    if (listener != INVALID_SOCKET) closesocket(listener);
    if (acceptEvent != WSA_INVALID_EVENT) WSACloseEvent(acceptEvent);
    WSACleanup();
    return result;
}

DWORD WINAPI controlHandler(DWORD control, DWORD, void*, void*) {
    switch (control) {
        case SERVICE_CONTROL_STOP:
        case SERVICE_CONTROL_SHUTDOWN:
            report(SERVICE_STOP_PENDING, NO_ERROR, 0, 5000);
            SetEvent(g_stopEvent);
            return NO_ERROR;
        case SERVICE_CONTROL_INTERROGATE:
            SetServiceStatus(g_statusHandle, &g_status);
            return NO_ERROR;
        default:
            return ERROR_CALL_NOT_IMPLEMENTED;
    }
}

void WINAPI serviceMain(DWORD, wchar_t**) {
    g_statusHandle = RegisterServiceCtrlHandlerExW(g_serviceName.c_str(), controlHandler, nullptr);
    if (!g_statusHandle) return;
    report(SERVICE_START_PENDING, NO_ERROR, 0, 5000);
    int err = serve(configuredPort(), [] { report(SERVICE_RUNNING); });
    // A busy port shows up as the service-specific exit code in "sc query".
    if (err)
        report(SERVICE_STOPPED, ERROR_SERVICE_SPECIFIC_ERROR, static_cast<DWORD>(err));
    else
        report(SERVICE_STOPPED);
}

BOOL WINAPI consoleHandler(DWORD) {
    SetEvent(g_stopEvent);
    return TRUE;
}

int runInConsole() {
    std::wstring conf;
    int port = configuredPort(&conf);
    SetConsoleCtrlHandler(consoleHandler, TRUE);
    int err = serve(port, [&] {
        fwprintf(stdout, L"%ls: listening on 127.0.0.1:%d (%ls)\n", g_tool, port,
                 conf.empty() ? L"no firebird.conf" : conf.c_str());
        fflush(stdout);
    });
    if (err) {
        errorOut(g_tool, L"cannot listen on port " + std::to_wstring(port), static_cast<DWORD>(err));
        return 3;
    }
    return 0;
}

int usage() {
    fwprintf(stderr, L"usage: %ls -s INSTANCE   (started by the service manager)\n"
                     L"       %ls -a            (run in this console)\n",
             g_tool, g_tool);
    return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    static std::wstring tool = modulePath().substr(moduleFolder().size());
    if (!tool.empty()) g_tool = tool.c_str();
    g_stopEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);

    bool console = false;
    std::wstring instance;
    for (int i = 1; i < argc; ++i) {
        std::wstring w = argv[i];
        if (iequals(w, L"-a")) {
            console = true;
        } else if (iequals(w, L"-s") && i + 1 < argc) {
            instance = argv[++i];
        } else {
            return usage();
        }
    }
    if (console) return runInConsole();
    if (instance.empty()) return usage();

    g_serviceName = serviceName(instance);
    SERVICE_TABLE_ENTRYW table[] = {{g_serviceName.data(), serviceMain}, {nullptr, nullptr}};
    if (!StartServiceCtrlDispatcherW(table)) {
        errorOut(g_tool, L"not started by the service manager (use -a to run in a console)",
                 GetLastError());
        return 2;
    }
    return 0;
}
