#include "ui/controls.h"

#include <algorithm>

#include "platform/types.h"
#include "ui/form.h"

namespace qm {

namespace {
ControlStyle styleOf(ControlKind k) {
    ControlStyle s;
    s.kind = k;
    return s;
}

Color defaultColor(const ControlStyle& s) {
    switch (s.kind) {
    case ControlKind::Edit:
    case ControlKind::FolderEdit:
    case ControlKind::Memo:
    case ControlKind::RichText: return colors::Window;
    default: return colors::BtnFace;
    }
}

bool holdsUserText(ControlKind k) {
    return k == ControlKind::Edit || k == ControlKind::FolderEdit || k == ControlKind::Memo ||
           k == ControlKind::RichText;
}
}  // namespace

// ---------------------------------------------------------------- TControl
TControl::TControl(TForm& form, TControl* parent, const ControlStyle& style, Rect bounds)
    : form_(form), parent_(parent), style_(style), bounds_(bounds), font_(form.font()),
      color_(defaultColor(style)) {
    peer_ = form.peer().createControl(style, parent ? parent->peer_.get() : nullptr, *this);
    peer_->setFont(font_);
    peer_->setBounds(bounds_);
    if (parent) parent->children_.push_back(this);
    form.addControl(this);
}

TControl::~TControl() {
    form_.removeControl(this);
    if (parent_) {
        auto& c = parent_->children_;
        c.erase(std::remove(c.begin(), c.end(), this), c.end());
    }
}

void TControl::setBounds(Rect r) {
    if (r.width < 0) r.width = 0;
    if (r.height < 0) r.height = 0;
    if (r == bounds_) return;
    Size before{bounds_.width, bounds_.height};
    bounds_ = r;
    peer_->setBounds(r);
    Size after{r.width, r.height};
    if (before != after) applyAnchors(children_, before, after);
}

void TControl::applyAnchors(const std::vector<TControl*>& children, Size before, Size after) {
    int dw = after.width - before.width, dh = after.height - before.height;
    if (dw == 0 && dh == 0) return;
    for (TControl* c : children) {
        Rect b = c->bounds_;
        uint8_t a = c->anchors_;
        if (a & anchors::Right) {
            if (a & anchors::Left) b.width += dw;
            else b.left += dw;
        }
        if (a & anchors::Bottom) {
            if (a & anchors::Top) b.height += dh;
            else b.top += dh;
        }
        c->setBounds(b);
    }
}

std::string TControl::text() const {
    if (holdsUserText(style_.kind)) return peer_->text();
    return text_;
}

void TControl::setText(const std::string& t) {
    text_ = t;
    peer_->setText(t);
}

void TControl::setEnabled(bool e) {
    enabled_ = e;
    peer_->setEnabled(e);
}

void TControl::setVisible(bool v) {
    visible_ = v;
    peer_->setVisible(v);
}

void TControl::setTabOrder(int t) {
    tabOrder_ = t;
    peer_->setTabOrder(t);
}

void TControl::setFont(const Font& f) {
    font_ = f;
    peer_->setFont(f);
}

void TControl::setColor(Color c) {
    color_ = c;
    peer_->setColor(c);
}

bool TControl::canFocus() const {
    for (const TControl* c = this; c; c = c->parent_)
        if (!c->enabled_ || !c->visible_) return false;
    return true;
}

void TControl::setFocus() {
    if (!canFocus()) throw Exception("Ein deaktiviertes oder unsichtbares Fenster kann nicht den Fokus erhalten");
    peer_->setFocus();
}

void TControl::fire(const std::function<void()>& handler) {
    if (handler) handler();
}

void TControl::controlEvent(ControlEvent e, uint32_t arg) {
    form_.safe([&] { handleEvent(e, arg); });
}

// ---------------------------------------------------------------- TButton
TButton::TButton(TForm& f, TControl* parent, Rect r, const std::string& caption)
    : TControl(f, parent, styleOf(ControlKind::Button), r) {
    setText(caption);
}

void TButton::click() {
    if (modalResult != mr::None) form().setModalResult(modalResult);
    fire(onClick);
}

void TButton::handleEvent(ControlEvent e, uint32_t) {
    if (e == ControlEvent::Click) click();
}

// ---------------------------------------------------------------- labels
TLabel::TLabel(TForm& f, TControl* parent, Rect r, const std::string& caption)
    : TControl(f, parent,
               [] {
                   ControlStyle s = styleOf(ControlKind::Label);
                   s.transparent = true;
                   return s;
               }(),
               r) {
    setText(caption);
}

TShadowLabel::TShadowLabel(TForm& f, TControl* parent, Rect r, const std::string& caption, Color shadow,
                           int shadowSize)
    : TControl(f, parent,
               [&] {
                   ControlStyle s = styleOf(ControlKind::ShadowLabel);
                   s.transparent = true;
                   s.shadowColor = shadow;
                   s.shadowSize = shadowSize;
                   return s;
               }(),
               r) {
    setText(caption);
}

// ---------------------------------------------------------------- edits
TEdit::TEdit(TForm& f, TControl* parent, Rect r, const std::string& text)
    : TControl(f, parent, styleOf(ControlKind::Edit), r) {
    if (!text.empty()) setText(text);
}

TEdit::TEdit(TForm& f, TControl* parent, const ControlStyle& s, Rect r) : TControl(f, parent, s, r) {}

void TEdit::handleEvent(ControlEvent e, uint32_t) {
    if (e == ControlEvent::Change) fire(onChange);
}

TDirectoryEdit::TDirectoryEdit(TForm& f, TControl* parent, Rect r)
    : TEdit(f, parent, styleOf(ControlKind::FolderEdit), r) {}

void TDirectoryEdit::browse() {
    std::string start = text();
    if (onBeforeDialog) onBeforeDialog(start);
    std::optional<std::string> chosen = form().platform().dialogs.browseForFolder(dialogTitle, start);
    if (chosen) setText(*chosen);
}

void TDirectoryEdit::handleEvent(ControlEvent e, uint32_t arg) {
    if (e == ControlEvent::BrowseClick) browse();
    else TEdit::handleEvent(e, arg);
}

// ---------------------------------------------------------------- memo
TMemo::TMemo(TForm& f, TControl* parent, Rect r, bool readOnly, bool wordWrap, bool vScroll)
    : TControl(f, parent,
               [&] {
                   ControlStyle s = styleOf(ControlKind::Memo);
                   s.readOnly = readOnly;
                   s.wordWrap = wordWrap;
                   s.vScroll = vScroll;
                   return s;
               }(),
               r) {}

void TMemo::appendLine(const std::string& line) { peer().appendLine(line); }

std::vector<std::string> TMemo::lines() const {
    std::string t = text();
    std::vector<std::string> out;
    if (t.empty()) return out;
    size_t start = 0;
    for (;;) {
        size_t p = t.find("\r\n", start);
        if (p == std::string::npos) {
            out.push_back(t.substr(start));
            break;
        }
        out.push_back(t.substr(start, p - start));
        start = p + 2;
        if (start == t.size()) break;  // a closing line break starts no new line
    }
    return out;
}

void TMemo::handleEvent(ControlEvent e, uint32_t) {
    if (e == ControlEvent::Enter) fire(onEnter);
}

// ---------------------------------------------------------------- check and radio
TCheckBox::TCheckBox(TForm& f, TControl* parent, Rect r, const std::string& caption)
    : TControl(f, parent, styleOf(ControlKind::CheckBox), r) {
    setText(caption);
}

void TCheckBox::setChecked(bool c) {
    if (c == checked_) return;
    checked_ = c;
    peer().setChecked(c);
    fire(onClick);
}

void TCheckBox::handleEvent(ControlEvent e, uint32_t) {
    if (e == ControlEvent::Click) setChecked(!checked_);
}

TRadioButton::TRadioButton(TForm& f, TControl* parent, Rect r, const std::string& caption)
    : TControl(f, parent, styleOf(ControlKind::RadioButton), r) {
    setText(caption);
}

void TRadioButton::setChecked(bool c) {
    if (c == checked_) return;
    checked_ = c;
    peer().setChecked(c);
    if (!c) return;
    const std::vector<TControl*> siblings = parent() ? parent()->children() : form().children();
    for (TControl* x : siblings)
        if (auto* rb = dynamic_cast<TRadioButton*>(x); rb && rb != this) rb->setChecked(false);
    fire(onClick);
}

void TRadioButton::handleEvent(ControlEvent e, uint32_t) {
    if (e == ControlEvent::Click) setChecked(true);
}

// ---------------------------------------------------------------- progress
TProgressBar::TProgressBar(TForm& f, TControl* parent, Rect r, Color barColor)
    : TControl(f, parent, styleOf(ControlKind::ProgressBar), r) {
    setColor(barColor);
    peer().setProgress(min_, max_, pos_);
}

void TProgressBar::setRange(int minimum, int maximum) {
    min_ = minimum;
    max_ = std::max(minimum, maximum);
    pos_ = std::clamp(pos_, min_, max_);
    peer().setProgress(min_, max_, pos_);
}

void TProgressBar::setPosition(int p) {
    pos_ = std::clamp(p, min_, max_);
    peer().setProgress(min_, max_, pos_);
}

// ---------------------------------------------------------------- containers
TPanel::TPanel(TForm& f, TControl* parent, Rect r, Bevel bevel)
    : TControl(f, parent,
               [&] {
                   ControlStyle s = styleOf(ControlKind::Panel);
                   s.bevel = bevel;
                   return s;
               }(),
               r) {}

TGroupBox::TGroupBox(TForm& f, TControl* parent, Rect r, const std::string& caption)
    : TControl(f, parent, styleOf(ControlKind::GroupBox), r) {
    setText(caption);
}

// ---------------------------------------------------------------- image
TImage::TImage(TForm& f, TControl* parent, Rect r, bool stretch, bool proportional)
    : TControl(f, parent,
               [&] {
                   ControlStyle s = styleOf(ControlKind::Image);
                   s.stretch = stretch;
                   s.proportional = proportional;
                   return s;
               }(),
               r) {}

void TImage::setPicture(std::shared_ptr<IPicture> p) {
    picture_ = std::move(p);
    peer().setPicture(picture_);
}

// ---------------------------------------------------------------- rich text
TRichEdit::TRichEdit(TForm& f, TControl* parent, Rect r, bool readOnly, bool hScroll, bool vScroll)
    : TControl(f, parent,
               [&] {
                   ControlStyle s = styleOf(ControlKind::RichText);
                   s.readOnly = readOnly;
                   s.hScroll = hScroll;
                   s.vScroll = vScroll;
                   return s;
               }(),
               r) {}

void TRichEdit::loadRichText(const std::vector<uint8_t>& rtf) {
    if (!peer().loadRichText(rtf)) throw Exception("Der formatierte Text konnte nicht geladen werden");
}

void TRichEdit::print(const std::string& jobTitle) { form().platform().printer.printRichText(peer(), jobTitle, pageRect); }

void TRichEdit::handleEvent(ControlEvent e, uint32_t arg) {
    if (e == ControlEvent::KeyPress && onKeyPress) {
        char key = char(arg);
        onKeyPress(key);
    }
}

}  // namespace qm
