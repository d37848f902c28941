#pragma once
// The simulated machine's file system with version resources, its service manager and
// its programs. Programs are functions that run to their end inside createProcess.
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/processes.h"
#include "platform/services.h"
#include "platform/versioninfo.h"

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
    // A folder goes with everything below it.
    void remove(const std::string& path);
    const Entry* find(const std::string& path) const;

    std::string cwd = "C:\\Setup";

private:
    std::string key(const std::string& path) const;
    Entry& put(const std::string& path, bool folder);
    std::map<std::string, Entry> entries_;
};

// ---------------------------------------------------------------- version resources
class SimVersionInfo : public IVersionInfo {
public:
    explicit SimVersionInfo(SimFiles& files) : files_(files) {}
    uint32_t getFileVersionInfoSize(const std::string& file) override;
    bool getFileVersionInfo(const std::string& file, std::vector<uint8_t>& block) override;
    bool verQueryValueBinary(const std::vector<uint8_t>& block, const std::string& subBlock,
                             std::vector<uint8_t>& value) override;
    bool verQueryValueText(const std::vector<uint8_t>& block, const std::string& subBlock,
                           std::string& value) override;

    std::vector<std::string> queried;  // every sub-block path asked for, as passed

private:
    const VersionResource* resourceOf(const std::vector<uint8_t>& block) const;
    SimFiles& files_;
    std::vector<VersionResource> copies_;  // what each filled block holds
};

// ---------------------------------------------------------------- services
class SimServices : public IServices {
public:
    struct Service {
        std::string name;
        uint32_t state = svcstate::Stopped;
        bool autoStart = false;
    };

    ScHandle openSCManager(uint32_t access) override;
    ScHandle openService(ScHandle manager, const std::string& serviceName, uint32_t access) override;
    bool queryServiceStatus(ScHandle service, uint32_t& currentState) override;
    void closeServiceHandle(ScHandle handle) override;

    Service& add(const std::string& name, uint32_t state = svcstate::Stopped, bool autoStart = true);
    void remove(const std::string& name);
    Service* find(const std::string& name);
    size_t openHandles() const { return handles_.size(); }

    // No administrator: the manager cannot be opened.
    bool managerReachable = true;
    bool statusQueryFails = false;
    std::vector<uint32_t> managerAccess;  // access asked for by each openSCManager
    std::vector<std::pair<std::string, uint32_t>> serviceOpens;  // name and access of each openService

private:
    std::map<std::string, Service> services_;  // by lower-case name
    std::map<ScHandle, std::string> handles_;  // "" for the manager
    ScHandle next_ = 0x5C000;
};

// ---------------------------------------------------------------- processes
struct SimProcessStart {
    std::string commandLine;
    uint32_t creationFlags = 0;
    uint16_t showWindow = 0;
    std::string program;  // the file that ran; empty when the start failed
    uint32_t error = 0;   // the system's error code of a failed start
};

// Runs with the command line and the text after the program's name; returns the exit code.
using SimProgram = std::function<uint32_t(const std::string& commandLine, const std::string& arguments)>;

class SimProcesses : public IProcesses {
public:
    explicit SimProcesses(SimFiles& files) : files_(files) {}
    uint32_t createProcess(const std::string& commandLine, uint32_t creationFlags, uint16_t showWindow,
                           ProcessInfo& out) override;
    uint32_t waitForSingleObject(Handle handle, uint32_t milliseconds) override;
    bool getExitCodeProcess(Handle process, uint32_t& exitCode) override;
    void closeHandle(Handle handle) override;

    // Puts an executable at `path` that runs `program`.
    void install(const std::string& path, SimProgram program);
    // One that exits with `exitCode` at once.
    void installExit(const std::string& path, uint32_t exitCode);

    std::vector<SimProcessStart> starts;
    std::vector<uint32_t> waits;  // time-out of each wait
    size_t openHandles() const { return handles_.size(); }

private:
    struct Proc {
        uint32_t exitCode;
        bool isProcess;
    };
    std::string resolve(const std::string& commandLine, std::string& arguments, uint32_t& error);
    SimFiles& files_;
    std::map<std::string, SimProgram> programs_;  // by expanded lower-case path
    std::map<Handle, Proc> handles_;
    Handle next_ = 0x9000;
    uint32_t nextPid_ = 4000;
};

}  // namespace qm::sim
