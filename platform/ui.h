#pragma once
// Windows and the message loop. The portable form classes talk to a peer; the win32
// backend makes it a real window, the simulation keeps its state for tests.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/controls.h"

namespace qm {

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
};

struct Size {
    int width = 0, height = 0;
    bool operator==(const Size&) const = default;
};

// What a window reports to its form. Called on the user-interface thread.
class IFormEvents {
public:
    virtual ~IFormEvents() = default;
    virtual void formShow() = 0;  // before the window becomes visible
    virtual void formResize() = 0;
    virtual void formMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam) = 0;
    virtual void formClosed() = 0;
    // A key the form may take before the focused control sees it (Tab, Escape, Return).
    // True when the form handled it.
    virtual bool formDialogKey(uint32_t /*virtualKey*/, bool /*shift*/) { return false; }
};

namespace vk {
constexpr uint32_t Tab = 0x09, Return = 0x0D, Escape = 0x1B;
}

class IFormPeer {
public:
    virtual ~IFormPeer() = default;
    virtual void setCaption(const std::string& caption) = 0;
    virtual std::string caption() = 0;
    virtual void setClientSize(Size size) = 0;
    virtual void setMinimumSize(Size outer) = 0;
    virtual void setBounds(Rect outer) = 0;  // outer size; the form centres itself
    virtual Rect bounds() = 0;
    virtual Size clientSize() = 0;
    virtual void show() = 0;   // runs formShow first
    virtual void close() = 0;  // destroys the window; formClosed follows
    virtual bool visible() = 0;
    virtual bool closed() = 0;
    virtual void postMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam) = 0;
    virtual void setColor(Color /*background*/) {}
    virtual void setFont(const Font& /*font*/) {}
    // A control on this window; parent null: directly on the window.
    virtual std::unique_ptr<IControlPeer> createControl(const ControlStyle& style, IControlPeer* parent,
                                                        IControlEvents& events) = 0;
    // Shows the window modally: the other windows are disabled until endModal() or close.
    // Returns the modal result (mr::*); a window closed otherwise gives mr::Cancel.
    virtual int showModal() = 0;
    virtual void endModal(int modalResult) = 0;
};

class IUi {
public:
    virtual ~IUi() = default;
    virtual std::unique_ptr<IFormPeer> createForm(IFormEvents& events) = 0;
    virtual void setApplicationTitle(const std::string& title) = 0;
    virtual std::string applicationTitle() = 0;
    // Dialogs in their classic style rather than task dialogs.
    virtual void useClassicDialogs() = 0;
    virtual void setMainFormOnTaskbar(bool onTaskbar) = 0;
    // The main form: its closing ends run().
    virtual void setMainForm(IFormPeer* form) = 0;
    // Shows the main form and processes messages until it closes or terminate() was asked.
    virtual void run() = 0;
    virtual void terminate() = 0;
    virtual bool terminated() = 0;
    virtual void processMessages() = 0;
    virtual Size screenSize() = 0;
    // Decodes a picture with the platform's own decoder; raises qm::Exception on bad data.
    virtual std::shared_ptr<IPicture> decodePicture(const uint8_t* data, size_t size, PictureFormat format) = 0;
};

}  // namespace qm
