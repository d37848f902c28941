// qmdriver: drives the setup's GUI from bash scripts under Wine, one command
// per invocation. Results go to stdout as UTF-8, errors to stderr; exit code 0
// on success, 1 on failure or timeout.
//
//   wait-window "<caption>" [timeout_ms]      prints the hwnd in hex
//   wait-gone "<caption>" [timeout_ms]
//   wait-msgbox [timeout_ms] [caption|*]      caption:, text:, button: lines
//   press-msgbox <button-id> [timeout_ms]
//   list                                      hwnd class caption pid
//   controls "<caption>"                      id class text vis en check rect
//   click "<caption>" "<button caption|#id>"
//   close "<caption>"
//   text "<caption>" <class|id>
//   settext "<caption>" <class|id> "<text>"
//   key "<caption>" <class|id> <virtual-key>  posts a key press to the control
//   rect "<caption>"                          window: l,t,r,b / client: WxH / enabled: 0|1
//   hold-semaphore "<name>" <ms|inf>
//   exitcode <cmdline...>                     prints the full 32-bit code
//
// A window argument is an exact caption of a visible top-level window, or
// "hwnd:0x..." when two windows share a caption.

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

const DWORD kPollMs = 50;
const DWORD kDefaultWaitMs = 15000;
// Commands acting on a window tolerate it appearing a little late.
const DWORD kFindMs = 5000;
// Never hang the script on a target that stopped pumping messages.
const UINT kSendMs = 2000;

std::string toUtf8(const std::wstring& w) {
    if (w.empty()) return std::string();
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), nullptr, 0, nullptr, nullptr);
    std::string s(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), &s[0], n, nullptr, nullptr);
    return s;
}

// Written unbuffered so a script reading a pipe sees each line at once
// (hold-semaphore's "held" must arrive while we keep running).
void writeTo(DWORD which, const std::wstring& w) {
    std::string s = toUtf8(w);
    HANDLE h = GetStdHandle(which);
    if (h == nullptr || h == INVALID_HANDLE_VALUE) return;
    DWORD done = 0;
    WriteFile(h, s.data(), (DWORD)s.size(), &done, nullptr);
    FlushFileBuffers(h);
}

void out(const std::wstring& line) { writeTo(STD_OUTPUT_HANDLE, line + L"\n"); }

int fail(const std::wstring& msg) {
    writeTo(STD_ERROR_HANDLE, L"qmdriver: " + msg + L"\n");
    return 1;
}

std::wstring hex(ULONG_PTR v) {
    wchar_t b[32];
    swprintf(b, 32, L"0x%llx", (unsigned long long)v);
    return b;
}

std::wstring num(long long v) {
    wchar_t b[32];
    swprintf(b, 32, L"%lld", v);
    return b;
}

bool parseNum(const std::wstring& s, unsigned long long& v) {
    if (s.empty()) return false;
    wchar_t* end = nullptr;
    v = wcstoull(s.c_str(), &end, 0);
    return end && *end == 0;
}

bool parseTimeout(int argc, wchar_t** argv, int i, DWORD def, DWORD& t) {
    t = def;
    if (i >= argc) return true;
    unsigned long long v;
    if (!parseNum(argv[i], v)) return false;
    t = (DWORD)v;
    return true;
}

std::wstring replaceAll(std::wstring s, const std::wstring& from, const std::wstring& to) {
    for (size_t p = 0; (p = s.find(from, p)) != std::wstring::npos; p += to.size())
        s.replace(p, from.size(), to);
    return s;
}

// Keeps one control per line in `controls`.
std::wstring escapeLine(const std::wstring& s) {
    std::wstring r;
    for (wchar_t c : s) {
        switch (c) {
        case L'\\': r += L"\\\\"; break;
        case L'\r': r += L"\\r"; break;
        case L'\n': r += L"\\n"; break;
        case L'\t': r += L"\\t"; break;
        default: r += c;
        }
    }
    return r;
}

std::wstring stripAmp(const std::wstring& s) {
    std::wstring r;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == L'&') {
            if (i + 1 < s.size() && s[i + 1] == L'&') { r += L'&'; ++i; }
            continue;
        }
        r += s[i];
    }
    return r;
}

std::wstring className(HWND h) {
    wchar_t b[256];
    int n = GetClassNameW(h, b, 256);
    return std::wstring(b, n > 0 ? n : 0);
}

bool classIs(HWND h, const wchar_t* cls) { return lstrcmpiW(className(h).c_str(), cls) == 0; }

