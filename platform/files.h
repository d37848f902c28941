#pragma once
// Files and folders: one call per Win32 function the setup uses. Paths are UTF-8, as the
// user typed them; results follow the Win32 functions, lastError() tells why one failed.
#include <cstdint>
#include <string>

#include "platform/kernel.h"

namespace qm {

using FileHandle = uintptr_t;  // 0: no file

namespace fileaccess {
constexpr uint32_t GenericRead = 0x80000000;
constexpr uint32_t GenericWrite = 0x40000000;
}  // namespace fileaccess

namespace filecreate {  // creation dispositions
constexpr uint32_t CreateAlways = 2;
constexpr uint32_t OpenExisting = 3;
}  // namespace filecreate

namespace fileattr {
constexpr uint32_t ReadOnly = 0x01;
constexpr uint32_t Hidden = 0x02;
constexpr uint32_t System = 0x04;
constexpr uint32_t Directory = 0x10;
constexpr uint32_t Archive = 0x20;
constexpr uint32_t Normal = 0x80;
constexpr uint32_t Invalid = 0xFFFFFFFF;
}  // namespace fileattr

// 100-nanosecond intervals since 1601-01-01, as FILETIME.
using FileTime = uint64_t;

struct FindData {
    std::string name;
    uint32_t attributes = 0;
    uint64_t size = 0;
    FileTime lastWriteTime = 0;
    bool directory() const { return (attributes & fileattr::Directory) != 0; }
};

class IFiles {
public:
    virtual ~IFiles() = default;
    // A file, not a folder.
    virtual bool fileExists(const std::string& path) = 0;
    virtual bool directoryExists(const std::string& path) = 0;
    // GetFileAttributes: fileattr::Invalid when the path does not exist.
    virtual uint32_t getFileAttributes(const std::string& path) = 0;
    // CreateDirectory: one level, the parent must exist.
    virtual bool createDirectory(const std::string& path) = 0;
    // CreateFile with no sharing unless `share` says otherwise.
    virtual FileHandle createFile(const std::string& path, uint32_t access, uint32_t share, uint32_t disposition,
                                  uint32_t attributes) = 0;
    // WriteFile: false on failure; `written` tells how much was taken either way.
    virtual bool writeFile(FileHandle f, const void* data, uint32_t size, uint32_t& written) = 0;
    // SetFileTime; a null pointer leaves that time as it is.
    virtual bool setFileTime(FileHandle f, const FileTime* creation, const FileTime* access,
                             const FileTime* lastWrite) = 0;
    virtual bool closeFile(FileHandle f) = 0;
    virtual bool deleteFile(const std::string& path) = 0;
    // LocalFileTimeToFileTime: with the time-zone offset in force now.
    virtual bool localFileTimeToFileTime(FileTime local, FileTime& utc) = 0;
    // FindFirstFile / FindNextFile / FindClose over a pattern such as folder + "\*.*".
    virtual Handle findFirstFile(const std::string& pattern, FindData& out) = 0;
    virtual bool findNextFile(Handle find, FindData& out) = 0;
    virtual void findClose(Handle find) = 0;
    // GetFullPathName: absolute, "." and ".." resolved, a segment's trailing period dropped.
    // Empty when the call fails.
    virtual std::string fullPathName(const std::string& path) = 0;
    virtual std::string currentDirectory() = 0;
    virtual uint32_t lastError() = 0;
};

}  // namespace qm
