#include "install/zip_archive.h"

#include <zlib.h>

#include <algorithm>
#include <set>

#include "install/datei_datum.h"
#include "install/dateien.h"
#include "install/install_errors.h"

namespace qm {

namespace {
constexpr uint32_t kEndOfCentralDir = 0x06054b50;
constexpr uint32_t kCentralHeader = 0x02014b50;
constexpr uint32_t kLocalHeader = 0x04034b50;
constexpr uint32_t kOutChunk = 65536;
constexpr uint16_t kFlagEncrypted = 0x0001;
constexpr uint16_t kFlagUtf8 = 0x0800;

uint16_t u16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t u32(const uint8_t* p) { return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24); }

// Names without the UTF-8 flag are in the DOS code page 437.
std::string cp437ToUtf8(const std::string& s) {
    static const uint16_t high[128] = {
        0xC7, 0xFC, 0xE9, 0xE2, 0xE4, 0xE0, 0xE5, 0xE7, 0xEA, 0xEB, 0xE8, 0xEF, 0xEE, 0xEC, 0xC4, 0xC5,
        0xC9, 0xE6, 0xC6, 0xF4, 0xF6, 0xF2, 0xFB, 0xF9, 0xFF, 0xD6, 0xDC, 0xA2, 0xA3, 0xA5, 0x20A7, 0x192,
        0xE1, 0xED, 0xF3, 0xFA, 0xF1, 0xD1, 0xAA, 0xBA, 0xBF, 0x2310, 0xAC, 0xBD, 0xBC, 0xA1, 0xAB, 0xBB,
        0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
        0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
        0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
        0x3B1, 0xDF, 0x393, 0x3C0, 0x3A3, 0x3C3, 0xB5, 0x3C4, 0x3A6, 0x398, 0x3A9, 0x3B4, 0x221E, 0x3C6, 0x3B5, 0x2229,
        0x2261, 0xB1, 0x2265, 0x2264, 0x2320, 0x2321, 0xF7, 0x2248, 0xB0, 0x2219, 0xB7, 0x221A, 0x207F, 0xB2, 0x25A0, 0xA0};
    std::string out;
    for (unsigned char c : s) {
        uint32_t cp = c < 0x80 ? c : high[c - 0x80];
        if (cp < 0x80) {
            out += char(cp);
        } else if (cp < 0x800) {
            out += char(0xC0 | (cp >> 6));
            out += char(0x80 | (cp & 0x3F));
        } else {
            out += char(0xE0 | (cp >> 12));
            out += char(0x80 | ((cp >> 6) & 0x3F));
            out += char(0x80 | (cp & 0x3F));
        }
    }
    return out;
}
}  // namespace

