#pragma once
// The uninstall log INSTDIR\QM50Uninst.log: one tag of 14 characters and a full path per
// line, CR LF, in the ANSI code page. Created anew per run and open while the product
// installation runs.
#include <string>

#include "platform/platform.h"

namespace qm {

namespace LogTag {
inline constexpr const char* Datei = "[Datei]       ";
inline constexpr const char* Verzeichnis = "[Verzeichnis] ";
inline constexpr const char* LinkFile = "[LinkFile]    ";
}  // namespace LogTag

class TUninstallLog {
public:
    explicit TUninstallLog(Platform& p) : p_(p) {}
    ~TUninstallLog() { close(); }
    TUninstallLog(const TUninstallLog&) = delete;
    TUninstallLog& operator=(const TUninstallLog&) = delete;

    // Truncates an existing log. False when the file cannot be created.
    bool create(const std::string& path);
    // Raises EDateiFehler when the line cannot be written.
    void append(const char* tag, const std::string& path);
    void close();
    bool isOpen() const { return file_ != 0; }
    const std::string& path() const { return path_; }

private:
    Platform& p_;
    FileHandle file_ = 0;
    std::string path_;
};

}  // namespace qm
