/* Stand-in of a library the payloads carry (msvcr71.dll, the OpenSSL and database
   client libraries, the SQL script library): a real DLL that loads and exports one
   function naming what it stands for. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)instance, (void)reason, (void)reserved;
    return TRUE;
}

__declspec(dllexport) const char* QuillmarkStandin(void) { return QM_STANDIN_NAME; }
