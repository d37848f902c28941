#pragma once
// The setup's main window.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/kernel.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace qm {

class TUninstallLog;

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
    // The final message of step 3; the paragraph on administrator rights only for Vista and later.
    static std::string meldungAbschluss(bool vistaOderNeuer);

    void FormCreate();
    void FormShow() override;

    // Product installation (install/). installProdukt: 0 installed, 1 the user declined
    // the update, -1 failed (reported already).
    int installProdukt();
    void extractRessource(const std::string& ziel, const std::string& name, const std::string& typ,
                          int fortschrittEnde);
    void updateFortschritt(uint32_t gelesen);
    void extractOpenSSL();
    void extractFBClient();
    void extractFBServer();
    bool createVerknuepfungen();
    bool installVCRedist(const std::string& installer, const std::string& bezeichnung);
    // True from the start of the product installation to its end: no second install and
    // no closing of the window meanwhile.
    bool produktInstallationLaeuft() const { return produktInstallationLaeuft_; }
    void FormResize() override;

    // Switches the wizard to step 1, 2 or 3.
    void setSchritt(uint8_t neuerSchritt);
    // The feedback log: lines are only ever appended at its end.
    void addFeedbackZeile(const std::string& zeile);

    void buZurueckClick();
    void buUeberspringenClick();
    void buInstallierenClick();
    void rbIBInstallClick();
    void JvdeQMInstallDirBeforeDialog(std::string& startVerzeichnis);
    void meFeedbackEnter();
    void buLizenzbedingungenClick();

    // Controls, with the window's design-time layout (left, top, width, height).
    TButton buUeberspringen{*this, nullptr, {489, 477, 89, 25}, "Überspringen"};
    TButton buInstallieren{*this, nullptr, {385, 477, 89, 25}, "Installieren >"};
    TButton buZurueck{*this, nullptr, {290, 477, 89, 25}, "< Zurück"};
    TPanel paPanel{*this, nullptr, {0, 0, 578, 456}, Bevel::None};
    TMemo meFeedback{*this, &paPanel, {16, 327, 546, 108}, false, true, true};
    TShadowLabel JvLabelTitel{*this, &paPanel, {16, 8, 250, 31}, "", colors::Gray, 2};
    TGroupBox gbQMKomponenten{*this, &paPanel, {16, 48, 546, 273}, "Quillmark Komponenten"};
    TImage imQuillmarkLogo{*this, &gbQMKomponenten, {16, 28, 61, 61}, true, true};
    TImage imFirebirdLogo{*this, &gbQMKomponenten, {16, 139, 61, 61}, true, true};
    TLabel laKomponenteQuillmark{*this, &gbQMKomponenten, {88, 17, 228, 19}, "Quillmark Abrechnungssoftware"};
    TLabel laKomponenteFirebird{*this, &gbQMKomponenten, {88, 139, 177, 19}, "Firebird Datenbankserver"};
    TLabel laZielverzeichnisQM{*this, &gbQMKomponenten, {88, 42, 69, 13}, "Zielverzeichnis"};
    TDirectoryEdit JvdeQMInstallDir{*this, &gbQMKomponenten, {88, 58, 442, 21}};
    TImage imBildRechts{*this, nullptr, {578, 0, 108, 456}, true, false};
    TLabel laFirebirdSchonVorhanden{*this, &gbQMKomponenten, {88, 164, 125, 13}, ""};
    TLabel laQMStatus{*this, &gbQMKomponenten, {88, 103, 51, 13}, ""};
    TPanel paProgressBarQM{*this, &gbQMKomponenten, {88, 84, 442, 16}, Bevel::Lowered};
    TProgressBar JvSpecialProgressQM{*this, &paProgressBarQM, {1, 1, 440, 14}, colors::MoneyGreen};
    TRadioButton rbIBEinzelplatz{*this, &gbQMKomponenten, {83, 189, 420, 17}, "Einzelplatzversion"};
    TRadioButton rbIBNetz{*this, &gbQMKomponenten, {89, 212, 420, 17}, "Mehrplatzversion/Netzwerkinstallation"};
    TPanel paIBInstallServerOrClient{*this, &gbQMKomponenten, {104, 227, 435, 38}, Bevel::None};
    TRadioButton rbIBNetzServer{*this, &paIBInstallServerOrClient, {2, 2, 420, 17},
                                "Dies ist der Server (hier werden u.a. Datenbanken für die Clients bereit gestellt)"};
    TRadioButton rbIBNetzClient{*this, &paIBInstallServerOrClient, {2, 19, 420, 17},
                                "Dies ist ein Client (von hier wird auf Datenbanken auf einem Server zugegriffen)"};
    TCheckBox cbLizenzbedingungen{*this, nullptr, {16, 459, 241, 17}, "Die Lizenzbedingungen werden akzeptiert"};
    TButton buLizenzbedingungen{*this, nullptr, {16, 477, 162, 25}, "Lizenzbedingungen anzeigen"};

    // Remembered at creation: the registered installation folder or the programs folder.
    std::string vorgabeVerzeichnis;
    // The wizard step, 1 to 3.
    uint8_t schritt = 0;
    // The installed application is at least version 5.16.23.
    bool neueVersionInstalliert = false;

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
    // The application in the offered folder is at least version 5.16.23.
    bool checkNeueVersionInstalliert();

protected:
    void handleMessage(uint32_t msg, uintptr_t w, intptr_t l) override;
    void FormCloseQuery(bool& canClose) override;

private:
    // The window's design-time settings beyond the layout: fonts, colours, anchors, tab
    // order, the design-time choice and the event handlers.
    void initControls();
    // The detection at creation.
    void waehleVorgabeVerzeichnis();
    void meldeVorhandeneInstallation();
    void stelleInstallationsartWieder();
    bool probeLaufMarker();
    bool dienstManagerFrage(const std::string& instanz, bool nachLaufendFragen);
    using Aufruf = std::string (*)(const std::string& tool, const std::string& instanz);
    bool runDienstprogramm(const std::string& serverVerzeichnis, const char* tool, Aufruf aufruf,
                           const std::string& instanz);

    std::string letzterProzessFehler_;

    // Progress of the payload being unpacked (only one at a time).
    struct Fortschritt {
        int32_t start = 0, ende = 0, groesse = 0;
    } fortschritt_;
    // INSTDIR as installProdukt read it when it started.
    std::string installVerzeichnis_;
    std::unique_ptr<TUninstallLog> uninstallLog_;
    bool produktInstallationLaeuft_ = false;

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
