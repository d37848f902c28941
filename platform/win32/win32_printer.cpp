#include <richedit.h>
#include <winspool.h>

#include "platform/types.h"
#include "platform/win32/utf.h"
#include "platform/win32/win32_controls.h"
#include "platform/win32/win32_platform.h"

namespace qm::win32 {

namespace {
// A device context of the default printer; null when there is none.
class PrinterDc {
public:
    PrinterDc() {
        DWORD size = 0;
        GetDefaultPrinterW(nullptr, &size);
        if (size == 0) return;
        std::wstring name(size, L'\0');
        if (!GetDefaultPrinterW(name.data(), &size)) return;
        name.resize(wcslen(name.c_str()));
        dc_ = CreateDCW(L"WINSPOOL", name.c_str(), nullptr, nullptr);
    }
    ~PrinterDc() {
        if (dc_) DeleteDC(dc_);
    }
    PrinterDc(const PrinterDc&) = delete;
    PrinterDc& operator=(const PrinterDc&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_ = nullptr;
};

PrinterMetrics metricsOf(HDC dc) {
    return {GetDeviceCaps(dc, LOGPIXELSX),      GetDeviceCaps(dc, LOGPIXELSY), GetDeviceCaps(dc, PHYSICALOFFSETX),
            GetDeviceCaps(dc, PHYSICALOFFSETY), GetDeviceCaps(dc, HORZRES),    GetDeviceCaps(dc, VERTRES)};
}

int twips(int pixels, int dpi) { return dpi > 0 ? MulDiv(pixels, 1440, dpi) : 0; }
}  // namespace

std::optional<PrinterMetrics> Printer::metrics() {
    PrinterDc dc;
    if (!dc.get()) return std::nullopt;
    PrinterMetrics m = metricsOf(dc.get());
    if (m.dpiX <= 0 || m.dpiY <= 0) return std::nullopt;
    return m;
}

void Printer::printRichText(IControlPeer& richText, const std::string& jobTitle, const PageRect& page) {
    PrinterDc dc;
    if (!dc.get()) throw Exception("Es ist kein Drucker installiert");
    const PrinterMetrics m = metricsOf(dc.get());
    HWND edit = controlWindow(richText);

    FORMATRANGE fr{};
    fr.hdc = fr.hdcTarget = dc.get();
    fr.rcPage = {0, 0, twips(m.pageWidth, m.dpiX), twips(m.pageHeight, m.dpiY)};
    // An empty page rectangle prints onto the whole page.
    if (page.right > page.left && page.bottom > page.top)
        fr.rc = {twips(page.left, m.dpiX), twips(page.top, m.dpiY), twips(page.right, m.dpiX),
                 twips(page.bottom, m.dpiY)};
    else
        fr.rc = fr.rcPage;

    GETTEXTLENGTHEX gtl{GTL_NUMCHARS | GTL_PRECISE, 1200};
    const LONG length = LONG(SendMessageW(edit, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&gtl), 0));

    std::wstring title = wide(jobTitle);
    DOCINFOW di{};
    di.cbSize = sizeof(di);
    di.lpszDocName = title.c_str();
    if (StartDocW(dc.get(), &di) <= 0)
        throw EOSError(GetLastError(), "Der Druckauftrag \"" + jobTitle + "\" konnte nicht begonnen werden");
    bool ok = true;
    LONG done = 0;
    while (ok && done < length) {
        if (StartPage(dc.get()) <= 0) {
            ok = false;
            break;
        }
        fr.chrg.cpMin = done;
        fr.chrg.cpMax = -1;
        LONG next = LONG(SendMessageW(edit, EM_FORMATRANGE, TRUE, reinterpret_cast<LPARAM>(&fr)));
        if (EndPage(dc.get()) <= 0) ok = false;
        if (next <= done) break;  // nothing more fits: never loop on an oversized object
        done = next;
    }
    SendMessageW(edit, EM_FORMATRANGE, FALSE, 0);
    if (!ok) {
        DWORD e = GetLastError();
        AbortDoc(dc.get());
        throw EOSError(e, "Der Druckauftrag \"" + jobTitle + "\" ist fehlgeschlagen");
    }
    EndDoc(dc.get());
}

}  // namespace qm::win32
