#pragma once
// Version resources, the service manager and processes of the real Windows (files: win32_platform.h).
#include "platform/files.h"
#include "platform/processes.h"
#include "platform/services.h"
#include "platform/versioninfo.h"

namespace qm::win32 {

class VersionInfo : public IVersionInfo {
public:
    uint32_t getFileVersionInfoSize(const std::string& file) override;
    bool getFileVersionInfo(const std::string& file, std::vector<uint8_t>& block) override;
    bool verQueryValueBinary(const std::vector<uint8_t>& block, const std::string& subBlock,
                             std::vector<uint8_t>& value) override;
    bool verQueryValueText(const std::vector<uint8_t>& block, const std::string& subBlock,
                           std::string& value) override;
};

class Services : public IServices {
public:
    ScHandle openSCManager(uint32_t access) override;
    ScHandle openService(ScHandle manager, const std::string& serviceName, uint32_t access) override;
    bool queryServiceStatus(ScHandle service, uint32_t& currentState) override;
    void closeServiceHandle(ScHandle handle) override;
};

class Processes : public IProcesses {
public:
    uint32_t createProcess(const std::string& commandLine, uint32_t creationFlags, uint16_t showWindow,
                           ProcessInfo& out) override;
    uint32_t waitForSingleObject(Handle handle, uint32_t milliseconds) override;
    bool getExitCodeProcess(Handle process, uint32_t& exitCode) override;
    void closeHandle(Handle handle) override;
};

}  // namespace qm::win32
