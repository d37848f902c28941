// Runs installProdukt with the real Win32 adapters on this (Wine) machine, with the
// user's answers scripted, and prints what happened for the checks of check_install.sh:
//   feedback: <line>        every line of the feedback log
//   dialog: <text>          every dialog, one line per text line
//   acl: <call>             every SetNamedSecurityInfo the step made, with its arguments
//   result: <n>             installProdukt's result
// Argument: the installation folder.
#include <cstdio>
#include <string>

#include "app/versionen.h"
#include "platform/sim/sim_machine.h"
#include "platform/win32/win32_platform.h"
#include "wizard/install_unit50.h"

namespace {

using namespace qm;

// The real security calls, with a record of what the step passed through them.
class RecordingSecurity : public ISecurity {
public:
    explicit RecordingSecurity(ISecurity& real) : real_(real) {}
    bool allocateAndInitializeSid(const std::array<uint8_t, 6>& a, const std::vector<uint32_t>& s,
                                  SidHandle& out) override {
        return real_.allocateAndInitializeSid(a, s, out);
    }
    void freeSid(SidHandle sid) override { real_.freeSid(sid); }
    uint32_t setEntriesInAcl(const std::vector<ExplicitAccess>& entries, AclHandle old, AclHandle& acl) override {
        uint32_t rc = real_.setEntriesInAcl(entries, old, acl);
        std::string t;
        for (const auto& e : entries) {
            char buf[160];
            std::snprintf(buf, sizeof buf, " [%08X %u %u %u %u %s]", e.permissions, e.accessMode, e.inheritance,
                          e.trusteeForm, e.trusteeType, real_.sidText(e.trustee).c_str());
            t += buf;
        }
        lists_[acl] = t;  // Windows may hand out the address of a freed list again
        std::printf("acl: SetEntriesInAcl ->%u\n", rc);
        return rc;
    }
    uint32_t setNamedSecurityInfo(const std::string& name, uint32_t type, uint32_t info, SidHandle owner,
                                  SidHandle group, AclHandle dacl, AclHandle sacl) override {
        uint32_t rc = real_.setNamedSecurityInfo(name, type, info, owner, group, dacl, sacl);
        std::printf("acl: SetNamedSecurityInfo %s|%u|%u|owner=%s|group=%s|sacl=%s|dacl=%s ->%u\n", name.c_str(), type,
                    info, owner ? real_.sidText(owner).c_str() : "-", real_.sidText(group).c_str(), sacl ? "set" : "-",
                    lists_[dacl].c_str(), rc);
        return rc;
    }
    void localFree(AclHandle acl) override { real_.localFree(acl); }
    std::string sidText(SidHandle sid) override { return real_.sidText(sid); }

private:
    ISecurity& real_;
    std::map<AclHandle, std::string> lists_;
};

void lines(const char* tag, const std::string& text) {
    size_t pos = 0;
    for (;;) {
        size_t nl = text.find("\r\n", pos);
        std::printf("%s: %s\n", tag, text.substr(pos, nl == std::string::npos ? nl : nl - pos).c_str());
        if (nl == std::string::npos) break;
        pos = nl + 2;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: qm_wine_install <installation folder>\n");
        return 2;
    }
    win32::Machine machine;
    sim::ScriptedUser user;
    RecordingSecurity security(machine.security);
    Platform p{machine.registry, machine.kernel, machine.locale, user, machine.ui, machine.resources,
               machine.files, machine.printer, machine.services, machine.processes, machine.versionInfo,
               machine.shell, security};
    if (!Versionen::initialisiere(p.locale, p.dialogs, p.ui, p.kernel)) {
        std::fprintf(stderr, "the date format of this machine is not German\n");
        return 3;
    }
    user.answer(mr::Ok);  // the closing message
    int result = 0;
    {
        TfmInstall fm(p);
        fm.JvdeQMInstallDir.setText(argv[1]);
        result = fm.installProdukt();
        for (const auto& l : fm.meFeedback.lines()) std::printf("feedback: %s\n", l.c_str());
    }
    for (const auto& d : user.shown) lines(d.scripted ? "dialog" : "unanswered dialog", d.text);
    std::printf("result: %d\n", result);
    std::fflush(stdout);
    return result == 0 && user.unscripted().empty() ? 0 : 1;
}
