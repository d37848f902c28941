#pragma once
// The real Windows behind the seam: each call is the Win32 function the logic expects.
#include <windows.h>

#include <memory>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/win32_system.h"

namespace qm::win32 {

class Registry : public IRegistry {
public:
    uint32_t openKey(RootKey root, const std::string& subKey, uint32_t access, HKey& out) override;
    uint32_t createKey(RootKey root, const std::string& subKey, uint32_t access, HKey& out,
                       bool* created = nullptr) override;
    uint32_t closeKey(HKey key) override;
    uint32_t queryValue(HKey key, const std::string& name, uint32_t& type, std::vector<uint8_t>& data) override;
    uint32_t setValue(HKey key, const std::string& name, uint32_t type, const std::vector<uint8_t>& data) override;
    uint32_t deleteValue(HKey key, const std::string& name) override;
    uint32_t enumValueNames(HKey key, std::vector<std::string>& names) override;
};

class Kernel : public IKernel {
public:
    Handle getModuleHandle(const std::string& name) override;
    bool hasExport(Handle module, const std::string& exportName) override;
    bool getVersionEx(OsVersionInfo& info) override;
    uint32_t lastError() override { return lastError_; }
    std::string errorText(uint32_t code) override;
    SemaphoreResult createSemaphore(const std::string& name, long initial, long maximum) override;
    void closeHandle(Handle h) override;
    void sleep(uint32_t ms) override;
    std::string moduleFileName() override;

private:
    uint32_t lastError_ = 0;
};

class Locale : public ILocale {
public:
    Locale();
    FormatSettings formatSettings() override { return settings_; }
    void setShortDateFormat(const std::string& f) override { settings_.shortDateFormat = f; }
    void setDateSeparator(char c) override { settings_.dateSeparator = c; }
    int currentYear() override;

private:
    FormatSettings settings_;
};

class Ui;

class Dialogs : public IDialogs {
public:
    explicit Dialogs(Ui& ui) : ui_(ui) {}
    int messageDlg(const std::string& text, MsgDlgType type, unsigned buttons) override;
    int messageBox(const std::string& text, const std::string& caption, uint32_t flags) override;
    void showException(const std::string& message) override;
    std::optional<std::string> browseForFolder(const std::string& title, const std::string& startFolder) override;

private:
    Ui& ui_;
};

class FormPeer;

class Ui : public IUi {
public:
    Ui();
    std::unique_ptr<IFormPeer> createForm(IFormEvents& events) override;
    void setApplicationTitle(const std::string& t) override { title_ = t; }
    std::string applicationTitle() override { return title_; }
    void useClassicDialogs() override {}  // MessageBox is the classic style already
    void setMainFormOnTaskbar(bool b) override { onTaskbar_ = b; }
    void setMainForm(IFormPeer* f) override { main_ = f; }
    void run() override;
    void terminate() override;
    bool terminated() override { return terminated_; }
    void processMessages() override;
    Size screenSize() override;
    std::shared_ptr<IPicture> decodePicture(const uint8_t* data, size_t size, PictureFormat format) override;

    HWND mainWindow() const;
    HWND dialogOwner() const;
    // Keys the window takes before its focused control; true when taken.
    bool preTranslate(MSG& msg);
    void formDestroyed(FormPeer* f);
    bool mainFormOnTaskbar() const { return onTaskbar_; }

private:
    std::string title_;
    IFormPeer* main_ = nullptr;
    bool terminated_ = false, onTaskbar_ = false, mainGone_ = false;
};

class Resources : public IResources {
public:
    std::optional<ResourceView> find(const std::string& type, const std::string& name,
                                     uint16_t language = lang::Any) override;
};

class Printer : public IPrinter {
public:
    std::optional<PrinterMetrics> metrics() override;
    void printRichText(IControlPeer& richText, const std::string& jobTitle, const PageRect& page) override;
};

// Everything together, for the program and the tests under Wine.
struct Machine {
    Registry registry;
    Kernel kernel;
    Locale locale;
    Ui ui;
    Dialogs dialogs{ui};
    Resources resources;
    Files files;
    Printer printer;
    Services services;
    Processes processes;
    VersionInfo versionInfo;
    Platform platform{registry, kernel, locale, dialogs, ui, resources, files, printer, services, processes, versionInfo};
};

}  // namespace qm::win32
