#pragma once
// Message dialogs and message boxes. Every dialog the setup shows goes through here,
// so tests can answer them and see each one.
#include <cstdint>
#include <optional>
#include <string>

namespace qm {

enum class MsgDlgType { Warning, Error, Information, Confirmation };

namespace mb {  // buttons of a message dialog
constexpr unsigned Yes = 1;
constexpr unsigned No = 2;
constexpr unsigned OK = 4;
constexpr unsigned Cancel = 8;
}  // namespace mb

namespace mr {  // answers (modal results)
constexpr int None = 0;
constexpr int Ok = 1;
constexpr int Cancel = 2;
constexpr int Yes = 6;
constexpr int No = 7;
}  // namespace mr

namespace mbflags {  // MessageBox flags
constexpr uint32_t IconInformation = 0x40;
constexpr uint32_t TaskModal = 0x2000;
constexpr uint32_t SetForeground = 0x10000;
constexpr uint32_t Info = IconInformation | TaskModal | SetForeground;  // 0x12040
}  // namespace mbflags

class IDialogs {
public:
    virtual ~IDialogs() = default;
    // A typed dialog; returns the answer (mr::*).
    virtual int messageDlg(const std::string& text, MsgDlgType type, unsigned buttons) = 0;
    // A plain message box without owner window.
    virtual int messageBox(const std::string& text, const std::string& caption, uint32_t flags) = 0;
    // The default error dialog for an error that escaped an event handler.
    virtual void showException(const std::string& message) = 0;
    // The shell's folder-browse dialog, opened at startFolder; nothing when cancelled.
    virtual std::optional<std::string> browseForFolder(const std::string& title, const std::string& startFolder) = 0;
};

// Captions of the typed dialogs.
const char* msgDlgCaption(MsgDlgType type);

}  // namespace qm
