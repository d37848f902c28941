#pragma once
// Paths through the full-path expansion. `expected` holds for the current folder
// kCwd; the Wine tier also holds the rule against the real function in its own folder.
#include <string>
#include <vector>

namespace qm::contract {

inline const char* const kCwd = "C:\\Arbeit\\Setup";

struct FullPathCase {
    const char* input;
    const char* expected;
    bool relative;  // depends on the current folder
};

inline const std::vector<FullPathCase>& fullPathCases() {
    static const std::vector<FullPathCase> cases = {
        // The joins the setup makes: folder + ".\" + name, with and without a trailing "\".
        {"C:\\Program Files (x86).\\Tessarwind\\Quillmark50", "C:\\Program Files (x86)\\Tessarwind\\Quillmark50", false},
        {"C:\\Program Files (x86)\\.\\Tessarwind\\Quillmark50", "C:\\Program Files (x86)\\Tessarwind\\Quillmark50", false},
        {"C:\\Daten\\FB.\\instsvc.exe", "C:\\Daten\\FB\\instsvc.exe", false},
        {"C:\\Daten\\FB\\.\\instsvc.exe", "C:\\Daten\\FB\\instsvc.exe", false},
        {"C:\\Prog\\Firebird_2_5\\.\\bin\\instsvc.exe", "C:\\Prog\\Firebird_2_5\\bin\\instsvc.exe", false},
        {"C:\\Praxis.\\Firebird_4.0.2.2816\\firebird.exe", "C:\\Praxis\\Firebird_4.0.2.2816\\firebird.exe", false},
        {"C:\\Praxis mit Blanks\\.\\Firebird_4.0.2.2816\\firebird.exe",
         "C:\\Praxis mit Blanks\\Firebird_4.0.2.2816\\firebird.exe", false},
        {"C:\\Programme\\Firebird\\.\\bin\\fbserver.exe", "C:\\Programme\\Firebird\\bin\\fbserver.exe", false},
        {".\\Tessarwind\\Quillmark50", "C:\\Arbeit\\Setup\\Tessarwind\\Quillmark50", true},
        // Climbing, separators, trailing periods and blanks.
        {"C:\\a\\b\\..\\c", "C:\\a\\c", false},
        {"C:\\a\\..\\..\\c", "C:\\c", false},
        {"C:/a/b", "C:\\a\\b", false},
        {"C:\\a\\\\b", "C:\\a\\b", false},
        {"C:\\a\\b\\", "C:\\a\\b\\", false},
        {"C:\\a\\b.\\", "C:\\a\\b\\", false},
        {"C:\\a\\b.", "C:\\a\\b", false},
        {"C:\\a\\b. .", "C:\\a\\b", false},
        {"C:\\a\\b ", "C:\\a\\b", false},
        {"C:\\a\\b .\\c", "C:\\a\\b \\c", false},
        {"C:\\a\\b\\.", "C:\\a\\b", false},
        {"C:\\a\\b\\..", "C:\\a", false},
        {"C:\\", "C:\\", false},
        {"C:\\..", "C:\\", false},
        // Relative forms.
        {"C:", "C:\\Arbeit\\Setup", true},
        {"C:datei.txt", "C:\\Arbeit\\Setup\\datei.txt", true},
        {"D:datei.txt", "D:\\datei.txt", true},
        {"\\Windows\\x.exe", "C:\\Windows\\x.exe", true},
        {"bin\\instsvc.exe", "C:\\Arbeit\\Setup\\bin\\instsvc.exe", true},
        {"..\\x", "C:\\Arbeit\\x", true},
        {"instsvc.exe.", "C:\\Arbeit\\Setup\\instsvc.exe", true},
        // Network and literal paths.
        {"\\\\server\\share\\a\\..\\..\\b", "\\\\server\\share\\b", false},
        {"\\\\server\\share\\Praxis.\\Firebird", "\\\\server\\share\\Praxis\\Firebird", false},
        {"\\\\?\\C:\\a\\..\\b", "\\\\?\\C:\\b", false},
        {"\\\\.\\C:\\a\\.\\b", "\\\\.\\C:\\a\\b", false},
        {"\\\\.\\C:\\a\\.\\b", "\\\\.\\C:\\a\\b", false},
    };
    return cases;
}

}  // namespace qm::contract
