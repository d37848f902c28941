// Stand-in of a Visual C++ redistributable installer. A prepared machine chooses its
// exit code: DWORD value named after this program's file name under
// HKLM\Software\Tessarwind\Standins (32-bit view), 0 when missing. Each run records its
// command line there as "<file name>.Aufruf".
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name = path;
    name = name.substr(name.find_last_of(L'\\') + 1);
    DWORD code = 0;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Tessarwind\\Standins", 0, nullptr, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        DWORD size = sizeof(code), type = 0;
        if (RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&code), &size) != ERROR_SUCCESS ||
            type != REG_DWORD)
            code = 0;
        const std::wstring cmd = GetCommandLineW();
        RegSetValueExW(key, (name + L".Aufruf").c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(cmd.c_str()),
                       DWORD((cmd.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }
    return int(code);
}
