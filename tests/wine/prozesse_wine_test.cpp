// runProzess against real processes under Wine.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/win32/win32_platform.h"
#include "wizard/install_unit50.h"

namespace qm {
namespace {

namespace fs = std::filesystem;

class ProzesseWine : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string exe = m.kernel.moduleFileName();
        folder = exe.substr(0, exe.find_last_of('\\'));
        probe = folder + "\\qm_probe.exe";
        ASSERT_TRUE(m.files.fileExists(probe)) << probe;
        report = folder + "\\qm_probe_report.txt";
        fs::remove(fs::u8path(report));
    }
    std::vector<std::string> reportLines() {
        std::ifstream in(fs::u8path(report), std::ios::binary);
        std::vector<std::string> lines;
        for (std::string l; std::getline(in, l);) lines.push_back(l);
        return lines;
    }
    win32::Machine m;
    std::string folder, probe, report;
};

TEST_F(ProzesseWine, ExitCodesComeBackWhole) {
    TfmInstall fm(m.platform);
    for (uint32_t code : {0u, 1u, 3010u, 5100u, 0xFFFFFFFEu}) {
        EXPECT_EQ(fm.runProzess(probe + " " + report + " " + std::to_string(code), 0), code);
        EXPECT_EQ(fm.letzterProzessFehler(), "");
    }
}

TEST_F(ProzesseWine, ProgramStartsHiddenWithTheWholeLongCommandLine) {
    TfmInstall fm(m.platform);
    const std::string line = probe + " " + report + " 7 " + std::string(1500, 'x') + " ende";
    ASSERT_GT(line.size(), 512u);
    ASSERT_EQ(fm.runProzess(line, 0), 7u);
    auto lines = reportLines();
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], line);
    EXPECT_EQ(lines[1], "flags=1 show=0") << "STARTF_USESHOWWINDOW with SW_HIDE";
    EXPECT_EQ(lines[3], "cwd=" + m.files.currentDirectory()) << "the setup's own current folder";
}

TEST_F(ProzesseWine, UnquotedProgramPathWithBlanksIsFound) {
    const std::string blanks = folder + "\\Ordner mit Blanks";
    fs::create_directories(fs::u8path(blanks));
    fs::remove(fs::u8path(blanks + "\\qm_probe.exe"));
    fs::copy_file(fs::u8path(probe), fs::u8path(blanks + "\\qm_probe.exe"));
    TfmInstall fm(m.platform);
    EXPECT_EQ(fm.runProzess(blanks + "\\qm_probe.exe " + report + " 3010", 0), 3010u);
    EXPECT_TRUE(fs::exists(fs::u8path(report)));
}

TEST_F(ProzesseWine, AProgramThatCannotStartIsNoSuccessAndKeepsTheReason) {
    TfmInstall fm(m.platform);
    EXPECT_EQ(fm.runProzess(folder + "\\gibtesnicht.exe install -auto -n X", 0), TfmInstall::ProzessNichtGestartet);
    const std::string grund = fm.letzterProzessFehler();
    EXPECT_NE(grund.find("(Fehler 2)"), std::string::npos) << grund;
    EXPECT_GT(grund.size(), std::string(" (Fehler 2)").size()) << "the system's text comes first";
    EXPECT_FALSE(fm.installDienst(folder + "\\gibtesnicht", "QuillmarkFB4.0.2.2816"));
    EXPECT_FALSE(fm.removeDienst(folder + "\\gibtesnicht", "QuillmarkFB4.0.2.2816"));
}

}  // namespace
}  // namespace qm
