#pragma once
// The string fields of an executable's version resource.
#include <string>

#include "platform/kernel.h"
#include "platform/versioninfo.h"

namespace qm {

class TCEVersionInfo {
public:
    // Stands in every field that could not be filled.
    static constexpr const char* NichtVerfuegbar = "<info not available>";

    // Reads the running program's own file at once.
    TCEVersionInfo(IVersionInfo& versionInfo, IKernel& kernel);

    // Refills all fourteen fields from the named file.
    void GetInfo(const std::string& fileName);

    std::string CompanyName;
    std::string FileDescription;
    std::string FileVersion;
    std::string Internalname;
    std::string LegalCopyright;
    std::string LegalTradeMarks;
    std::string OriginalFilename;
    std::string ProductName;
    std::string ProductVersion;
    std::string Comments;
    std::string MajorVersion;
    std::string MinorVersion;
    std::string Release;
    std::string Build;

private:
    void setAll(const std::string& text);
    void splitFileVersion();
    IVersionInfo& vi_;
};

}  // namespace qm
