#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "platform/win32/utf.h"
#include "platform/win32/win32_platform.h"

namespace qm::win32 {

namespace {
// The ANSI form of a text; false when the code page cannot hold it, so that no link
// ever points at a path with a replaced character.
bool ansi(const std::string& text, std::string& out) {
    const std::wstring w = wide(text);
    out.clear();
    if (w.empty()) return true;
    BOOL lossy = FALSE;
    int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w.data(), int(w.size()), nullptr, 0, nullptr, &lossy);
    out.assign(size_t(n), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w.data(), int(w.size()), out.data(), n, nullptr, &lossy);
    return !lossy;
}

template <class T>
struct ComPtr {
    T* p = nullptr;
    ~ComPtr() {
        if (p) p->Release();
    }
};
}  // namespace

Shell::Shell() {
    HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    comStarted_ = SUCCEEDED(hr);
}

Shell::~Shell() {
    if (comStarted_) CoUninitialize();
}

bool Shell::specialFolderPath(int csidl, std::string& path) {
    LPITEMIDLIST items = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &items)) || !items) return false;
    wchar_t buf[MAX_PATH] = {};
    BOOL ok = SHGetPathFromIDListW(items, buf);
    IMalloc* alloc = nullptr;
    if (SUCCEEDED(SHGetMalloc(&alloc)) && alloc) {
        alloc->Free(items);
        alloc->Release();
    }
    if (!ok) return false;
    path = utf8(buf);
    return true;
}

ShellLinkResult Shell::saveShellLink(const std::string& target, const std::string& workingFolder,
                                     const std::string& linkPath) {
    constexpr HRESULT kNoTranslation = HRESULT(0x80070459);  // ERROR_NO_UNICODE_TRANSLATION
    ComPtr<IShellLinkA> link;
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                  IID_IShellLinkA, reinterpret_cast<void**>(&link.p));
    if (FAILED(hr)) return {int32_t(hr), "CoCreateInstance"};
    std::string a;
    if (!ansi(target, a)) return {int32_t(kNoTranslation), "SetPath"};
    if (FAILED(hr = link.p->SetPath(a.c_str()))) return {int32_t(hr), "SetPath"};
    if (!ansi(workingFolder, a)) return {int32_t(kNoTranslation), "SetWorkingDirectory"};
    if (FAILED(hr = link.p->SetWorkingDirectory(a.c_str()))) return {int32_t(hr), "SetWorkingDirectory"};
    ComPtr<IPersistFile> file;
    if (FAILED(hr = link.p->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p))))
        return {int32_t(hr), "QueryInterface(IPersistFile)"};
    if (FAILED(hr = file.p->Save(wide(linkPath).c_str(), FALSE))) return {int32_t(hr), "Save"};
    return {};
}

void Shell::changeNotify(int32_t eventId, uint32_t flags, const std::string& path) {
    std::string a;
    ansi(path, a);
    SHChangeNotify(LONG(eventId), UINT(flags), a.c_str(), nullptr);
}

}  // namespace qm::win32
