#pragma once
// A whole simulated Windows machine for host tests: registry with a 32-bit view,
// kernel (exports, version, semaphores, sleep), locale, a scripted user who answers
// dialogs, and windows with a message queue.
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/sim/sim_controls.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_install.h"
#include "platform/sim/sim_printer.h"
#include "platform/sim/sim_resources.h"
#include "platform/sim/sim_system.h"

namespace qm::sim {

// ---------------------------------------------------------------- registry
class SimRegistry : public IRegistry {
public:
    struct Value {
        std::string name;
        uint32_t type;
        std::vector<uint8_t> data;
    };
    struct Node {
        std::map<std::string, std::unique_ptr<Node>> children;  // by lower-case name
        std::vector<Value> values;                              // registry order
    };

    uint32_t openKey(RootKey root, const std::string& subKey, uint32_t access, HKey& out) override;
    uint32_t createKey(RootKey root, const std::string& subKey, uint32_t access, HKey& out,
                       bool* created = nullptr) override;
    uint32_t closeKey(HKey key) override;
    uint32_t queryValue(HKey key, const std::string& name, uint32_t& type, std::vector<uint8_t>& data) override;
    uint32_t setValue(HKey key, const std::string& name, uint32_t type, const std::vector<uint8_t>& data) override;
    uint32_t deleteValue(HKey key, const std::string& name) override;
    uint32_t enumValueNames(HKey key, std::vector<std::string>& names) override;

    // Test set-up and inspection, in the 32-bit view the setup sees unless view64.
    void setString(RootKey root, const std::string& key, const std::string& name, const std::string& v,
                   bool view64 = false);
    void setDword(RootKey root, const std::string& key, const std::string& name, uint32_t v, bool view64 = false);
    std::optional<Value> value(RootKey root, const std::string& key, const std::string& name,
                               bool view64 = false) const;
    bool keyExists(RootKey root, const std::string& key, bool view64 = false) const;
    // Writes below this (physical) key fail with access denied, as for a standard user.
    void denyWrites(RootKey root, const std::string& key) { denied_.push_back(physical(root, key, true)); }
    size_t openHandles() const { return handles_.size(); }

    static std::string physical(RootKey root, const std::string& key, bool view64);

private:
    Node* find(const std::string& phys) const;
    Node* make(const std::string& phys);
    bool writeDenied(const std::string& phys) const;
    struct Open {
        Node* node;
        std::string phys;
        uint32_t access;
    };
    Node root_;
    std::map<HKey, Open> handles_;
    HKey next_ = 0x1000;
    std::vector<std::string> denied_;
};

// ---------------------------------------------------------------- kernel
class SimKernel : public IKernel {
public:
    SimKernel();
    Handle getModuleHandle(const std::string& name) override;
    bool hasExport(Handle module, const std::string& exportName) override;
    bool getVersionEx(OsVersionInfo& info) override;
    uint32_t lastError() override { return lastError_; }
    std::string errorText(uint32_t code) override;
    SemaphoreResult createSemaphore(const std::string& name, long initial, long maximum) override;
    void closeHandle(Handle h) override;
    void sleep(uint32_t ms) override;
    std::string moduleFileName() override { return exePath; }
    Handle loadLibrary(const std::string& name) override;
    void freeLibrary(Handle module) override;

    // Libraries the normal search finds (lower case, with extension).
    std::set<std::string> loadableLibraries{"kernel32.dll", "user32.dll", "advapi32.dll", "shell32.dll", "ole32.dll"};
    std::vector<std::string> loadedLibraries;  // every successful load, in order
    size_t loadedNow() const { return libraries_.size(); }
    bool kernel32Loaded = true;
    std::string exePath = "C:\\Setup\\Quillmark50Setup.exe";
    std::set<std::string> exports;  // kernel32's exports
    OsVersionInfo version;
    // Another process holding a semaphore, e.g. the running application.
    void holdExternally(const std::string& name) { ++semaphores_[name]; externals_.insert(name); }
    void releaseExternal(const std::string& name);
    bool semaphoreExists(const std::string& name) const;
    size_t openHandles() const { return handles_.size(); }

