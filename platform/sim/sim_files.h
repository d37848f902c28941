#pragma once
// The simulated file system, as far as the logic asks it.
#include <set>
#include <string>

#include "platform/files.h"

namespace qm::sim {

class SimFiles : public IFiles {
public:
    // The folders every Windows has.
    SimFiles();
    bool directoryExists(const std::string& path) override;
    // Creates the folder and its parents.
    void makeDirectory(const std::string& path);

private:
    static std::string key(std::string path);
    std::set<std::string> dirs_;
};

}  // namespace qm::sim
