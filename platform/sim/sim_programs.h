#pragma once
// Outside programs on the simulated machine, behaving as far as the setup relies on them.
#include <string>

#include "platform/sim/sim_machine.h"

namespace qm::sim {

// The database server's service tool at `path` ("...\instsvc.exe"):
//   install -auto -n NAME   registers "FirebirdServer"+NAME, automatic start, stopped
//   start -n NAME / stop -n NAME
//   remove -n NAME          also 0 when there is no such service
// Exit code 0 on success, 1 otherwise.
void installServiceTool(SimMachine& m, const std::string& path);

// C:\windows\system32\cmd.exe, as far as "/c exit N" goes (exit code N); anything else
// ends with 9009, as for an unknown command.
void installCommandInterpreter(SimMachine& m);

}  // namespace qm::sim
