// Entry of the Windows program.
#include <windows.h>

#include "app/program.h"
#include "platform/win32/utf.h"
#include "platform/win32/win32_platform.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    qm::win32::Machine machine;
    try {
        return qm::runSetup(machine.platform);
    } catch (const std::exception& e) {
        machine.dialogs.showException(e.what());
        return 1;
    }
}
