#pragma once
// The simulated file system: files (executables with their version resources) and folders.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/files.h"

namespace qm::sim {

// ---------------------------------------------------------------- files
struct VersionResource {
    // Language and code page of each string table; empty for a resource without a
    // translation table.
    std::vector<std::pair<uint16_t, uint16_t>> translations;
    // String tables by their folder name as written in the resource ("040704B0"),
    // each key to its text.
    std::map<std::string, std::map<std::string, std::string>> strings;

    // A usual resource: one German Unicode table with the two version texts.
    static VersionResource of(const std::string& fileVersion, const std::string& productVersion,
                              uint16_t language = 0x0407, uint16_t codePage = 0x04B0);
};

class SimFiles : public IFiles {
public:
    // The folders every Windows has.
    SimFiles();

    struct Entry {
        std::string path;  // as first given, expanded
        bool folder = false;
        std::string content;
        std::optional<VersionResource> version;
    };

    bool fileExists(const std::string& path) override;
    bool directoryExists(const std::string& path) override;
    std::string fullPathName(const std::string& path) override;
    std::string currentDirectory() override { return cwd; }

    // Set-up; parent folders come into being with a file or folder.
    void addFile(const std::string& path, const std::string& content = "");
    void addExe(const std::string& path, std::optional<VersionResource> version);
    void addFolder(const std::string& path);
    void makeDirectory(const std::string& path) { addFolder(path); }
    // A folder goes with everything below it.
    void remove(const std::string& path);
    const Entry* find(const std::string& path) const;

    std::string cwd = "C:\\Setup";

private:
    std::string key(const std::string& path) const;
    Entry& put(const std::string& path, bool folder);
    std::map<std::string, Entry> entries_;
};

}  // namespace qm::sim
