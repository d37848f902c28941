#pragma once
// Version resources of executables (GetFileVersionInfoSize, GetFileVersionInfo,
// VerQueryValue).
#include <cstdint>
#include <string>
#include <vector>

namespace qm {

class IVersionInfo {
public:
    virtual ~IVersionInfo() = default;
    // 0 when the file has no version information or cannot be read.
    virtual uint32_t getFileVersionInfoSize(const std::string& file) = 0;
    // Fills `block`, which the caller sized with getFileVersionInfoSize.
    virtual bool getFileVersionInfo(const std::string& file, std::vector<uint8_t>& block) = 0;
    // VerQueryValue for a binary value (the translation table) and for a text value.
    // The sub-block path is passed as it stands.
    virtual bool verQueryValueBinary(const std::vector<uint8_t>& block, const std::string& subBlock,
                                     std::vector<uint8_t>& value) = 0;
    virtual bool verQueryValueText(const std::vector<uint8_t>& block, const std::string& subBlock,
                                   std::string& value) = 0;
};

}  // namespace qm
