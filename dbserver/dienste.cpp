// TfmInstall: the service manager's view of the database servers' services, and running
// outside programs hidden.
#include "app/versionen.h"
#include "dbserver/server_tools.h"
#include "wizard/install_unit50.h"

namespace qm {

bool TfmInstall::dienstManagerFrage(const std::string& instanz, bool nachLaufendFragen) {
    const std::string name = std::string(Versionen::DienstPraefix) + instanz;
    IServices& s = p_.services;
    ScHandle manager = s.openSCManager(scaccess::ManagerAllAccess);
    ScHandle dienst = 0;
    bool ergebnis = false;
    if (!manager) {
        p_.dialogs.messageBox("Service-Manager nicht erreicht!", p_.ui.applicationTitle(), 0);
    } else {
        dienst = s.openService(manager, name, scaccess::ServiceAllAccess);
        if (dienst) {
            uint32_t zustand = 0;
            ergebnis = !nachLaufendFragen || (s.queryServiceStatus(dienst, zustand) && zustand == svcstate::Running);
        }
    }
    s.closeServiceHandle(dienst);
    s.closeServiceHandle(manager);
    return ergebnis;
}

bool TfmInstall::checkDienstVorhanden(const std::string& instanz) { return dienstManagerFrage(instanz, false); }

bool TfmInstall::checkDienstGestartet(const std::string& instanz) { return dienstManagerFrage(instanz, true); }

// The ".\" between folder and tool makes a trailing backslash of the folder irrelevant.
bool TfmInstall::runDienstprogramm(const std::string& serverVerzeichnis, const char* tool, Aufruf aufruf,
                                   const std::string& instanz) {
    const std::string pfad = p_.files.fullPathName(serverVerzeichnis + ".\\" + tool);
    return runProzess(aufruf(pfad, instanz), 0) == 0;
}

bool TfmInstall::installDienst(const std::string& serverVerzeichnis, const std::string& instanz) {
    return runDienstprogramm(serverVerzeichnis, ServerTools::Dienstprogramm, ServerTools::dienstInstallieren, instanz);
}

bool TfmInstall::startDienst(const std::string& serverVerzeichnis, const std::string& instanz, bool toolInBin) {
    return runDienstprogramm(serverVerzeichnis,
                             toolInBin ? ServerTools::DienstprogrammInBin : ServerTools::Dienstprogramm,
                             ServerTools::dienstStarten, instanz);
}

bool TfmInstall::stopDienst(const std::string& serverVerzeichnis, const std::string& instanz, bool toolInBin) {
    return runDienstprogramm(serverVerzeichnis,
                             toolInBin ? ServerTools::DienstprogrammInBin : ServerTools::Dienstprogramm,
                             ServerTools::dienstStoppen, instanz);
}

bool TfmInstall::removeDienst(const std::string& serverVerzeichnis, const std::string& instanz) {
    return runDienstprogramm(serverVerzeichnis, ServerTools::Dienstprogramm, ServerTools::dienstEntfernen, instanz);
}

uint32_t TfmInstall::runProzess(const std::string& befehlszeile, uint16_t anzeige) {
    letzterProzessFehler_.clear();
    IProcesses& pr = p_.processes;
    ProcessInfo pi;
    // The whole command line goes to the system, however long it is.
    const uint32_t fehler =
        pr.createProcess(befehlszeile, createflags::NewConsole | createflags::NormalPriority, anzeige, pi);
    if (fehler != 0) {
        // A program that did not start must not read as one that succeeded.
        letzterProzessFehler_ = p_.kernel.errorText(fehler) + " (Fehler " + std::to_string(fehler) + ")";
        return ProzessNichtGestartet;
    }
    pr.waitForSingleObject(pi.process, Infinite);
    uint32_t exitCode = 0;
    if (!pr.getExitCodeProcess(pi.process, exitCode)) {
        letzterProzessFehler_ = "Exit-Code nicht lesbar";
        exitCode = ProzessNichtGestartet;
    }
    pr.closeHandle(pi.process);
    pr.closeHandle(pi.thread);
    return exitCode;
}

}  // namespace qm
