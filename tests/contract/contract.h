#pragma once
// The platform's contract, checked with the same expectations against every backend:
// the simulated machine everywhere, the real Win32 calls under Wine.
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace qm::contract {

class Backend {
public:
    virtual ~Backend() = default;
    virtual Platform& platform() = 0;
};

struct BackendFactory {
    std::string name;
    std::function<std::unique_ptr<Backend>()> make;
};

inline void PrintTo(const BackendFactory& b, std::ostream* os) { *os << b.name; }

// Defined by each test program: the backends it checks.
std::vector<BackendFactory> backends();

}  // namespace qm::contract
