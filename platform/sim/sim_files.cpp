#include "platform/sim/sim_files.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "platform/full_path.h"
#include "platform/types.h"

namespace fs = std::filesystem;

namespace qm::sim {

namespace {
// Host paths are UTF-8 text; std::filesystem takes them as such on every host.
fs::path P(const std::string& s) { return fs::path(std::u8string(s.begin(), s.end())); }
std::string S(const fs::path& p) {
    const std::u8string u = p.u8string();
    return std::string(u.begin(), u.end());
}

constexpr uint32_t kPathNotFound = 3;
constexpr uint32_t kSharingViolation = 32;
constexpr uint32_t kDiskFull = 112;
constexpr uint32_t kNoMoreFiles = 18;

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}
std::string upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::toupper(c); });
    return s;
}

// Windows drops trailing dots and blanks of a name.
std::string trimName(std::string s) {
    if (s == "." || s == "..") return s;
    while (!s.empty() && (s.back() == '.' || s.back() == ' ')) s.pop_back();
    return s;
}

struct Parsed {
    bool ok = false;
    char drive = 0;
    std::vector<std::string> parts;
};

Parsed parseAbsolute(const std::string& path) {
    Parsed p;
    if (path.size() < 2 || path[1] != ':' || !std::isalpha(static_cast<unsigned char>(path[0]))) return p;
    p.drive = char(std::toupper(static_cast<unsigned char>(path[0])));
    std::string cur;
    auto flush = [&] {
        std::string n = trimName(cur);
        cur.clear();
        if (n.empty() || n == ".") return;
        if (n == "..") {
            if (!p.parts.empty()) p.parts.pop_back();
            return;
        }
        p.parts.push_back(n);
    };
    for (size_t i = 2; i < path.size(); ++i) {
        char c = path[i];
        if (c == '\\' || c == '/') flush();
        else cur += c;
    }
    flush();
    p.ok = true;
    return p;
}

bool wildcardMatch(const std::string& mask, const std::string& name) {
    if (mask == "*.*" || mask == "*") return true;
    std::string m = lower(mask), n = lower(name);
    size_t mi = 0, ni = 0, star = std::string::npos, mark = 0;
    while (ni < n.size()) {
        if (mi < m.size() && (m[mi] == '?' || m[mi] == n[ni])) {
            ++mi, ++ni;
        } else if (mi < m.size() && m[mi] == '*') {
            star = mi++;
            mark = ni;
        } else if (star != std::string::npos) {
            mi = star + 1;
            ni = ++mark;
        } else {
            return false;
        }
    }
    while (mi < m.size() && m[mi] == '*') ++mi;
    return mi == m.size();
}
}  // namespace

SimFiles::SimFiles() {
    static std::atomic<unsigned> counter{0};
    std::random_device rd;
    for (int attempt = 0; attempt < 100 && root_.empty(); ++attempt) {
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        fs::path dir = fs::temp_directory_path() /
                       ("qm-sim-" + std::to_string(rd()) + "-" + std::to_string(stamp) + "-" + std::to_string(counter++));
        std::error_code ec;
        if (fs::create_directory(dir, ec)) root_ = S(dir);
    }
    if (root_.empty()) throw std::runtime_error("cannot create the simulated file system");
    fs::create_directories(P(root_ + "/C"));
    // The folders every Windows has.
    for (const char* d : {"C:\\Windows\\System32", "C:\\Program Files", "C:\\Program Files (x86)"}) makeDirectories(d);
}

SimFiles::~SimFiles() {
    handles_.clear();
    std::error_code ec;
    fs::remove_all(P(root_), ec);
}

// Windows names ignore case: each folder's names are known by their lower-case form.
const std::map<std::string, std::string>& SimFiles::namesIn(const std::string& hostDir) const {
    auto it = names_.find(hostDir);
    if (it != names_.end()) return it->second;
    std::map<std::string, std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(P(hostDir), ec)) {
        const std::string n = S(e.path().filename());
        names.emplace(lower(n), n);
    }
    return names_[hostDir] = std::move(names);
}

void SimFiles::noteCreated(const std::string& host) {
    const fs::path p = P(host);
    auto it = names_.find(S(p.parent_path()));
    if (it != names_.end()) it->second.emplace(lower(S(p.filename())), S(p.filename()));
}

void SimFiles::noteRemoved(const std::string& host) {
    const fs::path p = P(host);
    auto it = names_.find(S(p.parent_path()));
    if (it != names_.end()) it->second.erase(lower(S(p.filename())));
    names_.erase(host);
}

