#pragma once
// Resources of the program's own module, found by type and name (both compared without
// regard to case) and language. The bytes stay valid as long as the program runs.
#include <cstdint>
#include <string>

namespace qm {

namespace lang {
constexpr uint16_t German = 0x0407;  // 1031: LANG_GERMAN, SUBLANG_GERMAN
}

struct ResourceData {
    const uint8_t* data = nullptr;
    uint32_t size = 0;
};

class IResources {
public:
    virtual ~IResources() = default;
    // FindResourceEx, LoadResource, LockResource, SizeofResource. False when missing.
    virtual bool findResource(const std::string& type, const std::string& name, uint16_t language,
                              ResourceData& out) = 0;
};

}  // namespace qm
