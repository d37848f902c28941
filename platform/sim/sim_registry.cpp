#include <algorithm>
#include <cctype>

#include "platform/sim/sim_machine.h"
#include "platform/types.h"

namespace qm::sim {

namespace {
std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}
std::vector<std::string> split(const std::string& p) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : p) {
        if (c == '\\') {
            if (!cur.empty()) parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) parts.push_back(cur);
    return parts;
}
bool writes(uint32_t access) { return (access & 0x6) != 0; }  // KEY_SET_VALUE or KEY_CREATE_SUB_KEY
bool equalsNoCase(const std::string& a, const std::string& b) { return lower(a) == lower(b); }
}  // namespace

std::string SimRegistry::physical(RootKey root, const std::string& key, bool view64) {
    auto parts = split(key);
    std::string out = root == RootKey::LocalMachine ? "HKLM" : "HKCU";
    // A 32-bit program's HKLM\Software is the Wow6432Node branch of a 64-bit machine.
    if (root == RootKey::LocalMachine && !view64 && !parts.empty() && lower(parts[0]) == "software" &&
        !(parts.size() > 1 && lower(parts[1]) == "wow6432node"))
        parts.insert(parts.begin() + 1, "Wow6432Node");
    for (auto& p : parts) out += "\\" + p;
    return out;
}

SimRegistry::Node* SimRegistry::find(const std::string& phys) const {
    const Node* n = &root_;
    for (auto& part : split(phys)) {
        auto it = n->children.find(lower(part));
        if (it == n->children.end()) return nullptr;
        n = it->second.get();
    }
    return const_cast<Node*>(n);
}

SimRegistry::Node* SimRegistry::make(const std::string& phys) {
    Node* n = &root_;
    for (auto& part : split(phys)) {
        auto& child = n->children[lower(part)];
        if (!child) child = std::make_unique<Node>();
        n = child.get();
    }
    return n;
}

bool SimRegistry::writeDenied(const std::string& phys) const {
    std::string p = lower(phys);
    for (auto& d : denied_) {
        std::string dl = lower(d);
        if (p == dl || p.rfind(dl + "\\", 0) == 0) return true;
    }
    return false;
}

uint32_t SimRegistry::openKey(RootKey root, const std::string& subKey, uint32_t access, HKey& out) {
    std::string phys = physical(root, subKey, access & regaccess::Wow64_64Key);
    Node* n = find(phys);
    if (!n) return winerr::FileNotFound;
    if (writes(access) && writeDenied(phys)) return winerr::AccessDenied;
    out = next_++;
    handles_[out] = {n, phys, access};
    return winerr::Success;
}

uint32_t SimRegistry::createKey(RootKey root, const std::string& subKey, uint32_t access, HKey& out,
                                bool* created) {
    std::string phys = physical(root, subKey, access & regaccess::Wow64_64Key);
    Node* n = find(phys);
    if (writeDenied(phys) && (!n || writes(access))) return winerr::AccessDenied;
    if (created) *created = n == nullptr;
    if (!n) n = make(phys);
    out = next_++;
    handles_[out] = {n, phys, access};
    return winerr::Success;
}

uint32_t SimRegistry::closeKey(HKey key) {
    return handles_.erase(key) ? winerr::Success : winerr::InvalidHandle;
}

uint32_t SimRegistry::queryValue(HKey key, const std::string& name, uint32_t& type, std::vector<uint8_t>& data) {
    auto it = handles_.find(key);
    if (it == handles_.end()) return winerr::InvalidHandle;
    for (auto& v : it->second.node->values)
        if (equalsNoCase(v.name, name)) {
            type = v.type;
            data = v.data;
            return winerr::Success;
        }
    return winerr::FileNotFound;
}

uint32_t SimRegistry::setValue(HKey key, const std::string& name, uint32_t type, const std::vector<uint8_t>& data) {
    auto it = handles_.find(key);
    if (it == handles_.end()) return winerr::InvalidHandle;
    if (!writes(it->second.access) || writeDenied(it->second.phys)) return winerr::AccessDenied;
    for (auto& v : it->second.node->values)
        if (equalsNoCase(v.name, name)) {
            v.type = type;
            v.data = data;
            return winerr::Success;
        }
    it->second.node->values.push_back({name, type, data});
    return winerr::Success;
}

uint32_t SimRegistry::deleteValue(HKey key, const std::string& name) {
    auto it = handles_.find(key);
    if (it == handles_.end()) return winerr::InvalidHandle;
    if (!writes(it->second.access) || writeDenied(it->second.phys)) return winerr::AccessDenied;
    auto& vals = it->second.node->values;
    auto v = std::find_if(vals.begin(), vals.end(), [&](const Value& x) { return equalsNoCase(x.name, name); });
    if (v == vals.end()) return winerr::FileNotFound;
    vals.erase(v);
    return winerr::Success;
}

uint32_t SimRegistry::enumValueNames(HKey key, std::vector<std::string>& names) {
    auto it = handles_.find(key);
    if (it == handles_.end()) return winerr::InvalidHandle;
    names.clear();
    for (auto& v : it->second.node->values) names.push_back(v.name);
    return winerr::Success;
}

void SimRegistry::setString(RootKey root, const std::string& key, const std::string& name, const std::string& v,
                            bool view64) {
    Node* n = make(physical(root, key, view64));
    std::vector<uint8_t> data(v.begin(), v.end());
    for (auto& x : n->values)
        if (equalsNoCase(x.name, name)) {
            x = {name, regtype::Sz, data};
            return;
        }
    n->values.push_back({name, regtype::Sz, data});
}

void SimRegistry::setDword(RootKey root, const std::string& key, const std::string& name, uint32_t v, bool view64) {
    Node* n = make(physical(root, key, view64));
    std::vector<uint8_t> data{uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    for (auto& x : n->values)
        if (equalsNoCase(x.name, name)) {
            x = {name, regtype::Dword, data};
            return;
        }
    n->values.push_back({name, regtype::Dword, data});
}

std::optional<SimRegistry::Value> SimRegistry::value(RootKey root, const std::string& key, const std::string& name,
                                                     bool view64) const {
    Node* n = find(physical(root, key, view64));
    if (!n) return std::nullopt;
    for (auto& v : n->values)
        if (equalsNoCase(v.name, name)) return v;
    return std::nullopt;
}

bool SimRegistry::keyExists(RootKey root, const std::string& key, bool view64) const {
    return find(physical(root, key, view64)) != nullptr;
}

}  // namespace qm::sim
