#pragma once
// The simulated program's resources. A new machine carries the resources the real
// program is built with (read from the source tree), so windows open as they would.
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "platform/resources.h"

namespace qm::sim {

class SimResources : public IResources {
public:
    SimResources();
    std::optional<ResourceView> find(const std::string& type, const std::string& name,
                                     uint16_t language = lang::Any) override;

    void add(const std::string& type, const std::string& name, std::vector<uint8_t> data,
             uint16_t language = lang::German);
    void remove(const std::string& type, const std::string& name);
    // The program's own resources as built into the setup.
    static const char* sourceDir();

private:
    // Upper-case type and name, language.
    std::map<std::tuple<std::string, std::string, uint16_t>, std::vector<uint8_t>> items_;
};

}  // namespace qm::sim
