#pragma once
// The Windows shell: special folders, shell links and change notifications.
#include <cstdint>
#include <string>

namespace qm {

namespace csidl {
constexpr int CommonPrograms = 0x17;
constexpr int CommonDesktopDirectory = 0x19;
}  // namespace csidl

namespace shcne {
constexpr int32_t MkDir = 0x8;
constexpr uint32_t PathA = 0x1;
}  // namespace shcne

// How saving a shell link went: hr 0 (S_OK) or the failing call and its HRESULT.
struct ShellLinkResult {
    int32_t hr = 0;
    std::string failedCall;  // "CoCreateInstance", "SetPath", ..., "Save"
    bool ok() const { return hr >= 0; }
};

class IShell {
public:
    virtual ~IShell() = default;
    // SHGetSpecialFolderLocation + SHGetPathFromIDList; the item list is released again.
    virtual bool specialFolderPath(int csidl, std::string& path) = 0;
    // A new ANSI shell link (IShellLinkA) with target and working folder and nothing else,
    // saved through IPersistFile::Save(linkPath, FALSE).
    virtual ShellLinkResult saveShellLink(const std::string& target, const std::string& workingFolder,
                                          const std::string& linkPath) = 0;
    virtual void changeNotify(int32_t eventId, uint32_t flags, const std::string& path) = 0;
};

}  // namespace qm
