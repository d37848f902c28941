#include "tests/contract/sim_backend.h"

namespace qm::contract {
std::vector<BackendFactory> backends() { return {simBackend()}; }
}  // namespace qm::contract
