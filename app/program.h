#pragma once
#include "platform/platform.h"

namespace qm {

// The program entry after the platform exists: unit start-up, the windows, the loop.
// Returns the process exit code.
int runSetup(Platform& p);

}  // namespace qm
