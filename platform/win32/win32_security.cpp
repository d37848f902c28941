#include <aclapi.h>
#include <sddl.h>

#include "platform/win32/utf.h"
#include "platform/win32/win32_platform.h"

namespace qm::win32 {

bool Security::allocateAndInitializeSid(const std::array<uint8_t, 6>& authority, const std::vector<uint32_t>& subs,
                                        SidHandle& out) {
    if (subs.empty() || subs.size() > 8) return false;
    SID_IDENTIFIER_AUTHORITY a{};
    for (int i = 0; i < 6; ++i) a.Value[i] = authority[size_t(i)];
    DWORD s[8] = {};
    for (size_t i = 0; i < subs.size(); ++i) s[i] = subs[i];
    PSID sid = nullptr;
    if (!AllocateAndInitializeSid(&a, BYTE(subs.size()), s[0], s[1], s[2], s[3], s[4], s[5], s[6], s[7], &sid))
        return false;
    out = reinterpret_cast<SidHandle>(sid);
    return true;
}

void Security::freeSid(SidHandle sid) {
    if (sid) FreeSid(reinterpret_cast<PSID>(sid));
}

uint32_t Security::setEntriesInAcl(const std::vector<ExplicitAccess>& entries, AclHandle oldAcl, AclHandle& newAcl) {
    std::vector<EXPLICIT_ACCESS_A> ea(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        const ExplicitAccess& e = entries[i];
        ea[i].grfAccessPermissions = e.permissions;
        ea[i].grfAccessMode = ACCESS_MODE(e.accessMode);
        ea[i].grfInheritance = e.inheritance;
        ea[i].Trustee.pMultipleTrustee = nullptr;
        ea[i].Trustee.MultipleTrusteeOperation = NO_MULTIPLE_TRUSTEE;
        ea[i].Trustee.TrusteeForm = TRUSTEE_FORM(e.trusteeForm);
        ea[i].Trustee.TrusteeType = TRUSTEE_TYPE(e.trusteeType);
        ea[i].Trustee.ptstrName = reinterpret_cast<LPSTR>(e.trustee);
    }
    PACL acl = nullptr;
    DWORD rc = SetEntriesInAclA(ULONG(ea.size()), ea.data(), reinterpret_cast<PACL>(oldAcl), &acl);
    if (rc == ERROR_SUCCESS) newAcl = reinterpret_cast<AclHandle>(acl);
    return rc;
}

uint32_t Security::setNamedSecurityInfo(const std::string& objectName, uint32_t objectType, uint32_t securityInfo,
                                        SidHandle owner, SidHandle group, AclHandle dacl, AclHandle sacl) {
    std::wstring name = wide(objectName);
    return SetNamedSecurityInfoW(name.data(), SE_OBJECT_TYPE(objectType), SECURITY_INFORMATION(securityInfo),
                                 reinterpret_cast<PSID>(owner), reinterpret_cast<PSID>(group),
                                 reinterpret_cast<PACL>(dacl), reinterpret_cast<PACL>(sacl));
}

void Security::localFree(AclHandle acl) {
    if (acl) LocalFree(reinterpret_cast<HLOCAL>(acl));
}

std::string Security::sidText(SidHandle sid) {
    wchar_t* text = nullptr;
    if (!sid || !ConvertSidToStringSidW(reinterpret_cast<PSID>(sid), &text)) return {};
    std::string s = utf8(text);
    LocalFree(text);
    return s;
}

}  // namespace qm::win32
