// TfmInstall: the window's layout, its wizard steps and the small event handlers.
#include "app/get_windows_version.h"
#include "app/konstanten.h"
#include "wizard/install_unit50.h"
#include "wizard/lizenz.h"
#include "wizard/png_bmp_loader.h"

namespace qm {

namespace {
Font tahoma(int height, bool bold = false, Color color = colors::WindowText) {
    Font f;
    f.name = "Tahoma";
    f.height = height;
    f.bold = bold;
    f.color = color;
    return f;
}
}  // namespace

void TfmInstall::initControls() {
    setFormFont(tahoma(-11));
    peer_->setColor(colors::BtnFace);

    for (TButton* b : {&buUeberspringen, &buInstallieren, &buZurueck})
        b->setAnchors(anchors::Right | anchors::Bottom);
    buUeberspringen.setTabOrder(5);
    buInstallieren.setTabOrder(4);
    buZurueck.setTabOrder(3);
    buUeberspringen.onClick = [this] { buUeberspringenClick(); };
    buInstallieren.onClick = [this] { buInstallierenClick(); };
    buZurueck.onClick = [this] { buZurueckClick(); };

    paPanel.setTabOrder(0);

    meFeedback.setColor(colors::MoneyGreen);
    meFeedback.setFont(tahoma(-12));
    meFeedback.setTabOrder(1);
    meFeedback.onEnter = [this] { meFeedbackEnter(); };

    JvLabelTitel.setFont(tahoma(-24, true, colors::Teal));

    gbQMKomponenten.setTabOrder(0);
    laKomponenteQuillmark.setFont(tahoma(-16));
    laKomponenteFirebird.setFont(tahoma(-16));
    JvdeQMInstallDir.setTabOrder(0);
    JvdeQMInstallDir.dialogTitle = "Bitte wählen Sie das Verzeichnis, in das Quillmark installiert wird.";
    JvdeQMInstallDir.onBeforeDialog = [this](std::string& start) { JvdeQMInstallDirBeforeDialog(start); };

    imBildRechts.setAnchors(anchors::Top | anchors::Right);
    safe([this] { loadBmpRessource(imBildRechts, "IMBILDRECHTS", "FORMBITMAP"); });

    paProgressBarQM.setTabOrder(1);
    JvSpecialProgressQM.setAnchors(anchors::Left | anchors::Top | anchors::Right | anchors::Bottom);

    rbIBEinzelplatz.setTabOrder(2);
    rbIBNetz.setTabOrder(3);
    rbIBEinzelplatz.setChecked(true);  // before the handlers: the design-time choice raises nothing
    rbIBEinzelplatz.onClick = [this] { rbIBInstallClick(); };
    rbIBNetz.onClick = [this] { rbIBInstallClick(); };
    paIBInstallServerOrClient.setTabOrder(4);
    rbIBNetzServer.setTabOrder(0);
    rbIBNetzClient.setTabOrder(1);

    cbLizenzbedingungen.setAnchors(anchors::Left | anchors::Bottom);
    cbLizenzbedingungen.setTabOrder(1);
    buLizenzbedingungen.setAnchors(anchors::Left | anchors::Bottom);
    buLizenzbedingungen.setTabOrder(2);
    buLizenzbedingungen.onClick = [this] { buLizenzbedingungenClick(); };

    setDesignClientSize({670, 511});
    peer_->setMinimumSize({686, 550});
    loaded();
}

void TfmInstall::addFeedbackZeile(const std::string& zeile) { meFeedback.appendLine(zeile); }

std::string TfmInstall::meldungAbschluss(bool vistaOderNeuer) {
    std::string s =
        "Wenn alle Programmteile erfolgreich installiert wurden,\r\n"
        "können Sie nun mit der Arbeit mit Quillmark beginnen.\r\n\r\n"
        "Schließen Sie dazu dieses Fenster und starten Sie Quillmark.\r\n\r\n";
    if (vistaOderNeuer)
        s += "Wichtig: Unter Vista, Windows 7 oder höher müssen Sie das\r\n"
             "Programm das erste Mal mit Administratorrechten starten.\r\n"
             "Klicken Sie dazu mit der rechten Maustaste auf das\r\n"
             "Programmsymbol auf dem Desktop und wählen Sie\r\n"
             "'Als Administrator ausführen'.\r\n\r\n";
    s += "Bei Problemen mit der Installation fragen Sie Ihren\r\n"
         "Administrator oder wenden Sie sich an \r\n";
    s += Konstanten::SupportAdresse;
    s += ".";
    return s;
}

void TfmInstall::setSchritt(uint8_t neuerSchritt) {
    schritt = neuerSchritt;

    const bool anwendung = schritt == 1;
    for (TControl* c : std::initializer_list<TControl*>{&laKomponenteQuillmark, &laZielverzeichnisQM,
                                                        &JvdeQMInstallDir, &paProgressBarQM,
                                                        &JvSpecialProgressQM, &laQMStatus})
        c->setEnabled(anwendung);

    const bool server = schritt == 2;
    for (TControl* c : std::initializer_list<TControl*>{&laKomponenteFirebird, &laFirebirdSchonVorhanden,
                                                        &rbIBEinzelplatz, &rbIBNetz})
        c->setEnabled(server);
    rbIBNetzServer.setEnabled(server && rbIBNetz.checked());
    rbIBNetzClient.setEnabled(server && rbIBNetz.checked());

    buZurueck.setVisible(schritt != 1);
    buUeberspringen.setVisible(schritt != 3);
    buInstallieren.setCaption(schritt == 3 ? "Schließen" : "Installieren >");
    laQMStatus.setCaption("");

    if (schritt == 3)
        p_.dialogs.messageBox(meldungAbschluss(getWindowsVersion(p_.kernel) == WindowsVersion::WinVista),
                              "Information", mbflags::Info);
}

void TfmInstall::buZurueckClick() {
    if (schritt == 2) setSchritt(1);
    else if (schritt == 3) setSchritt(2);
}

void TfmInstall::buUeberspringenClick() {
    if (schritt == 1) {
        addFeedbackZeile("Installation von Quillmark übersprungen");
        setSchritt(2);
    } else if (schritt == 2) {
        addFeedbackZeile("Installation des Datenbank-Servers übersprungen");
        setSchritt(3);
    }
}

// Steps 1 and 2 run the install sequence, which is not part of this window yet; in
// step 3 the button closes the setup.
void TfmInstall::buInstallierenClick() {
    if (schritt == 3) close();
}

// A viewer of its own for each showing; it goes when it is closed.
void TfmInstall::buLizenzbedingungenClick() {
    TfmLizenz fmLizenz(p_);
    fmLizenz.showModal();
}

void TfmInstall::rbIBInstallClick() {
    const bool unterOptionen = !rbIBEinzelplatz.checked() && schritt == 2;
    rbIBNetzServer.setEnabled(unterOptionen);
    rbIBNetzClient.setEnabled(unterOptionen);
    if (rbIBNetz.checked() && !rbIBNetzServer.checked() && !rbIBNetzClient.checked()) rbIBNetzServer.setChecked(true);
    if (!rbIBNetz.checked()) {
        rbIBNetzServer.setChecked(false);
        rbIBNetzClient.setChecked(false);
    }
}

void TfmInstall::JvdeQMInstallDirBeforeDialog(std::string& startVerzeichnis) {
    if (!p_.files.directoryExists(JvdeQMInstallDir.text())) startVerzeichnis = vorgabeVerzeichnis;
}

void TfmInstall::meFeedbackEnter() {}

void TfmInstall::FormResize() {
    paPanel.setWidth(imBildRechts.left() - paPanel.left());
    paPanel.setHeight(cbLizenzbedingungen.top() - paPanel.top() - 3);
    gbQMKomponenten.setWidth(paPanel.width() - 32);
    meFeedback.setWidth(paPanel.width() - 32);
    meFeedback.setHeight(paPanel.height() - meFeedback.top() - 20);
}

}  // namespace qm
