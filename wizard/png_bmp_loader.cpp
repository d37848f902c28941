#include "wizard/png_bmp_loader.h"

#include "platform/types.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace qm {

namespace {
void loadRessource(TImage& bild, const std::string& name, const std::string& typ, PictureFormat format) {
    Platform& p = bild.form().platform();
    std::optional<ResourceView> r = p.resources.find(typ, name);
    if (!r) throw Exception("Ressource " + name + " vom Typ " + typ + " wurde nicht gefunden");
    bild.setPicture(p.ui.decodePicture(r->data, r->size, format));
}
}  // namespace

void loadPngRessource(TImage& bild, const std::string& gruppe, const std::string& schluessel) {
    loadRessource(bild, gruppe, schluessel + "PNG", PictureFormat::Png);
}

void loadBmpRessource(TImage& bild, const std::string& name, const std::string& typ) {
    loadRessource(bild, name, typ, PictureFormat::Bmp);
}

}  // namespace qm
