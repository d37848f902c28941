#pragma once
// One registry object per operation: opened, used and closed again (the destructor
// closes). A missing string reads as empty, a missing integer raises.
#include <string>
#include <vector>

#include "platform/registry.h"

namespace qm {

class TRegistry {
public:
    explicit TRegistry(IRegistry& reg, uint32_t access = regaccess::KeyAllAccess,
                       RootKey root = RootKey::LocalMachine);
    ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    void setRootKey(RootKey root) { root_ = root; }
    bool openKey(const std::string& key, bool canCreate);
    bool openKeyReadOnly(const std::string& key);
    void closeKey();
    bool isOpen() const { return key_ != 0; }

    bool valueExists(const std::string& name);
    std::string readString(const std::string& name);
    int readInteger(const std::string& name);
    bool readBool(const std::string& name) { return readInteger(name) != 0; }
    void writeString(const std::string& name, const std::string& value);
    void writeInteger(const std::string& name, int value);
    bool deleteValue(const std::string& name);
    std::vector<std::string> getValueNames();

private:
    IRegistry& reg_;
    uint32_t access_;
    RootKey root_;
    HKey key_ = 0;
};

}  // namespace qm
