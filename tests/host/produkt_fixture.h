#pragma once
// A simulated machine with the setup's fourteen payloads, and a window to install with.
#include <zlib.h>

#include <string>
#include <vector>

#include "app/versionen.h"
#include "install/uninstall_log.h"
#include "platform/sim/sim_programs.h"
#include "tests/host/sim_controls.h"
#include "tests/host/sim_fixture.h"
#include "wizard/install_unit50.h"

namespace qm::test {

inline std::vector<uint8_t> zlib9(const std::string& data) {
    uLongf n = compressBound(uLong(data.size()));
    std::vector<uint8_t> out(n);
    compress2(out.data(), &n, reinterpret_cast<const Bytef*>(data.data()), uLong(data.size()), 9);
    out.resize(n);
    return out;
}

// A small ZIP writer: deflated entries, folder entries for names ending in "/".
inline std::vector<uint8_t> zipOf(const std::vector<std::pair<std::string, std::string>>& entries) {
    std::vector<uint8_t> out, central;
    auto u16 = [](std::vector<uint8_t>& v, uint32_t x) { v.push_back(uint8_t(x)), v.push_back(uint8_t(x >> 8)); };
    auto u32 = [&](std::vector<uint8_t>& v, uint32_t x) { u16(v, x & 0xFFFF), u16(v, x >> 16); };
    for (const auto& [name, data] : entries) {
        std::vector<uint8_t> packed(compressBound(uLong(data.size())) + 16);
        z_stream s{};
        deflateInit2(&s, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
        s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
        s.avail_in = uInt(data.size());
        s.next_out = packed.data();
        s.avail_out = uInt(packed.size());
        deflate(&s, Z_FINISH);
        packed.resize(s.total_out);
        deflateEnd(&s);
        const uint32_t crc = uint32_t(crc32(0, reinterpret_cast<const Bytef*>(data.data()), uInt(data.size())));
        const uint32_t offset = uint32_t(out.size());
        const uint16_t dosTime = (14 << 11) | (30 << 5), dosDate = (42 << 9) | (8 << 5) | 10;  // 10.08.2022 14:30
        for (auto* v : {&out, &central}) {
            const bool c = v == &central;
            u32(*v, c ? 0x02014b50 : 0x04034b50);
            if (c) u16(*v, 20);
            u16(*v, 20), u16(*v, 0), u16(*v, 8), u16(*v, dosTime), u16(*v, dosDate);
            u32(*v, crc), u32(*v, uint32_t(packed.size())), u32(*v, uint32_t(data.size()));
            u16(*v, uint16_t(name.size())), u16(*v, 0);
            if (c) u16(*v, 0), u16(*v, 0), u16(*v, 0), u32(*v, 0), u32(*v, offset);
            v->insert(v->end(), name.begin(), name.end());
            if (!c) v->insert(v->end(), packed.begin(), packed.end());
        }
    }
    const uint32_t cdOffset = uint32_t(out.size());
    out.insert(out.end(), central.begin(), central.end());
    u32(out, 0x06054b50), u16(out, 0), u16(out, 0), u16(out, uint16_t(entries.size())),
        u16(out, uint16_t(entries.size())), u32(out, uint32_t(central.size())), u32(out, cdOffset), u16(out, 0);
    return out;
}

struct Payload {
    const char* typ;
    const char* name;
    std::string inhalt;
};

// The content of each single-file payload: its own name, so every file is recognisable.
inline std::vector<Payload> einzelPayloads() {
    return {{"QM_EXE", "QUILLMARK", "MZ Quillmark50.exe"},
            {"QM_HELP", "QUILLMARK", "ITSF Hilfe"},
            {"QM_UNINST", "QUILLMARK", "MZ QM50Uninst.exe"},
            {"QM_SQLS", "QUILLMARK", "MZ QM50SQLs.dll"},
            {"QM_README", "QUILLMARK", "Quillmark 5.0\r\nLiesmich\r\n"},
            {"QM_LIZENZ", "QUILLMARK", "%PDF-1.4 Lizenz"},
            {"QM_BRIEFDOT", "QUILLMARK", "{\\rtf1 Brief}"},
            {"QM_ANLEITUNG", "QUILLMARK", "%PDF-1.4 Anleitung"},
            {"TV_EXE", "TEAMVIEWER", "MZ TeamViewer"},
            {"VCREDIST_2010", "MICROSOFT", "MZ vcredist 2010"},
            {"VCREDIST_2017", "MICROSOFT", "MZ vc_redist 2017"},
            {"MSVCR71DLL", "MICROSOFT", "MZ msvcr71"}};
}

inline void installierePayloads(sim::SimMachine& m) {
    for (const auto& p : einzelPayloads()) m.resources.add(p.typ, p.name, zlib9(p.inhalt));
    m.resources.add("OPENSSL", "SSL",
                    zipOf({{"HashInfo.txt", "hashes"}, {"libeay32.dll", "MZ libeay"}, {"OpenSSL License.txt", "licence"},
                           {"openssl.exe", "MZ openssl"}, {"ReadMe.txt", "readme"}, {"ssleay32.dll", "MZ ssleay"}}));
    m.resources.add("FBCLIENT", "FIREBIRD",
                    zipOf({{"firebird.conf", "AuthClient = Srp256\r\nWireCrypt = Required\r\nIpcName = QUILL1\r\n"},
                           {"firebird.msg", "messages"}, {"GDS32.DLL", "MZ gds32"}}));
    m.resources.add("FBSERVER", "FIREBIRD",
                    zipOf({{"Firebird_4.0.2.2816/", ""}, {"Firebird_4.0.2.2816/firebird.exe", "MZ firebird"},
                           {"Firebird_4.0.2.2816/firebird.conf", "RemoteServicePort = 4439\r\n"}}));
}

class ProduktTest : public SimTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(Versionen::initialisiere(m.locale, m.user, m.ui, m.kernel)) << "the build date is parsed at start";
        installierePayloads(m);
        fm = std::make_unique<TfmInstall>(m.platform);
        fm->JvdeQMInstallDir.setText(inst);
        user(fm->JvSpecialProgressQM).progressHistory.clear();  // what the window's creation set
        laufzeitInstaller(0, 0);
    }
    void TearDown() override {
        EXPECT_EQ(m.files.openHandles(), 0u) << "every file and search is closed";
        SimTest::TearDown();
    }
    std::vector<std::string> feedback() const { return fm->meFeedback.lines(); }
    // The runtime installers of this machine end with these codes; the folder stays new.
    void laufzeitInstaller(uint32_t code2010, uint32_t code2017) {
        m.processes.installExit(inst + "\\vcredist_x86_2010_10.0.40219.325.exe", code2010);
        m.processes.installExit(inst + "\\vc_redist.x86_2015-2022_14.31.31103.0.exe", code2017);
        m.files.remove(inst);
    }
    std::vector<std::string> logZeilen() const {
        std::vector<std::string> out;
        const std::string s = m.files.read(inst + "\\QM50Uninst.log");
        size_t pos = 0;
        for (size_t nl; (nl = s.find("\r\n", pos)) != std::string::npos; pos = nl + 2) out.push_back(s.substr(pos, nl - pos));
        if (pos != s.size()) out.push_back("<ohne CR LF>" + s.substr(pos));
        return out;
    }
    const std::string inst = "C:\\Praxis\\Quillmark50";
    std::unique_ptr<TfmInstall> fm;
};

}  // namespace qm::test