std::string SimFiles::hostPath(const std::string& path) const {
    if (path.empty()) return {};  // Windows finds nothing under an empty name
    std::string p = path;
    if (!(p.size() >= 2 && p[1] == ':')) p = expandFullPath(path, cwd);
    Parsed parsed = parseAbsolute(p);
    if (!parsed.ok) return {};
    std::string host = root_ + "/" + parsed.drive;
    if (!namesIn(root_).count(lower(std::string(1, parsed.drive)))) return {};
    for (const auto& part : parsed.parts) {
        const auto& names = namesIn(host);
        auto found = names.find(lower(part));
        host += "/" + (found != names.end() ? found->second : part);
    }
    return host;
}

SimFiles::Meta& SimFiles::meta(const std::string& host) {
    auto it = meta_.find(host);
    if (it != meta_.end()) return it->second;
    Meta m;
    std::error_code ec;
    m.attributes = fs::is_directory(P(host), ec) ? fileattr::Directory : fileattr::Archive;
    m.lastWrite = now;
    return meta_[host] = m;
}

FindData SimFiles::describe(const std::string& host, const std::string& name) const {
    FindData d;
    d.name = name;
    std::error_code ec;
    bool dir = fs::is_directory(P(host), ec);
    auto it = meta_.find(host);
    d.attributes = it != meta_.end() ? it->second.attributes : (dir ? fileattr::Directory : fileattr::Archive);
    d.lastWriteTime = it != meta_.end() ? it->second.lastWrite : now;
    d.size = dir ? 0 : fs::file_size(P(host), ec);
    return d;
}

uint32_t SimFiles::getFileAttributes(const std::string& path) {
    std::string host = hostPath(path);
    std::error_code ec;
    if (host.empty() || !fs::exists(P(host), ec)) {
        lastError_ = winerr::FileNotFound;
        return fileattr::Invalid;
    }
    return describe(host, "").attributes;
}

bool SimFiles::createDirectory(const std::string& path) {
    std::string host = hostPath(path);
    if (host.empty()) return fail(kPathNotFound);
    auto err = mkdirErrors_.find(host);
    if (err != mkdirErrors_.end()) return fail(err->second);
    std::error_code ec;
    if (fs::exists(P(host), ec)) return fail(winerr::AlreadyExists);
    if (!fs::is_directory(P(host).parent_path(), ec)) return fail(kPathNotFound);
    if (!fs::create_directory(P(host), ec)) return fail(winerr::AccessDenied);
    noteCreated(host);
    meta_.erase(host);
    return true;
}

FileHandle SimFiles::createFile(const std::string& path, uint32_t access, uint32_t, uint32_t disposition,
                                uint32_t attributes) {
    std::string host = hostPath(path);
    if (host.empty()) return fail(kPathNotFound), 0;
    std::error_code ec;
    if (!fs::is_directory(P(host).parent_path(), ec)) return fail(kPathNotFound), 0;
    const bool exists = fs::exists(P(host), ec);
    if (exists && fs::is_directory(P(host), ec)) return fail(winerr::AccessDenied), 0;
    if (locked_.count(host)) return fail(kSharingViolation), 0;
    for (auto& [h, o] : handles_)
        if (o.host == host) return fail(kSharingViolation), 0;  // opened without sharing
    std::ios::openmode mode = std::ios::binary | std::ios::out;
    if (access & fileaccess::GenericRead) mode |= std::ios::in;
    if (disposition == filecreate::CreateAlways) {
        if (exists) {
            uint32_t a = meta(host).attributes;
            // Replacing a read-only file, or a hidden one without asking for hidden, is refused.
            if ((a & fileattr::ReadOnly) || ((a & fileattr::Hidden) && !(attributes & fileattr::Hidden)))
                return fail(winerr::AccessDenied), 0;
        }
        mode |= std::ios::trunc;
        // A new file in place of the old one: ext4 would flush a truncated file at its close.
        std::error_code rm;
        if (exists) fs::remove(P(host), rm);
    } else if (disposition == filecreate::OpenExisting) {
        if (!exists) return fail(winerr::FileNotFound), 0;
        if ((access & fileaccess::GenericWrite) && (meta(host).attributes & fileattr::ReadOnly))
            return fail(winerr::AccessDenied), 0;
        mode |= std::ios::in;  // keeps the content
    } else {
        return fail(87), 0;  // ERROR_INVALID_PARAMETER: not used by the setup
    }
    auto stream = std::make_unique<std::fstream>(P(host), mode);
    if (!*stream) return fail(winerr::AccessDenied), 0;
    if (!exists || disposition == filecreate::CreateAlways) noteCreated(host);
    if (disposition == filecreate::CreateAlways) {
        Meta& m = meta(host);
        m.attributes = fileattr::Archive | (attributes & (fileattr::Hidden | fileattr::System | fileattr::ReadOnly));
        m.lastWrite = now;
    }
    FileHandle h = next_++;
    handles_[h] = {std::move(stream), host, access};
    lastError_ = 0;
    return h;
}

