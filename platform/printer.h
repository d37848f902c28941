#pragma once
// The current printer: its metrics and the printing of formatted text.
#include <optional>
#include <string>

namespace qm {

class IControlPeer;

// A rectangle on the printed page in printer pixels.
struct PageRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const PageRect&) const = default;
};

struct PrinterMetrics {
    int dpiX = 0, dpiY = 0;        // LOGPIXELSX, LOGPIXELSY
    int offsetX = 0, offsetY = 0;  // PHYSICALOFFSETX, PHYSICALOFFSETY
    int pageWidth = 0, pageHeight = 0;  // printable area, HORZRES and VERTRES
    bool operator==(const PrinterMetrics&) const = default;
};

class IPrinter {
public:
    virtual ~IPrinter() = default;
    // Nothing when no printer is installed.
    virtual std::optional<PrinterMetrics> metrics() = 0;
    // Prints the content of a rich-text control as one job, formatted into the page
    // rectangle. Raises qm::Exception with the reason when it fails.
    virtual void printRichText(IControlPeer& richText, const std::string& jobTitle, const PageRect& page) = 0;
};

}  // namespace qm
