#include "app/program.h"

#include "app/get_windows_version.h"
#include "app/versionen.h"
#include "wizard/install_unit50.h"

namespace qm {

int runSetup(Platform& p) {
    // May ask to end; start-up goes on and the loop takes the request.
    Versionen::initialisiere(p.locale, p.dialogs, p.ui, p.kernel);
    p.ui.useClassicDialogs();
    if (getWindowsVersion(p.kernel) == WindowsVersion::WinVista) p.ui.setMainFormOnTaskbar(true);
    TfmInstall fmInstall(p);
    p.ui.setMainForm(&fmInstall.peer());
    p.ui.run();
    return 0;
}

}  // namespace qm
