#include "app/versionen.h"

#include "app/get_windows_version.h"
#include "platform/dialogs.h"
#include "platform/kernel.h"
#include "platform/locale.h"
#include "platform/types.h"
#include "platform/ui.h"

namespace qm::Versionen {

DateTime BuildZeitpunkt;
DateTime ZeitstempelMsvcr71;
DateTime ZeitstempelTeamViewer;

std::string laufMarkerName() { return std::string("Quillmark ") + HauptVersion + " - Privatliquidation"; }

std::string datumsformatMeldung(const std::string& erkannt, bool vista) {
    std::string s = "Quillmark funktioniert nur mit deutschem Datumsformat.\r\n\r\nEs wurde folgendes Datumsformat erkannt: ";
    s += erkannt;
    s += "\r\n\r\n";
    s += "Falls Sie eine deutsche Windows-Version verwenden,";
    s += "\r\n";
    s += "überprüfen Sie bitte in der Systemsteuerung die";
    s += "\r\n";
    s += "Regions- und Sprachoptionen oder wenden Sie sich";
    s += "\r\n";
    s += "an den Hersteller.";
    s += "\r\n\r\n";
    if (vista) {
        s += "Unter einem deutschen Windows 7 hilft es in manchen Fällen,";
        s += "\r\n";
        s += "wenn Sie in der Systemsteuerung unter 'Region und Sprache'";
        s += "\r\n";
        s += "bei 'Formate' auf 'Weitere Einstellungen' und anschließend";
        s += "\r\n";
        s += "bei 'Zahlen' auf 'Zurücksetzen' klicken.";
        s += "\r\n\r\n";
    }
    s += "Englische Windows-Versionen wurden nicht getestet";
    s += "\r\n";
    s += "und werden deshalb nicht unterstützt.";
    s += "\r\n\r\n";
    s += "Das Programm wird beendet.";
    return s;
}

bool initialisiere(ILocale& locale, IDialogs& dialogs, IUi& ui, IKernel& kernel) {
    try {
        const FormatSettings fs = locale.formatSettings();
        const int jahr = locale.currentYear();
        BuildZeitpunkt = strToDateTime(BuildDatum, fs, jahr);
        ZeitstempelMsvcr71 = strToDateTime(ZeitstempelMsvcr71Text, fs, jahr);
        ZeitstempelTeamViewer = strToDateTime(ZeitstempelTeamViewerText, fs, jahr);
        return true;
    } catch (const Exception&) {
        const bool vista = getWindowsVersion(kernel) == WindowsVersion::WinVista;
        dialogs.messageDlg(datumsformatMeldung(locale.formatSettings().shortDateFormat, vista),
                           MsgDlgType::Error, mb::OK);
        locale.setShortDateFormat("dd.MM.yyyy");
        locale.setDateSeparator('.');
        ui.terminate();
        return false;
    }
}

}  // namespace qm::Versionen
