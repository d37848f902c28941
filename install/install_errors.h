#pragma once
// Errors of the product installation.
#include "platform/types.h"

namespace qm {

// Compressed data that cannot be inflated: corrupt, truncated or not zlib at all.
class EDecompressionError : public Exception {
public:
    using Exception::Exception;
};

// A ZIP payload that cannot be unpacked as it stands.
class EZipError : public Exception {
public:
    using Exception::Exception;
};

// A file of the installation could not be created or written.
class EDateiFehler : public Exception {
public:
    using Exception::Exception;
};

}  // namespace qm
