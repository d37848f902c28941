#include <windowsx.h>

#include "platform/win32/utf.h"
#include "platform/win32/win32_platform.h"

namespace qm::win32 {

namespace {
const wchar_t* const kFormClass = L"QuillmarkForm";
}

class FormPeer : public IFormPeer {
public:
    FormPeer(Ui& ui, IFormEvents& events) : ui_(ui), events_(events) {
        hwnd_ = CreateWindowExW(0, kFormClass, L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                                CW_USEDEFAULT, 400, 300, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    }
    ~FormPeer() override {
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

    HWND hwnd() const { return hwnd_; }

    LRESULT handle(UINT msg, WPARAM w, LPARAM l) {
        switch (msg) {
        case WM_SIZE: events_.formResize(); return 0;
        case WM_GETMINMAXINFO: {
            auto* mm = reinterpret_cast<MINMAXINFO*>(l);
            mm->ptMinTrackSize.x = min_.width;
            mm->ptMinTrackSize.y = min_.height;
            return 0;
        }
        case WM_SETCURSOR:
            if (ui_.busyCursor() && LOWORD(l) == HTCLIENT) {
                SetCursor(LoadCursorW(nullptr, IDC_WAIT));
                return TRUE;
            }
            return DefWindowProcW(hwnd_, msg, w, l);
        case WM_CLOSE: DestroyWindow(hwnd_); return 0;
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

void Ui::run() {
    if (main_) main_->show();
    MSG msg;
    while (!terminated_ && !mainGone_) {
        BOOL r = GetMessageW(&msg, nullptr, 0, 0);
        if (r <= 0) break;
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
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void Ui::setScreenCursor(ScreenCursor cursor) {
    busy_ = cursor == ScreenCursor::HourGlass;
    SetCursor(LoadCursorW(nullptr, busy_ ? IDC_WAIT : IDC_ARROW));
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
    HWND owner = ui_.mainWindow();
    if (owner && !IsWindowVisible(owner)) owner = nullptr;
    return MessageBoxW(owner, wide(text).c_str(), wide(msgDlgCaption(type)).c_str(), flags);
}

int Dialogs::messageBox(const std::string& text, const std::string& caption, uint32_t flags) {
    return MessageBoxW(nullptr, wide(text).c_str(), wide(caption).c_str(), flags);
}

void Dialogs::showException(const std::string& message) {
    std::string text = message;
    if (!text.empty() && text.back() != '.') text += '.';
    HWND owner = ui_.mainWindow();
    if (owner && !IsWindowVisible(owner)) owner = nullptr;
    MessageBoxW(owner, wide(text).c_str(), wide(ui_.applicationTitle()).c_str(), MB_OK | MB_ICONSTOP);
}

}  // namespace qm::win32
