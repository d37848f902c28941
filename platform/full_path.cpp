#include "platform/full_path.h"

#include <cctype>
#include <vector>

namespace qm {

namespace {

bool hasDriveLetter(const std::string& p) {
    return p.size() >= 2 && std::isalpha(static_cast<unsigned char>(p[0])) && p[1] == ':';
}

// The part that ".." can never climb above: "C:", "\\server\share", "\\." or "\\?".
size_t rootLength(const std::string& p) {
    if (hasDriveLetter(p)) return 2;
    if (p.rfind("\\\\", 0) == 0) {
        if (p.rfind("\\\\.\\", 0) == 0 || p.rfind("\\\\?\\", 0) == 0) return 3;
        size_t server = p.find('\\', 2);
        if (server == std::string::npos) return p.size();
        size_t share = p.find('\\', server + 1);
        return share == std::string::npos ? p.size() : share;
    }
    return 0;
}

std::string normalise(const std::string& absolute) {
    const size_t rl = rootLength(absolute);
    const std::string root = absolute.substr(0, rl);
    const std::string rest = absolute.substr(rl);

    std::vector<std::string> parts;
    size_t start = 0;
    bool trailingSeparator = false;
    while (start <= rest.size()) {
        size_t end = rest.find('\\', start);
        const bool last = end == std::string::npos;
        std::string seg = rest.substr(start, last ? std::string::npos : end - start);
        if (last) trailingSeparator = seg.empty() && !rest.empty();
        if (seg.empty() || seg == ".") {
            // collapsed separator or a "." segment
        } else if (seg == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!last) {
            // An inner segment loses one trailing period.
            if (seg.back() == '.') seg.pop_back();
            if (!seg.empty()) parts.push_back(seg);
        } else {
            // The last one loses every trailing period and blank.
            while (!seg.empty() && (seg.back() == '.' || seg.back() == ' ')) seg.pop_back();
            if (!seg.empty()) parts.push_back(seg);
        }
        if (last) break;
        start = end + 1;
    }
    // A path that ended on "." or ".." names a folder and gets no separator after it.
    const std::string lastSeg = rest.substr(rest.rfind('\\') == std::string::npos ? 0 : rest.rfind('\\') + 1);
    if (lastSeg == "." || lastSeg == "..") trailingSeparator = false;

    std::string out = root;
    for (const auto& s : parts) out += "\\" + s;
    if (parts.empty() || trailingSeparator) out += "\\";
    return out;
}

}  // namespace

std::string expandFullPath(const std::string& path, const std::string& currentDirectory) {
    if (path.empty()) return "";
    std::string p = path;
    for (char& c : p)
        if (c == '/') c = '\\';

    std::string cwd = currentDirectory;
    for (char& c : cwd)
        if (c == '/') c = '\\';
    const size_t cwdRoot = rootLength(cwd);

    std::string absolute;
    if (p.rfind("\\\\", 0) == 0) {
        absolute = p;
    } else if (hasDriveLetter(p) && p.size() > 2 && p[2] == '\\') {
        absolute = p;
    } else if (hasDriveLetter(p)) {
        // "D:name": relative to that drive's current folder; only ours is known.
        const bool sameDrive = hasDriveLetter(cwd) && std::toupper(static_cast<unsigned char>(cwd[0])) ==
                                                       std::toupper(static_cast<unsigned char>(p[0]));
        if (sameDrive) absolute = p.size() == 2 ? cwd : cwd + "\\" + p.substr(2);
        else absolute = p.substr(0, 2) + "\\" + p.substr(2);
    } else if (p[0] == '\\') {
        absolute = cwd.substr(0, cwdRoot) + p;
    } else {
        absolute = cwd + "\\" + p;
    }
    return normalise(absolute);
}

}  // namespace qm
