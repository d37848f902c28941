#include "dbserver/server_tools.h"

namespace qm::ServerTools {

namespace {
std::string quoted(const std::string& s) { return "\"" + s + "\""; }
}  // namespace

std::string dienstInstallieren(const std::string& tool, const std::string& instanz) {
    return tool + " install -auto -n " + instanz;
}
std::string dienstStarten(const std::string& tool, const std::string& instanz) { return tool + " start -n " + instanz; }
std::string dienstStoppen(const std::string& tool, const std::string& instanz) { return tool + " stop -n " + instanz; }
std::string dienstEntfernen(const std::string& tool, const std::string& instanz) {
    return tool + " remove -n " + instanz;
}

std::string statistikKopf(const std::string& tool, const std::string& datenbank) {
    return quoted(tool) + " -h " + quoted(datenbank);
}

std::string sicherung(const std::string& tool, const std::string& datenbank, const std::string& sicherungsDatei,
                      const Anmeldung& a) {
    return quoted(tool) + " -b -user " + a.benutzer + " -password " + a.passwort + " " + quoted(datenbank) + " " +
           quoted(sicherungsDatei);
}

std::string wiederherstellung(const std::string& tool, const std::string& sicherungsDatei,
                              const std::string& datenbank) {
    return quoted(tool) + " -rep -c -user " + StandardAnmeldung.benutzer + " -password " +
           StandardAnmeldung.passwort + " " + quoted(sicherungsDatei) + " " + quoted("xnet://" + datenbank);
}

std::string alterServerDeinstallation(const std::string& serverVerzeichnis) {
    return serverVerzeichnis + AlterServerDeinstallation + " /SILENT /NoRestart";
}

}  // namespace qm::ServerTools
