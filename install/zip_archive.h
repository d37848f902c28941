#pragma once
// A small ZIP reader over a payload in memory: central directory, stored and deflated
// entries, CRC-32 checked. It unpacks into a base folder, flat or with the stored paths,
// overwriting what is there, and refuses entries that would land outside that folder.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/kernel.h"

namespace qm {

struct ZipEntry {
    std::string name;  // as stored, "/" between folders
    uint16_t flags = 0;
    uint16_t method = 0;
    uint16_t dosTime = 0, dosDate = 0;
    uint32_t crc = 0;
    uint32_t compressedSize = 0, size = 0;
    uint32_t localHeaderOffset = 0;
    bool directory() const { return !name.empty() && name.back() == '/'; }
};

class TZipArchive {
public:
    // `label` names the payload in every error. Raises EZipError for data that is no
    // readable archive.
    TZipArchive(const uint8_t* data, size_t size, std::string label);

    const std::vector<ZipEntry>& entries() const { return entries_; }

    // Unpacks every entry below `baseFolder` (which must exist). Flat: each file under
    // its name alone, no folders made. Every name is checked before anything is written.
    void extractAll(IFiles& files, IKernel& kernel, const std::string& baseFolder, bool withPaths) const;

    // Splits a stored name into the folder and file names it makes below the base folder.
    // False for a name that is absolute, has a drive, climbs out with "..", or names a
    // device; such an entry is never written.
    static bool safeParts(const std::string& name, std::vector<std::string>& parts);

private:
    [[noreturn]] void corrupt(const std::string& why) const;
    void extractEntry(IFiles& files, IKernel& kernel, const ZipEntry& e, const std::string& target) const;

    const uint8_t* data_;
    size_t size_;
    std::string label_;
    std::vector<ZipEntry> entries_;
};

}  // namespace qm