// Top-level captions are kept by the window manager side, so this never
// blocks on the target.
std::wstring caption(HWND h) {
    int n = GetWindowTextLengthW(h);
    if (n <= 0) return std::wstring();
    std::vector<wchar_t> b(n + 1);
    n = GetWindowTextW(h, b.data(), n + 1);
    return std::wstring(b.data(), n > 0 ? n : 0);
}

// Edit controls keep their text in the owning process; only WM_GETTEXT
// reaches it.
std::wstring controlText(HWND h) {
    DWORD_PTR len = 0;
    if (!SendMessageTimeoutW(h, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendMs, &len))
        return caption(h);
    std::vector<wchar_t> b(len + 2, 0);
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutW(h, WM_GETTEXT, (WPARAM)(len + 1), (LPARAM)b.data(), SMTO_ABORTIFHUNG,
                             kSendMs, &got))
        return caption(h);
    if (got > len + 1) got = len + 1;
    return std::wstring(b.data(), wcsnlen(b.data(), got));
}

int ctrlId(HWND h) { return (int)GetWindowLongPtrW(h, GWLP_ID); }

BOOL CALLBACK collectTop(HWND h, LPARAM lp) {
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
    return TRUE;
}

// Z-order, topmost first: the newest dialog usually comes first.
std::vector<HWND> topLevels() {
    std::vector<HWND> v;
    EnumWindows(collectTop, (LPARAM)&v);
    return v;
}

// Depth-first in child z-order, which is creation order for dialogs.
void descendants(HWND parent, std::vector<HWND>& v) {
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        v.push_back(c);
        descendants(c, v);
    }
}

HWND findTop(const std::wstring& cap) {
    if (cap.compare(0, 5, L"hwnd:") == 0) {
        unsigned long long v;
        if (!parseNum(cap.substr(5), v)) return nullptr;
        HWND h = (HWND)(ULONG_PTR)v;
        return IsWindow(h) ? h : nullptr;
    }
    for (HWND h : topLevels())
        if (IsWindowVisible(h) && caption(h) == cap) return h;
    return nullptr;
}

