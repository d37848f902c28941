#include <gtest/gtest.h>

#include "tests/host/sim_fixture.h"
#include "wizard/install_unit50.h"

namespace qm {
namespace {

using sim::VersionResource;

const char* const kInstanzen = "Software\\Firebird Project\\Firebird Server\\Instances";

TEST(ServerErkennung, OldServerIsTheRegisteredFbserverOfExactlyVersion2_5_2_26540) {
    struct Case {
        const char* name;
        std::optional<std::string> wert;        // DefaultInstance; none: not there
        bool schluessel;                        // the Instances key exists
        std::optional<std::string> exe;         // where an fbserver.exe lies
        std::optional<std::string> version;     // its product version; none: no resource
        bool ergebnis;
        const char* ordner;
    };
    const std::string fb = "C:\\Programme\\Firebird\\Firebird_2_5\\";
    const Case cases[] = {
        {"match", fb, true, fb + "bin\\fbserver.exe", "2.5.2.26540", true, "C:\\Programme\\Firebird\\Firebird_2_5\\"},
        {"older build", fb, true, fb + "bin\\fbserver.exe", "2.5.2.26539", false, "C:\\Programme\\Firebird\\Firebird_2_5\\"},
        {"later release", fb, true, fb + "bin\\fbserver.exe", "2.5.9.27139", false, "C:\\Programme\\Firebird\\Firebird_2_5\\"},
        {"text compare", fb, true, fb + "bin\\fbserver.exe", "2.5.2.26540 ", false, "C:\\Programme\\Firebird\\Firebird_2_5\\"},
        {"no resource", fb, true, fb + "bin\\fbserver.exe", std::nullopt, false, "C:\\Programme\\Firebird\\Firebird_2_5\\"},
        {"file missing", fb, true, std::nullopt, std::nullopt, false, ""},
        {"no value", std::nullopt, true, fb + "bin\\fbserver.exe", "2.5.2.26540", false, ""},
        {"no key", std::nullopt, false, fb + "bin\\fbserver.exe", "2.5.2.26540", false, ""},
        // Without the trailing "\" the last segment is cut off: one level higher.
        {"no backslash", "C:\\Programme\\Firebird\\Firebird_2_5", true, fb + "bin\\fbserver.exe", "2.5.2.26540", false, ""},
        {"no backslash, server above", "C:\\Programme\\Firebird\\Firebird_2_5", true,
         "C:\\Programme\\Firebird\\bin\\fbserver.exe", "2.5.2.26540", true, "C:\\Programme\\Firebird\\Firebird_2_5"},
        // A value naming no folder is not looked up relative to the current folder.
        {"empty value", "", true, "C:\\Setup\\bin\\fbserver.exe", "2.5.2.26540", false, ""},
        {"bare name", "Firebird", true, "C:\\Setup\\bin\\fbserver.exe", "2.5.2.26540", false, ""},
        {"dot segments", "C:\\Programme\\.\\Firebird\\Firebird_2_5\\", true, fb + "bin\\fbserver.exe", "2.5.2.26540",
         true, "C:\\Programme\\.\\Firebird\\Firebird_2_5\\"},
    };
    for (const auto& c : cases) {
        sim::SimMachine m;
        if (c.schluessel) {
            m.registry.setString(RootKey::LocalMachine, kInstanzen, "Andere", "x");
            if (c.wert) m.registry.setString(RootKey::LocalMachine, kInstanzen, "DefaultInstance", *c.wert);
        }
        if (c.exe) m.files.addExe(*c.exe, c.version ? std::optional(VersionResource::of("2.5.2.1", *c.version))
                                                    : std::nullopt);
        TfmInstall fm(m.platform);
        std::string ordner = "vorher";
        EXPECT_EQ(fm.checkFirebird252(ordner), c.ergebnis) << c.name;
        EXPECT_EQ(ordner, c.ordner) << c.name;
        EXPECT_EQ(m.registry.openHandles(), 0u) << c.name;
        EXPECT_TRUE(m.user.shown.empty()) << c.name;
    }
}

TEST(ServerErkennung, OnlyThe32BitViewCounts) {
    sim::SimMachine m;
    m.registry.setString(RootKey::LocalMachine, kInstanzen, "DefaultInstance", "C:\\FB\\", /*view64=*/true);
    m.files.addExe("C:\\FB\\bin\\fbserver.exe", VersionResource::of("2.5.2.26540", "2.5.2.26540"));
    TfmInstall fm(m.platform);
    std::string ordner;
    EXPECT_FALSE(fm.checkFirebird252(ordner));
    EXPECT_EQ(ordner, "");
}

TEST(ServerErkennung, PrivateServerIsItsFirebirdExeBelowTheFolderWithOrWithoutBackslash) {
    sim::SimMachine m;
    TfmInstall fm(m.platform);
    for (const char* f : {"C:\\Praxis", "C:\\Praxis\\", "C:\\Praxis mit Blanks", "C:\\Praxis mit Blanks\\"})
        EXPECT_FALSE(fm.checkFirebird4Datei(f)) << f;
    m.files.addExe("C:\\Praxis\\Firebird_4.0.2.2816\\firebird.exe", std::nullopt);
    m.files.addExe("C:\\Praxis mit Blanks\\Firebird_4.0.2.2816\\firebird.exe",
                   VersionResource::of("3.0.0.1", "3.0.0.1"));
    for (const char* f : {"C:\\Praxis", "C:\\Praxis\\", "C:\\Praxis mit Blanks", "C:\\Praxis mit Blanks\\"})
        EXPECT_TRUE(fm.checkFirebird4Datei(f)) << f << ": any version counts";
    EXPECT_FALSE(fm.checkFirebird4Datei("C:\\Praxis\\Firebird_4.0.2.2816")) << "the folder itself is no installation folder";
    m.files.remove("C:\\Praxis\\Firebird_4.0.2.2816\\firebird.exe");
    m.files.addFolder("C:\\Praxis\\Firebird_4.0.2.2816\\firebird.exe");
    EXPECT_FALSE(fm.checkFirebird4Datei("C:\\Praxis")) << "a folder of that name is no server";
}

}  // namespace
}  // namespace qm
