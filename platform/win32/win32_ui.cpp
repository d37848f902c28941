#include <windowsx.h>
#include <shlobj.h>

#include <vector>

#include "platform/types.h"
#include "platform/win32/utf.h"
#include "platform/win32/win32_controls.h"
#include "platform/win32/win32_platform.h"

namespace qm::win32 {

namespace {
const wchar_t* const kFormClass = L"QuillmarkForm";
}

struct OtherWindows {
    HWND self;
    std::vector<HWND> windows;
};

BOOL CALLBACK collectOther(HWND h, LPARAM lp) {
    auto* c = reinterpret_cast<OtherWindows*>(lp);
    if (h != c->self && IsWindowVisible(h) && IsWindowEnabled(h)) c->windows.push_back(h);
    return TRUE;
}

class FormPeer : public IFormPeer {
public:
    FormPeer(Ui& ui, IFormEvents& events) : ui_(ui), events_(events) {
        // Windows created after the main window belong to it: they stay above it.
        hwnd_ = CreateWindowExW(WS_EX_CONTROLPARENT, kFormClass, L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                CW_USEDEFAULT, CW_USEDEFAULT, 400, 300, ui.mainWindow(), nullptr,
                                GetModuleHandleW(nullptr), this);
    }
    ~FormPeer() override {
        if (modal_) endModal(mr::Cancel);
        if (font_) DeleteObject(font_);
        if (brush_) DeleteObject(brush_);
        if (hwnd_) {
            HWND h = hwnd_;
            hwnd_ = nullptr;
            SetWindowLongPtrW(h, GWLP_USERDATA, 0);
            DestroyWindow(h);
        }
    }
    void setCaption(const std::string& c) override { SetWindowTextW(hwnd_, wide(c).c_str()); }
    std::string caption() override {
        wchar_t buf[512] = {};
        GetWindowTextW(hwnd_, buf, 512);
        return utf8(buf);
    }
    void setClientSize(Size s) override {
        RECT r{0, 0, s.width, s.height};
        AdjustWindowRectEx(&r, DWORD(GetWindowLongW(hwnd_, GWL_STYLE)), FALSE, DWORD(GetWindowLongW(hwnd_, GWL_EXSTYLE)));
        SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    void setMinimumSize(Size s) override { min_ = s; }
    void setBounds(Rect r) override {
        r.width = std::max(r.width, min_.width);
        r.height = std::max(r.height, min_.height);
        SetWindowPos(hwnd_, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    Rect bounds() override {
        RECT r{};
        GetWindowRect(hwnd_, &r);
        return {r.left, r.top, r.right - r.left, r.bottom - r.top};
    }
    Size clientSize() override {
        RECT r{};
        GetClientRect(hwnd_, &r);
        return {r.right, r.bottom};
    }
    void show() override {
        if (!hwnd_ || IsWindowVisible(hwnd_)) return;
        events_.formShow();
        if (!hwnd_ || closed_) return;
        // Centred on the screen when it opens.
        Rect b = bounds();
        RECT work{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        int x = work.left + ((work.right - work.left) - b.width) / 2;
        int y = work.top + ((work.bottom - work.top) - b.height) / 2;
        SetWindowPos(hwnd_, nullptr, std::max(x, int(work.left)), std::max(y, int(work.top)), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER);
        ShowWindow(hwnd_, SW_SHOW);
        UpdateWindow(hwnd_);
    }
    void close() override {
        if (hwnd_ && !closed_) DestroyWindow(hwnd_);
    }
    bool visible() override { return hwnd_ && IsWindowVisible(hwnd_); }
    bool closed() override { return closed_; }
    void postMessage(uint32_t msg, uintptr_t w, intptr_t l) override {
        if (hwnd_ && !closed_) PostMessageW(hwnd_, msg, w, l);
    }
    void setColor(Color c) override {
        if (brush_) DeleteObject(brush_);
        brush_ = CreateSolidBrush(colorRef(c));
        InvalidateRect(hwnd_, nullptr, TRUE);
    }
    void setFont(const Font& f) override {
        if (font_) DeleteObject(font_);
        font_ = createFont(f);
        SendMessageW(hwnd_, WM_SETFONT, WPARAM(font_), FALSE);
    }
    std::unique_ptr<IControlPeer> createControl(const ControlStyle& style, IControlPeer* parent,
                                                IControlEvents& events) override {
        return makeControlPeer(hwnd_, nextId_++, style, parent, events);
    }

    int showModal() override {
        if (!hwnd_ || closed_) return mr::Cancel;
        // Every other window of the program waits while this one is open.
        OtherWindows others{hwnd_, {}};
        EnumThreadWindows(GetCurrentThreadId(), collectOther, reinterpret_cast<LPARAM>(&others));
        std::vector<HWND>& disabled = others.windows;
        for (HWND h : disabled) EnableWindow(h, FALSE);
        modal_ = true;
        modalResult_ = mr::None;
        show();
        if (hwnd_ && !closed_) SetForegroundWindow(hwnd_);
        MSG msg;
        while (modal_ && !closed_) {
            BOOL r = GetMessageW(&msg, nullptr, 0, 0);
            if (r <= 0) {
                PostQuitMessage(r == 0 ? int(msg.wParam) : 0);
                break;
            }
            if (ui_.preTranslate(msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        modal_ = false;
        for (HWND h : disabled)
            if (IsWindow(h)) EnableWindow(h, TRUE);
        if (hwnd_ && !closed_) ShowWindow(hwnd_, SW_HIDE);
        if (!disabled.empty() && IsWindow(disabled.front())) SetForegroundWindow(ui_.mainWindow());
        return modalResult_ == mr::None ? mr::Cancel : modalResult_;
    }

    void endModal(int r) override {
        if (!modal_) return;
        modalResult_ = r;
        modal_ = false;
        PostMessageW(hwnd_, WM_NULL, 0, 0);  // wakes the modal loop
    }

    HWND hwnd() const { return hwnd_; }
    IFormEvents& events() { return events_; }

    LRESULT handle(UINT msg, WPARAM w, LPARAM l) {
        LRESULT routed = 0;
        if (routeControlMessage(hwnd_, msg, w, l, routed)) return routed;
        switch (msg) {
        case WM_ERASEBKGND:
            if (brush_) {
                RECT rc;
                GetClientRect(hwnd_, &rc);
                FillRect(reinterpret_cast<HDC>(w), &rc, brush_);
                return 1;
            }
            return DefWindowProcW(hwnd_, msg, w, l);
        case WM_SIZE: events_.formResize(); return 0;
        case WM_GETMINMAXINFO: {
            auto* mm = reinterpret_cast<MINMAXINFO*>(l);
            mm->ptMinTrackSize.x = min_.width;
            mm->ptMinTrackSize.y = min_.height;
            return 0;
        }
        case WM_CLOSE:
            // A modal window closed by its title-bar button is cancelled and kept for its owner.
            if (modal_) endModal(mr::Cancel);
            else DestroyWindow(hwnd_);
            return 0;
        case WM_DESTROY:
            closed_ = true;
            events_.formClosed();
            ui_.formDestroyed(this);
            return 0;
        default:
            if (msg >= WM_USER && msg < 0x8000) {
                events_.formMessage(msg, w, l);
                return 0;
            }
            return DefWindowProcW(hwnd_, msg, w, l);
        }
    }

    static LRESULT CALLBACK proc(HWND h, UINT msg, WPARAM w, LPARAM l) {
        if (msg == WM_NCCREATE) {
            auto* cs = reinterpret_cast<CREATESTRUCTW*>(l);
            auto* self = static_cast<FormPeer*>(cs->lpCreateParams);
            self->hwnd_ = h;
            SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
        auto* self = reinterpret_cast<FormPeer*>(GetWindowLongPtrW(h, GWLP_USERDATA));
        if (!self) return DefWindowProcW(h, msg, w, l);
        return self->handle(msg, w, l);
    }

private:
    Ui& ui_;
    IFormEvents& events_;
    HWND hwnd_ = nullptr;
    Size min_;
    bool closed_ = false;
    bool modal_ = false;
    int modalResult_ = 0;
    int nextId_ = 1000;
    HFONT font_ = nullptr;
    HBRUSH brush_ = nullptr;
};

Ui::Ui() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = FormPeer::proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    wc.lpszClassName = kFormClass;
    RegisterClassExW(&wc);
}

std::unique_ptr<IFormPeer> Ui::createForm(IFormEvents& events) { return std::make_unique<FormPeer>(*this, events); }

// A dialog belongs to the window the user works in: a modal window rather than the main
// window it disabled, which the dialog would enable again when it closes.
HWND Ui::dialogOwner() const {
    HWND active = GetActiveWindow();
    if (active && IsWindowVisible(active) && IsWindowEnabled(active)) return active;
    HWND main = mainWindow();
    return main && IsWindowVisible(main) && IsWindowEnabled(main) ? main : nullptr;
}

HWND Ui::mainWindow() const { return main_ ? static_cast<FormPeer*>(main_)->hwnd() : nullptr; }

void Ui::formDestroyed(FormPeer* f) {
    if (f == main_) {
        mainGone_ = true;
        PostQuitMessage(0);
    }
}

// The end request is a flag, not WM_QUIT: a WM_QUIT would also end any message box
// that is open at that moment.
void Ui::terminate() {
    terminated_ = true;
    PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
}

// Tab, Escape and Return go to the window of the focused control first, as dialog keys.
bool Ui::preTranslate(MSG& msg) {
    if (msg.message != WM_KEYDOWN || !msg.hwnd) return false;
    if (msg.wParam != VK_TAB && msg.wParam != VK_ESCAPE && msg.wParam != VK_RETURN) return false;
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    wchar_t cls[64] = {};
    if (!root || !GetClassNameW(root, cls, 64) || lstrcmpW(cls, kFormClass) != 0) return false;
    auto* form = reinterpret_cast<FormPeer*>(GetWindowLongPtrW(root, GWLP_USERDATA));
    if (!form) return false;
    bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    return form->events().formDialogKey(uint32_t(msg.wParam), shift);
}

void Ui::run() {
    if (main_) main_->show();
    MSG msg;
    while (!terminated_ && !mainGone_) {
        BOOL r = GetMessageW(&msg, nullptr, 0, 0);
        if (r <= 0) break;
        if (preTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void Ui::processMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(int(msg.wParam));
            break;
        }
        if (preTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

std::shared_ptr<IPicture> Ui::decodePicture(const uint8_t* data, size_t size, PictureFormat) {
    return decodeWithGdiPlus(data, size);
}

Size Ui::screenSize() { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

// ---------------------------------------------------------------- dialogs
int Dialogs::messageDlg(const std::string& text, MsgDlgType type, unsigned buttons) {
    UINT flags = MB_TASKMODAL;
    switch (type) {
    case MsgDlgType::Warning: flags |= MB_ICONWARNING; break;
    case MsgDlgType::Error: flags |= MB_ICONERROR; break;
    case MsgDlgType::Information: flags |= MB_ICONINFORMATION; break;
    case MsgDlgType::Confirmation: flags |= MB_ICONQUESTION; break;
    }
    if ((buttons & mb::Yes) && (buttons & mb::No)) flags |= (buttons & mb::Cancel) ? MB_YESNOCANCEL : MB_YESNO;
    else if ((buttons & mb::OK) && (buttons & mb::Cancel)) flags |= MB_OKCANCEL;
    else flags |= MB_OK;
    HWND owner = ui_.dialogOwner();
    return MessageBoxW(owner, wide(text).c_str(), wide(msgDlgCaption(type)).c_str(), flags);
}

int Dialogs::messageBox(const std::string& text, const std::string& caption, uint32_t flags) {
    return MessageBoxW(nullptr, wide(text).c_str(), wide(caption).c_str(), flags);
}

namespace {
int CALLBACK browseCallback(HWND h, UINT msg, LPARAM, LPARAM data) {
    if (msg == BFFM_INITIALIZED && data) SendMessageW(h, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}
}  // namespace

std::optional<std::string> Dialogs::browseForFolder(const std::string& title, const std::string& startFolder) {
    HRESULT co = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    std::wstring wtitle = wide(title), start = wide(startFolder);
    BROWSEINFOW bi{};
    bi.hwndOwner = ui_.dialogOwner();
    bi.lpszTitle = wtitle.c_str();
    bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    bi.lpfn = browseCallback;
    bi.lParam = start.empty() ? 0 : reinterpret_cast<LPARAM>(start.c_str());
    std::optional<std::string> chosen;
    if (PIDLIST_ABSOLUTE pidl = SHBrowseForFolderW(&bi)) {
        wchar_t path[MAX_PATH] = {};
        if (SHGetPathFromIDListW(pidl, path)) chosen = utf8(path);
        CoTaskMemFree(pidl);
    }
    if (SUCCEEDED(co)) CoUninitialize();
    return chosen;
}

void Dialogs::showException(const std::string& message) {
    std::string text = message;
    if (!text.empty() && text.back() != '.') text += '.';
    HWND owner = ui_.dialogOwner();
    MessageBoxW(owner, wide(text).c_str(), wide(ui_.applicationTitle()).c_str(), MB_OK | MB_ICONSTOP);
}

}  // namespace qm::win32