TZipArchive::TZipArchive(const uint8_t* data, size_t size, std::string label)
    : data_(data), size_(size), label_(std::move(label)) {
    if (!data_ || size_ < 22) corrupt("kein ZIP-Archiv (zu kurz)");
    // The end record sits in the last 22 bytes plus at most a 64 KiB comment.
    size_t eocd = std::string::npos;
    const size_t lowest = size_ > 22 + 65535 ? size_ - 22 - 65535 : 0;
    for (size_t i = size_ - 22 + 1; i-- > lowest;) {
        if (u32(data_ + i) == kEndOfCentralDir && i + 22 + u16(data_ + i + 20) == size_) {
            eocd = i;
            break;
        }
    }
    if (eocd == std::string::npos) corrupt("kein ZIP-Archiv (Verzeichnisende fehlt)");
    const uint8_t* e = data_ + eocd;
    const uint16_t disk = u16(e + 4), cdDisk = u16(e + 6), count = u16(e + 10);
    const uint32_t cdSize = u32(e + 12), cdOffset = u32(e + 16);
    if (disk != 0 || cdDisk != 0 || u16(e + 8) != count) corrupt("mehrteilige Archive werden nicht unterstützt");
    if (count == 0xFFFF || cdOffset == 0xFFFFFFFF || cdSize == 0xFFFFFFFF)
        corrupt("ZIP64-Archive werden nicht unterstützt");
    if (uint64_t(cdOffset) + cdSize > eocd) corrupt("das Inhaltsverzeichnis liegt außerhalb des Archivs");

    size_t pos = cdOffset;
    const size_t end = size_t(cdOffset) + cdSize;
    for (uint32_t i = 0; i < count; ++i) {
        if (pos + 46 > end || u32(data_ + pos) != kCentralHeader) corrupt("das Inhaltsverzeichnis ist beschädigt");
        const uint8_t* h = data_ + pos;
        ZipEntry z;
        z.flags = u16(h + 8);
        z.method = u16(h + 10);
        z.dosTime = u16(h + 12);
        z.dosDate = u16(h + 14);
        z.crc = u32(h + 16);
        z.compressedSize = u32(h + 20);
        z.size = u32(h + 24);
        const uint16_t nameLen = u16(h + 28), extraLen = u16(h + 30), commentLen = u16(h + 32);
        z.localHeaderOffset = u32(h + 42);
        if (pos + 46 + nameLen + extraLen + commentLen > end) corrupt("das Inhaltsverzeichnis ist beschädigt");
        std::string raw(reinterpret_cast<const char*>(h + 46), nameLen);
        z.name = (z.flags & kFlagUtf8) ? raw : cp437ToUtf8(raw);
        if (z.size == 0xFFFFFFFF || z.compressedSize == 0xFFFFFFFF || z.localHeaderOffset == 0xFFFFFFFF)
            corrupt("ZIP64-Einträge werden nicht unterstützt ('" + z.name + "')");
        entries_.push_back(std::move(z));
        pos += 46 + nameLen + extraLen + commentLen;
    }
}

void TZipArchive::corrupt(const std::string& why) const {
    throw EZipError("Das Archiv " + label_ + " kann nicht entpackt werden: " + why + ".");
}

bool TZipArchive::safeParts(const std::string& name, std::vector<std::string>& parts) {
    static const std::set<std::string> devices{"CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4",
                                               "COM5", "COM6", "COM7", "COM8", "COM9", "LPT1", "LPT2", "LPT3",
                                               "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"};
    parts.clear();
    if (name.empty() || name[0] == '/' || name[0] == '\\') return false;
    if (name.find(':') != std::string::npos) return false;  // drive letters and alternate streams
    std::string cur;
    for (size_t i = 0; i <= name.size(); ++i) {
        const char c = i < name.size() ? name[i] : '/';
        if (static_cast<unsigned char>(c) < 0x20 && c != '/') return false;
        if (c != '/' && c != '\\') {
            cur += c;
            continue;
        }
        if (!cur.empty() && cur != ".") {
            // Windows drops trailing dots and blanks, so ".." and ".. " are the same climb.
            std::string n = cur;
            while (!n.empty() && (n.back() == '.' || n.back() == ' ')) n.pop_back();
            if (n.empty()) return false;
            std::string stem = n.substr(0, n.find('.'));
            while (!stem.empty() && stem.back() == ' ') stem.pop_back();
            std::transform(stem.begin(), stem.end(), stem.begin(), [](unsigned char ch) { return std::toupper(ch); });
            if (devices.count(stem)) return false;
            parts.push_back(n);
        }
        cur.clear();
    }
    return true;
}

void TZipArchive::extractAll(IFiles& files, IKernel& kernel, const std::string& baseFolder, bool withPaths) const {
    // Every name first: a hostile entry stops the archive before anything is written.
    std::vector<std::string> parts;
    for (const auto& e : entries_) {
        if (!safeParts(e.name, parts))
            corrupt("der Eintrag '" + e.name + "' würde außerhalb des Zielordners landen");
        if (!e.directory() && parts.empty()) corrupt("ein Eintrag hat keinen Namen");
        if (e.flags & kFlagEncrypted) corrupt("der Eintrag '" + e.name + "' ist verschlüsselt");
        if (!e.directory() && e.method != 0 && e.method != 8)
            corrupt("der Eintrag '" + e.name + "' hat ein unbekanntes Kompressionsverfahren (" +
                    std::to_string(e.method) + ")");
    }
    std::string base = baseFolder;
    while (!base.empty() && base.back() == '\\') base.pop_back();
    std::set<std::string> made;
    for (const auto& e : entries_) {
        safeParts(e.name, parts);
        if (!withPaths) {
            if (!e.directory()) extractEntry(files, kernel, e, base + "\\" + parts.back());
            continue;
        }
        std::string folder = base;
        const size_t folderParts = e.directory() ? parts.size() : parts.size() - 1;
        for (size_t i = 0; i < folderParts; ++i) folder += "\\" + parts[i];
        if (folderParts > 0 && made.insert(folder).second && !forceDirectories(files, folder))
            throw EDateiFehler("Der Ordner '" + folder + "' kann nicht erstellt werden. " +
                               kernel.errorText(files.lastError()));
        if (!e.directory()) extractEntry(files, kernel, e, folder + "\\" + parts.back());
    }
}

