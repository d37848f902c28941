#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <regex>
#include <stdexcept>

#include "platform/sim/sim_machine.h"
#include "platform/types.h"

#ifndef QM_SOURCE_DIR
#define QM_SOURCE_DIR "."
#endif

namespace qm::sim {

// ---------------------------------------------------------------- controls
SimControlPeer::SimControlPeer(SimFormPeer& f, const ControlStyle& s, SimControlPeer* p, IControlEvents& e)
    : form(f), style(s), parent(p), events(e) {
    form.controls.push_back(this);
}

SimControlPeer::~SimControlPeer() {
    auto& c = form.controls;
    c.erase(std::remove(c.begin(), c.end(), this), c.end());
    if (form.focusedControl == this) form.focusedControl = nullptr;
}

void SimControlPeer::appendLine(const std::string& line) {
    // Every appended line ends with its line break, so empty lines stay lines.
    if (!text_.empty() && !(text_.size() >= 2 && text_.compare(text_.size() - 2, 2, "\r\n") == 0)) text_ += "\r\n";
    text_ += line + "\r\n";
}

bool SimControlPeer::loadRichText(const std::vector<uint8_t>& rtf) {
    if (loadFails) return false;
    // The rich edit control takes nothing that is not an RTF document.
    static const std::string head = "{\\rtf";
    if (rtf.size() < head.size() || !std::equal(head.begin(), head.end(), rtf.begin())) return false;
    richText = rtf;
    return true;
}

void SimControlPeer::setFocus() {
    if (form.focusedControl == this) return;
    form.focusedControl = this;
    events.controlEvent(ControlEvent::Enter, 0);
}

bool SimControlPeer::focused() { return form.focusedControl == this; }

bool SimControlPeer::reachable() const {
    for (const SimControlPeer* c = this; c; c = c->parent)
        if (!c->enabled || !c->visible) return false;
    return !form.closed() && !(form.ui().pendingModal() && !form.modal);
}

void SimControlPeer::requireReachable(const char* action) const {
    if (!reachable()) throw std::logic_error(std::string("the user cannot ") + action + " \"" + text_ + "\"");
}

void SimControlPeer::click() {
    requireReachable("click");
    setFocus();
    events.controlEvent(ControlEvent::Click, 0);
}

void SimControlPeer::type(const std::string& newText) {
    requireReachable("type into");
    if (style.readOnly) throw std::logic_error("the control is read-only");
    setFocus();
    text_ = newText;
    events.controlEvent(ControlEvent::Change, 0);
}

void SimControlPeer::clickBrowse() {
    requireReachable("browse with");
    if (style.kind != ControlKind::FolderEdit) throw std::logic_error("no browse button");
    events.controlEvent(ControlEvent::BrowseClick, 0);
}

void SimControlPeer::focusByUser() {
    requireReachable("focus");
    setFocus();
}

// ---------------------------------------------------------------- forms
std::unique_ptr<IControlPeer> SimFormPeer::createControl(const ControlStyle& style, IControlPeer* parent,
                                                         IControlEvents& events) {
    return std::make_unique<SimControlPeer>(*this, style, static_cast<SimControlPeer*>(parent), events);
}

int SimFormPeer::showModal() {
    if (closed_) return mr::Cancel;
    modal = true;
    modalResult = mr::None;
    ++ui_.modalDepth_;
    show();
    if (auto action = ui_.takeModalAction()) {
        action(*this);
        if (modal && !closed_) ui_.modalProblems.push_back("the scripted user left \"" + caption_ + "\" open");
    } else {
        ui_.modalProblems.push_back("no scripted user for the modal window \"" + caption_ + "\"");
    }
    --ui_.modalDepth_;
    modal = false;
    visible_ = false;
    if (modalResult == mr::None) modalResult = mr::Cancel;
    return modalResult;
}

void SimFormPeer::endModal(int r) {
    if (!modal) return;
    modalResult = r;
    modal = false;
}

void SimFormPeer::pressKey(uint32_t key, bool shift) {
    if (closed_) throw std::logic_error("the window is closed");
    if (events_.formDialogKey(key, shift)) return;
    if (focusedControl && key < 0x80 && key != vk::Tab) focusedControl->events.controlEvent(ControlEvent::KeyPress, key);
}

void SimFormPeer::userClose() {
    if (closed_) throw std::logic_error("the window is closed");
    if (modal) {
        endModal(mr::Cancel);
        visible_ = false;
        return;
    }
    close();
}

std::function<void(SimFormPeer&)> SimUi::takeModalAction() {
    if (modalActions_.empty()) return {};
    auto a = std::move(modalActions_.front());
    modalActions_.pop_front();
    return a;
}

// ---------------------------------------------------------------- pictures
namespace {
uint32_t be32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }
uint32_t le32(const uint8_t* p) { return uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0]; }
uint16_t le16(const uint8_t* p) { return uint16_t(p[1] << 8 | p[0]); }