    std::vector<uint32_t> sleeps;
    std::function<void(uint32_t)> onSleep;

private:
    uint32_t lastError_ = 0;
    std::map<std::string, int> semaphores_;
    std::set<std::string> externals_;
    std::map<Handle, std::string> handles_;
    std::map<Handle, std::string> libraries_;
    Handle next_ = 0x100;
};

// ---------------------------------------------------------------- locale
class SimLocale : public ILocale {
public:
    FormatSettings formatSettings() override { return settings; }
    void setShortDateFormat(const std::string& f) override { settings.shortDateFormat = f; }
    void setDateSeparator(char c) override { settings.dateSeparator = c; }
    int currentYear() override { return year; }
    // Code page 1252, the ANSI code page of a German Windows.
    std::string ansiFromUtf8(const std::string& text) override;
    FormatSettings settings{"dd.MM.yyyy", '.', ':'};
    int year = 2026;
};

// ---------------------------------------------------------------- dialogs
struct DialogRecord {
    enum class Kind { MessageDlg, MessageBox, Exception, FolderBrowse } kind;
    std::string text;
    std::string caption;
    MsgDlgType type = MsgDlgType::Information;
    unsigned buttons = 0;
    uint32_t flags = 0;
    int answer = 0;
    bool scripted = false;
};

// The user in front of the machine: answers dialogs in the order a test scripted them.
class ScriptedUser : public IDialogs {
public:
    int messageDlg(const std::string& text, MsgDlgType type, unsigned buttons) override;
    int messageBox(const std::string& text, const std::string& caption, uint32_t flags) override;
    void showException(const std::string& message) override;
    // Recorded with the start folder as text and the title as caption.
    std::optional<std::string> browseForFolder(const std::string& title, const std::string& startFolder) override;

    void answer(int modalResult) { answers_.push_back(modalResult); }
    // The folder the user picks in the next folder dialog; nothing: cancel.
    void answerFolder(std::optional<std::string> folder) { folders_.push_back(std::move(folder)); }
    std::vector<DialogRecord> shown;
    // Dialogs that came without a scripted answer; a test fails on any.
    std::vector<DialogRecord> unscripted() const;
    std::function<void(const DialogRecord&)> onDialog;

private:
    int take(DialogRecord r, int fallback);
    std::deque<int> answers_;
    std::deque<std::optional<std::string>> folders_;
};

// ---------------------------------------------------------------- windows
class SimUi;

class SimFormPeer : public IFormPeer {
public:
    SimFormPeer(SimUi& ui, IFormEvents& events) : ui_(ui), events_(events) {}
    void setCaption(const std::string& c) override { caption_ = c; }
    std::string caption() override { return caption_; }
    void setClientSize(Size s) override;
    void setMinimumSize(Size s) override { min_ = s; }
    void setBounds(Rect r) override;
    Rect bounds() override { return bounds_; }
    Size clientSize() override;
    void show() override;
    void close() override;
    bool visible() override { return visible_; }
    bool closed() override { return closed_; }
    void repaint() override { ++repaints; }
    int repaints = 0;
    void postMessage(uint32_t msg, uintptr_t w, intptr_t l) override;
    void setColor(Color c) override { color = c; }
    void setFont(const Font& f) override { font = f; }
    std::unique_ptr<IControlPeer> createControl(const ControlStyle& style, IControlPeer* parent,
                                                IControlEvents& events) override;
    int showModal() override;
    void endModal(int modalResult) override;

