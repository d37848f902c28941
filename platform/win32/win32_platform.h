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
    Handle loadLibrary(const std::string& name) override;
    void freeLibrary(Handle module) override;

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
    std::string ansiFromUtf8(const std::string& text) override;

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
    void setScreenCursor(ScreenCursor cursor) override;

    HWND mainWindow() const;
    HWND dialogOwner() const;
    // Keys the window takes before its focused control; true when taken.
    bool preTranslate(MSG& msg);
    void formDestroyed(FormPeer* f);
    bool mainFormOnTaskbar() const { return onTaskbar_; }
    bool busyCursor() const { return busy_; }

private:
    std::string title_;
    IFormPeer* main_ = nullptr;
    bool terminated_ = false, onTaskbar_ = false, mainGone_ = false, busy_ = false;
};

class Files : public IFiles {
public:
    bool directoryExists(const std::string& path) override;
    bool fileExists(const std::string& path) override;
    uint32_t getFileAttributes(const std::string& path) override;
    bool createDirectory(const std::string& path) override;
    FileHandle createFile(const std::string& path, uint32_t access, uint32_t share, uint32_t disposition,
                          uint32_t attributes) override;
    bool writeFile(FileHandle f, const void* data, uint32_t size, uint32_t& written) override;
    bool setFileTime(FileHandle f, const FileTime* creation, const FileTime* access,
                     const FileTime* lastWrite) override;
    bool closeFile(FileHandle f) override;
    bool deleteFile(const std::string& path) override;
    bool localFileTimeToFileTime(FileTime local, FileTime& utc) override;
    Handle findFirstFile(const std::string& pattern, FindData& out) override;
    bool findNextFile(Handle find, FindData& out) override;
    void findClose(Handle find) override;
    std::string fullPathName(const std::string& path) override;
    std::string currentDirectory() override;
    uint32_t lastError() override { return lastError_; }

private:
    bool fail() {
        lastError_ = GetLastError();
        return false;
    }
    uint32_t lastError_ = 0;
};

class Resources : public IResources {
public:
    std::optional<ResourceView> find(const std::string& type, const std::string& name,
                                     uint16_t language = lang::Any) override;
};

class Shell : public IShell {
public:
    Shell();
    ~Shell() override;
    bool specialFolderPath(int csidl, std::string& path) override;
    ShellLinkResult saveShellLink(const std::string& target, const std::string& workingFolder,
                                  const std::string& linkPath) override;
    void changeNotify(int32_t eventId, uint32_t flags, const std::string& path) override;

private:
    bool comStarted_ = false;
};

class Security : public ISecurity {
public:
    bool allocateAndInitializeSid(const std::array<uint8_t, 6>& authority, const std::vector<uint32_t>& subs,
                                  SidHandle& out) override;
    void freeSid(SidHandle sid) override;
    uint32_t setEntriesInAcl(const std::vector<ExplicitAccess>& entries, AclHandle oldAcl, AclHandle& newAcl) override;
    uint32_t setNamedSecurityInfo(const std::string& objectName, uint32_t objectType, uint32_t securityInfo,
                                  SidHandle owner, SidHandle group, AclHandle dacl, AclHandle sacl) override;
    void localFree(AclHandle acl) override;
    std::string sidText(SidHandle sid) override;
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
    Shell shell;
    Security security;
    Platform platform{registry, kernel, locale,   dialogs,  ui,          resources, files,
                      printer,  services, processes, versionInfo, shell, security};
};

}  // namespace qm::win32
