#include "platform/sim/sim_install.h"

#include <algorithm>

#include "platform/types.h"

namespace qm::sim {

namespace {
std::string upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::toupper(c); });
    return s;
}
std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}
constexpr int32_t kPathNotFoundHr = int32_t(0x80070003);
}  // namespace

// ---------------------------------------------------------------- shell
bool SimShell::specialFolderPath(int csidl, std::string& path) {
    auto it = specialFolders.find(csidl);
    if (it == specialFolders.end()) return false;
    path = it->second;
    return true;
}

std::string SimShell::fileContent(const std::string& target, const std::string& workingFolder) {
    return "[Shell link]\r\nTarget=" + target + "\r\nWorkingFolder=" + workingFolder + "\r\n";
}

ShellLinkResult SimShell::saveShellLink(const std::string& target, const std::string& workingFolder,
                                        const std::string& linkPath) {
    if (createFailure) return {createFailure, "CoCreateInstance"};
    auto fail = saveFails.find(lower(linkPath));
    if (fail != saveFails.end()) return {fail->second, "Save"};
    size_t cut = linkPath.find_last_of('\\');
    if (cut == std::string::npos || !files_.isDirectory(linkPath.substr(0, cut))) return {kPathNotFoundHr, "Save"};
    files_.write(linkPath, fileContent(target, workingFolder));
    saved.push_back({target, workingFolder, linkPath});
    return {};
}

void SimShell::changeNotify(int32_t eventId, uint32_t flags, const std::string& path) {
    notifications.push_back({eventId, flags, path});
}

// ---------------------------------------------------------------- security
bool SimSecurity::allocateAndInitializeSid(const std::array<uint8_t, 6>& authority, const std::vector<uint32_t>& subs,
                                           SidHandle& out) {
    if (sidFails || subs.empty() || subs.size() > 8) return false;
    uint64_t a = 0;
    for (uint8_t b : authority) a = (a << 8) | b;
    std::string text = "S-1-" + std::to_string(a);
    for (uint32_t s : subs) text += "-" + std::to_string(s);
    out = next_++;
    sids_[out] = text;
    return true;
}

void SimSecurity::freeSid(SidHandle sid) { sids_.erase(sid); }

std::string SimSecurity::sidText(SidHandle sid) {
    auto it = sids_.find(sid);
    return it == sids_.end() ? std::string() : it->second;
}

uint32_t SimSecurity::setEntriesInAcl(const std::vector<ExplicitAccess>& entries, AclHandle oldAcl,
                                      AclHandle& newAcl) {
    if (entriesInAclError) return entriesInAclError;
    std::vector<Entry> list;
    if (oldAcl) {
        auto it = acls_.find(oldAcl);
        if (it == acls_.end()) return 87;
        list = it->second;
    }
    for (const auto& e : entries) {
        if (e.trusteeForm == acl::TrusteeIsSid && !sids_.count(e.trustee)) return 87;  // ERROR_INVALID_PARAMETER
        list.push_back({e.permissions, e.accessMode, e.inheritance, e.trusteeForm, e.trusteeType, sidText(e.trustee),
                        e.multipleTrustee});
    }
    newAcl = next_++;
    acls_[newAcl] = std::move(list);
    return 0;
}

uint32_t SimSecurity::setNamedSecurityInfo(const std::string& objectName, uint32_t objectType,
                                           uint32_t securityInfo, SidHandle owner, SidHandle group, AclHandle dacl,
                                           AclHandle sacl) {
    Call c{objectName, objectType, securityInfo, sidText(owner), sidText(group), dacl != 0, sacl != 0, {}, 0};
    if (dacl) c.dacl = acls_.count(dacl) ? acls_[dacl] : std::vector<Entry>{};
    const std::string host = files_.hostPath(objectName);
    if (objectType != acl::SeFileObject) c.result = 87;
    else if (host.empty() || !files_.exists(objectName)) c.result = winerr::FileNotFound;
    else if (denied_.count(host)) c.result = denied_[host];
    else if (dacl && !acls_.count(dacl)) c.result = 1336;  // ERROR_INVALID_ACL
    else if (securityInfo & acl::DaclSecurityInformation) explicitEntries[host] = c.dacl;
    calls.push_back(c);
    return c.result;
}

void SimSecurity::localFree(AclHandle h) { acls_.erase(h); }

std::vector<SimSecurity::Entry> SimSecurity::explicitOf(const std::string& path) const {
    auto it = explicitEntries.find(files_.hostPath(path));
    return it == explicitEntries.end() ? std::vector<Entry>{} : it->second;
}

void SimSecurity::setExplicit(const std::string& path, std::vector<Entry> entries) {
    explicitEntries[files_.hostPath(path)] = std::move(entries);
}

}  // namespace qm::sim
