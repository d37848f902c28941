#pragma once
// The setup's main window.
#include <string>

#include "platform/kernel.h"
#include "ui/form.h"

namespace qm {

class TfmInstall : public TForm {
public:
    // Posted to itself by a failed start-up check; its handler closes the window.
    static constexpr uint32_t WM_SCHLIESSEN = 0x0400 + 256;

    explicit TfmInstall(Platform& p);
    ~TfmInstall() override;

    bool checkAdminRechte();
    bool checkProgrammLaeuft();

    static std::string meldungKeineAdminRechte();
    static std::string meldungWindowsVersion();
    static std::string meldungProgrammLaeuft();

    void FormCreate();
    void FormShow() override;

    // Services and outside programs.
    // runProzess's result when the program could not be started (or its exit code could
    // not be read); letzterProzessFehler() then holds the system's reason.
    static constexpr uint32_t ProzessNichtGestartet = 0xFFFFFFFF;
    bool checkDienstVorhanden(const std::string& instanz);
    bool checkDienstGestartet(const std::string& instanz);
    bool installDienst(const std::string& serverVerzeichnis, const std::string& instanz);
    bool startDienst(const std::string& serverVerzeichnis, const std::string& instanz, bool toolInBin);
    bool stopDienst(const std::string& serverVerzeichnis, const std::string& instanz, bool toolInBin);
    bool removeDienst(const std::string& serverVerzeichnis, const std::string& instanz);
    uint32_t runProzess(const std::string& befehlszeile, uint16_t anzeige);
    const std::string& letzterProzessFehler() const { return letzterProzessFehler_; }

    // Database servers on this machine.
    bool checkFirebird252(std::string& serverVerzeichnis);
    bool checkFirebird4Datei(const std::string& installationsVerzeichnis);

    // Version resources.
    void getProduktVersion(const std::string& datei, std::string& version);
    void getDateiVersion(const std::string& datei, std::string& version);

protected:
    void handleMessage(uint32_t msg, uintptr_t w, intptr_t l) override;

private:
    bool probeLaufMarker();
    bool dienstManagerFrage(const std::string& instanz, bool nachLaufendFragen);
    using Aufruf = std::string (*)(const std::string& tool, const std::string& instanz);
    bool runDienstprogramm(const std::string& serverVerzeichnis, const char* tool, Aufruf aufruf,
                           const std::string& instanz);

    std::string letzterProzessFehler_;

    Handle laufMarker_ = 0;
    // A close request dispatched by a dialog's loop while the show handler still runs
    // waits until the handler is done, so the window is never torn down under it.
    bool inFormShow_ = false;
    bool schliessenAngefordert_ = false;
};

// The text before the first `sep`, "" when there is none.
std::string getTextVor(char sep, const std::string& text);
// The text after the first `sep`, the whole text when there is none.
std::string getTextNach(char sep, const std::string& text);
// The first three parts of a file version "major.minor.release.build" are at least the
// given; false when one of them is empty or no number.
bool dateiVersionMindestens(const std::string& dateiVersion, int major, int minor, int release);

}  // namespace qm