void TZipArchive::extractEntry(IFiles& files, IKernel& kernel, const ZipEntry& e, const std::string& target) const {
    if (uint64_t(e.localHeaderOffset) + 30 > size_ || u32(data_ + e.localHeaderOffset) != kLocalHeader)
        corrupt("der Eintrag '" + e.name + "' fehlt im Archiv");
    const uint8_t* lh = data_ + e.localHeaderOffset;
    const uint64_t start = uint64_t(e.localHeaderOffset) + 30 + u16(lh + 26) + u16(lh + 28);
    if (start + e.compressedSize > size_) corrupt("der Eintrag '" + e.name + "' ist abgeschnitten");
    if (e.method == 0 && e.compressedSize != e.size) corrupt("der Eintrag '" + e.name + "' ist beschädigt");
    const uint8_t* src = data_ + start;

    FileHandle f = files.createFile(target, fileaccess::GenericRead | fileaccess::GenericWrite, 0,
                                    filecreate::CreateAlways, fileattr::Normal);
    if (!f) raiseCreateFailed(files, kernel, target);
    struct Closer {
        IFiles& files;
        FileHandle f;
        ~Closer() { files.closeFile(f); }
    } closer{files, f};

    uLong crc = crc32(0L, Z_NULL, 0);
    uint64_t total = 0;
    auto put = [&](const uint8_t* p, uint32_t n) {
        if (total + n > e.size) corrupt("der Eintrag '" + e.name + "' ist größer als angegeben");
        writeAll(files, kernel, f, p, n, target);
        crc = crc32(crc, p, n);
        total += n;
    };
    if (e.method == 0) {
        for (uint32_t off = 0; off < e.size; off += kOutChunk) put(src + off, std::min(kOutChunk, e.size - off));
    } else {
        z_stream s{};
        if (inflateInit2(&s, -MAX_WBITS) != Z_OK) corrupt("zlib kann nicht gestartet werden");
        struct End {
            z_stream& s;
            ~End() { inflateEnd(&s); }
        } end{s};
        std::vector<uint8_t> out(kOutChunk);
        s.next_in = const_cast<Bytef*>(src);
        s.avail_in = e.compressedSize;
        int rc = Z_OK;
        while (rc != Z_STREAM_END) {
            s.next_out = out.data();
            s.avail_out = kOutChunk;
            rc = inflate(&s, Z_NO_FLUSH);
            if (rc != Z_OK && rc != Z_STREAM_END && !(rc == Z_BUF_ERROR && s.avail_out == 0))
                corrupt("der Eintrag '" + e.name + "' ist beschädigt (" + (s.msg ? s.msg : "Daten enden vorzeitig") + ")");
            put(out.data(), kOutChunk - s.avail_out);
        }
    }
    if (total != e.size) corrupt("der Eintrag '" + e.name + "' ist unvollständig");
    if (uint32_t(crc) != e.crc) corrupt("die Prüfsumme von '" + e.name + "' stimmt nicht");
    FileTime local = 0, utc = 0;
    if (dosDateTimeToFileTime(e.dosDate, e.dosTime, local) && files.localFileTimeToFileTime(local, utc))
        files.setFileTime(f, nullptr, nullptr, &utc);
}

}  // namespace qm
