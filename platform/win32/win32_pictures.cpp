// Pictures decoded by GDI+, the platform's own decoder for PNG and BMP.
#include <objidl.h>
#include <shlwapi.h>
// GDI+'s headers expect min and max from windows.h, which NOMINMAX keeps out.
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include "platform/types.h"
#include "platform/win32/win32_controls.h"

namespace qm::win32 {

namespace {
void startGdiPlus() {
    static ULONG_PTR token = 0;
    if (token) return;
    Gdiplus::GdiplusStartupInput in;
    if (Gdiplus::GdiplusStartup(&token, &in, nullptr) != Gdiplus::Ok) throw Exception("GDI+ ist nicht verfügbar");
}

class GdiPicture : public IPicture {
public:
    GdiPicture(IStream* stream, Gdiplus::GpBitmap* bitmap) : stream_(stream), bitmap_(bitmap) {
        UINT w = 0, h = 0;
        Gdiplus::DllExports::GdipGetImageWidth(bitmap_, &w);
        Gdiplus::DllExports::GdipGetImageHeight(bitmap_, &h);
        width_ = int(w), height_ = int(h);
    }
    ~GdiPicture() override {
        Gdiplus::DllExports::GdipDisposeImage(bitmap_);
        stream_->Release();  // GDI+ reads from the stream for as long as the image lives
    }
    int width() const override { return width_; }
    int height() const override { return height_; }
    Gdiplus::GpBitmap* bitmap() const { return bitmap_; }

private:
    IStream* stream_;
    Gdiplus::GpBitmap* bitmap_;
    int width_ = 0, height_ = 0;
};
}  // namespace

std::shared_ptr<IPicture> decodeWithGdiPlus(const uint8_t* data, size_t size) {
    startGdiPlus();
    IStream* stream = SHCreateMemStream(data, UINT(size));
    if (!stream) throw Exception("Das Bild kann nicht gelesen werden");
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromStream(stream, &bitmap) != Gdiplus::Ok || !bitmap) {
        stream->Release();
        throw Exception("Das Bild hat kein gültiges Format");
    }
    auto p = std::make_shared<GdiPicture>(stream, bitmap);
    if (p->width() <= 0 || p->height() <= 0) throw Exception("Das Bild hat kein gültiges Format");
    return p;
}

void drawPicture(HDC dc, IPicture& picture, const RECT& target) {
    auto* p = dynamic_cast<GdiPicture*>(&picture);
    if (!p) return;
    Gdiplus::GpGraphics* g = nullptr;
    if (Gdiplus::DllExports::GdipCreateFromHDC(dc, &g) != Gdiplus::Ok) return;
    Gdiplus::DllExports::GdipSetInterpolationMode(g, Gdiplus::InterpolationModeHighQualityBicubic);
    Gdiplus::DllExports::GdipSetPixelOffsetMode(g, Gdiplus::PixelOffsetModeHighQuality);
    Gdiplus::DllExports::GdipDrawImageRectI(g, p->bitmap(), target.left, target.top, target.right - target.left,
                                            target.bottom - target.top);
    Gdiplus::DllExports::GdipDeleteGraphics(g);
}

}  // namespace qm::win32
