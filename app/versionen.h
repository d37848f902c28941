#pragma once
// What this setup installs: versions, file names, object names.
#include <string>

#include "app/delphi_date.h"
#include "app/version_numbers.h"

namespace qm {
class ILocale;
class IDialogs;
class IUi;
class IKernel;
}

namespace qm::Versionen {

inline constexpr const char* ProgrammVersion = QM_VERSION_TEXT;
inline constexpr const char* VersionKurz = "5.18";
inline constexpr const char* HauptVersion = "5.0";
inline constexpr const char* BuildDatum = "12.08.2024 5:18:25";


inline constexpr const char* ProduktVerzeichnis = "Quillmark50";
inline constexpr const char* ProgrammDatei = "Quillmark50.exe";
inline constexpr const char* HilfeDatei = "Quillmark50Help.chm";
inline constexpr const char* DeinstallationsProgramm = "QM50Uninst.exe";
inline constexpr const char* SqlBibliothek = "QM50SQLs.dll";
inline constexpr const char* ReadmeDatei = "Readme.txt";
inline constexpr const char* LizenzDatei = "Lizenz.pdf";
inline constexpr const char* BriefVorlage = "BriefQuillmark.dot";
inline constexpr const char* AnleitungDatei = "Quillmark50Anleitung.pdf";
inline constexpr const char* DeinstallationsLog = "QM50Uninst.log";
inline constexpr const char* UninstallSchluessel = "Quillmark50";
inline constexpr const char* FirewallRegelName = "Firebird SQL Server TCP Port %d - Quillmark";
inline constexpr const char* FirewallRegelBeschreibung = "Regel automatisch von Quillmark angelegt";

// Values several subsystems share.
inline constexpr const char* Firebird4InstanzName = "QuillmarkFB4.0.2.2816";
inline constexpr const char* Firebird4Verzeichnis = "Firebird_4.0.2.2816";
inline constexpr const char* DienstPraefix = "FirebirdServer";
inline constexpr const char* Firebird252InstanzName = "DefaultInstance";
inline constexpr const char* Firebird252ProduktVersion = "2.5.2.26540";
inline constexpr int Firebird4Port = 4439;
inline constexpr int StandardPort = 3050;
inline constexpr const char* StandardDatenbankName = "Standard-Datenbank";

inline constexpr const char* ZeitstempelMsvcr71Text = "21.02.2003 03:42:22";
inline constexpr const char* ZeitstempelTeamViewerText = "25.01.2022 10:04:10";

// "Quillmark 5.0 - Privatliquidation": exists while the application runs.
std::string laufMarkerName();

// Parsed once at start by initialisiere().
extern DateTime BuildZeitpunkt;
extern DateTime ZeitstempelMsvcr71;
extern DateTime ZeitstempelTeamViewer;

// The unit's start-up: parses the three date-times with the process's format; when that
// fails, tells the user, forces the German format and asks the program to end.
// Returns false when it asked to end.
bool initialisiere(ILocale& locale, IDialogs& dialogs, IUi& ui, IKernel& kernel);

// The message shown when the date format is not German.
std::string datumsformatMeldung(const std::string& erkanntesFormat, bool vistaOderNeuer);

}  // namespace qm::Versionen
