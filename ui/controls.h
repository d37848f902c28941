#pragma once
// The control layer of the setup's windows: each control keeps its settings, owns its
// platform peer and raises its events through the form's error guard.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/printer.h"
#include "platform/ui.h"

namespace qm {

class TForm;

class TControl : private IControlEvents {
public:
    // parent null: the control sits directly on the form.
    TControl(TForm& form, TControl* parent, const ControlStyle& style, Rect bounds);
    ~TControl() override;
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    ControlKind kind() const { return style_.kind; }
    TForm& form() { return form_; }
    TControl* parent() { return parent_; }
    const std::vector<TControl*>& children() const { return children_; }
    IControlPeer& peer() { return *peer_; }

    const Rect& bounds() const { return bounds_; }
    int left() const { return bounds_.left; }
    int top() const { return bounds_.top; }
    int width() const { return bounds_.width; }
    int height() const { return bounds_.height; }
    // Children anchored right or bottom follow a change of size.
    void setBounds(Rect r);
    void setLeft(int v) { setBounds({v, bounds_.top, bounds_.width, bounds_.height}); }
    void setTop(int v) { setBounds({bounds_.left, v, bounds_.width, bounds_.height}); }
    void setWidth(int v) { setBounds({bounds_.left, bounds_.top, v, bounds_.height}); }
    void setHeight(int v) { setBounds({bounds_.left, bounds_.top, bounds_.width, v}); }

    // Caption of buttons, labels and boxes; the text of edits (what the user typed).
    std::string text() const;
    void setText(const std::string& t);
    std::string caption() const { return text(); }
    void setCaption(const std::string& c) { setText(c); }

    bool enabled() const { return enabled_; }
    void setEnabled(bool e);
    bool visible() const { return visible_; }
    void setVisible(bool v);
    int tabOrder() const { return tabOrder_; }
    void setTabOrder(int t);
    uint8_t anchors() const { return anchors_; }
    void setAnchors(uint8_t a) { anchors_ = a; }
    const Font& font() const { return font_; }
    void setFont(const Font& f);
    Color color() const { return color_; }
    void setColor(Color c);

    // Reachable by the keyboard: visible and enabled up to the form.
    bool canFocus() const;
    virtual bool tabStop() const { return false; }
    void setFocus();
    bool focused() { return peer_->focused(); }

protected:
    virtual void handleEvent(ControlEvent /*e*/, uint32_t /*arg*/) {}
    // Runs a handler through the form's error guard.
    void fire(const std::function<void()>& handler);
    const ControlStyle& style() const { return style_; }

private:
    friend class TForm;
    void controlEvent(ControlEvent e, uint32_t arg) final;
    static void applyAnchors(const std::vector<TControl*>& children, Size before, Size after);

