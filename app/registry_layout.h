#pragma once
// Where the setup reads and writes the registry. Everything lies under
// HKEY_LOCAL_MACHINE and, the setup being a 32-bit program, in the 32-bit view.

namespace qm::RegistryLayout {

// The application's key: Software\Tessarwind\Quillmark\ + HauptVersion.
inline constexpr const char* AnwendungsSchluessel = "Software\\Tessarwind\\Quillmark\\5.0";
inline constexpr const char* WertAppdir = "Appdir";
inline constexpr const char* WertInstallationsart = "Installationsart";
// Per database configuration, behind its prefix ("Name_" or empty).
inline constexpr const char* WertIBXDataFile = "IBXDataFile";
inline constexpr const char* WertIBXServerLocal = "IBXServerLocal";
inline constexpr const char* WertIBXServerName = "IBXServerName";
inline constexpr const char* WertIBXServerPort = "IBXServerPort";

// Kinds of installation stored in Installationsart.
inline constexpr int ArtEinzelplatz = 1;
inline constexpr int ArtNetzServer = 2;
inline constexpr int ArtNetzClient = 3;

// Written and deleted again to learn whether HKLM is writable.
inline constexpr const char* AdminProbeSchluessel = "Software";
inline constexpr const char* AdminProbeWert = "Test";

inline constexpr const char* WindowsSchluessel = "Software\\Microsoft\\Windows\\CurrentVersion";
inline constexpr const char* WertProgramFilesDir = "ProgramFilesDir";

inline constexpr const char* FirebirdInstanzenSchluessel =
    "Software\\Firebird Project\\Firebird Server\\Instances";

// Uninstall entry: ...\Uninstall\ + UninstallSchluessel.
inline constexpr const char* UninstallSchluesselPfad =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillmark50";
inline constexpr const char* WertDisplayName = "DisplayName";
inline constexpr const char* WertUninstallString = "UninstallString";

}  // namespace qm::RegistryLayout
