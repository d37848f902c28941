#include <gtest/gtest.h>

#include "tests/host/sim_fixture.h"
#include "wizard/ce_version_info.h"
#include "wizard/install_unit50.h"

namespace qm {
namespace {

using sim::VersionResource;

class VersionInfo : public test::SimTest {
protected:
    TCEVersionInfo read(const std::string& file) {
        TCEVersionInfo vi(m.versionInfo, m.kernel);
        vi.GetInfo(file);
        return vi;
    }
    static std::vector<std::string> allFields(const TCEVersionInfo& v) {
        return {v.CompanyName,      v.FileDescription, v.FileVersion,  v.Internalname, v.LegalCopyright,
                v.LegalTradeMarks,  v.OriginalFilename, v.ProductName, v.ProductVersion, v.Comments,
                v.MajorVersion,     v.MinorVersion,    v.Release,      v.Build};
    }
    static std::vector<std::string> none() { return std::vector<std::string>(14, "<info not available>"); }
};

TEST_F(VersionInfo, FileVersionIsSplitAtPeriodsElseCommasKeepingBlanks) {
    struct Case {
        const char* fileVersion;
        const char *major, *minor, *release, *build;
    };
    const char* na = "<info not available>";
    const Case cases[] = {
        {"5.18.25.0", "5", "18", "25", "0"},
        {"5.18.25.100", "5", "18", "25", "100"},
        {"5.18.25", "5", "18", "", "25"},
        {"5.18", "5", "", "", "18"},
        {"1.2.3.4.5", "1", "2", "3", "4.5"},
        {"4, 0, 2, 2816", "4", " 0", " 2", " 2816"},
        {"5,18", "5", "", "", "18"},
        {"5.18,25", "5", "", "", "18,25"},
        {"5", na, na, na, na},
        {"", na, na, na, na},
    };
    for (const auto& c : cases) {
        m.files.addExe("C:\\Q\\app.exe", VersionResource::of(c.fileVersion, "x"));
        TCEVersionInfo v = read("C:\\Q\\app.exe");
        EXPECT_EQ(v.FileVersion, c.fileVersion);
        EXPECT_EQ(v.MajorVersion, c.major) << c.fileVersion;
        EXPECT_EQ(v.MinorVersion, c.minor) << c.fileVersion;
        EXPECT_EQ(v.Release, c.release) << c.fileVersion;
        EXPECT_EQ(v.Build, c.build) << c.fileVersion;
    }
}

TEST_F(VersionInfo, KeysAreQueriedInTableOrderBelowTheFirstTranslationInLowerCaseHex) {
    VersionResource r = VersionResource::of("5.18.25.0", "5.18.25.0", 0x0407, 0x04B0);
    r.translations.push_back({0x0409, 0x04E4});
    r.strings["040704B0"]["Comments"] = "Bemerkung";
    r.strings["040704B0"]["LegalTradeMarks"] = "TM";
    r.strings["040904E4"] = {{"ProductVersion", "falsche Tabelle"}};
    m.files.addExe("C:\\Q\\app.exe", r);
    m.versionInfo.queried.clear();
    TCEVersionInfo v = read("C:\\Q\\app.exe");
    const std::vector<std::string> own = m.versionInfo.queried;  // constructor's and GetInfo's queries
    ASSERT_EQ(own.size(), 22u);
    const std::vector<std::string> expected = {
        "\\\\VarFileInfo\\\\Translation",
        "\\\\StringFileInfo\\\\040704b0\\\\CompanyName",
        "\\\\StringFileInfo\\\\040704b0\\\\FileDescription",
        "\\\\StringFileInfo\\\\040704b0\\\\FileVersion",
        "\\\\StringFileInfo\\\\040704b0\\\\InternalName",
        "\\\\StringFileInfo\\\\040704b0\\\\LegalCopyright",
        "\\\\StringFileInfo\\\\040704b0\\\\LegalTradeMarks",
        "\\\\StringFileInfo\\\\040704b0\\\\OriginalFilename",
        "\\\\StringFileInfo\\\\040704b0\\\\ProductName",
        "\\\\StringFileInfo\\\\040704b0\\\\ProductVersion",
        "\\\\StringFileInfo\\\\040704b0\\\\Comments",
    };
    EXPECT_EQ(std::vector<std::string>(own.begin() + 11, own.end()), expected);
    EXPECT_EQ(v.ProductVersion, "5.18.25.0");
    EXPECT_EQ(v.Comments, "Bemerkung");
    EXPECT_EQ(v.LegalTradeMarks, "TM");
    EXPECT_EQ(v.Internalname, "Quillmark");

    // Small numbers still fill four digits each.
    m.files.addExe("C:\\Q\\neutral.exe", VersionResource::of("1.0", "1.0", 0x0009, 0x0000));
    m.versionInfo.queried.clear();
    EXPECT_EQ(read("C:\\Q\\neutral.exe").ProductVersion, "1.0");
    EXPECT_EQ(m.versionInfo.queried.back(), "\\\\StringFileInfo\\\\00090000\\\\Comments");
}

TEST_F(VersionInfo, FilesWithoutUsableVersionInformationShowTheMarkerEverywhere) {
    m.files.addFile("C:\\Q\\liesmich.txt", "Hallo");
    VersionResource ohneTabelle = VersionResource::of("5.18.25.0", "5.18.25.0");
    ohneTabelle.translations.clear();
    m.files.addExe("C:\\Q\\ohne_tabelle.exe", ohneTabelle);
    m.files.addExe("C:\\Q\\ohne_resource.exe", std::nullopt);
    for (const char* f : {"C:\\Q\\liesmich.txt", "C:\\Q\\ohne_tabelle.exe", "C:\\Q\\ohne_resource.exe",
                          "C:\\Q\\fehlt.exe", "C:\\Q", ""})
        EXPECT_EQ(allFields(read(f)), none()) << f;
}

TEST_F(VersionInfo, AMissingKeyShowsTheMarkerAndTheOthersTheirText) {
    VersionResource r = VersionResource::of("5.16.23.0", "5.16");
    r.strings.begin()->second.erase("FileVersion");
    m.files.addExe("C:\\Q\\app.exe", r);
    TCEVersionInfo v = read("C:\\Q\\app.exe");
    EXPECT_EQ(v.ProductVersion, "5.16");
    EXPECT_EQ(v.FileVersion, "<info not available>");
    EXPECT_EQ(v.MajorVersion, "<info not available>");
    EXPECT_EQ(v.Build, "<info not available>");
}

TEST_F(VersionInfo, ANewReaderShowsTheRunningProgramsOwnVersion) {
    TCEVersionInfo v(m.versionInfo, m.kernel);
    EXPECT_EQ(v.FileVersion, "5.18.25.0");
    EXPECT_EQ(v.FileDescription, "Quillmark 5.0 Installation");
    EXPECT_EQ(v.Release, "25");
}

TEST_F(VersionInfo, WindowHelpersHandBackProductAndFileVersion) {
    m.files.addExe("C:\\Q\\app.exe", VersionResource::of("5.18.25.0", "5.18"));
    m.files.addFile("C:\\Q\\liesmich.txt");
    TfmInstall fm(m.platform);
    std::string v = "alt";
    fm.getDateiVersion("C:\\Q\\app.exe", v);
    EXPECT_EQ(v, "5.18.25.0");
    fm.getProduktVersion("C:\\Q\\app.exe", v);
    EXPECT_EQ(v, "5.18");
    fm.getProduktVersion("C:\\Q\\liesmich.txt", v);
    EXPECT_EQ(v, "<info not available>");
    fm.getDateiVersion("C:\\Q\\fehlt.exe", v);
    EXPECT_EQ(v, "<info not available>");
}

}  // namespace
}  // namespace qm

