#pragma once
// Outside programs on the simulated machine, behaving as the project's stand-ins do as far
// as the setup relies on them.
#include <string>

#include "platform/sim/sim_machine.h"

namespace qm::sim {

// The database server's service tool at `path` ("...\instsvc.exe"):
//   install -auto -n NAME   registers "FirebirdServer"+NAME, automatic start, stopped
//   start -n NAME           0 also when it runs already
//   stop -n NAME            0 also when it is stopped already
//   remove -n NAME          stops it first; 0 also when there is no such service
// Exit codes: 0 done, 1 bad command line, 2 service manager not reachable, 3 failed.
void installServiceTool(SimMachine& m, const std::string& path);

// C:\windows\system32\cmd.exe, as far as "/c exit N" goes (exit code N); anything else
// ends with 9009, as for an unknown command.
void installCommandInterpreter(SimMachine& m);

}  // namespace qm::sim
