// Contract of the file, resource, shell, security and library calls: the same
// expectations for the simulated machine and for Windows (under Wine).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>

#include "install/dateien.h"
#include "platform/types.h"
#include "tests/contract/contract.h"

namespace qm::contract {
namespace {

class InstallContract : public ::testing::TestWithParam<BackendFactory> {
protected:
    void SetUp() override {
        backend_ = GetParam().make();
        dir_ = "C:\\QuillmarkVertrag" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
        ASSERT_TRUE(p().files.createDirectory(dir_));
    }
    Platform& p() { return backend_->platform(); }
    IFiles& f() { return p().files; }
    FileHandle create(const std::string& path, uint32_t attributes = fileattr::Normal) {
        return f().createFile(path, fileaccess::GenericRead | fileaccess::GenericWrite, 0, filecreate::CreateAlways,
                              attributes);
    }
    void put(const std::string& path, const std::string& content) {
        FileHandle h = create(path);
        ASSERT_NE(h, 0u) << path;
        uint32_t written = 0;
        ASSERT_TRUE(f().writeFile(h, content.data(), uint32_t(content.size()), written));
        ASSERT_EQ(written, content.size());
        f().closeFile(h);
    }
    FindData find(const std::string& path) {
        FindData d;
        Handle h = f().findFirstFile(path, d);
        EXPECT_NE(h, 0u) << path;
        if (h) f().findClose(h);
        return d;
    }
    std::unique_ptr<Backend> backend_;
    std::string dir_;
};

TEST_P(InstallContract, FoldersAreMadeOneLevelAtATime) {
    EXPECT_FALSE(f().createDirectory(dir_));
    EXPECT_EQ(f().lastError(), winerr::AlreadyExists);
    EXPECT_FALSE(f().createDirectory(dir_ + "\\a\\b"));
    EXPECT_EQ(f().lastError(), 3u) << "ERROR_PATH_NOT_FOUND";
    EXPECT_TRUE(forceDirectories(f(), dir_ + "\\a\\b\\c"));
    EXPECT_TRUE(f().directoryExists(dir_ + "\\A\\B\\C")) << "names ignore case";
    EXPECT_FALSE(f().fileExists(dir_ + "\\a"));
}

TEST_P(InstallContract, CreateAlwaysReplacesAFileAndTheLastWriteTimeSticks) {
    const std::string file = dir_ + "\\Datei.txt";
    put(file, "ein langer alter Inhalt");
    put(file, "neu");
    FindData d = find(file);
    EXPECT_EQ(d.name, "Datei.txt");
    EXPECT_EQ(d.size, 3u);
    EXPECT_TRUE(f().fileExists(dir_ + "\\DATEI.TXT"));

    FileHandle h = f().createFile(file, fileaccess::GenericWrite, 0, filecreate::OpenExisting, fileattr::Normal);
    ASSERT_NE(h, 0u);
    const FileTime t = 133679135040000000ULL;  // 12.08.2024 05:18:24
    EXPECT_TRUE(f().setFileTime(h, nullptr, nullptr, &t));
    EXPECT_TRUE(f().closeFile(h));
    EXPECT_EQ(find(file).lastWriteTime, t);
    EXPECT_EQ(find(file).size, 3u) << "opening for the date keeps the content";
}

TEST_P(InstallContract, AnOpenFileWithoutSharingCannotBeOpenedOrDeletedAgain) {
    const std::string file = dir_ + "\\offen.dat";
    FileHandle h = create(file);
    ASSERT_NE(h, 0u);
    EXPECT_EQ(create(file), 0u);
    EXPECT_EQ(f().lastError(), 32u) << "ERROR_SHARING_VIOLATION";
    EXPECT_FALSE(f().deleteFile(file));
    EXPECT_EQ(f().lastError(), 32u);
    f().closeFile(h);
    EXPECT_TRUE(f().deleteFile(file));
    EXPECT_FALSE(f().fileExists(file));
    EXPECT_EQ(f().createFile(file, fileaccess::GenericWrite, 0, filecreate::OpenExisting, fileattr::Normal), 0u);
    EXPECT_EQ(f().lastError(), winerr::FileNotFound);
    EXPECT_EQ(create(dir_ + "\\fehlt\\x.dat"), 0u);
    EXPECT_EQ(f().lastError(), 3u);
}

TEST_P(InstallContract, ASearchDeliversDotEntriesAndEveryName) {
    put(dir_ + "\\b.txt", "b");
    put(dir_ + "\\.versteckt", "v");
    ASSERT_TRUE(f().createDirectory(dir_ + "\\Unterordner"));
    std::vector<std::string> names;
    bool sawFolder = false;
    FindData d;
    Handle h = f().findFirstFile(dir_ + "\\*.*", d);
    ASSERT_NE(h, 0u);
    do {
        names.push_back(d.name);
        if (d.name == "Unterordner") sawFolder = d.directory();
    } while (f().findNextFile(h, d));
    EXPECT_EQ(f().lastError(), 18u) << "ERROR_NO_MORE_FILES";
    f().findClose(h);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".", "..", ".versteckt", "Unterordner", "b.txt"}));
    EXPECT_TRUE(sawFolder);
    EXPECT_EQ(f().findFirstFile(dir_ + "\\fehlt\\*.*", d), 0u);
    EXPECT_EQ(f().lastError(), 3u);
}

