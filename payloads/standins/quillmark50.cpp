// Stand-in for the application, Quillmark50.exe.
//
//   Quillmark50.exe [--hold-ms N]
//
// While it runs it holds the semaphore by which the setup tells that the
// application is running. It shows a small window until that is closed (or
// sleeps, where no window can be made) and ends after N ms when asked to.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cwchar>
#include <cstdlib>
#include <cwctype>

namespace {

const wchar_t kSemaphore[] = L"Quillmark 5.0 - Privatliquidation";
const wchar_t kClass[] = L"QuillmarkStandInWindow";
constexpr UINT_PTR kHoldTimer = 1;

LRESULT CALLBACK windowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_TIMER:
            if (wp == kHoldTimer) DestroyWindow(w);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(w, msg, wp, lp);
    }
}

// INFINITE when not given; a malformed value counts as not given.
DWORD holdMs() {
    for (int i = 1; i + 1 < __argc; ++i) {
        if (_wcsicmp(__wargv[i], L"--hold-ms") != 0) continue;
        const wchar_t* s = __wargv[i + 1];
        wchar_t* end = nullptr;
        unsigned long v = wcstoul(s, &end, 10);
        if (*s && iswdigit(*s) && end && *end == L'\0') return static_cast<DWORD>(v);
    }
    return INFINITE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, wchar_t*, int show) {
    HANDLE sem = CreateSemaphoreW(nullptr, 0, 1, kSemaphore);
    DWORD hold = holdMs();

    WNDCLASSW wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClass;
    HWND w = RegisterClassW(&wc)
                 ? CreateWindowW(kClass, L"Quillmark 5.0", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                 CW_USEDEFAULT, 320, 120, nullptr, nullptr, inst, nullptr)
                 : nullptr;
    if (w) {
        CreateWindowW(L"STATIC", L"Quillmark 5.0 (Platzhalter)", WS_CHILD | WS_VISIBLE, 12, 12,
                      280, 20, w, nullptr, inst, nullptr);
        if (hold != INFINITE) SetTimer(w, kHoldTimer, hold, nullptr);
        ShowWindow(w, show);
        MSG m;
        while (GetMessageW(&m, nullptr, 0, 0) > 0) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
    } else {
        Sleep(hold);
    }
    if (sem) CloseHandle(sem);
    return 0;
}
