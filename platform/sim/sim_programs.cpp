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
        const std::string service = "FirebirdServer" + args.back();
        const std::string& command = args[0];
        SimServices& s = m.services;
        SimServices::Service* existing = s.find(service);
        if (command == "install" && args.size() == 4 && args[1] == "-auto") {
            if (existing) return 1;
            s.add(service, svcstate::Stopped, true);
            return 0;
        }
        if (args.size() != 3) return 1;
        if (command == "start") {
            if (!existing || existing->state == svcstate::Running) return 1;
            existing->state = svcstate::Running;
            return 0;
        }
        if (command == "stop") {
            if (!existing || existing->state != svcstate::Running) return 1;
            existing->state = svcstate::Stopped;
            return 0;
        }
        if (command == "remove") {
            if (!existing) return 0;
            if (existing->state == svcstate::Running) return 1;
            s.remove(service);
            return 0;
        }
        return 1;
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
