#pragma once
// The expansion GetFullPathName does, as a pure rule: the simulated machine uses it, and
// the Wine tier holds it against the real function on the same cases.
#include <string>

namespace qm {

// `currentDirectory` is absolute ("C:\Work" or "\\server\share\dir"). Returns "" for an
// empty path, as the real call fails there.
std::string expandFullPath(const std::string& path, const std::string& currentDirectory);

}  // namespace qm
