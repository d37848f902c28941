#pragma once
// Unit AccessRights: full control for every user (and the administrators) on a folder
// and, if asked, on everything below it.
#include <string>

#include "platform/platform.h"

namespace qm {

// True when the access list was set on the folder itself; the walk below it does not
// change the result. Shows "Error Setting ACL Values:" when the list cannot be built.
bool setZugriffsrechte(Platform& p, const std::string& ordner, bool rekursiv);

// The walk: the path itself unless skipSelf, then its entries, skipping names that begin
// with "."; a file that cannot be changed ends the walk of its folder.
void setZugriffsrechteRekursiv(Platform& p, AclHandle acl, SidHandle gruppe, const std::string& pfad,
                               bool skipSelf);

}  // namespace qm
