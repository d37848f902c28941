#include "platform/win32/win32_controls.h"

#include <commctrl.h>
#include <richedit.h>
#include <uxtheme.h>

#include <algorithm>
#include <string>

#include "platform/win32/utf.h"

namespace qm::win32 {

namespace {
const wchar_t* const kPanelClass = L"QuillmarkPanel";
const wchar_t* const kTitleClass = L"QuillmarkTitel";
const wchar_t* const kImageClass = L"QuillmarkBild";
const wchar_t* const kPeerProp = L"QuillmarkPeer";
const int kBrowseButtonWidth = 22;

LRESULT CALLBACK panelProc(HWND h, UINT msg, WPARAM w, LPARAM l);
LRESULT CALLBACK titleProc(HWND h, UINT msg, WPARAM w, LPARAM l);
LRESULT CALLBACK imageProc(HWND h, UINT msg, WPARAM w, LPARAM l);
}  // namespace

COLORREF colorRef(Color c) { return colors::isSystem(c) ? GetSysColor(int(c & 0xFF)) : COLORREF(c & 0xFFFFFF); }

HFONT createFont(const Font& f) {
    return CreateFontW(f.height, 0, 0, 0, f.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                       wide(f.name).c_str());
}

void registerControlClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    LoadLibraryW(L"riched20.dll");
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpfnWndProc = panelProc;
    wc.lpszClassName = kPanelClass;
    RegisterClassExW(&wc);
    wc.lpfnWndProc = titleProc;
    wc.lpszClassName = kTitleClass;
    RegisterClassExW(&wc);
    wc.lpfnWndProc = imageProc;
    wc.lpszClassName = kImageClass;
    RegisterClassExW(&wc);
}

struct StreamReader {
    const std::vector<uint8_t>* data;
    size_t pos = 0;
};

DWORD CALLBACK readStream(DWORD_PTR cookie, LPBYTE buf, LONG cb, LONG* got) {
    auto* r = reinterpret_cast<StreamReader*>(cookie);
    size_t n = std::min(size_t(cb), r->data->size() - r->pos);
    std::copy_n(r->data->begin() + std::ptrdiff_t(r->pos), n, buf);
    r->pos += n;
    *got = LONG(n);
    return 0;
}

