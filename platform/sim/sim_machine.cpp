#include "platform/sim/sim_machine.h"

#include <algorithm>

#include "app/version_numbers.h"
#include "platform/sim/sim_programs.h"
#include "platform/types.h"

namespace qm::sim {

// ---------------------------------------------------------------- kernel
SimKernel::SimKernel() {
    // kernel32 of a current Windows: every probed export except the suffix-less one.
    exports = {"GetLocaleInfoEx", "GetLargePageMinimum", "GetNativeSystemInfo", "ReplaceFile", "OpenThread",
               "GetThreadPriorityBoost", "IsDebuggerPresent", "GetDiskFreeSpaceExA", "GetDiskFreeSpaceExW",
               "ConnectNamedPipe", "Beep"};
    version = {10, 0, 19045, 2, ""};
}

Handle SimKernel::getModuleHandle(const std::string& name) {
    std::string n = name;
    std::transform(n.begin(), n.end(), n.begin(), [](unsigned char c) { return std::tolower(c); });
    if ((n == "kernel32" || n == "kernel32.dll") && kernel32Loaded) return 0x7C800000;
    lastError_ = 126;  // ERROR_MOD_NOT_FOUND
    return 0;
}

bool SimKernel::hasExport(Handle module, const std::string& name) {
    return module == 0x7C800000 && exports.count(name) > 0;
}

bool SimKernel::getVersionEx(OsVersionInfo& info) {
    info = version;
    return true;
}

std::string SimKernel::errorText(uint32_t code) {
    switch (code) {
    case 2: return "Das System kann die angegebene Datei nicht finden.";
    case 3: return "Das System kann den angegebenen Pfad nicht finden.";
    case 5: return "Zugriff verweigert";
    case 32: return "Der Prozess kann nicht auf die Datei zugreifen, da sie von einem anderen Prozess verwendet wird.";
    case 112: return "Auf dem Datenträger ist nicht genügend Speicherplatz vorhanden.";
    case 126: return "Das angegebene Modul wurde nicht gefunden.";
    }
    return "Systemfehler " + std::to_string(code);
}

SemaphoreResult SimKernel::createSemaphore(const std::string& name, long, long) {
    Handle h = next_++;
    handles_[h] = name;
    int& count = semaphores_[name];
    lastError_ = count > 0 ? winerr::AlreadyExists : 0;
    ++count;
    return {h, lastError_};
}

void SimKernel::closeHandle(Handle h) {
    auto it = handles_.find(h);
    if (it == handles_.end()) return;
    if (--semaphores_[it->second] == 0) semaphores_.erase(it->second);
    handles_.erase(it);
}

void SimKernel::releaseExternal(const std::string& name) {
    if (externals_.erase(name) && --semaphores_[name] == 0) semaphores_.erase(name);
}

bool SimKernel::semaphoreExists(const std::string& name) const { return semaphores_.count(name) > 0; }

void SimKernel::sleep(uint32_t ms) {
    sleeps.push_back(ms);
    if (onSleep) onSleep(ms);
}

Handle SimKernel::loadLibrary(const std::string& name) {
    std::string n = name;
    std::transform(n.begin(), n.end(), n.begin(), [](unsigned char c) { return std::tolower(c); });
    if (n.find('.') == std::string::npos) n += ".dll";
    if (!loadableLibraries.count(n)) {
        lastError_ = 126;
        return 0;
    }
    Handle h = next_++;
    libraries_[h] = n;
    loadedLibraries.push_back(n);
    return h;
}

void SimKernel::freeLibrary(Handle module) { libraries_.erase(module); }

// ---------------------------------------------------------------- locale
std::string SimLocale::ansiFromUtf8(const std::string& text) {
    // Windows-1252 in 0x80..0x9F; 0xA0..0xFF are the Latin-1 code points.
    static const uint16_t high[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    std::string out;
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const size_t len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        uint32_t cp = len == 1 ? c : (c & (0x7F >> len));
        for (size_t k = 1; k < len && i + k < text.size(); ++k) cp = (cp << 6) | (text[i + k] & 0x3F);
        i += len;
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            out += char(cp);
            continue;
        }
        char mapped = '?';  // what Windows puts for a character the code page lacks
        for (int k = 0; k < 32; ++k)
            if (high[k] && high[k] == cp) mapped = char(0x80 + k);
        out += mapped;
    }
    return out;
}

// ---------------------------------------------------------------- dialogs
int ScriptedUser::take(DialogRecord r, int fallback) {
    if (!answers_.empty()) {
        r.answer = answers_.front();
        r.scripted = true;
        answers_.pop_front();
    } else {
        r.answer = fallback;
    }
    shown.push_back(r);
    if (onDialog) onDialog(shown.back());
    return r.answer;
}

