// Stand-in of the application's uninstaller QM50Uninst.exe. Called with the uninstall
// log's path, as the uninstall entry does. It removes the files and shortcuts the log
// lists and the folders it lists once they are empty; it never deletes anything else,
// so databases and documents stay. "/S" skips the questions.
#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

std::wstring widen(const std::string& s) {
    int n = MultiByteToWideChar(CP_ACP, 0, s.data(), int(s.size()), nullptr, 0);
    std::wstring w(size_t(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, s.data(), int(s.size()), w.data(), n);
    return w;
}

std::wstring unquote(std::wstring s) {
    while (!s.empty() && (s.front() == L' ' || s.front() == L'"')) s.erase(s.begin());
    while (!s.empty() && (s.back() == L' ' || s.back() == L'"')) s.pop_back();
    return s;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::wstring log;
    bool silent = false;
    for (int i = 1; i < argc; ++i) {
        std::wstring a = argv[i];
        if (a == L"/S" || a == L"/s") silent = true;
        else log = unquote(a);
    }
    const wchar_t* caption = L"Quillmark 5.0 - Deinstallation";
    if (log.empty()) {
        if (!silent) MessageBoxW(nullptr, L"Aufruf: QM50Uninst.exe \"<Pfad der Deinstallationsdatei>\"", caption, MB_ICONERROR);
        return 2;
    }
    std::ifstream in(log.c_str(), std::ios::binary);
    if (!in) {
        if (!silent) MessageBoxW(nullptr, (L"Die Deinstallationsdatei fehlt:\r\n" + log).c_str(), caption, MB_ICONERROR);
        return 3;
    }
    std::vector<std::wstring> files, folders;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() <= 14) continue;
        const std::string tag = line.substr(0, 14);
        const std::wstring path = widen(line.substr(14));
        if (tag == "[Datei]       " || tag == "[LinkFile]    ") files.push_back(path);
        else if (tag == "[Verzeichnis] ") folders.push_back(path);
    }
    in.close();
    if (!silent && MessageBoxW(nullptr, L"Soll Quillmark 5.0 entfernt werden?\r\nDatenbanken und Dokumente bleiben erhalten.",
                               caption, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return 1;
    int removed = 0;
    for (const auto& f : files)
        if (DeleteFileW(f.c_str())) ++removed;
    for (auto it = folders.rbegin(); it != folders.rend(); ++it)
        if (RemoveDirectoryW(it->c_str())) ++removed;  // only an empty folder goes
    if (!silent)
        MessageBoxW(nullptr, (L"Entfernt: " + std::to_wstring(removed) + L" Einträge.").c_str(), caption,
                    MB_ICONINFORMATION);
    return 0;
}
