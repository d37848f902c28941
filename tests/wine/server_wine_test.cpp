// The service and detection methods against the project's stand-ins and the real service
// manager, registry and version resources under Wine.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/registry_layout.h"
#include "app/tregistry.h"
#include "platform/win32/win32_platform.h"
#include "wizard/ce_version_info.h"
#include "wizard/install_unit50.h"

namespace qm {
namespace {

namespace fs = std::filesystem;

std::string standins(win32::Machine& m) {
    const std::string exe = m.kernel.moduleFileName();
    // build/win64/tests/wine/qm_wine_tests.exe -> build/win64/standins
    return m.files.fullPathName(exe.substr(0, exe.find_last_of('\\')) + "\\..\\..\\standins");
}

// A port of our own: other machines on this host may run the stand-ins at the same time.
int eigenerPort(int basis) { return basis + int(GetCurrentProcessId() % 5000); }

void kopiere(const std::string& von, const std::string& nach, int port) {
    fs::remove_all(fs::u8path(nach));
    fs::create_directories(fs::u8path(nach));
    fs::copy(fs::u8path(von), fs::u8path(nach), fs::copy_options::recursive);
    std::ofstream(fs::u8path(nach + "\\firebird.conf")) << "RemoteServicePort = " << port << "\n";
}

class ServerWine : public ::testing::Test {
protected:
    void TearDown() override {
        // Nothing may stay running when the machine's wineserver ends.
        for (auto& [ordner, instanz, inBin] : aufraeumen) {
            TfmInstall fm(m.platform);
            fm.stopDienst(ordner, instanz, inBin);
            std::string tool = ordner + (inBin ? "\\bin" : "") + "\\instsvc.exe";
            fm.runProzess(tool + " remove -n " + instanz, 0);
        }
    }
    win32::Machine m;
    std::vector<std::tuple<std::string, std::string, bool>> aufraeumen;
};

TEST_F(ServerWine, ServiceToolDrivesTheServiceThroughItsLifeInAFolderWithBlanks) {
    const std::string ordner = "C:\\Quillmark Wine Tier\\Firebird_4.0.2.2816";
    const std::string instanz = "QuillmarkFB4.0.2.2816";
    kopiere(standins(m) + "\\fb4", ordner, eigenerPort(30000));
    aufraeumen.emplace_back(ordner, instanz, false);
    TfmInstall fm(m.platform);

    EXPECT_TRUE(fm.removeDienst(ordner, instanz)) << "no service yet: " << fm.letzterProzessFehler();
    EXPECT_FALSE(fm.checkDienstVorhanden(instanz));
    ASSERT_TRUE(fm.installDienst(ordner + "\\", instanz)) << fm.letzterProzessFehler();
    EXPECT_TRUE(fm.checkDienstVorhanden(instanz));
    EXPECT_FALSE(fm.checkDienstGestartet(instanz)) << "a new service is stopped";
    ASSERT_TRUE(fm.startDienst(ordner, instanz, false));
    EXPECT_TRUE(fm.checkDienstGestartet(instanz));
    ASSERT_TRUE(fm.stopDienst(ordner + "\\", instanz, false));
    EXPECT_TRUE(fm.checkDienstVorhanden(instanz));
    EXPECT_FALSE(fm.checkDienstGestartet(instanz));
    ASSERT_TRUE(fm.removeDienst(ordner, instanz));
    EXPECT_FALSE(fm.checkDienstVorhanden(instanz));

    // Without the tool every step fails instead of passing for done.
    fs::remove(fs::u8path(ordner + "\\instsvc.exe"));
    EXPECT_FALSE(fm.installDienst(ordner, instanz));
    EXPECT_FALSE(fm.startDienst(ordner, instanz, false));
    EXPECT_FALSE(fm.checkDienstVorhanden(instanz));
}

TEST_F(ServerWine, OldServerIsRecognisedByItsRegistrationAndVersionAndItsToolLiesInBin) {
    const std::string ordner = "C:\\Programme\\Firebird\\Firebird_2_5\\";
    kopiere(standins(m) + "\\old252", ordner.substr(0, ordner.size() - 1), eigenerPort(35000));
    {
        TRegistry reg(m.registry);
        ASSERT_TRUE(reg.openKey(RegistryLayout::FirebirdInstanzenSchluessel, true));
        reg.writeString("DefaultInstance", ordner);
    }
    TfmInstall fm(m.platform);
    std::string gefunden;
    EXPECT_TRUE(fm.checkFirebird252(gefunden));
    EXPECT_EQ(gefunden, ordner);

    aufraeumen.emplace_back(ordner, "DefaultInstance", true);
    ASSERT_EQ(fm.runProzess(ordner + "bin\\instsvc.exe install -auto -n DefaultInstance", 0), 0u);
    EXPECT_TRUE(fm.startDienst(ordner, "DefaultInstance", true));
    EXPECT_TRUE(fm.checkDienstGestartet("DefaultInstance"));
    EXPECT_TRUE(fm.stopDienst(ordner, "DefaultInstance", true));
    EXPECT_FALSE(fm.checkDienstGestartet("DefaultInstance"));

    // Registered without its trailing backslash, the server is looked for one level up.
    {
        TRegistry reg(m.registry);
        ASSERT_TRUE(reg.openKey(RegistryLayout::FirebirdInstanzenSchluessel, false));
        reg.writeString("DefaultInstance", ordner.substr(0, ordner.size() - 1));
    }
    EXPECT_FALSE(fm.checkFirebird252(gefunden));
    EXPECT_EQ(gefunden, "");
    TRegistry reg(m.registry);
    ASSERT_TRUE(reg.openKey(RegistryLayout::FirebirdInstanzenSchluessel, false));
    reg.deleteValue("DefaultInstance");
}

TEST_F(ServerWine, VersionReaderReadsTheApplicationStandIns) {
    TfmInstall fm(m.platform);
    const std::string st = standins(m);
    for (const char* v : {"5.18.25.0", "5.16.23.0", "5.16.22.0", "5.5.3.0", "5.18.25"}) {
        std::string version;
        fm.getDateiVersion(st + "\\app-" + v + "\\Quillmark50.exe", version);
        EXPECT_EQ(version, v);
    }
    TCEVersionInfo vi(m.versionInfo, m.kernel);
    vi.GetInfo(st + "\\app-5.16.23.0\\Quillmark50.exe");
    EXPECT_EQ(vi.CompanyName, "Quillmark Software");
    EXPECT_EQ(vi.ProductVersion, "5.16.23.0");
    EXPECT_EQ(vi.OriginalFilename, "Quillmark50.exe");
    EXPECT_EQ(vi.MajorVersion, "5");
    EXPECT_EQ(vi.MinorVersion, "16");
    EXPECT_EQ(vi.Release, "23");
    EXPECT_EQ(vi.Build, "0");
    vi.GetInfo(st + "\\app-5.18.25\\Quillmark50.exe");
    EXPECT_EQ(vi.Release, "");
    EXPECT_EQ(vi.Build, "25");

    std::string version;
    fm.getDateiVersion(st + "\\app-nover\\Quillmark50.exe", version);
    EXPECT_EQ(version, "<info not available>");
    fm.getProduktVersion(st + "\\fb4\\firebird.conf", version);
    EXPECT_EQ(version, "<info not available>") << "a text file";
    fm.getProduktVersion(st + "\\old252\\bin\\fbserver.exe", version);
    EXPECT_EQ(version, "2.5.2.26540");
}

}  // namespace
}  // namespace qm