TEST_P(InstallContract, ReadOnlyFilesAreNotReplaced) {
    const std::string file = dir_ + "\\schreibgeschuetzt.txt";
    FileHandle h = create(file, fileattr::ReadOnly);
    ASSERT_NE(h, 0u);
    f().closeFile(h);
    ASSERT_NE(f().getFileAttributes(file) & fileattr::ReadOnly, 0u);
    FileHandle again = create(file);
    if (again && GetParam().name != "Sim") {
        f().closeFile(again);
        GTEST_SKIP() << "Wine run by root ignores the read-only bit when replacing";
    }
    EXPECT_EQ(again, 0u);
    EXPECT_EQ(f().lastError(), winerr::AccessDenied);
}

TEST_P(InstallContract, LocalTimeConvertsWithAWholeTimeZoneOffset) {
    const FileTime local = 133679135040000000ULL;
    FileTime utc = 0;
    ASSERT_TRUE(f().localFileTimeToFileTime(local, utc));
    const int64_t diff = int64_t(local) - int64_t(utc);
    EXPECT_EQ(diff % (15LL * 60 * 10000000), 0);
    EXPECT_LE(std::llabs(diff), 14LL * 3600 * 10000000);
}

TEST_P(InstallContract, FullPathNamesDropDotSegments) {
    EXPECT_EQ(f().fullPathName("C:\\Praxis\\.\\Firebird_4.0.2.2816\\firebird.exe"),
              "C:\\Praxis\\Firebird_4.0.2.2816\\firebird.exe");
    EXPECT_EQ(f().fullPathName("C:\\Praxis\\x\\..\\Daten\\"), "C:\\Praxis\\Daten\\");
}

TEST_P(InstallContract, ResourcesAreFoundByTypeAndNameInAnyCase) {
    auto r = p().resources.find("QMVERTRAG", "VERTRAG", lang::German);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(r->data), r->size), "Quillmark Vertrag\r\n");
    r = p().resources.find("QmVertrag", "vertrag", lang::German);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->size, 19u);
    EXPECT_FALSE(p().resources.find("QMVERTRAG", "VERTRAG", 0x0409)) << "English is not German";
    EXPECT_FALSE(p().resources.find("QMVERTRAG", "FEHLT", lang::German));
}

