#include "ui/form.h"

#include <algorithm>

#include "platform/types.h"
#include "ui/controls.h"

namespace qm {

TForm::TForm(Platform& p) : p_(p), peer_(p.ui.createForm(*this)) {}

TForm::~TForm() = default;

bool TForm::safe(const std::function<void()>& fn) {
    try {
        fn();
        return true;
    } catch (const std::exception& e) {
        p_.dialogs.showException(e.what());
    } catch (...) {
        p_.dialogs.showException("Unbekannter Fehler");
    }
    return false;
}

int TForm::showModal() {
    modalResult_ = mr::None;
    int r = peer_->showModal();
    modalResult_ = r;
    return r;
}

void TForm::setModalResult(int r) {
    modalResult_ = r;
    if (r != mr::None) peer_->endModal(r);
}

void TForm::setDesignClientSize(Size s) {
    peer_->setClientSize(s);
    layoutClient_ = s;
}

void TForm::loaded() {
    if (layoutClient_ == Size{}) layoutClient_ = peer_->clientSize();
    loaded_ = true;
}

void TForm::setFormFont(const Font& f) {
    font_ = f;
    peer_->setFont(f);
}

void TForm::addControl(TControl* c) {
    controls_.push_back(c);
    if (!c->parent()) children_.push_back(c);
}

void TForm::removeControl(TControl* c) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
    children_.erase(std::remove(children_.begin(), children_.end(), c), children_.end());
}

// Anchored controls follow first, then the form's own handler sees the new layout.
void TForm::formResize() {
    if (!peer_ || !loaded_) return;
    safe([this] {
        Size now = peer_->clientSize();
        if (now != layoutClient_) {
            Size before = layoutClient_;
            layoutClient_ = now;
            TControl::applyAnchors(children_, before, now);
        }
        FormResize();
    });
}

TControl* TForm::focusedControl() {
    for (TControl* c : controls_)
        if (c->focused()) return c;
    return nullptr;
}

namespace {
void collectTabs(const std::vector<TControl*>& level, std::vector<TControl*>& out) {
    std::vector<TControl*> sorted = level;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](TControl* a, TControl* b) { return a->tabOrder() < b->tabOrder(); });
    for (TControl* c : sorted) {
        if (c->tabStop()) out.push_back(c);
        collectTabs(c->children(), out);
    }
}
}  // namespace

std::vector<TControl*> TForm::tabSequence() {
    std::vector<TControl*> all, out;
    collectTabs(children_, all);
    for (TControl* c : all)
        if (c->canFocus()) out.push_back(c);
    return out;
}

void TForm::selectNext(bool backwards) {
    std::vector<TControl*> seq = tabSequence();
    if (seq.empty()) return;
    TControl* cur = focusedControl();
    auto it = std::find(seq.begin(), seq.end(), cur);
    size_t i;
    if (it == seq.end()) i = backwards ? seq.size() - 1 : 0;
    else {
        size_t at = size_t(it - seq.begin());
        i = backwards ? (at + seq.size() - 1) % seq.size() : (at + 1) % seq.size();
    }
    seq[i]->setFocus();
}

bool TForm::formDialogKey(uint32_t key, bool shift) {
    if (!loaded_) return false;
    if (key == vk::Tab) {
        safe([&] { selectNext(shift); });
        return true;
    }
    if (key == vk::Escape) {
        for (TControl* c : controls_) {
            auto* b = dynamic_cast<TButton*>(c);
            if (b && b->cancel && b->canFocus()) {
                b->click();
                return true;
            }
        }
    }
    return false;
}

}  // namespace qm