bool SimFiles::writeFile(FileHandle f, const void* data, uint32_t size, uint32_t& written) {
    written = 0;
    auto it = handles_.find(f);
    if (it == handles_.end()) return fail(winerr::InvalidHandle);
    if (!(it->second.access & fileaccess::GenericWrite)) return fail(winerr::AccessDenied);
    uint32_t take = size;
    if (freeBytes && *freeBytes < take) take = uint32_t(*freeBytes);
    it->second.stream->write(static_cast<const char*>(data), std::streamsize(take));
    if (!*it->second.stream) return fail(kDiskFull);
    written = take;
    if (freeBytes) *freeBytes -= written;
    meta(it->second.host).lastWrite = now;
    if (written < size) return fail(kDiskFull);
    return true;
}

bool SimFiles::setFileTime(FileHandle f, const FileTime*, const FileTime*, const FileTime* lastWrite) {
    auto it = handles_.find(f);
    if (it == handles_.end()) return fail(winerr::InvalidHandle);
    if (!(it->second.access & fileaccess::GenericWrite)) return fail(winerr::AccessDenied);
    if (lastWrite) meta(it->second.host).lastWrite = *lastWrite;
    return true;
}

bool SimFiles::closeFile(FileHandle f) {
    auto it = handles_.find(f);
    if (it == handles_.end()) return fail(winerr::InvalidHandle);
    handles_.erase(it);
    return true;
}

bool SimFiles::deleteFile(const std::string& path) {
    std::string host = hostPath(path);
    std::error_code ec;
    if (host.empty() || !fs::exists(P(host), ec)) return fail(winerr::FileNotFound);
    if (fs::is_directory(P(host), ec)) return fail(winerr::AccessDenied);
    if (locked_.count(host)) return fail(kSharingViolation);
    for (auto& [h, o] : handles_)
        if (o.host == host) return fail(kSharingViolation);
    if (meta(host).attributes & fileattr::ReadOnly) return fail(winerr::AccessDenied);
    fs::remove(P(host), ec);
    noteRemoved(host);
    meta_.erase(host);
    return true;
}

bool SimFiles::localFileTimeToFileTime(FileTime local, FileTime& utc) {
    const int64_t offset = int64_t(utcOffsetMinutes) * 60 * 10000000LL;
    utc = FileTime(int64_t(local) - offset);
    return true;
}

Handle SimFiles::findFirstFile(const std::string& pattern, FindData& out) {
    size_t cut = pattern.find_last_of("\\/");
    if (cut == std::string::npos) return fail(kPathNotFound), 0;
    const std::string folder = pattern.substr(0, cut), mask = pattern.substr(cut + 1);
    std::string host = hostPath(folder.size() == 2 ? folder + "\\" : folder);
    std::error_code ec;
    if (host.empty() || !fs::is_directory(P(host), ec)) return fail(kPathNotFound), 0;
    Find find;
    if (parseAbsolute(folder.size() >= 2 && folder[1] == ':' ? folder : expandFullPath(folder, cwd)).parts.size() > 0) {
        for (const char* dot : {".", ".."})
            if (wildcardMatch(mask, dot)) find.entries.push_back(describe(host, dot));
    }
    for (const auto& name : list(folder))
        if (wildcardMatch(mask, name)) find.entries.push_back(describe(host + "/" + name, name));
    if (find.entries.empty()) return fail(winerr::FileNotFound), 0;
    out = find.entries[0];
    find.next = 1;
    Handle h = next_++;
    finds_[h] = std::move(find);
    return h;
}

bool SimFiles::findNextFile(Handle h, FindData& out) {
    auto it = finds_.find(h);
    if (it == finds_.end()) return fail(winerr::InvalidHandle);
    if (it->second.next >= it->second.entries.size()) return fail(kNoMoreFiles);
    out = it->second.entries[it->second.next++];
    return true;
}

