#include "install/dateien.h"

#include "install/install_errors.h"

namespace qm {

std::string extractFilePath(const std::string& path) {
    size_t cut = path.find_last_of("\\:");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

std::string extractFileName(const std::string& path) {
    size_t cut = path.find_last_of("\\:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

void writeAll(IFiles& files, IKernel& kernel, FileHandle f, const void* data, uint32_t size, const std::string& path) {
    constexpr uint32_t kDiskFull = 112;
    uint32_t written = 0;
    const bool ok = files.writeFile(f, data, size, written);
    if (ok && written == size) return;
    throw EDateiFehler("Die Datei '" + path + "' konnte nicht vollständig geschrieben werden. " +
                       kernel.errorText(ok ? kDiskFull : files.lastError()));
}

void raiseCreateFailed(IFiles& files, IKernel& kernel, const std::string& path) {
    throw EDateiFehler("Die Datei '" + path + "' kann nicht erstellt werden. " + kernel.errorText(files.lastError()));
}

bool forceDirectories(IFiles& files, const std::string& path) {
    std::string dir = path;
    while (dir.size() > 1 && dir.back() == '\\') dir.pop_back();
    if (dir.empty()) return false;
    // A drive root, or a name that has no parent left, ends the climb.
    if (dir.size() < 3 || files.directoryExists(dir) || extractFilePath(dir) == dir) return true;
    return forceDirectories(files, extractFilePath(dir)) && files.createDirectory(dir);
}

}  // namespace qm
