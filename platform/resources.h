#pragma once
// Resources of the running program, found by type and name. Names and types compare
// without regard to case, as Windows does.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace qm {

namespace lang {
constexpr uint16_t Any = 0;  // the system's own choice among the languages present
constexpr uint16_t German = 1031;
}  // namespace lang

// Bytes of a loaded resource; valid as long as the program runs.
struct ResourceView {
    const uint8_t* data = nullptr;
    size_t size = 0;
};

class IResources {
public:
    virtual ~IResources() = default;
    virtual std::optional<ResourceView> find(const std::string& type, const std::string& name,
                                             uint16_t language = lang::Any) = 0;
};

}  // namespace qm
