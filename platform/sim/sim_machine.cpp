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
    if (code == 126) return "Das angegebene Modul wurde nicht gefunden.";
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
