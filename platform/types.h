#pragma once
// Basic types shared by the platform seam and the logic. Text is UTF-8 throughout;
// the win32 backend converts at the API boundary.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace qm {

// Base of every error the setup raises itself; the default error dialog shows its text.
class Exception : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An operating-system call failed; carries the Windows error code.
class EOSError : public Exception {
public:
    EOSError(uint32_t code, const std::string& text) : Exception(text), code_(code) {}
    uint32_t code() const { return code_; }
private:
    uint32_t code_;
};

class ERegistryException : public Exception {
public:
    using Exception::Exception;
};

class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// Windows error codes the logic looks at.
namespace winerr {
constexpr uint32_t Success = 0;
constexpr uint32_t FileNotFound = 2;
constexpr uint32_t AccessDenied = 5;
constexpr uint32_t InvalidHandle = 6;
constexpr uint32_t MoreData = 234;
constexpr uint32_t NoMoreItems = 259;
constexpr uint32_t AlreadyExists = 183;
}  // namespace winerr

}  // namespace qm