namespace qm {
namespace {

TEST(VersionText, TextBeforeAndAfterTheFirstSeparator) {
    EXPECT_EQ(getTextVor('.', "5.18.25.0"), "5");
    EXPECT_EQ(getTextNach('.', "5.18.25.0"), "18.25.0");
    EXPECT_EQ(getTextVor('.', "5"), "");
    EXPECT_EQ(getTextNach('.', "5"), "5");
    EXPECT_EQ(getTextVor('.', ".5"), "");
    EXPECT_EQ(getTextNach('.', "5."), "");
    EXPECT_EQ(getTextVor('.', ""), "");
    EXPECT_EQ(getTextNach('.', ""), "");
}

TEST(VersionText, AtLeast5_16_23ComparesTheFirstThreePartsAsNumbers) {
    const std::pair<const char*, bool> cases[] = {
        {"5.16.23.0", true},  {"5.16.22.0", false}, {"5.16.24.0", true},  {"5.17.0.0", true},
        {"6.0.0.0", true},    {"5.15.99.0", false}, {"4.99.99.0", false}, {"5.5.3.0", false},
        {"5.18.25.0", true},  {"05.016.023.0", true}, {"5.16.23", false},  // the release has no period after it
        {"5.18.25", false},   {"5.16", false},      {"", false},          {"<info not available>", false},
        {"5, 18, 25, 0", false}, {"5.x.25.0", false}, {"5.16.23a.0", false}, {"99999999999.0.0.0", false},
        {"5. 16. 23.0", true},  // blanks before a number are allowed, as by StrToInt
    };
    for (auto [v, expected] : cases) EXPECT_EQ(dateiVersionMindestens(v, 5, 16, 23), expected) << v;
}

}  // namespace
}  // namespace qm