class ControlPeer : public IControlPeer {
public:
    ControlPeer(HWND form, int id, const ControlStyle& style, ControlPeer* parent, IControlEvents& events)
        : style_(style), events_(events) {
        registerControlClasses();
        HWND parentWnd = parent ? parent->hwnd_ : form;
        DWORD st = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, ex = 0;
        const wchar_t* cls = L"STATIC";
        switch (style.kind) {
        case ControlKind::Button: cls = L"BUTTON", st |= BS_PUSHBUTTON | WS_TABSTOP; break;
        case ControlKind::CheckBox: cls = L"BUTTON", st |= BS_CHECKBOX | WS_TABSTOP; break;
        case ControlKind::RadioButton: cls = L"BUTTON", st |= BS_RADIOBUTTON | WS_TABSTOP; break;
        case ControlKind::Label: cls = L"STATIC", st |= SS_LEFTNOWORDWRAP; break;
        case ControlKind::ShadowLabel: cls = kTitleClass; break;
        case ControlKind::Edit:
        case ControlKind::FolderEdit:
            cls = L"EDIT", st |= ES_AUTOHSCROLL | WS_TABSTOP, ex = WS_EX_CLIENTEDGE;
            if (style.readOnly) st |= ES_READONLY;
            break;
        case ControlKind::Memo:
            cls = L"EDIT", st |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_TABSTOP, ex = WS_EX_CLIENTEDGE;
            if (!style.wordWrap) st |= ES_AUTOHSCROLL;
            if (style.vScroll) st |= WS_VSCROLL;
            if (style.hScroll) st |= WS_HSCROLL;
            if (style.readOnly) st |= ES_READONLY;
            break;
        case ControlKind::RichText:
            cls = RICHEDIT_CLASSW, st |= ES_MULTILINE | ES_AUTOVSCROLL | WS_TABSTOP, ex = WS_EX_CLIENTEDGE;
            if (style.vScroll) st |= WS_VSCROLL;
            if (style.hScroll) st |= WS_HSCROLL;
            if (style.readOnly) st |= ES_READONLY;
            break;
        case ControlKind::ProgressBar: cls = PROGRESS_CLASSW, st |= PBS_SMOOTH; break;
        case ControlKind::Panel:
        case ControlKind::GroupBox:
            cls = kPanelClass, st |= WS_CLIPCHILDREN, ex = WS_EX_CONTROLPARENT;
            break;
        case ControlKind::Image: cls = kImageClass; break;
        }
        hwnd_ = CreateWindowExW(ex, cls, L"", st, 0, 0, 0, 0, parentWnd, reinterpret_cast<HMENU>(intptr_t(id)),
                                GetModuleHandleW(nullptr), nullptr);
        SetPropW(hwnd_, kPeerProp, this);
        if (style.kind == ControlKind::FolderEdit) {
            browse_ = CreateWindowExW(0, L"BUTTON", L"...", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | WS_CLIPSIBLINGS,
                                      0, 0, 0, 0, parentWnd, reinterpret_cast<HMENU>(intptr_t(id + 0x4000)),
                                      GetModuleHandleW(nullptr), nullptr);
            SetPropW(browse_, kPeerProp, this);
        }
        if (style.kind == ControlKind::ProgressBar) {
            // A themed bar ignores its colour.
            SetWindowTheme(hwnd_, L" ", L" ");
        }
        if (style.kind == ControlKind::RichText) {
            SendMessageW(hwnd_, EM_SETEVENTMASK, 0, 0);
            // Lines wrap at the window's width even with a horizontal scroll bar.
            SendMessageW(hwnd_, EM_SETTARGETDEVICE, 0, 0);
        }
    }

    ~ControlPeer() override {
        for (HWND h : {browse_, hwnd_})
            if (h) {
                RemovePropW(h, kPeerProp);
                DestroyWindow(h);
            }
        if (font_) DeleteObject(font_);
        if (brush_) DeleteObject(brush_);
    }

    void setBounds(const Rect& r) override {
        bounds_ = r;
        place();
    }

    void setText(const std::string& t) override {
        text_ = t;
        quiet_ = true;
        SetWindowTextW(hwnd_, wide(t).c_str());
        quiet_ = false;
        if (style_.kind == ControlKind::Label) place();
        if (style_.kind == ControlKind::ShadowLabel || style_.kind == ControlKind::GroupBox)
            InvalidateRect(hwnd_, nullptr, TRUE);
        repaintBehind();
    }

    std::string text() override {
        int n = GetWindowTextLengthW(hwnd_);
        std::wstring w(size_t(n) + 1, L'\0');
        n = GetWindowTextW(hwnd_, w.data(), n + 1);
        w.resize(size_t(std::max(n, 0)));
        return utf8(w);
    }

    void appendLine(const std::string& line) override {
        int len = GetWindowTextLengthW(hwnd_);
        // Every appended line ends with its line break, so empty lines stay lines.
        std::wstring add = wide(line) + L"\r\n";
        if (len > 0) {
            // Text the user typed without a closing line break gets one first.
            std::wstring all(size_t(len) + 1, L'\0');
            GetWindowTextW(hwnd_, all.data(), len + 1);
            all.resize(size_t(len));
            if (all.size() < 2 || all.compare(all.size() - 2, 2, L"\r\n") != 0) add = L"\r\n" + add;
        }
        quiet_ = true;
        SendMessageW(hwnd_, EM_SETSEL, WPARAM(len), LPARAM(len));
        SendMessageW(hwnd_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(add.c_str()));
        SendMessageW(hwnd_, EM_SCROLLCARET, 0, 0);
        quiet_ = false;
    }