    IFormEvents& events() { return events_; }
    Size minimumSize() const { return min_; }
    SimUi& ui() { return ui_; }
    // The user presses a key while this window is active: the window's dialog keys first,
    // then a character goes to the focused control.
    void pressKey(uint32_t virtualKey, bool shift = false);
    // The user closes the window by its title-bar button.
    void userClose();
    // Controls in creation order; the sim peers register here.
    std::vector<SimControlPeer*> controls;
    SimControlPeer* focusedControl = nullptr;
    bool modal = false;
    int modalResult = 0;
    Color color = colors::BtnFace;
    Font font;
    static constexpr int FrameWidth = 16, FrameHeight = 39;

private:
    SimUi& ui_;
    IFormEvents& events_;
    std::string caption_;
    Rect bounds_{0, 0, 200 + FrameWidth, 100 + FrameHeight};
    Size min_;
    bool visible_ = false, closed_ = false;
};

class SimUi : public IUi {
public:
    std::unique_ptr<IFormPeer> createForm(IFormEvents& events) override;
    void setApplicationTitle(const std::string& t) override { title_ = t; }
    std::string applicationTitle() override { return title_; }
    void useClassicDialogs() override { classicDialogs = true; }
    void setMainFormOnTaskbar(bool b) override { mainFormOnTaskbar = b; }
    void setMainForm(IFormPeer* f) override { main_ = f; }
    void run() override;
    void terminate() override { terminated_ = true; }
    bool terminated() override { return terminated_; }
    void processMessages() override;
    Size screenSize() override { return screen; }
    void setScreenCursor(ScreenCursor c) override {
        cursor = c;
        cursorChanges.push_back(c);
    }
    ScreenCursor cursor = ScreenCursor::Default;
    std::vector<ScreenCursor> cursorChanges;

    struct Posted {
        IFormPeer* target;
        uint32_t msg;
        uintptr_t w;
        intptr_t l;
    };
    void post(Posted m) { queue_.push_back(m); }
    void forget(IFormPeer* f);
    const std::deque<Posted>& pending() const { return queue_; }
    // True once run() ended because the main form closed or the program was asked to end.
    bool ended() const { return ended_; }
    void mainClosed(IFormPeer* f) {
        if (f == main_) ended_ = true;
    }

    Size screen{1920, 1080};
    bool classicDialogs = false;
    bool mainFormOnTaskbar = false;
    std::vector<uint32_t> dispatched;  // every message handed to a form, in order
    // What the user does while the program lets pending messages through.
    std::function<void()> whileProcessingMessages;

    std::shared_ptr<IPicture> decodePicture(const uint8_t* data, size_t size, PictureFormat format) override;
    // What the user does while a modal window is open, in the order the windows open.
    void whileModal(std::function<void(SimFormPeer&)> action) { modalActions_.push_back(std::move(action)); }
    // Modal windows that opened without a scripted action or that the action left open.
    std::vector<std::string> modalProblems;
    std::function<void(SimFormPeer&)> takeModalAction();
    // A modal window is open: the other windows take no input.
    bool pendingModal() const { return modalDepth_ > 0; }

private:
    std::string title_;
    IFormPeer* main_ = nullptr;
    bool terminated_ = false, ended_ = false;
    std::deque<Posted> queue_;
    std::deque<std::function<void(SimFormPeer&)>> modalActions_;
    int modalDepth_ = 0;
    friend class SimFormPeer;
};

// ---------------------------------------------------------------- machine
class SimMachine {
public:
    SimMachine();
    SimRegistry registry;
    SimKernel kernel;
    SimLocale locale;
    ScriptedUser user;
    SimUi ui;
    SimResources resources;
    SimFiles files;
    SimPrinter printer;
    SimVersionInfo versionInfo{files};
    SimServices services;
    SimProcesses processes{files};
    SimShell shell{files};
    SimSecurity security{files};
    Platform platform{registry, kernel, locale, user,     ui,       resources, files,
                      printer,  services, processes, versionInfo, shell, security};
};

}  // namespace qm::sim
