#include "ui/form.h"

#include "platform/types.h"

namespace qm {

TForm::TForm(Platform& p) : p_(p), peer_(p.ui.createForm(*this)) {}

TForm::~TForm() = default;

bool TForm::safe(const std::function<void()>& fn) {
    try {
        fn();
        return true;
    } catch (const std::exception& e) {
        p_.dialogs.showException(e.what());
    } catch (...) {
        p_.dialogs.showException("Unbekannter Fehler");
    }
    return false;
}

}  // namespace qm