    void setEnabled(bool e) override {
        EnableWindow(hwnd_, e);
        if (browse_) EnableWindow(browse_, e);
        repaintBehind();
    }

    void setVisible(bool v) override {
        ShowWindow(hwnd_, v ? SW_SHOWNA : SW_HIDE);
        if (browse_) ShowWindow(browse_, v ? SW_SHOWNA : SW_HIDE);
    }

    void setChecked(bool c) override { SendMessageW(hwnd_, BM_SETCHECK, c ? BST_CHECKED : BST_UNCHECKED, 0); }

    void setFont(const Font& f) override {
        fontSpec_ = f;
        HFONT old = font_;
        font_ = createFont(f);
        SendMessageW(hwnd_, WM_SETFONT, WPARAM(font_), TRUE);
        if (browse_) SendMessageW(browse_, WM_SETFONT, WPARAM(font_), TRUE);
        if (old) DeleteObject(old);
        if (style_.kind == ControlKind::Label) place();
    }

    void setColor(Color c) override {
        color_ = c;
        hasColor_ = true;
        if (brush_) DeleteObject(brush_);
        brush_ = CreateSolidBrush(colorRef(c));
        if (style_.kind == ControlKind::ProgressBar) {
            SendMessageW(hwnd_, PBM_SETBARCOLOR, 0, LPARAM(colorRef(c)));
        } else if (style_.kind == ControlKind::RichText) {
            SendMessageW(hwnd_, EM_SETBKGNDCOLOR, 0, LPARAM(colorRef(c)));
        }
        InvalidateRect(hwnd_, nullptr, TRUE);
    }

    void setTabOrder(int) override {}  // the form moves the focus itself

    void setProgress(int mn, int mx, int pos) override {
        SendMessageW(hwnd_, PBM_SETRANGE32, WPARAM(mn), LPARAM(mx));
        SendMessageW(hwnd_, PBM_SETPOS, WPARAM(pos), 0);
    }

    void setPicture(std::shared_ptr<IPicture> p) override {
        picture_ = std::move(p);
        InvalidateRect(hwnd_, nullptr, TRUE);
    }

