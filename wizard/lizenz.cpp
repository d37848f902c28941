#include "wizard/lizenz.h"

#include <cmath>
#include <vector>

#include "platform/types.h"

namespace qm {

int rundeHalbGerade(double v) {
    double f = std::floor(v);
    double rest = v - f;
    if (rest > 0.5) return int(f) + 1;
    if (rest < 0.5) return int(f);
    return std::fmod(f, 2.0) == 0.0 ? int(f) : int(f) + 1;
}

TfmLizenz::TfmLizenz(Platform& p) : TForm(p) {
    peer_->setCaption("Lizenzbedingungen");
    setFormFont(Font{});
    peer_->setColor(colors::BtnFace);

    reLizenz.setAnchors(anchors::Left | anchors::Top | anchors::Right | anchors::Bottom);
    reLizenz.onKeyPress = [this](char& key) { reLizenzKeyPress(key); };
    paUnten.setAnchors(anchors::Left | anchors::Right | anchors::Bottom);
    for (TButton* b : {&buDrucken, &buSchliessen}) b->setAnchors(anchors::Left | anchors::Bottom);
    buDrucken.setTabOrder(0);
    buDrucken.onClick = [this] { buDruckenClick(); };
    buSchliessen.setTabOrder(1);
    buSchliessen.cancel = true;
    buSchliessen.modalResult = mr::Ok;

    setDesignClientSize({562, 484});
    loaded();
}

void TfmLizenz::FormShow() {
    std::optional<ResourceView> r = p_.resources.find("LIZENZRTF", "LIZENZ");
    if (!r) throw Exception("Ressource LIZENZ vom Typ LIZENZRTF wurde nicht gefunden");
    reLizenz.loadRichText(std::vector<uint8_t>(r->data, r->data + r->size));
    setDruckRaender(reLizenz, 1.0, 1.0, 0.8, 0.5);
}

void TfmLizenz::setDruckRaender(TRichEdit& re, double links, double rechts, double oben, double unten) {
    std::optional<PrinterMetrics> m = p_.printer.metrics();
    if (!m) return;
    re.pageRect = {rundeHalbGerade(m->dpiX * links) - m->offsetX, rundeHalbGerade(m->dpiY * oben) - m->offsetY,
                   m->pageWidth - rundeHalbGerade(m->dpiX * rechts) - m->offsetX,
                   m->pageHeight - rundeHalbGerade(m->dpiY * unten) - m->offsetY};
}

std::string TfmLizenz::meldungKeinDrucker() {
    return "Es ist kein Drucker installiert.\r\n"
           "Die Lizenzbedingungen können erst gedruckt werden, wenn ein Drucker eingerichtet ist.";
}

// Without a printer there is nothing to print on; say so rather than print nowhere.
void TfmLizenz::buDruckenClick() {
    if (!p_.printer.metrics()) {
        p_.dialogs.messageDlg(meldungKeinDrucker(), MsgDlgType::Warning, mb::OK);
        return;
    }
    // The margins belong to the printer that prints.
    setDruckRaender(reLizenz, 1.0, 1.0, 0.8, 0.5);
    reLizenz.print("Lizenzbedingungen");
}

void TfmLizenz::reLizenzKeyPress(char& key) {
    if (key == 27) setModalResult(mr::Ok);
}

}  // namespace qm
