#pragma once
// File-system helpers in the manner of the original toolkit, over the platform's calls.
#include <string>

#include "platform/files.h"
#include "platform/kernel.h"

namespace qm {

// Creates the folder with all missing parents; true when it exists afterwards.
bool forceDirectories(IFiles& files, const std::string& path);
std::string extractFilePath(const std::string& path);  // up to and including the last "\"
std::string extractFileName(const std::string& path);  // after the last "\" or ":"

// Writes the whole block or raises EDateiFehler naming the file: a full disk must not
// leave a shortened file that counts as written.
void writeAll(IFiles& files, IKernel& kernel, FileHandle f, const void* data, uint32_t size,
              const std::string& path);
// "Die Datei '<path>' kann nicht erstellt werden. <reason>"
[[noreturn]] void raiseCreateFailed(IFiles& files, IKernel& kernel, const std::string& path);

}  // namespace qm
