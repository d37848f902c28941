#include "platform/win32/utf.h"
#include "platform/win32/win32_platform.h"

namespace qm::win32 {

// FindResource upper-cases string names and types, so they match without regard to case.
std::optional<ResourceView> Resources::find(const std::string& type, const std::string& name, uint16_t language) {
    HMODULE module = GetModuleHandleW(nullptr);
    std::wstring t = wide(type), n = wide(name);
    HRSRC r = language == lang::Any ? FindResourceW(module, n.c_str(), t.c_str())
                                    : FindResourceExW(module, t.c_str(), n.c_str(), language);
    if (!r) return std::nullopt;
    HGLOBAL g = LoadResource(module, r);
    if (!g) return std::nullopt;
    const void* data = LockResource(g);
    if (!data) return std::nullopt;
    return ResourceView{static_cast<const uint8_t*>(data), size_t(SizeofResource(module, r))};
}

}  // namespace qm::win32
