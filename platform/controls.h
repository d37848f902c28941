#pragma once
// The controls of a window, as the platform sees them: one peer per control. The win32
// backend makes each a real child window; the simulation keeps its state so a test can
// act as the user. The portable control classes in ui/ hold the settings and the events.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qm {

struct Rect;

enum class ControlKind {
    Button,
    Label,
    ShadowLabel,  // text with a drop shadow
    Edit,
    FolderEdit,   // edit with a browse button at its right
    Memo,
    CheckBox,
    RadioButton,
    ProgressBar,
    Panel,
    GroupBox,
    Image,
    RichText,
};

// 0x00BBGGRR as Windows has it; 0xFF0000nn is the system colour with index nn.
using Color = uint32_t;
namespace colors {
constexpr Color rgb(uint8_t r, uint8_t g, uint8_t b) { return Color(r) | (Color(g) << 8) | (Color(b) << 16); }
constexpr Color System = 0xFF000000;
constexpr Color BtnFace = System | 15;
constexpr Color Window = System | 5;
constexpr Color WindowText = System | 8;
constexpr Color BtnText = System | 18;
constexpr Color Teal = rgb(0, 128, 128);
constexpr Color Gray = rgb(128, 128, 128);
constexpr Color MoneyGreen = rgb(192, 220, 192);
constexpr Color Black = rgb(0, 0, 0);
constexpr bool isSystem(Color c) { return (c & 0xFF000000) == System; }
}  // namespace colors

struct Font {
    std::string name = "Tahoma";
    int height = -11;  // negative: character height in pixels (8 pt at 96 dpi)
    bool bold = false;
    Color color = colors::WindowText;
    bool operator==(const Font&) const = default;
};

namespace anchors {
constexpr uint8_t Left = 1, Top = 2, Right = 4, Bottom = 8;
constexpr uint8_t Default = Left | Top;
}  // namespace anchors

enum class Bevel { None, Raised, Lowered };

// Settings fixed when the control is created.
struct ControlStyle {
    ControlKind kind = ControlKind::Label;
    bool readOnly = false;
    bool wordWrap = false;
    bool hScroll = false, vScroll = false;
    Bevel bevel = Bevel::None;
    bool transparent = false;
    bool stretch = false, proportional = false;  // images
    Color shadowColor = colors::Gray;             // shadow label
    int shadowSize = 0;
};

// A decoded picture, drawn by the platform.
class IPicture {
public:
    virtual ~IPicture() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
};

enum class PictureFormat { Png, Bmp };

enum class ControlEvent {
    Click,        // button pressed, check box or radio button clicked by the user
    Change,       // text changed by the user
    Enter,        // the control received the focus
    KeyPress,     // a character typed; the argument is its code
    BrowseClick,  // the browse button of a folder edit
};

class IControlEvents {
public:
    virtual ~IControlEvents() = default;
    virtual void controlEvent(ControlEvent e, uint32_t arg) = 0;
};

class IControlPeer {
public:
    virtual ~IControlPeer() = default;
    virtual void setBounds(const Rect& r) = 0;  // in the parent's client coordinates
    virtual void setText(const std::string& text) = 0;
    virtual std::string text() = 0;  // edits and memos: what stands there now
    // Appends one line at the end (memo): never touches what is there.
    virtual void appendLine(const std::string& line) = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual void setVisible(bool visible) = 0;
    virtual void setChecked(bool checked) = 0;
    virtual void setFont(const Font& font) = 0;
    virtual void setColor(Color color) = 0;  // background; a progress bar's bar
    virtual void setTabOrder(int order) = 0;
    virtual void setProgress(int minimum, int maximum, int position) = 0;
    virtual void setPicture(std::shared_ptr<IPicture> picture) = 0;
    // Rich text: replaces the content with an RTF document; false when it did not load.
    virtual bool loadRichText(const std::vector<uint8_t>& rtf) = 0;
    virtual void setFocus() = 0;
    virtual bool focused() = 0;
};

}  // namespace qm
