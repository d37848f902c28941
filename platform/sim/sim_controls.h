#pragma once
// Controls of the simulated windows: their state, and what the user can do with them.
#include <memory>
#include <string>
#include <vector>

#include "platform/ui.h"

namespace qm::sim {

class SimFormPeer;

// A picture the simulated decoder accepted.
class SimPicture : public IPicture {
public:
    SimPicture(PictureFormat f, int w, int h) : format(f), width_(w), height_(h) {}
    int width() const override { return width_; }
    int height() const override { return height_; }
    PictureFormat format;

private:
    int width_, height_;
};

class SimControlPeer : public IControlPeer {
public:
    SimControlPeer(SimFormPeer& form, const ControlStyle& style, SimControlPeer* parent, IControlEvents& events);
    ~SimControlPeer() override;

    void setBounds(const Rect& r) override { bounds = r; }
    void setText(const std::string& t) override { text_ = t; }
    std::string text() override { return text_; }
    void appendLine(const std::string& line) override;
    void setEnabled(bool e) override { enabled = e; }
    void setVisible(bool v) override { visible = v; }
    void setChecked(bool c) override { checked = c; }
    void setFont(const Font& f) override { font = f; }
    void setColor(Color c) override { color = c; }
    void setTabOrder(int t) override { tabOrder = t; }
    void setProgress(int mn, int mx, int pos) override { minimum = mn, maximum = mx, position = pos; }
    void setPicture(std::shared_ptr<IPicture> p) override { picture = std::move(p); }
    bool loadRichText(const std::vector<uint8_t>& rtf) override;
    void setFocus() override;
    bool focused() override;

    // The user's actions. Each throws std::logic_error when the user could not do it
    // because the control or one of its parents is hidden or disabled.
    void click();
    void type(const std::string& newText);  // replaces the text, as typing over it would
    void clickBrowse();
    void focusByUser();
    // Visible and enabled up to the window.
    bool reachable() const;
    const std::string& currentText() const { return text_; }

    SimFormPeer& form;
    ControlStyle style;
    SimControlPeer* parent;
    IControlEvents& events;
    Rect bounds;
    bool enabled = true, visible = true, checked = false;
    Font font;
    Color color = 0;
    int tabOrder = 0;
    int minimum = 0, maximum = 100, position = 0;
    std::shared_ptr<IPicture> picture;
    std::vector<uint8_t> richText;
    bool loadFails = false;  // the next loadRichText fails, as a broken document would

private:
    void requireReachable(const char* action) const;
    std::string text_;
};

}  // namespace qm::sim
