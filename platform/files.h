#pragma once
// Files and folders as the detection sees them: existence tests and the full-path expansion.
#include <string>

namespace qm {

class IFiles {
public:
    virtual ~IFiles() = default;
    // A file, not a folder.
    virtual bool fileExists(const std::string& path) = 0;
    virtual bool directoryExists(const std::string& path) = 0;
    // GetFullPathName: absolute, "." and ".." resolved, a segment's trailing period dropped.
    // Empty when the call fails.
    virtual std::string fullPathName(const std::string& path) = 0;
    virtual std::string currentDirectory() = 0;
};

}  // namespace qm
