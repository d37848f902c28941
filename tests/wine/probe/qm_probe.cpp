// Started by the Wine tier through runProzess: writes what it was given to the file named
// by its first argument (UTF-8, one item a line) and exits with the code in its second.
//   qm_probe.exe <report file> <exit code> [anything...]
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {
std::string utf8(const std::wstring& w) {
    if (w.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    GetStartupInfoW(&si);
    wchar_t cwd[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, cwd);
    std::string text = utf8(GetCommandLineW()) + "\n";
    text += "flags=" + std::to_string(si.dwFlags) + " show=" + std::to_string(si.wShowWindow) + "\n";
    text += "console=" + std::to_string(GetConsoleWindow() != nullptr ? 1 : 0) + "\n";
    text += "cwd=" + utf8(cwd) + "\n";
    FILE* f = _wfopen(argv[1], L"wb");
    if (!f) return 3;
    fwrite(text.data(), 1, text.size(), f);
    fclose(f);
    return int(wcstoul(argv[2], nullptr, 0));
}
