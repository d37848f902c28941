#pragma once
// The file system, as far as the logic asks it.
#include <string>

namespace qm {

class IFiles {
public:
    virtual ~IFiles() = default;
    virtual bool directoryExists(const std::string& path) = 0;
};

}  // namespace qm
