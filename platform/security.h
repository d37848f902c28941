#pragma once
// Access-control calls of ADVAPI32: SIDs, explicit-access lists and the security of a
// named object. Handles stand for the SID and ACL pointers Windows hands out.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qm {

using SidHandle = uintptr_t;
using AclHandle = uintptr_t;

namespace acl {
constexpr std::array<uint8_t, 6> WorldAuthority{0, 0, 0, 0, 0, 1};  // SECURITY_WORLD_SID_AUTHORITY
constexpr std::array<uint8_t, 6> NtAuthority{0, 0, 0, 0, 0, 5};     // SECURITY_NT_AUTHORITY
constexpr uint32_t WorldRid = 0;
constexpr uint32_t BuiltinDomainRid = 32;
constexpr uint32_t AliasRidAdmins = 544;
constexpr uint32_t GenericAll = 0x10000000;
constexpr uint32_t SetAccess = 2;
constexpr uint32_t SubContainersAndObjectsInherit = 3;
constexpr uint32_t TrusteeIsSid = 0;
constexpr uint32_t TrusteeIsGroup = 2;
constexpr uint32_t TrusteeIsWellKnownGroup = 5;
constexpr uint32_t SeFileObject = 1;
constexpr uint32_t DaclSecurityInformation = 4;
}  // namespace acl

struct ExplicitAccess {
    uint32_t permissions = 0;
    uint32_t accessMode = 0;
    uint32_t inheritance = 0;
    uint32_t trusteeForm = 0;
    uint32_t trusteeType = 0;
    SidHandle trustee = 0;
    bool multipleTrustee = false;
};

class ISecurity {
public:
    virtual ~ISecurity() = default;
    virtual bool allocateAndInitializeSid(const std::array<uint8_t, 6>& authority,
                                          const std::vector<uint32_t>& subAuthorities, SidHandle& out) = 0;
    virtual void freeSid(SidHandle sid) = 0;
    // SetEntriesInAcl (ANSI trustees); returns a Windows error code.
    virtual uint32_t setEntriesInAcl(const std::vector<ExplicitAccess>& entries, AclHandle oldAcl,
                                     AclHandle& newAcl) = 0;
    // SetNamedSecurityInfoW; returns a Windows error code.
    virtual uint32_t setNamedSecurityInfo(const std::string& objectName, uint32_t objectType,
                                          uint32_t securityInfo, SidHandle owner, SidHandle group, AclHandle dacl,
                                          AclHandle sacl) = 0;
    virtual void localFree(AclHandle acl) = 0;
    // "S-1-1-0" and so on; for logs and tests.
    virtual std::string sidText(SidHandle sid) = 0;
};

}  // namespace qm
