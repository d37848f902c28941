#include "install/payload.h"

#include "install/datei_datum.h"
#include "install/dateien.h"
#include "install/decompression_stream.h"
#include "install/install_errors.h"
#include "install/zip_archive.h"

namespace qm {

std::string payloadBezeichnung(const std::string& typ, const std::string& name) { return typ + " (" + name + ")"; }

ResourceView findPayload(Platform& p, const std::string& typ, const std::string& name) {
    auto r = p.resources.find(typ, name, lang::German);
    if (!r) throw Exception("Die Ressource " + payloadBezeichnung(typ, name) + " fehlt im Installationsprogramm.");
    return *r;
}

void entpackeZlibPayload(Platform& p, const ResourceView& daten, const std::string& bezeichnung,
                         const std::string& ziel, const DateTime& datum, const std::function<void()>& angelegt,
                         const std::function<void(uint32_t)>& blockGelesen) {
    const std::string ordner = extractFilePath(ziel);
    if (!ordner.empty() && !p.files.directoryExists(ordner)) forceDirectories(p.files, ordner);

    FileHandle f = p.files.createFile(ziel, fileaccess::GenericRead | fileaccess::GenericWrite, 0,
                                      filecreate::CreateAlways, fileattr::Normal);
    if (!f) raiseCreateFailed(p.files, p.kernel, ziel);
    {
        struct Close {
            IFiles& files;
            FileHandle f;
            ~Close() { files.closeFile(f); }
        } close{p.files, f};
        if (angelegt) angelegt();
        try {
            TDecompressionStream z(daten.data, uint32_t(daten.size), blockGelesen);
            uint8_t puffer[4096];
            for (;;) {
                const uint32_t n = z.read(puffer, sizeof(puffer));
                if (n == 0) break;
                writeAll(p.files, p.kernel, f, puffer, n, ziel);
            }
        } catch (const EDecompressionError& e) {
            throw EDecompressionError("Die Ressource " + bezeichnung + " ist beschädigt (" + e.what() +
                                      "); die Datei '" + ziel + "' ist unvollständig.");
        }
    }
    setDateiDatum(p.files, ziel, datum);
}

void entpackeZipPayload(Platform& p, const ResourceView& daten, const std::string& bezeichnung,
                        const std::string& basis, bool mitPfaden) {
    TZipArchive archiv(daten.data, daten.size, bezeichnung);
    archiv.extractAll(p.files, p.kernel, basis, mitPfaden);
}

}  // namespace qm