template <class F>
bool pollUntil(DWORD timeoutMs, F done) {
    DWORD start = GetTickCount();
    for (;;) {
        if (done()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(kPollMs);
    }
}

HWND waitTop(const std::wstring& cap, DWORD timeoutMs) {
    HWND found = nullptr;
    pollUntil(timeoutMs, [&] { return (found = findTop(cap)) != nullptr; });
    return found;
}

bool isGone(HWND h) { return !IsWindow(h) || !IsWindowVisible(h); }

DWORD pidOf(HWND h) {
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    return pid;
}

// A dialog matches when it, its owner, or any top-level window of its process
// carries the caption; the last covers boxes shown after the main window went.
bool dialogMatches(HWND dlg, const std::wstring& filter) {
    if (filter == L"*") return true;
    if (caption(dlg) == filter) return true;
    HWND owner = GetWindow(dlg, GW_OWNER);
    if (owner && caption(owner) == filter) return true;
    DWORD pid = pidOf(dlg);
    for (HWND h : topLevels())
        if (pidOf(h) == pid && caption(h) == filter) return true;
    return false;
}

// Message boxes carry DS_NOIDLEMSG, ordinary dialogs rarely do; and a modal
// box disables its owner. Ranking by both keeps a dialog-based main window
// from hiding the box on top of it (it still matches when no box is up).
HWND findDialog(const std::wstring& filter) {
    HWND best = nullptr;
    int bestRank = -1;
    for (HWND h : topLevels()) {
        if (!IsWindowVisible(h) || !classIs(h, L"#32770") || !dialogMatches(h, filter)) continue;
        int rank = ((GetWindowLongW(h, GWL_STYLE) & DS_NOIDLEMSG) ? 2 : 0) + (IsWindowEnabled(h) ? 1 : 0);
        if (rank > bestRank) { best = h; bestRank = rank; }
    }
    return best;
}

HWND childById(HWND top, int id) {
    std::vector<HWND> v;
    descendants(top, v);
    for (HWND c : v)
        if ((ctrlId(c) & 0xFFFF) == (id & 0xFFFF)) return c;
    return nullptr;
}

// Numeric argument means a control id, anything else a class name.
HWND childBySelector(HWND top, const std::wstring& sel) {
    unsigned long long id;
    if (parseNum(sel, id)) return childById(top, (int)id);
    std::vector<HWND> v;
    descendants(top, v);
    for (HWND c : v)
        if (classIs(c, sel.c_str())) return c;
    return nullptr;
}

bool clickable(HWND h) { return IsWindowVisible(h) && IsWindowEnabled(h); }

// ---------------------------------------------------------------- commands

int cmdWaitWindow(int argc, wchar_t** argv) {
    DWORD t;
    if (argc < 3 || !parseTimeout(argc, argv, 3, kDefaultWaitMs, t))
        return fail(L"usage: wait-window <caption> [timeout_ms]");
    HWND h = waitTop(argv[2], t);
    if (!h) return fail(L"timeout waiting for window \"" + std::wstring(argv[2]) + L"\"");
    out(hex((ULONG_PTR)h));
    return 0;
}

int cmdWaitGone(int argc, wchar_t** argv) {
    DWORD t;
    if (argc < 3 || !parseTimeout(argc, argv, 3, kDefaultWaitMs, t))
        return fail(L"usage: wait-gone <caption> [timeout_ms]");
    std::wstring cap = argv[2];
    if (!pollUntil(t, [&] { return findTop(cap) == nullptr; }))
        return fail(L"timeout: window \"" + cap + L"\" still there");
    return 0;
}

int cmdWaitMsgbox(int argc, wchar_t** argv) {
    DWORD t = kDefaultWaitMs;
    std::wstring filter = L"*";
    for (int i = 2; i < argc && i < 4; ++i) {
        unsigned long long v;
        if (parseNum(argv[i], v)) t = (DWORD)v;
        else filter = argv[i];
    }
    HWND dlg = nullptr;
    if (!pollUntil(t, [&] { return (dlg = findDialog(filter)) != nullptr; }))
        return fail(L"timeout waiting for a message box");
    std::vector<HWND> kids;
    descendants(dlg, kids);
    std::wstring text;
    for (HWND c : kids)
        if ((ctrlId(c) & 0xFFFF) == 0xFFFF && classIs(c, L"Static")) { text = controlText(c); break; }
    out(L"caption: " + caption(dlg));
    out(L"text: " + replaceAll(text, L"\r\n", L"\n"));
    for (HWND c : kids)
        if (classIs(c, L"Button") && IsWindowVisible(c))
            out(L"button: " + num(ctrlId(c)) + L" " + controlText(c));
    return 0;
}

int cmdPressMsgbox(int argc, wchar_t** argv) {
    unsigned long long id;
    DWORD t;
    if (argc < 3 || !parseNum(argv[2], id) || !parseTimeout(argc, argv, 3, kDefaultWaitMs, t))
        return fail(L"usage: press-msgbox <button-id> [timeout_ms]");
    DWORD start = GetTickCount();
    HWND dlg = nullptr;
    if (!pollUntil(t, [&] { return (dlg = findDialog(L"*")) != nullptr; }))
        return fail(L"timeout waiting for a message box");
    HWND btn = childById(dlg, (int)id);
    if (!btn || !classIs(btn, L"Button")) return fail(L"no button with id " + num(id) + L" in the dialog");
    if (!clickable(btn)) return fail(L"button " + num(id) + L" is hidden or disabled");
    // A sent BM_CLICK would not return until the box's modal loop ends.
    PostMessageW(btn, BM_CLICK, 0, 0);
    DWORD used = GetTickCount() - start;
    if (!pollUntil(t > used ? t - used : 0, [&] { return isGone(dlg); }))
        return fail(L"timeout: dialog still open after pressing " + num(id));
    return 0;
}

int cmdList(int, wchar_t**) {
    for (HWND h : topLevels()) {
        if (!IsWindowVisible(h)) continue;
        out(hex((ULONG_PTR)h) + L"\t" + className(h) + L"\t" + escapeLine(caption(h)) + L"\t" +
            num(pidOf(h)));
    }
    return 0;
}

int cmdControls(int argc, wchar_t** argv) {
    if (argc < 3) return fail(L"usage: controls <caption>");
    HWND top = waitTop(argv[2], kFindMs);
    if (!top) return fail(L"no window \"" + std::wstring(argv[2]) + L"\"");
    std::vector<HWND> kids;
    descendants(top, kids);
    for (HWND c : kids) {
        std::wstring check = L"-";
        if (classIs(c, L"Button")) {
            DWORD_PTR r = 0;
            SendMessageTimeoutW(c, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kSendMs, &r);
            check = num((long long)r);
        }
        RECT rc;
        GetWindowRect(c, &rc);
        MapWindowPoints(HWND_DESKTOP, top, (POINT*)&rc, 2);
        out(num(ctrlId(c)) + L"\t" + className(c) + L"\t" + escapeLine(controlText(c)) + L"\t" +
            (IsWindowVisible(c) ? L"1" : L"0") + L"\t" + (IsWindowEnabled(c) ? L"1" : L"0") + L"\t" +
            check + L"\t" + num(rc.left) + L"," + num(rc.top) + L"," + num(rc.right) + L"," +
            num(rc.bottom));
    }
    return 0;
}

bool captionMatches(const std::wstring& text, const std::wstring& want) {
    return text == want || stripAmp(text) == want || stripAmp(text) == stripAmp(want);
}

int cmdClick(int argc, wchar_t** argv) {
    if (argc < 4) return fail(L"usage: click <window caption> <button caption|#id>");
    std::wstring want = argv[3];
    unsigned long long wantId = 0;
    bool byId = want.size() > 1 && want[0] == L'#' && parseNum(want.substr(1), wantId);
    HWND btn = nullptr, seen = nullptr;
    // Wait briefly: a page switch may still be enabling the button.
    pollUntil(kFindMs, [&] {
        HWND top = findTop(argv[2]);
        if (!top) return false;
        std::vector<HWND> kids;
        descendants(top, kids);
        for (HWND c : kids) {
            if (!classIs(c, L"Button")) continue;
            bool match = byId ? (ctrlId(c) & 0xFFFF) == (int)(wantId & 0xFFFF)
                              : captionMatches(controlText(c), want);
            if (!match) continue;
            if (clickable(c)) { btn = c; return true; }
            if (!seen) seen = c;
        }
        return false;
    });
    if (!btn) {
        if (seen) return fail(L"button \"" + want + L"\" is hidden or disabled");
        return fail(L"no button \"" + want + L"\" in window \"" + std::wstring(argv[2]) + L"\"");
    }
    PostMessageW(btn, BM_CLICK, 0, 0);
    return 0;
}

int cmdClose(int argc, wchar_t** argv) {
    if (argc < 3) return fail(L"usage: close <caption>");
    HWND top = waitTop(argv[2], kFindMs);
    if (!top) return fail(L"no window \"" + std::wstring(argv[2]) + L"\"");
    PostMessageW(top, WM_CLOSE, 0, 0);
    return 0;
}

int cmdText(int argc, wchar_t** argv) {
    if (argc < 4) return fail(L"usage: text <window caption> <class|id>");
    HWND top = waitTop(argv[2], kFindMs);
    if (!top) return fail(L"no window \"" + std::wstring(argv[2]) + L"\"");
    HWND c = childBySelector(top, argv[3]);
    if (!c) return fail(L"no control \"" + std::wstring(argv[3]) + L"\"");
    out(replaceAll(controlText(c), L"\r\n", L"\n"));
    return 0;
}

int cmdSetText(int argc, wchar_t** argv) {
    if (argc < 5) return fail(L"usage: settext <window caption> <class|id> <text>");
    HWND top = waitTop(argv[2], kFindMs);
    if (!top) return fail(L"no window \"" + std::wstring(argv[2]) + L"\"");
    HWND c = childBySelector(top, argv[3]);
    if (!c) return fail(L"no control \"" + std::wstring(argv[3]) + L"\"");
    // Single-line edits notify EN_CHANGE on WM_SETTEXT; multi-line ones do not.
    DWORD_PTR r = 0;
    if (!SendMessageTimeoutW(c, WM_SETTEXT, 0, (LPARAM)argv[4], SMTO_ABORTIFHUNG, kSendMs, &r) || !r)
        return fail(L"WM_SETTEXT failed");
    return 0;
}

// A posted key goes through the target's message loop like a typed one.
int cmdKey(int argc, wchar_t** argv) {
    unsigned long long key;
    if (argc < 5 || !parseNum(argv[4], key)) return fail(L"usage: key <window caption> <class|id> <virtual-key>");
    HWND top = waitTop(argv[2], kFindMs);
    if (!top) return fail(L"no window \"" + std::wstring(argv[2]) + L"\"");
    HWND c = childBySelector(top, argv[3]);
    if (!c) return fail(L"no control \"" + std::wstring(argv[3]) + L"\"");
    UINT scan = MapVirtualKeyW((UINT)key, MAPVK_VK_TO_VSC);
    PostMessageW(c, WM_KEYDOWN, (WPARAM)key, (LPARAM)(1 | (scan << 16)));
    PostMessageW(c, WM_KEYUP, (WPARAM)key, (LPARAM)(1 | (scan << 16) | (1u << 30) | (1u << 31)));
    return 0;
}

int cmdRect(int argc, wchar_t** argv) {
    if (argc < 3) return fail(L"usage: rect <caption>");
    HWND top = waitTop(argv[2], kFindMs);
    if (!top) return fail(L"no window \"" + std::wstring(argv[2]) + L"\"");
    RECT w, c;
    GetWindowRect(top, &w);
    GetClientRect(top, &c);
    out(L"window: " + num(w.left) + L"," + num(w.top) + L"," + num(w.right) + L"," + num(w.bottom));
    out(L"client: " + num(c.right) + L"x" + num(c.bottom));
    out(L"enabled: " + num(IsWindowEnabled(top) ? 1 : 0));
    return 0;
}

int cmdHoldSemaphore(int argc, wchar_t** argv) {
    if (argc < 4) return fail(L"usage: hold-semaphore <name> <ms|inf>");
    DWORD ms;
    unsigned long long v;
    if (lstrcmpiW(argv[3], L"inf") == 0) ms = INFINITE;
    else if (parseNum(argv[3], v)) ms = (DWORD)v;
    else return fail(L"bad duration");
    HANDLE s = CreateSemaphoreW(nullptr, 0, 1, argv[2]);
    if (!s) return fail(L"CreateSemaphore failed, error " + num(GetLastError()));
    out(L"held");
    Sleep(ms);
    CloseHandle(s);
    return 0;
}

// Inverse of the CRT's argument splitting.
std::wstring quoteArg(const std::wstring& a) {
    if (!a.empty() && a.find_first_of(L" \t\n\v\"") == std::wstring::npos) return a;
    std::wstring r = L"\"";
    size_t bs = 0;
    for (wchar_t c : a) {
        if (c == L'\\') { ++bs; continue; }
        if (c == L'"') r.append(bs * 2 + 1, L'\\');
        else r.append(bs, L'\\');
        bs = 0;
        r += c;
    }
    r.append(bs * 2, L'\\');
    return r + L"\"";
}

HANDLE inheritable(DWORD which) {
    HANDLE h = GetStdHandle(which), d = nullptr;
    if (h == nullptr || h == INVALID_HANDLE_VALUE) return nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), h, GetCurrentProcess(), &d, 0, TRUE, DUPLICATE_SAME_ACCESS))
        return nullptr;
    return d;
}

