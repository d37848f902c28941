#pragma once
// The database servers' command-line tools: names and the exact command lines the setup
// gives them. The service tool's path is never quoted; blanks inside the texts matter.
#include <string>

namespace qm::ServerTools {

inline constexpr const char* Dienstprogramm = "instsvc.exe";
inline constexpr const char* DienstprogrammInBin = "bin\\instsvc.exe";
inline constexpr const char* Sicherungsprogramm = "gbak.exe";
inline constexpr const char* Statistikprogramm = "gstat.exe";
inline constexpr const char* AlterServerDeinstallation = "unins000.exe";
inline constexpr const char* AlterServerProgramm = "bin\\fbserver.exe";
inline constexpr const char* NeuerServerProgramm = "firebird.exe";

// Service tool: tool path, sub-command, instance.
std::string dienstInstallieren(const std::string& tool, const std::string& instanz);
std::string dienstStarten(const std::string& tool, const std::string& instanz);
std::string dienstStoppen(const std::string& tool, const std::string& instanz);
std::string dienstEntfernen(const std::string& tool, const std::string& instanz);

struct Anmeldung {
    const char* benutzer;
    const char* passwort;
};
// The backup logs in with the first; when that is refused it tries the second once.
inline constexpr Anmeldung StandardAnmeldung{"quillmark", "kornblumenwiesel"};
inline constexpr Anmeldung ErsatzAnmeldung{"eexoyy", "quarzlamp"};
// Text in the backup tool's output when the login was refused.
inline constexpr const char* AnmeldungAbgelehnt = "Your user name and password are not defined";

std::string statistikKopf(const std::string& tool, const std::string& datenbank);
std::string sicherung(const std::string& tool, const std::string& datenbank, const std::string& sicherungsDatei,
                      const Anmeldung& anmeldung);
std::string wiederherstellung(const std::string& tool, const std::string& sicherungsDatei,
                              const std::string& datenbank);
// The old server's uninstaller; `serverVerzeichnis` is the registered folder with its
// trailing backslash.
std::string alterServerDeinstallation(const std::string& serverVerzeichnis);

}  // namespace qm::ServerTools