void SimFiles::findClose(Handle h) { finds_.erase(h); }

std::string SimFiles::fullPathName(const std::string& path) {
    std::string full = expandFullPath(path, cwd);
    if (full.empty()) lastError_ = 87;
    return full;
}

// ---------------------------------------------------------------- test side
bool SimFiles::exists(const std::string& path) const {
    std::string host = hostPath(path);
    std::error_code ec;
    return !host.empty() && fs::exists(P(host), ec);
}

bool SimFiles::isDirectory(const std::string& path) const {
    std::string host = hostPath(path);
    std::error_code ec;
    return !host.empty() && fs::is_directory(P(host), ec);
}

std::string SimFiles::read(const std::string& path) const {
    std::ifstream in(P(hostPath(path)), std::ios::binary);
    if (!in) throw std::runtime_error("no such file on the simulated machine: " + path);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void SimFiles::write(const std::string& path, const std::string& content) {
    size_t cut = path.find_last_of('\\');
    if (cut != std::string::npos && cut > 2) makeDirectories(path.substr(0, cut));
    std::string host = hostPath(path);
    std::ofstream out(P(host), std::ios::binary | std::ios::trunc);
    out << content;
    noteCreated(host);
    meta_.erase(host);
}

void SimFiles::makeDirectories(const std::string& path) {
    Parsed parsed = parseAbsolute(path);
    std::string cur(1, parsed.drive);
    cur += ":";
    std::error_code ec;
    if (fs::create_directories(P(root_ + "/" + parsed.drive), ec)) noteCreated(root_ + "/" + parsed.drive);
    for (const auto& part : parsed.parts) {
        cur += "\\" + part;
        std::string host = hostPath(cur);
        if (!fs::exists(P(host), ec) && fs::create_directory(P(host), ec)) noteCreated(host);
    }
}

std::optional<FindData> SimFiles::stat(const std::string& path) const {
    std::string host = hostPath(path);
    std::error_code ec;
    if (host.empty() || !fs::exists(P(host), ec)) return std::nullopt;
    return describe(host, S(P(host).filename()));
}

std::vector<std::string> SimFiles::list(const std::string& folder) const {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(P(hostPath(folder)), ec)) names.push_back(S(e.path().filename()));
    // NTFS delivers names in upper-case order.
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return upper(a) < upper(b); });
    return names;
}

void SimFiles::addFile(const std::string& path, const std::string& content) {
    write(expandFullPath(path, cwd), content);
    versions_.erase(hostPath(path));
}

void SimFiles::addExe(const std::string& path, std::optional<VersionResource> version) {
    write(expandFullPath(path, cwd), "MZ");
    if (version) versions_[hostPath(path)] = std::move(*version);
    else versions_.erase(hostPath(path));
}

void SimFiles::remove(const std::string& path) {
    const std::string host = hostPath(path);
    std::error_code ec;
    if (host.empty() || !fs::exists(P(host), ec)) return;
    fs::remove_all(P(host), ec);
    noteRemoved(host);
    for (auto* m : {&names_}) {
        for (auto it = m->begin(); it != m->end();)
            it = it->first.rfind(host + "/", 0) == 0 ? m->erase(it) : std::next(it);
    }
    for (auto it = meta_.begin(); it != meta_.end();)
        it = it->first == host || it->first.rfind(host + "/", 0) == 0 ? meta_.erase(it) : std::next(it);
    for (auto it = versions_.begin(); it != versions_.end();)
        it = it->first == host || it->first.rfind(host + "/", 0) == 0 ? versions_.erase(it) : std::next(it);
}

const SimFiles::Entry* SimFiles::find(const std::string& path) const {
    const std::string host = hostPath(path);
    std::error_code ec;
    if (host.empty() || !fs::exists(P(host), ec)) return nullptr;
    Entry& e = found_[host];
    e.path = expandFullPath(path, cwd);
    e.folder = fs::is_directory(P(host), ec);
    e.content = e.folder ? std::string() : read(path);
    auto v = versions_.find(host);
    if (v != versions_.end()) e.version = v->second;
    else e.version.reset();
    return &e;
}

void SimFiles::lock(const std::string& path) { locked_.insert(hostPath(path)); }

void SimFiles::setAttributes(const std::string& path, uint32_t attributes) { meta(hostPath(path)).attributes = attributes; }

void SimFiles::failCreateDirectory(const std::string& path, uint32_t error) { mkdirErrors_[hostPath(path)] = error; }

}  // namespace qm::sim
