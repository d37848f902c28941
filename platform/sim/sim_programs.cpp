#include "platform/sim/sim_programs.h"

#include <sstream>
#include <vector>

namespace qm::sim {

void installServiceTool(SimMachine& m, const std::string& path) {
    m.processes.install(path, [&m](const std::string&, const std::string& arguments) -> uint32_t {
        std::istringstream in(arguments);
        std::vector<std::string> args;
        for (std::string a; in >> a;) args.push_back(a);
        if (args.size() < 3 || args[args.size() - 2] != "-n") return 1;
        const std::string& command = args[0];
        const bool install = command == "install" && args.size() == 4 && args[1] == "-auto";
        if (!install && (args.size() != 3 || (command != "start" && command != "stop" && command != "remove")))
            return 1;
        SimServices& s = m.services;
        if (!s.managerReachable) return 2;
        const std::string service = "FirebirdServer" + args.back();
        SimServices::Service* existing = s.find(service);
        if (install) {
            if (existing) return 3;
            s.add(service, svcstate::Stopped, true);
        } else if (command == "remove") {
            if (existing) s.remove(service);
        } else if (!existing) {
            return 3;
        } else {
            existing->state = command == "start" ? svcstate::Running : svcstate::Stopped;
        }
        return 0;
    });
}

void installCommandInterpreter(SimMachine& m) {
    m.processes.install("C:\\windows\\system32\\cmd.exe", [](const std::string&, const std::string& arguments) {
        std::istringstream in(arguments);
        std::string c, exit;
        unsigned long code = 0;
        if (in >> c >> exit >> code && (c == "/c" || c == "/C") && exit == "exit") return uint32_t(code);
        return uint32_t(9009);
    });
}

}  // namespace qm::sim
