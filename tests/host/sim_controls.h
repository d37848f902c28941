#pragma once
// Reaching a control as the user of the simulated machine does.
#include "platform/sim/sim_machine.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace qm::test {

inline sim::SimControlPeer& user(TControl& c) { return static_cast<sim::SimControlPeer&>(c.peer()); }
inline sim::SimFormPeer& user(TForm& f) { return static_cast<sim::SimFormPeer&>(f.peer()); }

}  // namespace qm::test
