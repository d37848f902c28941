#include "platform/dialogs.h"

namespace qm {

const char* msgDlgCaption(MsgDlgType type) {
    switch (type) {
    case MsgDlgType::Warning: return "Warnung";
    case MsgDlgType::Error: return "Fehler";
    case MsgDlgType::Information: return "Information";
    case MsgDlgType::Confirmation: return "Bestätigen";
    }
    return "";
}

}  // namespace qm