    bool loadRichText(const std::vector<uint8_t>& rtf) override {
        StreamReader reader{&rtf};
        EDITSTREAM es{};
        es.dwCookie = reinterpret_cast<DWORD_PTR>(&reader);
        es.pfnCallback = readStream;
        SendMessageW(hwnd_, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&es));
        return es.dwError == 0 && GetWindowTextLengthW(hwnd_) > 0;
    }

    void setFocus() override { SetFocus(hwnd_); }
    bool focused() override {
        HWND f = GetFocus();
        return f && (f == hwnd_ || (browse_ && f == browse_));
    }

    // A notification of one of our windows; the answer when it was ours.
    bool notify(HWND from, UINT msg, WPARAM w, LPARAM, LRESULT& result) {
        if (msg == WM_COMMAND) {
            UINT code = HIWORD(w);
            if (from == browse_ && code == BN_CLICKED) events_.controlEvent(ControlEvent::BrowseClick, 0);
            else if (code == BN_CLICKED &&
                     (style_.kind == ControlKind::Button || style_.kind == ControlKind::CheckBox ||
                      style_.kind == ControlKind::RadioButton))
                events_.controlEvent(ControlEvent::Click, 0);
            else if (code == EN_CHANGE && !quiet_) events_.controlEvent(ControlEvent::Change, 0);
            else if (code == EN_SETFOCUS) events_.controlEvent(ControlEvent::Enter, 0);
            result = 0;
            return true;
        }
        HDC dc = reinterpret_cast<HDC>(w);
        if (msg == WM_CTLCOLOREDIT || (msg == WM_CTLCOLORSTATIC && style_.kind == ControlKind::Memo)) {
            SetTextColor(dc, colorRef(fontSpec_.color));
            COLORREF bk = colorRef(hasColor_ ? color_ : colors::Window);
            SetBkColor(dc, bk);
            if (!brush_) brush_ = CreateSolidBrush(bk);
            result = reinterpret_cast<LRESULT>(brush_);
            return true;
        }
        if (msg == WM_CTLCOLORSTATIC || msg == WM_CTLCOLORBTN) {
            // Labels and buttons show the face colour of their parent.
            if (IsWindowEnabled(from)) SetTextColor(dc, colorRef(fontSpec_.color));
            else SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
            SetBkMode(dc, TRANSPARENT);
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
            return true;
        }
        return false;
    }

    void paintContainer(HDC dc, const RECT& rc) {
        HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
        FillRect(dc, &rc, hasColor_ && brush_ ? brush_ : face);
        if (style_.kind == ControlKind::GroupBox) {
            HGDIOBJ oldFont = SelectObject(dc, font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
            TEXTMETRICW tm{};
            GetTextMetricsW(dc, &tm);
            RECT frame = rc;
            frame.top += tm.tmHeight / 2;
            DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
            std::wstring cap = wide(text_);
            SIZE ext{};
            GetTextExtentPoint32W(dc, cap.c_str(), int(cap.size()), &ext);
            RECT textRc{8, 0, 8 + ext.cx + 4, tm.tmHeight};
            FillRect(dc, &textRc, face);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, GetSysColor(IsWindowEnabled(hwnd_) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
            TextOutW(dc, 10, 0, cap.c_str(), int(cap.size()));
            SelectObject(dc, oldFont);
        } else if (style_.bevel != Bevel::None) {
            RECT frame = rc;
            DrawEdge(dc, &frame, style_.bevel == Bevel::Lowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        }
    }

    void paintTitle(HDC dc, const RECT& rc) {
        FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
        HGDIOBJ oldFont = SelectObject(dc, font_);
        SetBkMode(dc, TRANSPARENT);
        std::wstring t = wide(text_);
        RECT shadow = rc;
        OffsetRect(&shadow, style_.shadowSize, style_.shadowSize);
        SetTextColor(dc, colorRef(style_.shadowColor));
        DrawTextW(dc, t.c_str(), int(t.size()), &shadow, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
        RECT face = rc;
        SetTextColor(dc, colorRef(fontSpec_.color));
        DrawTextW(dc, t.c_str(), int(t.size()), &face, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, oldFont);
    }

    void paintImage(HDC dc, const RECT& rc) {
        FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
        if (!picture_ || picture_->width() <= 0 || picture_->height() <= 0) return;
        RECT target = rc;
        int w = rc.right - rc.left, h = rc.bottom - rc.top;
        if (!style_.stretch) {
            target.right = target.left + std::min(w, picture_->width());
            target.bottom = target.top + std::min(h, picture_->height());
        } else if (style_.proportional) {
            double sx = double(w) / picture_->width(), sy = double(h) / picture_->height();
            double s = std::min(sx, sy);
            target.right = target.left + int(picture_->width() * s + 0.5);
            target.bottom = target.top + int(picture_->height() * s + 0.5);
        }
        drawPicture(dc, *picture_, target);
    }

    HWND hwnd() const { return hwnd_; }

private:
    // Labels size themselves to their text, as the toolkit's labels do.
    void place() {
        Rect r = bounds_;
        if (style_.kind == ControlKind::Label && !text_.empty()) {
            HDC dc = GetDC(hwnd_);
            HGDIOBJ old = SelectObject(dc, font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
            std::wstring t = wide(text_);
            SIZE ext{};
            GetTextExtentPoint32W(dc, t.c_str(), int(t.size()), &ext);
            SelectObject(dc, old);
            ReleaseDC(hwnd_, dc);
            r.width = std::max(r.width, int(ext.cx) + 1);
        }
        if (browse_) {
            int bw = std::min(kBrowseButtonWidth, r.width);
            MoveWindow(hwnd_, r.left, r.top, r.width - bw, r.height, TRUE);
            MoveWindow(browse_, r.left + r.width - bw, r.top, bw, r.height, TRUE);
        } else {
            MoveWindow(hwnd_, r.left, r.top, r.width, r.height, TRUE);
        }
    }

    // A transparent label repaints what lies behind it.
    void repaintBehind() {
        if (style_.kind != ControlKind::Label && style_.kind != ControlKind::ShadowLabel) return;
        HWND parent = GetParent(hwnd_);
        RECT rc;
        GetWindowRect(hwnd_, &rc);
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rc), 2);
        InvalidateRect(parent, &rc, TRUE);
        InvalidateRect(hwnd_, nullptr, TRUE);
    }

    ControlStyle style_;
    IControlEvents& events_;
    HWND hwnd_ = nullptr, browse_ = nullptr;
    HFONT font_ = nullptr;
    HBRUSH brush_ = nullptr;
    Font fontSpec_;
    Color color_ = colors::BtnFace;
    bool hasColor_ = false;
    bool quiet_ = false;  // our own text changes are no user edits
    Rect bounds_;
    std::string text_;
    std::shared_ptr<IPicture> picture_;
};

namespace {
ControlPeer* peerOf(HWND h) { return h ? static_cast<ControlPeer*>(GetPropW(h, kPeerProp)) : nullptr; }

template <class Paint>
LRESULT paintWith(HWND h, Paint paint) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT rc;
    GetClientRect(h, &rc);
    // Drawn off screen: no flicker while the window is resized.
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP bmp = CreateCompatibleBitmap(dc, std::max(1L, rc.right), std::max(1L, rc.bottom));
    HGDIOBJ old = SelectObject(mem, bmp);
    paint(mem, rc);
    BitBlt(dc, 0, 0, rc.right, rc.bottom, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    EndPaint(h, &ps);
    return 0;
}

LRESULT CALLBACK panelProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    LRESULT result = 0;
    if (routeControlMessage(h, msg, w, l, result)) return result;
    ControlPeer* self = peerOf(h);
    switch (msg) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
        if (self) return paintWith(h, [self](HDC dc, const RECT& rc) { self->paintContainer(dc, rc); });
        break;
    case WM_SIZE: InvalidateRect(h, nullptr, FALSE); return 0;
    case WM_CLOSE: return 0;  // a container is never closed on its own
    case WM_ENABLE: InvalidateRect(h, nullptr, FALSE); return 0;
    }
    return DefWindowProcW(h, msg, w, l);
}

LRESULT CALLBACK titleProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    ControlPeer* self = peerOf(h);
    switch (msg) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
        if (self) return paintWith(h, [self](HDC dc, const RECT& rc) { self->paintTitle(dc, rc); });
        break;
    case WM_SETFONT: InvalidateRect(h, nullptr, FALSE); return 0;
    }
    return DefWindowProcW(h, msg, w, l);
}

LRESULT CALLBACK imageProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    ControlPeer* self = peerOf(h);
    switch (msg) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
        if (self) return paintWith(h, [self](HDC dc, const RECT& rc) { self->paintImage(dc, rc); });
        break;
    case WM_SIZE: InvalidateRect(h, nullptr, FALSE); return 0;
    }
    return DefWindowProcW(h, msg, w, l);
}
}  // namespace

std::unique_ptr<IControlPeer> makeControlPeer(HWND form, int id, const ControlStyle& style, IControlPeer* parent,
                                              IControlEvents& events) {
    return std::make_unique<ControlPeer>(form, id, style, static_cast<ControlPeer*>(parent), events);
}

bool routeControlMessage(HWND, UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
    switch (msg) {
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        HWND from = reinterpret_cast<HWND>(l);
        if (ControlPeer* p = peerOf(from)) return p->notify(from, msg, w, l, result);
        return false;
    }
    default: return false;
    }
}

HWND controlWindow(IControlPeer& peer) { return static_cast<ControlPeer&>(peer).hwnd(); }

}  // namespace qm::win32
