#pragma once
// Base of the setup's windows. Every event reaches the form through safe(): an error that
// escapes a handler goes to the default error dialog and the event ends there.
#include <functional>
#include <memory>

#include "platform/platform.h"

namespace qm {

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

protected:
    virtual void FormShow() {}
    virtual void FormResize() {}
    virtual void FormClose() {}
    virtual void handleMessage(uint32_t /*msg*/, uintptr_t /*w*/, intptr_t /*l*/) {}

    Platform& p_;
    std::unique_ptr<IFormPeer> peer_;

private:
    void formShow() final { safe([this] { FormShow(); }); }
    void formResize() final { safe([this] { FormResize(); }); }
    void formMessage(uint32_t m, uintptr_t w, intptr_t l) final { safe([&] { handleMessage(m, w, l); }); }
    void formClosed() final { safe([this] { FormClose(); }); }
};

}  // namespace qm
