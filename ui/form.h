#pragma once
// Base of the setup's windows. Every event reaches the form through safe(): an error that
// escapes a handler goes to the default error dialog and the event ends there.
#include <functional>
#include <memory>
#include <vector>

#include "platform/platform.h"

namespace qm {

class TControl;
class TButton;

class TForm : public IFormEvents {
public:
    explicit TForm(Platform& p);
    ~TForm() override;

    IFormPeer& peer() { return *peer_; }
    Platform& platform() { return p_; }

    void show() { peer_->show(); }
    void close() { peer_->close(); }
    void postMessage(uint32_t msg, uintptr_t w = 0, intptr_t l = 0) { peer_->postMessage(msg, w, l); }

    // Runs fn; an error is shown in the default error dialog. Returns false then.
    bool safe(const std::function<void()>& fn);

    // Shows the form modally; returns its modal result.
    int showModal();
    int modalResult() const { return modalResult_; }
    // A non-zero result ends a modal showing.
    void setModalResult(int r);

    const Font& font() const { return font_; }
    // Every control of the form in creation order.
    const std::vector<TControl*>& controls() const { return controls_; }
    // The controls placed directly on the form.
    const std::vector<TControl*>& children() const { return children_; }
    TControl* focusedControl();
    // Moves the focus along the tab order, as the Tab key does.
    void selectNext(bool backwards = false);

protected:
    virtual void FormShow() {}
    virtual void FormResize() {}
    virtual void FormClose() {}
    virtual void handleMessage(uint32_t /*msg*/, uintptr_t /*w*/, intptr_t /*l*/) {}

    // The client size the control positions are laid out for; anchors count from it.
    void setDesignClientSize(Size s);
    // The controls exist: size events reach FormResize from now on.
    void loaded();
    void setFormFont(const Font& f);

    Platform& p_;
    std::unique_ptr<IFormPeer> peer_;

private:
    friend class TControl;
    void addControl(TControl* c);
    void removeControl(TControl* c);
    std::vector<TControl*> tabSequence();

    void formShow() final { safe([this] { FormShow(); }); }
    void formResize() final;
    void formMessage(uint32_t m, uintptr_t w, intptr_t l) final { safe([&] { handleMessage(m, w, l); }); }
    void formClosed() final { safe([this] { FormClose(); }); }
    bool formDialogKey(uint32_t key, bool shift) final;

    std::vector<TControl*> controls_;
    std::vector<TControl*> children_;
    Font font_;
    Size layoutClient_;
    bool loaded_ = false;
    int modalResult_ = 0;
};

}  // namespace qm
