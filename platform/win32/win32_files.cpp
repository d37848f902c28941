#include "platform/types.h"
#include "platform/win32/utf.h"
#include "platform/win32/win32_platform.h"

namespace qm::win32 {

namespace {
FileTime toFileTime(const FILETIME& ft) { return (uint64_t(ft.dwHighDateTime) << 32) | ft.dwLowDateTime; }
FILETIME fromFileTime(FileTime t) { return {DWORD(t & 0xFFFFFFFFu), DWORD(t >> 32)}; }
HANDLE handle(FileHandle f) { return reinterpret_cast<HANDLE>(f); }
void fill(const WIN32_FIND_DATAW& w, FindData& out) {
    out.name = utf8(w.cFileName);
    out.attributes = w.dwFileAttributes;
    out.size = (uint64_t(w.nFileSizeHigh) << 32) | w.nFileSizeLow;
    out.lastWriteTime = toFileTime(w.ftLastWriteTime);
}
}  // namespace

uint32_t Files::getFileAttributes(const std::string& path) {
    DWORD a = GetFileAttributesW(wide(path).c_str());
    if (a == INVALID_FILE_ATTRIBUTES) lastError_ = GetLastError();
    return a;
}

bool Files::directoryExists(const std::string& path) {
    if (path.empty()) return false;
    DWORD a = GetFileAttributesW(wide(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Files::fileExists(const std::string& path) {
    if (path.empty()) return false;
    DWORD a = GetFileAttributesW(wide(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Files::createDirectory(const std::string& path) {
    return CreateDirectoryW(wide(path).c_str(), nullptr) ? true : fail();
}

FileHandle Files::createFile(const std::string& path, uint32_t access, uint32_t share, uint32_t disposition,
                             uint32_t attributes) {
    HANDLE h = CreateFileW(wide(path).c_str(), access, share, nullptr, disposition, attributes, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        lastError_ = GetLastError();
        return 0;
    }
    return reinterpret_cast<FileHandle>(h);
}

bool Files::writeFile(FileHandle f, const void* data, uint32_t size, uint32_t& written) {
    DWORD n = 0;
    BOOL ok = WriteFile(handle(f), data, size, &n, nullptr);
    written = n;
    return ok ? true : fail();
}

bool Files::setFileTime(FileHandle f, const FileTime* creation, const FileTime* access, const FileTime* lastWrite) {
    FILETIME c{}, a{}, w{};
    if (creation) c = fromFileTime(*creation);
    if (access) a = fromFileTime(*access);
    if (lastWrite) w = fromFileTime(*lastWrite);
    return SetFileTime(handle(f), creation ? &c : nullptr, access ? &a : nullptr, lastWrite ? &w : nullptr) ? true
                                                                                                           : fail();
}

bool Files::closeFile(FileHandle f) { return CloseHandle(handle(f)) ? true : fail(); }

bool Files::deleteFile(const std::string& path) { return DeleteFileW(wide(path).c_str()) ? true : fail(); }

bool Files::localFileTimeToFileTime(FileTime local, FileTime& utc) {
    FILETIME l = fromFileTime(local), u{};
    if (!::LocalFileTimeToFileTime(&l, &u)) return fail();
    utc = toFileTime(u);
    return true;
}

Handle Files::findFirstFile(const std::string& pattern, FindData& out) {
    WIN32_FIND_DATAW w{};
    HANDLE h = FindFirstFileW(wide(pattern).c_str(), &w);
    if (h == INVALID_HANDLE_VALUE) {
        lastError_ = GetLastError();
        return 0;
    }
    fill(w, out);
    return reinterpret_cast<Handle>(h);
}

bool Files::findNextFile(Handle find, FindData& out) {
    WIN32_FIND_DATAW w{};
    if (!FindNextFileW(reinterpret_cast<HANDLE>(find), &w)) return fail();
    fill(w, out);
    return true;
}

void Files::findClose(Handle find) { FindClose(reinterpret_cast<HANDLE>(find)); }

std::string Files::fullPathName(const std::string& path) {
    const std::wstring w = wide(path);
    DWORD n = GetFullPathNameW(w.c_str(), 0, nullptr, nullptr);
    if (n == 0) {
        lastError_ = GetLastError();
        return {};
    }
    std::wstring buf(n, L'\0');
    n = GetFullPathNameW(w.c_str(), n, buf.data(), nullptr);
    if (n == 0) {
        lastError_ = GetLastError();
        return {};
    }
    buf.resize(n);
    return utf8(buf);
}

std::string Files::currentDirectory() {
    DWORD n = GetCurrentDirectoryW(0, nullptr);
    std::wstring out(n, L'\0');
    n = GetCurrentDirectoryW(DWORD(out.size()), out.data());
    out.resize(n);
    return utf8(out);
}

}  // namespace qm::win32
