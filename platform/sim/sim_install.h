#pragma once
// The simulated machine's shell and access-control store.
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "platform/security.h"
#include "platform/shell.h"
#include "platform/sim/sim_files.h"

namespace qm::sim {

// ---------------------------------------------------------------- shell
class SimShell : public IShell {
public:
    explicit SimShell(SimFiles& files) : files_(files) {}
    bool specialFolderPath(int csidl, std::string& path) override;
    ShellLinkResult saveShellLink(const std::string& target, const std::string& workingFolder,
                                  const std::string& linkPath) override;
    void changeNotify(int32_t eventId, uint32_t flags, const std::string& path) override;

    struct Link {
        std::string target, workingFolder, path;
    };
    struct Notification {
        int32_t eventId;
        uint32_t flags;
        std::string path;
    };
    std::map<int, std::string> specialFolders{
        {0x17, "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs"}, {0x19, "C:\\Users\\Public\\Desktop"}};
    std::vector<Link> saved;
    std::vector<Notification> notifications;
    int32_t createFailure = 0;                 // HRESULT of CoCreateInstance, 0: works
    std::map<std::string, int32_t> saveFails;  // link path (lower case) -> HRESULT of Save
    // The link a test can read back from the simulated disk.
    static std::string fileContent(const std::string& target, const std::string& workingFolder);

private:
    SimFiles& files_;
};

// ---------------------------------------------------------------- security
class SimSecurity : public ISecurity {
public:
    explicit SimSecurity(SimFiles& files) : files_(files) {}
    bool allocateAndInitializeSid(const std::array<uint8_t, 6>& authority, const std::vector<uint32_t>& subs,
                                  SidHandle& out) override;
    void freeSid(SidHandle sid) override;
    uint32_t setEntriesInAcl(const std::vector<ExplicitAccess>& entries, AclHandle oldAcl, AclHandle& newAcl) override;
    uint32_t setNamedSecurityInfo(const std::string& objectName, uint32_t objectType, uint32_t securityInfo,
                                  SidHandle owner, SidHandle group, AclHandle dacl, AclHandle sacl) override;
    void localFree(AclHandle acl) override;
    std::string sidText(SidHandle sid) override;

    // An access entry as recorded, with its trustee as SID text.
    struct Entry {
        uint32_t permissions, accessMode, inheritance, trusteeForm, trusteeType;
        std::string trustee;
        bool multipleTrustee;
        bool operator==(const Entry&) const = default;
    };
    struct Call {
        std::string path;
        uint32_t objectType, securityInfo;
        std::string owner, group;  // SID texts, empty for none
        bool daclGiven, saclGiven;
        std::vector<Entry> dacl;
        uint32_t result;
    };
    std::vector<Call> calls;
    // Explicit entries per object (host path of the simulated disk).
    std::map<std::string, std::vector<Entry>> explicitEntries;
    std::vector<Entry> explicitOf(const std::string& path) const;
    void setExplicit(const std::string& path, std::vector<Entry> entries);
    void deny(const std::string& path, uint32_t error = 5) { denied_[files_.hostPath(path)] = error; }
    bool sidFails = false;
    uint32_t entriesInAclError = 0;
    size_t liveSids() const { return sids_.size(); }
    size_t liveAcls() const { return acls_.size(); }

private:
    SimFiles& files_;
    std::map<SidHandle, std::string> sids_;
    std::map<AclHandle, std::vector<Entry>> acls_;
    std::map<std::string, uint32_t> denied_;
    uintptr_t next_ = 0x9000;
};

}  // namespace qm::sim