// One argument is taken as a whole command line; several are quoted and
// joined. The child's output goes to our stderr so stdout holds just the code.
int cmdExitcode(int argc, wchar_t** argv) {
    if (argc < 3) return fail(L"usage: exitcode <cmdline...>");
    std::wstring cmd;
    if (argc == 3) cmd = argv[2];
    else
        for (int i = 2; i < argc; ++i) cmd += (i > 2 ? L" " : L"") + quoteArg(argv[i]);
    std::vector<wchar_t> buf(cmd.begin(), cmd.end());
    buf.push_back(0);
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = inheritable(STD_INPUT_HANDLE);
    si.hStdOutput = inheritable(STD_ERROR_HANDLE);
    si.hStdError = inheritable(STD_ERROR_HANDLE);
    PROCESS_INFORMATION pi = {};
    BOOL ok = CreateProcessW(nullptr, buf.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    DWORD e = GetLastError();
    for (HANDLE h : {si.hStdInput, si.hStdOutput, si.hStdError})
        if (h) CloseHandle(h);
    if (!ok) return fail(L"CreateProcess failed, error " + num(e) + L": " + cmd);
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    out(num(code));
    return 0;
}

struct Command {
    const wchar_t* name;
    int (*run)(int, wchar_t**);
};

const Command kCommands[] = {
    {L"wait-window", cmdWaitWindow}, {L"wait-gone", cmdWaitGone},
    {L"wait-msgbox", cmdWaitMsgbox}, {L"press-msgbox", cmdPressMsgbox},
    {L"list", cmdList},              {L"controls", cmdControls},
    {L"click", cmdClick},            {L"close", cmdClose},
    {L"text", cmdText},              {L"settext", cmdSetText},
    {L"key", cmdKey},                {L"rect", cmdRect},
    {L"hold-semaphore", cmdHoldSemaphore}, {L"exitcode", cmdExitcode},
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    SetConsoleOutputCP(CP_UTF8);
    if (argc >= 2)
        for (const Command& c : kCommands)
            if (lstrcmpW(argv[1], c.name) == 0) return c.run(argc, argv);
    std::wstring names;
    for (const Command& c : kCommands) names += std::wstring(L" ") + c.name;
    return fail(L"usage: qmdriver <command> ...; commands:" + names);
}
