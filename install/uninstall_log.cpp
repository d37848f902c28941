#include "install/uninstall_log.h"

#include "install/dateien.h"
#include "install/install_errors.h"

namespace qm {

bool TUninstallLog::create(const std::string& path) {
    close();
    file_ = p_.files.createFile(path, fileaccess::GenericWrite, 0, filecreate::CreateAlways, fileattr::Normal);
    path_ = path;
    return file_ != 0;
}

void TUninstallLog::append(const char* tag, const std::string& path) {
    if (!file_) throw EDateiFehler("Die Deinstallationsdatei '" + path_ + "' ist nicht geöffnet.");
    const std::string line = p_.locale.ansiFromUtf8(std::string(tag) + path) + "\r\n";
    writeAll(p_.files, p_.kernel, file_, line.data(), uint32_t(line.size()), path_);
}

void TUninstallLog::close() {
    if (!file_) return;
    p_.files.closeFile(file_);
    file_ = 0;
}

}  // namespace qm
