#pragma once
// The simulated machine's version resources, its service manager and its programs.
// Programs are functions that run to their end inside createProcess.
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/sim/sim_files.h"
#include "platform/processes.h"
#include "platform/services.h"
#include "platform/versioninfo.h"

namespace qm::sim {

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
