#pragma once
// Payload resources: German resources of the setup, found by type and name.
#include <functional>
#include <string>

#include "app/delphi_date.h"
#include "platform/platform.h"

namespace qm {

// "QM_EXE (QUILLMARK)": how errors name a payload.
std::string payloadBezeichnung(const std::string& typ, const std::string& name);

// The payload's bytes; raises when it is missing.
ResourceView findPayload(Platform& p, const std::string& typ, const std::string& name);

// Unpacks a payload that is one zlib stream into `ziel`: the folder chain is made, the
// file is created anew without sharing, `angelegt` runs once it exists, the data is
// inflated 64 KiB of input at a time (`blockGelesen` with the bytes consumed so far runs
// before each inflate) and written 4 KiB at a time, and the file gets `datum` as its
// last-write time. Every failure raises; a partly written file stays.
void entpackeZlibPayload(Platform& p, const ResourceView& daten, const std::string& bezeichnung,
                         const std::string& ziel, const DateTime& datum, const std::function<void()>& angelegt,
                         const std::function<void(uint32_t)>& blockGelesen);

// Unpacks a ZIP payload below `basis` (which must exist), flat or with its stored paths.
void entpackeZipPayload(Platform& p, const ResourceView& daten, const std::string& bezeichnung,
                        const std::string& basis, bool mitPfaden);

}  // namespace qm
