#include "install/access_rights.h"

namespace qm {

namespace {
uint32_t applyAcl(Platform& p, AclHandle acl, SidHandle gruppe, const std::string& pfad) {
    // Only the access list counts; Everyone stands in the group position without effect.
    return p.security.setNamedSecurityInfo(pfad, acl::SeFileObject, acl::DaclSecurityInformation, 0, gruppe, acl, 0);
}
}  // namespace

void setZugriffsrechteRekursiv(Platform& p, AclHandle acl, SidHandle gruppe, const std::string& pfad,
                               bool skipSelf) {
    if (!skipSelf && applyAcl(p, acl, gruppe, pfad) != 0) return;
    FindData f;
    Handle find = p.files.findFirstFile(pfad + "\\*.*", f);
    if (!find) return;
    do {
        if (!f.name.empty() && f.name[0] == '.') continue;
        const std::string voll = pfad + "\\" + f.name;
        if (f.directory()) {
            setZugriffsrechteRekursiv(p, acl, gruppe, voll, false);
        } else if (applyAcl(p, acl, gruppe, voll) != 0) {
            break;
        }
    } while (p.files.findNextFile(find, f));
    p.files.findClose(find);
}

bool setZugriffsrechte(Platform& p, const std::string& ordner, bool rekursiv) {
    SidHandle everyone = 0, admins = 0;
    AclHandle acl = 0;
    struct Free {
        Platform& p;
        SidHandle& a;
        SidHandle& b;
        AclHandle& l;
        ~Free() {
            if (a) p.security.freeSid(a);
            if (b) p.security.freeSid(b);
            if (l) p.security.localFree(l);
        }
    } release{p, everyone, admins, acl};

    if (!p.security.allocateAndInitializeSid(acl::WorldAuthority, {acl::WorldRid}, everyone)) return false;
    if (!p.security.allocateAndInitializeSid(acl::NtAuthority, {acl::BuiltinDomainRid, acl::AliasRidAdmins}, admins))
        return false;
    const std::vector<ExplicitAccess> entries{
        {acl::GenericAll, acl::SetAccess, acl::SubContainersAndObjectsInherit, acl::TrusteeIsSid,
         acl::TrusteeIsWellKnownGroup, everyone, false},
        {acl::GenericAll, acl::SetAccess, acl::SubContainersAndObjectsInherit, acl::TrusteeIsSid, acl::TrusteeIsGroup,
         admins, false}};
    const uint32_t rc = p.security.setEntriesInAcl(entries, 0, acl);
    if (rc != 0) {
        acl = 0;
        p.dialogs.messageBox("Error Setting ACL Values:" + std::to_string(rc), "", 0);
        return false;
    }
    const uint32_t selbst = applyAcl(p, acl, everyone, ordner);
    if (rekursiv) setZugriffsrechteRekursiv(p, acl, everyone, ordner, true);
    return selbst == 0;
}

}  // namespace qm
