#pragma once
// Real child controls for the portable control layer, and the routing of their
// notifications back to the control objects.
#include <windows.h>

#include <memory>

#include "platform/ui.h"

namespace qm::win32 {

// Registers the window classes of our own controls once.
void registerControlClasses();

std::unique_ptr<IControlPeer> makeControlPeer(HWND form, int id, const ControlStyle& style, IControlPeer* parent,
                                              IControlEvents& events);

// Notifications a parent window receives for its child controls (commands, colours).
// True when the message belonged to one of our controls; result then holds the answer.
bool routeControlMessage(HWND parent, UINT msg, WPARAM w, LPARAM l, LRESULT& result);

// The window handle of a peer, for the printing of rich text.
HWND controlWindow(IControlPeer& peer);

COLORREF colorRef(Color c);
HFONT createFont(const Font& f);

// A picture decoded by GDI+.
std::shared_ptr<IPicture> decodeWithGdiPlus(const uint8_t* data, size_t size);
void drawPicture(HDC dc, IPicture& picture, const RECT& target);

}  // namespace qm::win32
