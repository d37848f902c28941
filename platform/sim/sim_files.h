#pragma once
// The simulated machine's file system: real files below a temporary folder of the host,
// one sub-folder per drive letter, names compared without regard to case as on Windows.
// Faults a test wants (files in use, a full disk, folders that cannot be made) are set here.
#include <cstdint>
#include <fstream>
#include <memory>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/files.h"

namespace qm::sim {

// ---------------------------------------------------------------- files
struct VersionResource {
    // Language and code page of each string table; empty for a resource without a
    // translation table.
    std::vector<std::pair<uint16_t, uint16_t>> translations;
    // String tables by their folder name as written in the resource ("040704B0"),
    // each key to its text.
    std::map<std::string, std::map<std::string, std::string>> strings;

    // A usual resource: one German Unicode table with the two version texts.
    static VersionResource of(const std::string& fileVersion, const std::string& productVersion,
                              uint16_t language = 0x0407, uint16_t codePage = 0x04B0);
};

class SimFiles : public IFiles {
public:
    SimFiles();
    ~SimFiles() override;
    SimFiles(const SimFiles&) = delete;
    SimFiles& operator=(const SimFiles&) = delete;

    bool directoryExists(const std::string& path) override { return isDirectory(path); }
    // A name with a separator at its end names a folder.
    bool fileExists(const std::string& path) override {
        return !path.empty() && path.back() != '\\' && path.back() != '/' && exists(path) && !isDirectory(path);
    }
    std::string currentDirectory() override { return cwd; }
    uint32_t getFileAttributes(const std::string& path) override;
    bool createDirectory(const std::string& path) override;
    FileHandle createFile(const std::string& path, uint32_t access, uint32_t share, uint32_t disposition,
                          uint32_t attributes) override;
    bool writeFile(FileHandle f, const void* data, uint32_t size, uint32_t& written) override;
    bool setFileTime(FileHandle f, const FileTime* creation, const FileTime* access,
                     const FileTime* lastWrite) override;
    bool closeFile(FileHandle f) override;
    bool deleteFile(const std::string& path) override;
    bool localFileTimeToFileTime(FileTime local, FileTime& utc) override;
    Handle findFirstFile(const std::string& pattern, FindData& out) override;
    bool findNextFile(Handle find, FindData& out) override;
    void findClose(Handle find) override;
    std::string fullPathName(const std::string& path) override;
    uint32_t lastError() override { return lastError_; }

    // ---- set-up and inspection by tests (Windows paths)
    // The host path a Windows path resolves to; empty for a path the machine cannot hold.
    std::string hostPath(const std::string& path) const;
    const std::string& root() const { return root_; }
    bool exists(const std::string& path) const;
    bool isDirectory(const std::string& path) const;
    std::string read(const std::string& path) const;
    void write(const std::string& path, const std::string& content);  // parents are made
    void makeDirectories(const std::string& path);
    void makeDirectory(const std::string& path) { makeDirectories(path); }
    std::optional<FindData> stat(const std::string& path) const;
    // Names in a folder as the file system delivers them (without "." and "..").
    std::vector<std::string> list(const std::string& folder) const;
    // In use by another process: opening and deleting fail with a sharing violation.
    void lock(const std::string& path);
    void setAttributes(const std::string& path, uint32_t attributes);
    void failCreateDirectory(const std::string& path, uint32_t error = 5);
    // Bytes left on every drive; writes beyond fail with ERROR_DISK_FULL after a short write.
    std::optional<uint64_t> freeBytes;
    // Local time = UTC + this offset (the time zone in force while the setup runs).
    int utcOffsetMinutes = 60;
    FileTime now = 133800000000000000ULL;  // the machine's clock for new files
    std::string cwd = "C:\\Setup";

    // The detection's view of a file: its content and version resource.
    struct Entry {
        std::string path;  // expanded
        bool folder = false;
        std::string content;
        std::optional<VersionResource> version;
    };
    // Set-up; parent folders come into being with a file or folder.
    void addFile(const std::string& path, const std::string& content = "");
    void addExe(const std::string& path, std::optional<VersionResource> version);
    void addFolder(const std::string& path) { makeDirectories(path); }
    // A folder goes with everything below it.
    void remove(const std::string& path);
    // Null when nothing is there; valid until the next call for the same path.
    const Entry* find(const std::string& path) const;
    size_t openHandles() const { return handles_.size() + finds_.size(); }

private:
    struct Open {
        std::unique_ptr<std::fstream> stream;
        std::string host;
        uint32_t access;
    };
    struct Meta {
        uint32_t attributes = 0;
        FileTime lastWrite = 0;
    };
    struct Find {
        std::vector<FindData> entries;
        size_t next = 0;
    };
    bool fail(uint32_t error) {
        lastError_ = error;
        return false;
    }
    FindData describe(const std::string& host, const std::string& name) const;
    const std::map<std::string, std::string>& namesIn(const std::string& hostDir) const;
    void noteCreated(const std::string& host);
    void noteRemoved(const std::string& host);
    Meta& meta(const std::string& host);

    std::string root_;
    uint32_t lastError_ = 0;
    std::map<FileHandle, Open> handles_;
    std::map<Handle, Find> finds_;
    uintptr_t next_ = 0x4000;
    std::map<std::string, Meta> meta_;  // by host path
    std::set<std::string> locked_;
    std::map<std::string, uint32_t> mkdirErrors_;
    mutable std::map<std::string, std::map<std::string, std::string>> names_;
    std::map<std::string, VersionResource> versions_;  // by host path
    mutable std::map<std::string, Entry> found_;  // host folder -> lower -> name
};

}  // namespace qm::sim
