#include "platform/win32/win32_platform.h"
#include "tests/contract/sim_backend.h"

namespace qm::contract {

std::vector<BackendFactory> backends() {
    struct Win32 : Backend {
        win32::Machine m;
        Platform& platform() override { return m.platform; }
    };
    return {simBackend(), {"Win32", [] { return std::make_unique<Win32>(); }}};
}

}  // namespace qm::contract
