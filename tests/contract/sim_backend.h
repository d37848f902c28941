#pragma once
#include "platform/sim/sim_machine.h"
#include "tests/contract/contract.h"

namespace qm::contract {

inline BackendFactory simBackend() {
    struct Sim : Backend {
        Sim() { m.resources.add("QMVERTRAG", "VERTRAG", "Quillmark Vertrag\r\n"); }
        sim::SimMachine m;
        Platform& platform() override { return m.platform; }
    };
    return {"Sim", [] { return std::make_unique<Sim>(); }};
}

}  // namespace qm::contract