    TForm& form_;
    TControl* parent_;
    ControlStyle style_;
    std::unique_ptr<IControlPeer> peer_;
    std::vector<TControl*> children_;
    Rect bounds_;
    std::string text_;
    bool enabled_ = true, visible_ = true;
    int tabOrder_ = 0;
    uint8_t anchors_ = anchors::Default;
    Font font_;
    Color color_;
};

class TButton : public TControl {
public:
    TButton(TForm& f, TControl* parent, Rect r, const std::string& caption);
    // Escape presses it.
    bool cancel = false;
    // Becomes the form's modal result when pressed (0: none).
    int modalResult = 0;
    std::function<void()> onClick;
    // As if the user pressed it.
    void click();
    bool tabStop() const override { return true; }

protected:
    void handleEvent(ControlEvent e, uint32_t arg) override;
};

class TLabel : public TControl {
public:
    TLabel(TForm& f, TControl* parent, Rect r, const std::string& caption);
};

// A title with a drop shadow to its lower right.
class TShadowLabel : public TControl {
public:
    TShadowLabel(TForm& f, TControl* parent, Rect r, const std::string& caption, Color shadow, int shadowSize);
    Color shadowColor() const { return style().shadowColor; }
    int shadowSize() const { return style().shadowSize; }
};

class TEdit : public TControl {
public:
    TEdit(TForm& f, TControl* parent, Rect r, const std::string& text = {});
    std::function<void()> onChange;
    bool tabStop() const override { return true; }

protected:
    TEdit(TForm& f, TControl* parent, const ControlStyle& s, Rect r);
    void handleEvent(ControlEvent e, uint32_t arg) override;
};

// An edit for a folder with a browse button that opens the shell's folder dialog.
class TDirectoryEdit : public TEdit {
public:
    TDirectoryEdit(TForm& f, TControl* parent, Rect r);
    // Before the dialog opens; may change the folder it starts at.
    std::function<void(std::string& startFolder)> onBeforeDialog;
    std::string dialogTitle;
    // What the browse button does.
    void browse();

protected:
    void handleEvent(ControlEvent e, uint32_t arg) override;
};

// Multi-line text. Lines are only ever appended.
class TMemo : public TControl {
public:
    TMemo(TForm& f, TControl* parent, Rect r, bool readOnly, bool wordWrap, bool vScroll);
    void appendLine(const std::string& line);
    std::vector<std::string> lines() const;
    std::function<void()> onEnter;
    bool tabStop() const override { return true; }

protected:
    void handleEvent(ControlEvent e, uint32_t arg) override;
};

class TCheckBox : public TControl {
public:
    TCheckBox(TForm& f, TControl* parent, Rect r, const std::string& caption);
    bool checked() const { return checked_; }
    // A change raises onClick, as a click would.
    void setChecked(bool c);
    std::function<void()> onClick;
    bool tabStop() const override { return true; }

protected:
    void handleEvent(ControlEvent e, uint32_t arg) override;

private:
    bool checked_ = false;
};

// Radio buttons with the same parent form one group: checking one unchecks the others.
class TRadioButton : public TControl {
public:
    TRadioButton(TForm& f, TControl* parent, Rect r, const std::string& caption);
    bool checked() const { return checked_; }
    // Checking an unchecked button raises onClick, whether the user or the program did it.
    void setChecked(bool c);
    std::function<void()> onClick;
    bool tabStop() const override { return true; }

protected:
    void handleEvent(ControlEvent e, uint32_t arg) override;

private:
    bool checked_ = false;
};

// A progress bar drawn in one colour.
class TProgressBar : public TControl {
public:
    TProgressBar(TForm& f, TControl* parent, Rect r, Color barColor);
    int minimum() const { return min_; }
    int maximum() const { return max_; }
    int position() const { return pos_; }
    void setRange(int minimum, int maximum);
    void setPosition(int p);

private:
    int min_ = 0, max_ = 100, pos_ = 0;
};

class TPanel : public TControl {
public:
    TPanel(TForm& f, TControl* parent, Rect r, Bevel bevel);
    Bevel bevel() const { return style().bevel; }
};

class TGroupBox : public TControl {
public:
    TGroupBox(TForm& f, TControl* parent, Rect r, const std::string& caption);
};

class TImage : public TControl {
public:
    TImage(TForm& f, TControl* parent, Rect r, bool stretch, bool proportional);
    void setPicture(std::shared_ptr<IPicture> p);
    const std::shared_ptr<IPicture>& picture() const { return picture_; }
    bool stretch() const { return style().stretch; }
    bool proportional() const { return style().proportional; }

private:
    std::shared_ptr<IPicture> picture_;
};

// Formatted text from an RTF document.
class TRichEdit : public TControl {
public:
    TRichEdit(TForm& f, TControl* parent, Rect r, bool readOnly, bool hScroll, bool vScroll);
    // Replaces the content; raises when the document does not load.
    void loadRichText(const std::vector<uint8_t>& rtf);
    // Where the text goes on the printed page, in printer pixels.
    PageRect pageRect;
    // One print job on the current printer; raises when printing fails.
    void print(const std::string& jobTitle);
    std::function<void(char& key)> onKeyPress;
    bool tabStop() const override { return true; }

protected:
    void handleEvent(ControlEvent e, uint32_t arg) override;
};

}  // namespace qm
