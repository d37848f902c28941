#pragma once
// The service control manager, read-only: the setup asks whether a service exists and
// runs; it registers, starts and stops services only through the server's own tool.
#include <cstdint>
#include <string>

namespace qm {

using ScHandle = uintptr_t;

namespace scaccess {
constexpr uint32_t ManagerAllAccess = 0xF003F;  // SC_MANAGER_ALL_ACCESS
constexpr uint32_t ServiceAllAccess = 0xF01FF;  // SERVICE_ALL_ACCESS
}  // namespace scaccess

namespace svcstate {
constexpr uint32_t Stopped = 1;
constexpr uint32_t StartPending = 2;
constexpr uint32_t StopPending = 3;
constexpr uint32_t Running = 4;
constexpr uint32_t ContinuePending = 5;
constexpr uint32_t PausePending = 6;
constexpr uint32_t Paused = 7;
}  // namespace svcstate

class IServices {
public:
    virtual ~IServices() = default;
    // This computer, the active database. 0 when the manager cannot be reached or
    // access is denied.
    virtual ScHandle openSCManager(uint32_t access) = 0;
    // 0 when there is no such service or access is denied.
    virtual ScHandle openService(ScHandle manager, const std::string& serviceName, uint32_t access) = 0;
    // The service's current state (svcstate::*); false when the query fails.
    virtual bool queryServiceStatus(ScHandle service, uint32_t& currentState) = 0;
    // Accepts 0.
    virtual void closeServiceHandle(ScHandle handle) = 0;
};

}  // namespace qm
