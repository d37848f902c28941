#pragma once
// Raw registry seam: one call per Reg* function the setup uses. Semantics follow the
// Win32 functions, return values are Windows error codes.
#include <cstdint>
#include <string>
#include <vector>

namespace qm {

enum class RootKey { LocalMachine, CurrentUser };

using HKey = uintptr_t;

namespace regaccess {
constexpr uint32_t KeyRead = 0x20019;
constexpr uint32_t KeyAllAccess = 0xF003F;
constexpr uint32_t Wow64_64Key = 0x0100;  // only tests look at the 64-bit side
constexpr uint32_t Wow64_32Key = 0x0200;
}  // namespace regaccess

namespace regtype {
constexpr uint32_t None = 0;
constexpr uint32_t Sz = 1;
constexpr uint32_t ExpandSz = 2;
constexpr uint32_t Binary = 3;
constexpr uint32_t Dword = 4;
}  // namespace regtype

class IRegistry {
public:
    virtual ~IRegistry() = default;
    virtual uint32_t openKey(RootKey root, const std::string& subKey, uint32_t access, HKey& out) = 0;
    // Opens or creates; `created` tells which.
    virtual uint32_t createKey(RootKey root, const std::string& subKey, uint32_t access, HKey& out,
                               bool* created = nullptr) = 0;
    virtual uint32_t closeKey(HKey key) = 0;
    // Missing value: FileNotFound. REG_SZ data comes back as UTF-8 bytes without terminator.
    virtual uint32_t queryValue(HKey key, const std::string& name, uint32_t& type,
                                std::vector<uint8_t>& data) = 0;
    virtual uint32_t setValue(HKey key, const std::string& name, uint32_t type,
                              const std::vector<uint8_t>& data) = 0;
    virtual uint32_t deleteValue(HKey key, const std::string& name) = 0;
    // Value names in the order the registry returns them (RegEnumValue, index 0, 1, ...).
    virtual uint32_t enumValueNames(HKey key, std::vector<std::string>& names) = 0;
};

}  // namespace qm
