// Stand-in of the remote-support tool TeamViewerQS_Quillmark.exe: a window of its own
// that says what it stands for.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    MessageBoxW(nullptr,
                L"Fernwartung für Quillmark\r\n\r\nDieses Programm steht im Installationspaket der Entwicklung "
                L"an der Stelle des Fernwartungswerkzeugs.",
                L"TeamViewer QuickSupport", MB_ICONINFORMATION);
    return 0;
}
