#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/full_path.h"
#include "platform/sim/sim_system.h"
#include "platform/types.h"

namespace qm::sim {

namespace {
std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}
}  // namespace

// ---------------------------------------------------------------- files
VersionResource VersionResource::of(const std::string& fileVersion, const std::string& productVersion,
                                    uint16_t language, uint16_t codePage) {
    char folder[16];
    std::snprintf(folder, sizeof folder, "%04X%04X", language, codePage);
    VersionResource r;
    r.translations = {{language, codePage}};
    r.strings[folder] = {{"CompanyName", "Tessarwind GmbH"},
                         {"FileDescription", "Quillmark"},
                         {"FileVersion", fileVersion},
                         {"InternalName", "Quillmark"},
                         {"LegalCopyright", "Tessarwind GmbH"},
                         {"OriginalFilename", "Quillmark.exe"},
                         {"ProductName", "Quillmark"},
                         {"ProductVersion", productVersion}};
    return r;
}

// ---------------------------------------------------------------- version resources
namespace {
constexpr char kMagic[4] = {'S', 'I', 'M', 'V'};

// Components of a sub-block path; empty ones between doubled separators do not count.
std::vector<std::string> components(const std::string& subBlock) {
    std::vector<std::string> out;
    std::string cur;
    for (char c : subBlock) {
        if (c == '\\') {
            if (!cur.empty()) out.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) out.push_back(cur);
    return out;
}
}  // namespace

uint32_t SimVersionInfo::getFileVersionInfoSize(const std::string& file) {
    const SimFiles::Entry* e = files_.find(file);
    if (!e || e->folder || !e->version) return 0;
    return 1024;
}

bool SimVersionInfo::getFileVersionInfo(const std::string& file, std::vector<uint8_t>& block) {
    const SimFiles::Entry* e = files_.find(file);
    if (!e || e->folder || !e->version || block.size() < 8) return false;
    copies_.push_back(*e->version);
    uint32_t index = uint32_t(copies_.size() - 1);
    std::memcpy(block.data(), kMagic, 4);
    std::memcpy(block.data() + 4, &index, 4);
    return true;
}

const VersionResource* SimVersionInfo::resourceOf(const std::vector<uint8_t>& block) const {
    if (block.size() < 8 || std::memcmp(block.data(), kMagic, 4) != 0) return nullptr;
    uint32_t index;
    std::memcpy(&index, block.data() + 4, 4);
    return index < copies_.size() ? &copies_[index] : nullptr;
}

bool SimVersionInfo::verQueryValueBinary(const std::vector<uint8_t>& block, const std::string& subBlock,
                                         std::vector<uint8_t>& value) {
    queried.push_back(subBlock);
    const VersionResource* r = resourceOf(block);
    auto c = components(subBlock);
    if (!r || c.size() != 2 || lower(c[0]) != "varfileinfo" || lower(c[1]) != "translation" ||
        r->translations.empty())
        return false;
    value.clear();
    for (auto [lang, cp] : r->translations) {
        value.push_back(uint8_t(lang & 0xFF));
        value.push_back(uint8_t(lang >> 8));
        value.push_back(uint8_t(cp & 0xFF));
        value.push_back(uint8_t(cp >> 8));
    }
    return true;
}

bool SimVersionInfo::verQueryValueText(const std::vector<uint8_t>& block, const std::string& subBlock,
                                       std::string& value) {
    queried.push_back(subBlock);
    const VersionResource* r = resourceOf(block);
    auto c = components(subBlock);
    if (!r || c.size() != 3 || lower(c[0]) != "stringfileinfo") return false;
    for (auto& [folder, table] : r->strings) {
        if (lower(folder) != lower(c[1])) continue;
        for (auto& [k, v] : table) {
            if (lower(k) == lower(c[2])) {
                value = v;
                return true;
            }
        }
    }
    return false;
}

// ---------------------------------------------------------------- services
ScHandle SimServices::openSCManager(uint32_t access) {
    managerAccess.push_back(access);
    if (!managerReachable) return 0;
    ScHandle h = next_++;
    handles_[h] = "";
    return h;
}

ScHandle SimServices::openService(ScHandle manager, const std::string& serviceName, uint32_t access) {
    serviceOpens.emplace_back(serviceName, access);
    auto m = handles_.find(manager);
    if (m == handles_.end() || !m->second.empty()) return 0;
    if (!find(serviceName)) return 0;
    ScHandle h = next_++;
    handles_[h] = lower(serviceName);
    return h;
}

bool SimServices::queryServiceStatus(ScHandle service, uint32_t& currentState) {
    auto it = handles_.find(service);
    if (it == handles_.end() || it->second.empty() || statusQueryFails) return false;
    Service* s = find(it->second);
    if (!s) return false;  // deleted meanwhile
    currentState = s->state;
    return true;
}

void SimServices::closeServiceHandle(ScHandle handle) { handles_.erase(handle); }

SimServices::Service& SimServices::add(const std::string& name, uint32_t state, bool autoStart) {
    Service& s = services_[lower(name)];
    s = {name, state, autoStart};
    return s;
}

void SimServices::remove(const std::string& name) { services_.erase(lower(name)); }

SimServices::Service* SimServices::find(const std::string& name) {
    auto it = services_.find(lower(name));
    return it == services_.end() ? nullptr : &it->second;
}

// ---------------------------------------------------------------- processes
void SimProcesses::install(const std::string& path, SimProgram program) {
    files_.addExe(path, std::nullopt);
    programs_[lower(files_.fullPathName(path))] = std::move(program);
}

void SimProcesses::installExit(const std::string& path, uint32_t exitCode) {
    install(path, [exitCode](const std::string&, const std::string&) { return exitCode; });
}

// The program as CreateProcess finds it without an application name: a quoted first word,
// or else the shortest run of words up to a blank that names an existing file (".exe"
// added to a name without extension).
std::string SimProcesses::resolve(const std::string& commandLine, std::string& arguments, uint32_t& error) {
    std::vector<std::pair<std::string, size_t>> candidates;  // name, where the arguments start
    if (!commandLine.empty() && commandLine[0] == '"') {
        size_t close = commandLine.find('"', 1);
        size_t end = close == std::string::npos ? commandLine.size() : close + 1;
        candidates.emplace_back(commandLine.substr(1, (close == std::string::npos ? commandLine.size() : close) - 1),
                                end);
    } else {
        for (size_t i = 0; i <= commandLine.size(); ++i) {
            if (i == commandLine.size() || commandLine[i] == ' ' || commandLine[i] == '\t') {
                if (i > 0) candidates.emplace_back(commandLine.substr(0, i), i);
            }
        }
    }
    error = winerr::FileNotFound;
    for (auto& [name, argStart] : candidates) {
        std::string n = name;
        size_t lastSep = n.find_last_of("\\/");
        if (n.find('.', lastSep == std::string::npos ? 0 : lastSep + 1) == std::string::npos) n += ".exe";
        std::vector<std::string> tries;
        if (n.find_first_of("\\/:") == std::string::npos) {
            tries = {files_.cwd + "\\" + n, "C:\\windows\\system32\\" + n};
        } else {
            tries = {n};
        }
        for (auto& t : tries) {
            if (files_.fileExists(t)) {
                size_t a = argStart;
                while (a < commandLine.size() && (commandLine[a] == ' ' || commandLine[a] == '\t')) ++a;
                arguments = commandLine.substr(std::min(a, commandLine.size()));
                return files_.fullPathName(t);
            }
        }
    }
    return "";
}

uint32_t SimProcesses::createProcess(const std::string& commandLine, uint32_t creationFlags, uint16_t showWindow,
                                     ProcessInfo& out) {
    SimProcessStart s;
    s.commandLine = commandLine;
    s.creationFlags = creationFlags;
    s.showWindow = showWindow;
    std::string arguments;
    uint32_t error = 0;
    std::string program = resolve(commandLine, arguments, error);
    if (program.empty()) {
        s.error = error;
        starts.push_back(s);
        return error;
    }
    auto it = programs_.find(lower(program));
    if (it == programs_.end()) {
        s.error = 193;  // ERROR_BAD_EXE_FORMAT: a file, but no program
        starts.push_back(s);
        return s.error;
    }
    s.program = program;
    starts.push_back(s);
    uint32_t code = it->second(commandLine, arguments);
    out.process = next_++;
    out.thread = next_++;
    out.processId = nextPid_++;
    handles_[out.process] = {code, true};
    handles_[out.thread] = {0, false};
    return 0;
}

uint32_t SimProcesses::waitForSingleObject(Handle handle, uint32_t milliseconds) {
    waits.push_back(milliseconds);
    return handles_.count(handle) ? WaitObject0 : 0xFFFFFFFF;  // WAIT_FAILED
}

bool SimProcesses::getExitCodeProcess(Handle process, uint32_t& exitCode) {
    auto it = handles_.find(process);
    if (it == handles_.end() || !it->second.isProcess) return false;
    exitCode = it->second.exitCode;
    return true;
}

void SimProcesses::closeHandle(Handle handle) { handles_.erase(handle); }

}  // namespace qm::sim