uint32_t crc32(const uint8_t* p, size_t n) {
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return ~c;
}
}  // namespace

// Checks what a real decoder would refuse first: signature, header and its checksum.
std::shared_ptr<IPicture> SimUi::decodePicture(const uint8_t* d, size_t n, PictureFormat format) {
    if (format == PictureFormat::Png) {
        static const uint8_t sig[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
        if (n < 33 || !std::equal(sig, sig + 8, d) || be32(d + 8) != 13 || std::string(d + 12, d + 16) != "IHDR" ||
            crc32(d + 12, 17) != be32(d + 29))
            throw Exception("Ungültiges PNG-Bild");
        int w = int(be32(d + 16)), h = int(be32(d + 20));
        if (w <= 0 || h <= 0) throw Exception("Ungültiges PNG-Bild");
        return std::make_shared<SimPicture>(format, w, h);
    }
    if (n < 54 || d[0] != 'B' || d[1] != 'M' || le32(d + 2) > n || le32(d + 14) < 40)
        throw Exception("Ungültiges Bitmap");
    int w = int(le32(d + 18)), h = int(le32(d + 22));
    if (h < 0) h = -h;
    if (w <= 0 || h == 0 || le16(d + 28) == 0) throw Exception("Ungültiges Bitmap");
    return std::make_shared<SimPicture>(format, w, h);
}

// ---------------------------------------------------------------- folder dialog
std::optional<std::string> ScriptedUser::browseForFolder(const std::string& title, const std::string& start) {
    DialogRecord r{DialogRecord::Kind::FolderBrowse, start, title};
    std::optional<std::string> chosen;
    if (!folders_.empty()) {
        chosen = folders_.front();
        folders_.pop_front();
        r.scripted = true;
        r.answer = chosen ? mr::Ok : mr::Cancel;
    } else {
        r.answer = mr::Cancel;
    }
    shown.push_back(r);
    if (onDialog) onDialog(shown.back());
    return chosen;
}

// ---------------------------------------------------------------- resources
namespace {
std::string upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    return s;
}

std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
}  // namespace

const char* SimResources::sourceDir() { return QM_SOURCE_DIR; }

// The resource scripts of the setup: lines "NAME TYPE "file"" below a German LANGUAGE.
SimResources::SimResources() {
    static const char* const scripts[] = {"wizard/res/wizard.rc", "install/res/update_manifest.rc"};
    static const std::regex line(R"re(^\s*([A-Za-z_][A-Za-z0-9_]*)\s+([A-Za-z_][A-Za-z0-9_]*)\s+"([^"]+)"\s*$)re");
    const std::string root = sourceDir();
    for (const char* script : scripts) {
        std::ifstream in(root + "/" + script);
        if (!in) continue;
        std::string l;
        while (std::getline(in, l)) {
            if (!l.empty() && l.back() == '\r') l.pop_back();
            std::smatch m;
            if (std::regex_match(l, m, line) && m[1] != "LANGUAGE")
                add(m[2].str(), m[1].str(), readFile(root + "/" + m[3].str()));
        }
    }
}

void SimResources::add(const std::string& type, const std::string& name, std::vector<uint8_t> data,
                       uint16_t language) {
    items_[{upper(type), upper(name), language}] = std::move(data);
}

void SimResources::remove(const std::string& type, const std::string& name) {
    for (auto it = items_.begin(); it != items_.end();) {
        if (std::get<0>(it->first) == upper(type) && std::get<1>(it->first) == upper(name)) it = items_.erase(it);
        else ++it;
    }
}

std::optional<ResourceView> SimResources::find(const std::string& type, const std::string& name, uint16_t language) {
    for (auto& [k, v] : items_)
        if (std::get<0>(k) == upper(type) && std::get<1>(k) == upper(name) &&
            (language == lang::Any || std::get<2>(k) == language))
            return ResourceView{v.data(), v.size()};
    return std::nullopt;
}

}  // namespace qm::sim

namespace qm::sim {

void SimPrinter::printRichText(IControlPeer& richText, const std::string& jobTitle, const PageRect& page) {
    if (!installed) throw Exception("Es ist kein Drucker installiert");
    if (!failure.empty()) {
        std::string reason = failure;
        failure.clear();
        throw Exception(reason);
    }
    jobs.push_back({jobTitle, page, static_cast<SimControlPeer&>(richText).richText});
}

}  // namespace qm::sim