TEST_P(InstallContract, ShellLinksAreSavedIntoExistingFoldersOnly) {
    std::string programs, desktop;
    ASSERT_TRUE(p().shell.specialFolderPath(csidl::CommonPrograms, programs));
    ASSERT_TRUE(p().shell.specialFolderPath(csidl::CommonDesktopDirectory, desktop));
    EXPECT_TRUE(f().directoryExists(programs)) << programs;
    EXPECT_TRUE(f().directoryExists(desktop)) << desktop;
    EXPECT_NE(programs.find("Start Menu\\Programs"), std::string::npos) << programs;

    put(dir_ + "\\Ziel.exe", "MZ");
    ShellLinkResult r = p().shell.saveShellLink(dir_ + "\\Ziel.exe", dir_, dir_ + "\\Ziel.lnk");
    EXPECT_TRUE(r.ok()) << r.failedCall << " " << std::hex << r.hr;
    EXPECT_TRUE(f().fileExists(dir_ + "\\Ziel.lnk"));
    r = p().shell.saveShellLink(dir_ + "\\Ziel.exe", dir_, dir_ + "\\fehlt\\Ziel.lnk");
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.failedCall, "Save");
    p().shell.changeNotify(shcne::MkDir, shcne::PathA, dir_);
}

TEST_P(InstallContract, AccessListsForEveryoneAndTheAdministratorsApplyToFolders) {
    ISecurity& s = p().security;
    SidHandle everyone = 0, admins = 0;
    ASSERT_TRUE(s.allocateAndInitializeSid(acl::WorldAuthority, {acl::WorldRid}, everyone));
    ASSERT_TRUE(s.allocateAndInitializeSid(acl::NtAuthority, {acl::BuiltinDomainRid, acl::AliasRidAdmins}, admins));
    EXPECT_EQ(s.sidText(everyone), "S-1-1-0");
    EXPECT_EQ(s.sidText(admins), "S-1-5-32-544");
    AclHandle list = 0;
    ASSERT_EQ(s.setEntriesInAcl({{acl::GenericAll, acl::SetAccess, acl::SubContainersAndObjectsInherit,
                                  acl::TrusteeIsSid, acl::TrusteeIsWellKnownGroup, everyone, false},
                                 {acl::GenericAll, acl::SetAccess, acl::SubContainersAndObjectsInherit,
                                  acl::TrusteeIsSid, acl::TrusteeIsGroup, admins, false}},
                                0, list),
              0u);
    EXPECT_NE(list, 0u);
    put(dir_ + "\\Dokument.doc", "x");
    EXPECT_EQ(s.setNamedSecurityInfo(dir_, acl::SeFileObject, acl::DaclSecurityInformation, 0, everyone, list, 0), 0u);
    EXPECT_EQ(s.setNamedSecurityInfo(dir_ + "\\Dokument.doc", acl::SeFileObject, acl::DaclSecurityInformation, 0,
                                     everyone, list, 0),
              0u);
    EXPECT_EQ(s.setNamedSecurityInfo(dir_ + "\\fehlt", acl::SeFileObject, acl::DaclSecurityInformation, 0, everyone,
                                     list, 0),
              winerr::FileNotFound);
    s.localFree(list);
    s.freeSid(admins);
    s.freeSid(everyone);
}

TEST_P(InstallContract, LibrariesLoadByNameThroughTheNormalSearch) {
    IKernel& k = p().kernel;
    Handle h = k.loadLibrary("kernel32.dll");
    EXPECT_NE(h, 0u);
    k.freeLibrary(h);
    EXPECT_EQ(k.loadLibrary("quillmark-gibt-es-nicht.dll"), 0u);
    EXPECT_EQ(k.lastError(), 126u) << "ERROR_MOD_NOT_FOUND";
}

TEST_P(InstallContract, AnsiTextIsCodePage1252) {
    EXPECT_EQ(p().locale.ansiFromUtf8("Grüße aus Köln"), "Gr\xFC\xDF" "e aus K\xF6ln");
    EXPECT_EQ(p().locale.ansiFromUtf8("€ – ok"), "\x80 \x96 ok");
}

INSTANTIATE_TEST_SUITE_P(Backends, InstallContract, ::testing::ValuesIn(backends()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace qm::contract
