#pragma once
// The setup's main window.
#include <string>

#include "platform/kernel.h"
#include "ui/form.h"

namespace qm {

class TfmInstall : public TForm {
public:
    // Posted to itself by a failed start-up check; its handler closes the window.
    static constexpr uint32_t WM_SCHLIESSEN = 0x0400 + 256;

    explicit TfmInstall(Platform& p);
    ~TfmInstall() override;

    bool checkAdminRechte();
    bool checkProgrammLaeuft();

    static std::string meldungKeineAdminRechte();
    static std::string meldungWindowsVersion();
    static std::string meldungProgrammLaeuft();

    void FormCreate();
    void FormShow() override;

protected:
    void handleMessage(uint32_t msg, uintptr_t w, intptr_t l) override;

private:
    bool probeLaufMarker();

    Handle laufMarker_ = 0;
    // A close request dispatched by a dialog's loop while the show handler still runs
    // waits until the handler is done, so the window is never torn down under it.
    bool inFormShow_ = false;
    bool schliessenAngefordert_ = false;
};

}  // namespace qm
