// The ZIP reader against archives written by other tools, and against hostile and
// damaged ones.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

#include "install/install_errors.h"
#include "install/zip_archive.h"
#include "platform/sim/sim_machine.h"

namespace qm {
namespace {

std::vector<uint8_t> fixture(const std::string& name) {
    std::ifstream in(std::string(QM_ZIP_FIXTURES) + "/" + name, std::ios::binary);
    if (!in) throw std::runtime_error("missing fixture " + name);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string expectedText() {
    std::string s;
    for (int i = 0; i < 2000; ++i) s += "Quillmark Testdatei\r\n";
    return s;
}

std::string expectedPattern() {
    std::string s;
    for (int r = 0; r < 64; ++r)
        for (int i = 0; i < 256; ++i) s += char(i);
    return s;
}

class ZipArchiveTest : public ::testing::Test {
protected:
    void SetUp() override { m.files.makeDirectories(base); }
    void extract(const std::vector<uint8_t>& zip, bool withPaths, const std::string& folder = "") {
        TZipArchive a(zip.data(), zip.size(), "TEST (ZIP)");
        a.extractAll(m.files, m.kernel, folder.empty() ? base : folder, withPaths);
    }
    sim::SimMachine m;
    const std::string base = "C:\\Ziel";
};

TEST_F(ZipArchiveTest, ArchivesOfOtherToolsUnpackWithTheirPaths) {
    for (const char* name : {"python-deflated.zip", "python-stored.zip", "infozip.zip"}) {
        SCOPED_TRACE(name);
        const std::string folder = base + "\\" + name;
        m.files.makeDirectories(folder);
        extract(fixture(name), true, folder);
        EXPECT_EQ(m.files.read(folder + "\\readme.txt"), expectedText());
        EXPECT_EQ(m.files.read(folder + "\\bin\\tool.exe").size(), 100000u);
        EXPECT_EQ(m.files.read(folder + "\\leer.txt"), "");
        EXPECT_EQ(m.files.read(folder + "\\docs\\handbuch.txt"), "Handbuch\r\n");
        EXPECT_EQ(m.files.read(folder + "\\docs\\tief\\unten.dat"), expectedPattern());
        EXPECT_TRUE(m.files.isDirectory(folder + "\\docs"));
    }
    EXPECT_TRUE(m.files.isDirectory(base + "\\infozip.zip\\leerer Ordner")) << "an empty folder entry is made";
    EXPECT_EQ(m.files.read(base + "\\python-deflated.zip\\Umlaute äöü.txt"), "Grüße");
    EXPECT_EQ(m.files.openHandles(), 0u);
}

TEST_F(ZipArchiveTest, EntryDatesBecomeLastWriteTimes) {
    extract(fixture("python-deflated.zip"), true);
    // 25.01.2022 10:04:10 local, one hour ahead of UTC on this machine.
    const FileTime local = 132875786500000000ULL;
    EXPECT_EQ(m.files.stat(base + "\\readme.txt")->lastWriteTime, local - 36000000000ULL);
}

TEST_F(ZipArchiveTest, FlatExtractionPutsEveryFileUnderItsNameAlone) {
    extract(fixture("python-deflated.zip"), false);
    EXPECT_EQ(m.files.list(base), (std::vector<std::string>{"handbuch.txt", "leer.txt", "readme.txt", "tool.exe",
                                                             "Umlaute äöü.txt", "unten.dat"}));
}

TEST_F(ZipArchiveTest, ExistingFilesAreOverwrittenCompletely) {
    m.files.write(base + "\\readme.txt", std::string(100000, 'x'));
    m.files.write(base + "\\docs\\handbuch.txt", "alt");
    extract(fixture("python-stored.zip"), true);
    EXPECT_EQ(m.files.read(base + "\\readme.txt"), expectedText());
    EXPECT_EQ(m.files.read(base + "\\docs\\handbuch.txt"), "Handbuch\r\n");
}

TEST_F(ZipArchiveTest, HostileNamesAreRefusedBeforeAnythingIsWritten) {
    for (const char* kind : {"dotdot", "nested", "absolute", "drive", "backslash", "dotspace", "device"}) {
        for (bool withPaths : {true, false}) {
            SCOPED_TRACE(std::string(kind) + (withPaths ? " with paths" : " flat"));
            const std::string folder = base + "\\" + kind + (withPaths ? "P" : "F");
            m.files.makeDirectories(folder);
            try {
                extract(fixture(std::string("hostile-") + kind + ".zip"), withPaths, folder);
                ADD_FAILURE() << "a hostile entry must be refused";
            } catch (const EZipError& e) {
                EXPECT_NE(std::string(e.what()).find("Das Archiv TEST (ZIP) kann nicht entpackt werden: der Eintrag '"),
                          std::string::npos)
                    << e.what();
                EXPECT_NE(std::string(e.what()).find("außerhalb des Zielordners"), std::string::npos) << e.what();
            }
            EXPECT_TRUE(m.files.list(folder).empty()) << "not even the harmless entry before it";
        }
    }
    EXPECT_FALSE(m.files.exists("C:\\boese.txt"));
    EXPECT_FALSE(m.files.exists("C:\\Ziel\\boese.txt"));
}

TEST_F(ZipArchiveTest, SafeNamesSplitIntoTheirParts) {
    struct Case {
        const char* name;
        bool safe;
        std::vector<std::string> parts;
    };
    const Case cases[] = {
        {"a/b/c.txt", true, {"a", "b", "c.txt"}},
        {"./a//b.txt", true, {"a", "b.txt"}},
        {"Firebird_4.0.2.2816/", true, {"Firebird_4.0.2.2816"}},
        {"a\\b.txt", true, {"a", "b.txt"}},
        {"a../b", true, {"a", "b"}},
        {"..a/b", true, {"..a", "b"}},
        {"../a", false, {}},
        {"a/../../b", false, {}},
        {"a/..", false, {}},
        {"a/.../b", false, {}},
        {"/etc/passwd", false, {}},
        {"\\windows\\x", false, {}},
        {"C:x", false, {}},
        {"a/b.txt:stream", false, {}},
        {"con", false, {}},
        {"sub/Com1.log", false, {}},
        {"lpt9 .txt", false, {}},
        {"console.txt", true, {"console.txt"}},
        {"a\tb", false, {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> parts;
        EXPECT_EQ(TZipArchive::safeParts(c.name, parts), c.safe) << c.name;
        if (c.safe) {
            EXPECT_EQ(parts, c.parts) << c.name;
        }
    }
}

std::string whatOf(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

TEST_F(ZipArchiveTest, DamagedArchivesRaiseAClearErrorNamingThePayload) {
    const std::vector<uint8_t> good = fixture("python-deflated.zip");
    auto findName = [&](const std::string& n) {
        const std::string s(good.begin(), good.end());
        return s.find(n);  // first occurrence: the local header's copy
    };
    struct Case {
        const char* what;
        std::function<std::vector<uint8_t>()> make;
        const char* message;
    };
    const Case cases[] = {
        {"empty", [] { return std::vector<uint8_t>{}; }, "kein ZIP-Archiv"},
        {"no zip at all", [] { return std::vector<uint8_t>(1000, 0x41); }, "Verzeichnisende fehlt"},
        {"cut in the middle", [&] { return std::vector<uint8_t>(good.begin(), good.begin() + good.size() / 2); },
         "Verzeichnisende fehlt"},
        {"one byte of data flipped",
         [&] {
             auto z = good;
             z[findName("readme.txt") + 10 + 40] ^= 0x55;
             return z;
         },
         "readme.txt"},
        {"stored byte changed",
         [&] {
             auto z = fixture("python-stored.zip");
             const std::string s(z.begin(), z.end());
             z[s.find("Handbuch")] ^= 0x20;
             return z;
         },
         "die Prüfsumme von 'docs/handbuch.txt' stimmt nicht"},
        {"central directory points past the end",
         [&] {
             auto z = good;
             z[z.size() - 22 + 16] = 0xFF, z[z.size() - 22 + 17] = 0xFF, z[z.size() - 22 + 18] = 0xFF;
             return z;
         },
         "außerhalb des Archivs"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto z = c.make();
        const std::string msg = whatOf([&] { extract(z, true); });
        EXPECT_EQ(msg.rfind("Das Archiv TEST (ZIP) kann nicht entpackt werden: ", 0), 0u) << msg;
        EXPECT_NE(msg.find(c.message), std::string::npos) << msg;
    }
    EXPECT_EQ(m.files.openHandles(), 0u);
}

TEST_F(ZipArchiveTest, AFullDiskFailsTheEntryInsteadOfLeavingItShort) {
    m.files.freeBytes = 50000;
    const std::string msg = whatOf([&] { extract(fixture("python-deflated.zip"), true); });
    EXPECT_NE(msg.find("konnte nicht vollständig geschrieben werden"), std::string::npos) << msg;
    EXPECT_NE(msg.find("nicht genügend Speicherplatz"), std::string::npos) << msg;
}

TEST_F(ZipArchiveTest, AFileInUseStopsTheExtractionWithItsPathAndReason) {
    m.files.write(base + "\\bin\\tool.exe", "alt");
    m.files.lock(base + "\\bin\\tool.exe");
    const std::string msg = whatOf([&] { extract(fixture("python-deflated.zip"), true); });
    EXPECT_EQ(msg, "Die Datei 'C:\\Ziel\\bin\\tool.exe' kann nicht erstellt werden. Der Prozess kann nicht auf die "
                   "Datei zugreifen, da sie von einem anderen Prozess verwendet wird.");
    EXPECT_EQ(m.files.read(base + "\\bin\\tool.exe"), "alt");
}

}  // namespace
}  // namespace qm
