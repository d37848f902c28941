#include <gtest/gtest.h>

#include <chrono>

#include "app/delphi_date.h"
#include "app/get_windows_version.h"
#include "app/tregistry.h"
#include "platform/types.h"
#include "tests/contract/contract.h"

namespace qm::contract {
namespace {

class PlatformContract : public ::testing::TestWithParam<BackendFactory> {
protected:
    void SetUp() override { backend_ = GetParam().make(); }
    Platform& p() { return backend_->platform(); }
    std::unique_ptr<Backend> backend_;
};

std::string uniqueName(const char* stem) {
    return std::string(stem) + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
}

std::string asText(const std::vector<uint8_t>& d) { return std::string(d.begin(), d.end()); }

TEST_P(PlatformContract, RegistryWritesOfThe32BitProgramLandInWow6432Node) {
    const std::string key = "Software\\" + uniqueName("QuillmarkVertrag");
    IRegistry& r = p().registry;
    HKey h = 0;
    bool created = false;
    ASSERT_EQ(r.createKey(RootKey::LocalMachine, key, regaccess::KeyAllAccess, h, &created), 0u);
    EXPECT_TRUE(created);
    const std::string text = "Prüfung äöüß";
    ASSERT_EQ(r.setValue(h, "Text", regtype::Sz, {text.begin(), text.end()}), 0u);
    ASSERT_EQ(r.setValue(h, "Zahl", regtype::Dword, {4, 3, 0, 0}), 0u);

    uint32_t type = 0;
    std::vector<uint8_t> data;
    ASSERT_EQ(r.queryValue(h, "Text", type, data), 0u);
    EXPECT_EQ(type, regtype::Sz);
    EXPECT_EQ(asText(data), text);
    ASSERT_EQ(r.queryValue(h, "Zahl", type, data), 0u);
    EXPECT_EQ(type, regtype::Dword);
    EXPECT_EQ(data, (std::vector<uint8_t>{4, 3, 0, 0}));
    EXPECT_EQ(r.queryValue(h, "Fehlt", type, data), winerr::FileNotFound);

    std::vector<std::string> names;
    ASSERT_EQ(r.enumValueNames(h, names), 0u);
    std::sort(names.begin(), names.end());  // the order differs between Windows and Wine
    EXPECT_EQ(names, (std::vector<std::string>{"Text", "Zahl"}));
    EXPECT_EQ(r.closeKey(h), 0u);

    // The 64-bit side sees the key below Wow6432Node, not at its own Software key.
    HKey h64 = 0;
    const std::string leaf = key.substr(std::string("Software\\").size());
    ASSERT_EQ(r.openKey(RootKey::LocalMachine, "Software\\Wow6432Node\\" + leaf,
                        regaccess::KeyRead | regaccess::Wow64_64Key, h64),
              0u);
    ASSERT_EQ(r.queryValue(h64, "Text", type, data), 0u);
    EXPECT_EQ(asText(data), text);
    r.closeKey(h64);
    EXPECT_EQ(r.openKey(RootKey::LocalMachine, key, regaccess::KeyRead | regaccess::Wow64_64Key, h64),
              winerr::FileNotFound);

    ASSERT_EQ(r.openKey(RootKey::LocalMachine, key, regaccess::KeyAllAccess, h), 0u);
    EXPECT_EQ(r.deleteValue(h, "Text"), 0u);
    EXPECT_EQ(r.deleteValue(h, "Text"), winerr::FileNotFound);
    EXPECT_EQ(r.queryValue(h, "Text", type, data), winerr::FileNotFound);
    r.deleteValue(h, "Zahl");
    r.closeKey(h);
    EXPECT_EQ(r.openKey(RootKey::LocalMachine, key + "\\Fehlt", regaccess::KeyRead, h), winerr::FileNotFound);
}

TEST_P(PlatformContract, RegistryObjectReportsMissingAndWronglyTypedValues) {
    const std::string key = "Software\\" + uniqueName("QuillmarkVertrag");
    {
        TRegistry reg(p().registry);
        ASSERT_TRUE(reg.openKey(key, true));
        reg.writeString("Installationsart", "zwei");
        reg.writeInteger("Zahl", -7);
    }
    TRegistry reg(p().registry);
    EXPECT_FALSE(reg.openKey(key + "\\Fehlt", false));
    ASSERT_TRUE(reg.openKey(key, false));
    EXPECT_TRUE(reg.valueExists("Zahl"));
    EXPECT_FALSE(reg.valueExists("Fehlt"));
    EXPECT_EQ(reg.readInteger("Zahl"), -7);
    EXPECT_EQ(reg.readString("Fehlt"), "");
    try {
        reg.readInteger("Fehlt");
        ADD_FAILURE() << "missing integer must raise";
    } catch (const ERegistryException& e) {
        EXPECT_STREQ(e.what(), "Fehler beim Holen der Daten für 'Fehlt'");
    }
    try {
        reg.readInteger("Installationsart");
        ADD_FAILURE() << "a string read as integer must raise";
    } catch (const ERegistryException& e) {
        EXPECT_STREQ(e.what(), "Ungültiger Datentyp für 'Installationsart'");
    }
    try {
        reg.readString("Zahl");
        ADD_FAILURE() << "an integer read as string must raise";
    } catch (const ERegistryException& e) {
        EXPECT_STREQ(e.what(), "Ungültiger Datentyp für 'Zahl'");
    }
    reg.deleteValue("Installationsart");
    reg.deleteValue("Zahl");
}

TEST_P(PlatformContract, ProgramFilesDirOfThe32BitViewIsTheX86Folder) {
    TRegistry reg(p().registry);
    ASSERT_TRUE(reg.openKeyReadOnly("Software\\Microsoft\\Windows\\CurrentVersion"));
    EXPECT_EQ(reg.readString("ProgramFilesDir"), "C:\\Program Files (x86)");
}

TEST_P(PlatformContract, SemaphoreReportsAnExistingName) {
    IKernel& k = p().kernel;
    const std::string name = uniqueName("Quillmark Vertrag ");
    SemaphoreResult first = k.createSemaphore(name, 0, 1);
    ASSERT_NE(first.handle, 0u);
    EXPECT_EQ(first.lastError, 0u);
    SemaphoreResult second = k.createSemaphore(name, 0, 1);
    ASSERT_NE(second.handle, 0u);
    EXPECT_EQ(second.lastError, winerr::AlreadyExists);
    k.closeHandle(second.handle);
    k.closeHandle(first.handle);
    SemaphoreResult again = k.createSemaphore(name, 0, 1);
    EXPECT_EQ(again.lastError, 0u) << "the name is gone once every handle is closed";
    k.closeHandle(again.handle);
}

TEST_P(PlatformContract, Kernel32ExportsDecideTheWindowsVersion) {
    IKernel& k = p().kernel;
    Handle kernel32 = k.getModuleHandle("kernel32");
    ASSERT_NE(kernel32, 0u);
    EXPECT_TRUE(k.hasExport(kernel32, "GetLocaleInfoEx"));
    EXPECT_TRUE(k.hasExport(kernel32, "GetDiskFreeSpaceExA"));
    EXPECT_FALSE(k.hasExport(kernel32, "GetDiskFreeSpaceEx")) << "only the A and W forms exist";
    EXPECT_EQ(k.getModuleHandle("gibtesnicht"), 0u);
    EXPECT_EQ(getWindowsVersion(k), WindowsVersion::WinVista);
    OsVersionInfo v;
    ASSERT_TRUE(k.getVersionEx(v));
    EXPECT_EQ(v.platformId, 2u);
    EXPECT_GE(v.major, 6u);
}

TEST_P(PlatformContract, GermanLocaleAndProcessOnlyOverride) {
    ILocale& l = p().locale;
    FormatSettings fs = l.formatSettings();
    EXPECT_EQ(dateOrderOf(fs.shortDateFormat), DateOrder::DMY) << fs.shortDateFormat;
    EXPECT_EQ(fs.dateSeparator, '.');
    EXPECT_EQ(fs.timeSeparator, ':');
    EXPECT_TRUE(tryStrToDateTime("25.01.2022 10:04:10", fs, l.currentYear()).has_value());
    l.setShortDateFormat("yyyy-MM-dd");
    l.setDateSeparator('-');
    EXPECT_EQ(l.formatSettings().shortDateFormat, "yyyy-MM-dd");
    EXPECT_EQ(l.formatSettings().dateSeparator, '-');
    EXPECT_GE(l.currentYear(), 2024);
}

INSTANTIATE_TEST_SUITE_P(Backends, PlatformContract, ::testing::ValuesIn(backends()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace qm::contract
