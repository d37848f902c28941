#include <gtest/gtest.h>

#include "platform/full_path.h"
#include "platform/types.h"
#include "tests/contract/contract.h"
#include "tests/contract/full_path_cases.h"
#include "wizard/ce_version_info.h"

namespace qm::contract {
namespace {

class SystemContract : public ::testing::TestWithParam<BackendFactory> {
protected:
    void SetUp() override { backend_ = GetParam().make(); }
    Platform& p() { return backend_->platform(); }
    std::string ownFolder() {
        std::string exe = p().kernel.moduleFileName();
        return exe.substr(0, exe.find_last_of('\\'));
    }
    std::unique_ptr<Backend> backend_;
};

TEST_P(SystemContract, FullPathExpansionFollowsTheRuleOnEveryCase) {
    IFiles& f = p().files;
    const std::string cwd = f.currentDirectory();
    ASSERT_FALSE(cwd.empty());
    for (const auto& c : fullPathCases()) {
        const std::string got = f.fullPathName(c.input);
        EXPECT_EQ(got, expandFullPath(c.input, cwd)) << c.input << " in " << cwd;
        if (!c.relative) {
            EXPECT_EQ(got, c.expected) << c.input;
        }
    }
    EXPECT_EQ(f.fullPathName(""), "");
}

TEST_P(SystemContract, FileAndFolderTestsTellTheTwoApart) {
    IFiles& f = p().files;
    const std::string exe = p().kernel.moduleFileName();
    const std::string folder = ownFolder();
    EXPECT_TRUE(f.fileExists(exe)) << exe;
    EXPECT_FALSE(f.directoryExists(exe));
    EXPECT_TRUE(f.directoryExists(folder));
    EXPECT_TRUE(f.directoryExists(folder + "\\"));
    EXPECT_FALSE(f.fileExists(folder));
    EXPECT_FALSE(f.fileExists(exe + "\\")) << "a trailing separator names a folder";
    EXPECT_TRUE(f.fileExists(folder + "\\.\\" + exe.substr(folder.size() + 1))) << "the name is expanded";
    EXPECT_FALSE(f.fileExists(folder + "\\gibtesnicht.exe"));
    EXPECT_FALSE(f.directoryExists(folder + "\\gibtesnicht"));
    EXPECT_FALSE(f.fileExists(""));
    EXPECT_FALSE(f.directoryExists(""));
    EXPECT_TRUE(f.directoryExists("C:\\"));
}

TEST_P(SystemContract, VersionReaderReadsTheOwnResourceAndNothingFromOtherFiles) {
    TCEVersionInfo vi(p().versionInfo, p().kernel);
    EXPECT_EQ(vi.CompanyName, "Tessarwind GmbH");
    EXPECT_EQ(vi.FileDescription, "Quillmark 5.0 Installation");
    EXPECT_EQ(vi.FileVersion, "5.18.25.0");
    EXPECT_EQ(vi.Internalname, "Quillmark50Setup");
    EXPECT_EQ(vi.OriginalFilename, "Quillmark50Setup.exe");
    EXPECT_EQ(vi.ProductName, "Quillmark");
    EXPECT_EQ(vi.ProductVersion, "5.18.25.0");
    EXPECT_EQ(vi.Comments, TCEVersionInfo::NichtVerfuegbar) << "a key the resource lacks";
    EXPECT_EQ(vi.MajorVersion, "5");
    EXPECT_EQ(vi.MinorVersion, "18");
    EXPECT_EQ(vi.Release, "25");
    EXPECT_EQ(vi.Build, "0");

    const std::string none = TCEVersionInfo::NichtVerfuegbar;
    for (const std::string& file : {std::string("C:\\windows\\win.ini"), ownFolder() + "\\gibtesnicht.exe", ownFolder()}) {
        vi.GetInfo(file);
        for (const std::string* field :
             {&vi.CompanyName, &vi.FileDescription, &vi.FileVersion, &vi.Internalname, &vi.LegalCopyright,
              &vi.LegalTradeMarks, &vi.OriginalFilename, &vi.ProductName, &vi.ProductVersion, &vi.Comments,
              &vi.MajorVersion, &vi.MinorVersion, &vi.Release, &vi.Build})
            EXPECT_EQ(*field, none) << file;
    }
}

TEST_P(SystemContract, VersionQueriesSkipDoubledSeparatorsAndIgnoreCase) {
    IVersionInfo& v = p().versionInfo;
    const std::string exe = p().kernel.moduleFileName();
    uint32_t size = v.getFileVersionInfoSize(exe);
    ASSERT_GT(size, 0u);
    std::vector<uint8_t> block(size, 0);
    ASSERT_TRUE(v.getFileVersionInfo(exe, block));
    std::vector<uint8_t> table;
    ASSERT_TRUE(v.verQueryValueBinary(block, "\\\\VarFileInfo\\\\Translation", table));
    ASSERT_EQ(table.size(), 4u);
    EXPECT_EQ(table[0] | (table[1] << 8), 0x0407);
    EXPECT_EQ(table[2] | (table[3] << 8), 1252);
    std::string text;
    ASSERT_TRUE(v.verQueryValueText(block, "\\\\StringFileInfo\\\\040704e4\\\\ProductVersion", text));
    EXPECT_EQ(text, "5.18.25.0");
    ASSERT_TRUE(v.verQueryValueText(block, "\\StringFileInfo\\040704E4\\productversion", text));
    EXPECT_EQ(text, "5.18.25.0");
    EXPECT_FALSE(v.verQueryValueText(block, "\\StringFileInfo\\040904b0\\ProductVersion", text));
    EXPECT_FALSE(v.verQueryValueText(block, "\\StringFileInfo\\040704e4\\Comments", text));
    EXPECT_EQ(v.getFileVersionInfoSize("C:\\windows\\win.ini"), 0u);
}

TEST_P(SystemContract, ProcessesReturnTheirFullExitCodeAndMissingProgramsTheirReason) {
    IProcesses& pr = p().processes;
    for (uint32_t code : {0u, 1u, 3010u, 5100u}) {
        ProcessInfo pi;
        ASSERT_EQ(pr.createProcess("cmd.exe /c exit " + std::to_string(code),
                                   createflags::NewConsole | createflags::NormalPriority, 0, pi),
                  0u);
        ASSERT_NE(pi.process, 0u);
        ASSERT_NE(pi.thread, 0u);
        EXPECT_EQ(pr.waitForSingleObject(pi.process, Infinite), WaitObject0);
        uint32_t exitCode = 12345;
        ASSERT_TRUE(pr.getExitCodeProcess(pi.process, exitCode));
        EXPECT_EQ(exitCode, code);
        pr.closeHandle(pi.process);
        pr.closeHandle(pi.thread);
    }
    ProcessInfo pi;
    EXPECT_EQ(pr.createProcess(ownFolder() + "\\gibtesnicht.exe install", 0x30, 0, pi), winerr::FileNotFound);
    EXPECT_EQ(pr.createProcess(ownFolder() + "\\gibtesnicht\\instsvc.exe start", 0x30, 0, pi), winerr::FileNotFound)
        << "a missing folder";
    EXPECT_NE(pr.createProcess("C:\\windows\\win.ini", 0x30, 0, pi), 0u) << "no program";
}

TEST_P(SystemContract, ServiceManagerKnowsNoServiceOfAnUnknownName) {
    IServices& s = p().services;
    ScHandle m = s.openSCManager(scaccess::ManagerAllAccess);
    ASSERT_NE(m, 0u) << "the tests run as administrator";
    EXPECT_EQ(s.openService(m, "FirebirdServerGibtEsNicht", scaccess::ServiceAllAccess), 0u);
    uint32_t state = 0;
    EXPECT_FALSE(s.queryServiceStatus(0, state));
    s.closeServiceHandle(0);
    s.closeServiceHandle(m);
}

INSTANTIATE_TEST_SUITE_P(Backends, SystemContract, ::testing::ValuesIn(backends()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace qm::contract
