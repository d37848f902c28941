#pragma once
// Kernel services: module and export probing, the OS version record, named semaphores,
// sleeping and error texts.
#include <cstdint>
#include <string>

namespace qm {

using Handle = uintptr_t;

struct OsVersionInfo {
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t build = 0;
    uint32_t platformId = 0;
    std::string csdVersion;  // service-pack text
};

struct SemaphoreResult {
    Handle handle = 0;        // 0: creation failed
    uint32_t lastError = 0;   // AlreadyExists when the name existed before
};

class IKernel {
public:
    virtual ~IKernel() = default;
    // 0 when the module is not loaded; lastError() then tells why.
    virtual Handle getModuleHandle(const std::string& name) = 0;
    virtual bool hasExport(Handle module, const std::string& exportName) = 0;
    virtual bool getVersionEx(OsVersionInfo& info) = 0;
    virtual uint32_t lastError() = 0;
    virtual std::string errorText(uint32_t code) = 0;
    virtual SemaphoreResult createSemaphore(const std::string& name, long initial, long maximum) = 0;
    virtual void closeHandle(Handle h) = 0;
    virtual void sleep(uint32_t milliseconds) = 0;
    // Full path of the running program's own executable.
    virtual std::string moduleFileName() = 0;
    // LoadLibrary by name through the normal search of Windows; 0 when it cannot be loaded.
    virtual Handle loadLibrary(const std::string& name) = 0;
    virtual void freeLibrary(Handle module) = 0;
};

}  // namespace qm