int ScriptedUser::messageDlg(const std::string& text, MsgDlgType type, unsigned buttons) {
    DialogRecord r{DialogRecord::Kind::MessageDlg, text, msgDlgCaption(type), type, buttons};
    return take(r, (buttons & mb::No) ? mr::No : mr::Ok);
}

int ScriptedUser::messageBox(const std::string& text, const std::string& caption, uint32_t flags) {
    DialogRecord r{DialogRecord::Kind::MessageBox, text, caption};
    r.flags = flags;
    return take(r, mr::Ok);
}

void ScriptedUser::showException(const std::string& message) {
    take({DialogRecord::Kind::Exception, message, "", MsgDlgType::Error, mb::OK}, mr::Ok);
}

std::vector<DialogRecord> ScriptedUser::unscripted() const {
    std::vector<DialogRecord> out;
    for (auto& r : shown)
        if (!r.scripted) out.push_back(r);
    return out;
}

// ---------------------------------------------------------------- windows
void SimFormPeer::setClientSize(Size s) {
    Size before = clientSize();
    bounds_.width = s.width + FrameWidth, bounds_.height = s.height + FrameHeight;
    if (clientSize() != before) events_.formResize();
}

void SimFormPeer::setBounds(Rect r) {
    r.width = std::max(r.width, min_.width);
    r.height = std::max(r.height, min_.height);
    bool resized = r.width != bounds_.width || r.height != bounds_.height;
    bounds_ = r;
    if (resized) events_.formResize();
}

Size SimFormPeer::clientSize() { return {bounds_.width - FrameWidth, bounds_.height - FrameHeight}; }

void SimFormPeer::show() {
    if (closed_ || visible_) return;
    events_.formShow();
    if (!closed_) visible_ = true;
}

void SimFormPeer::close() {
    if (closed_) return;
    if (modal) endModal(mr::Cancel);
    closed_ = true;
    visible_ = false;
    ui_.forget(this);
    events_.formClosed();
    ui_.mainClosed(this);
}

void SimFormPeer::postMessage(uint32_t msg, uintptr_t w, intptr_t l) {
    if (!closed_) ui_.post({this, msg, w, l});
}

std::unique_ptr<IFormPeer> SimUi::createForm(IFormEvents& events) {
    return std::make_unique<SimFormPeer>(*this, events);
}

void SimUi::forget(IFormPeer* f) {
    queue_.erase(std::remove_if(queue_.begin(), queue_.end(), [f](const Posted& p) { return p.target == f; }),
                 queue_.end());
}

void SimUi::processMessages() {
    if (whileProcessingMessages) {
        auto action = std::move(whileProcessingMessages);  // the user acts once per request
        action();
    }
    while (!queue_.empty() && !ended_) {
        Posted m = queue_.front();
        queue_.pop_front();
        dispatched.push_back(m.msg);
        static_cast<SimFormPeer*>(m.target)->events().formMessage(m.msg, m.w, m.l);
    }
}

// Runs until the queue is empty: a test then acts as the user and calls processMessages().
void SimUi::run() {
    if (main_) main_->show();
    processMessages();
    if (terminated_) ended_ = true;
}

SimMachine::SimMachine() {
    for (const auto& [id, folder] : shell.specialFolders) files.makeDirectories(folder);
    files.makeDirectories("C:\\Windows\\system32");
    registry.setString(RootKey::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir",
                       "C:\\Program Files (x86)");
    registry.setString(RootKey::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir",
                       "C:\\Program Files", true);
    files.addFile("C:\\windows\\win.ini", "; for 16-bit app support\r\n");
    installCommandInterpreter(*this);
    // As the setup's own version resource has it.
    VersionResource eigene;
    eigene.translations = {{0x0407, 1252}};
    eigene.strings["040704E4"] = {{"CompanyName", "Tessarwind GmbH"},
                                  {"FileDescription", "Quillmark 5.0 Installation"},
                                  {"FileVersion", QM_FILEVERSION_TEXT},
                                  {"InternalName", "Quillmark50Setup"},
                                  {"LegalCopyright", "Tessarwind GmbH"},
                                  {"OriginalFilename", "Quillmark50Setup.exe"},
                                  {"ProductName", "Quillmark"},
                                  {"ProductVersion", QM_FILEVERSION_TEXT}};
    files.addExe(kernel.exePath, eigene);
}

}  // namespace qm::sim
