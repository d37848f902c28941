#pragma once
// Starting programs and waiting for them.
#include <cstdint>
#include <string>

#include "platform/kernel.h"

namespace qm {

namespace createflags {
constexpr uint32_t NewConsole = 0x10;      // CREATE_NEW_CONSOLE
constexpr uint32_t NormalPriority = 0x20;  // NORMAL_PRIORITY_CLASS
}  // namespace createflags

constexpr uint32_t Infinite = 0xFFFFFFFF;
constexpr uint32_t WaitObject0 = 0;

struct ProcessInfo {
    Handle process = 0;
    Handle thread = 0;
    uint32_t processId = 0;
};

class IProcesses {
public:
    virtual ~IProcesses() = default;
    // CreateProcess without application name: the command line's first word names the
    // program. No handles inherited, the caller's environment and current folder, start-up
    // information with STARTF_USESHOWWINDOW and `showWindow`. Returns 0, or the system's
    // error code when the program could not be started.
    virtual uint32_t createProcess(const std::string& commandLine, uint32_t creationFlags, uint16_t showWindow,
                                   ProcessInfo& out) = 0;
    virtual uint32_t waitForSingleObject(Handle handle, uint32_t milliseconds) = 0;
    virtual bool getExitCodeProcess(Handle process, uint32_t& exitCode) = 0;
    virtual void closeHandle(Handle handle) = 0;
};

}  // namespace qm
