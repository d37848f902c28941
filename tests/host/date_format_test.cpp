#include <gtest/gtest.h>

#include "app/delphi_date.h"
#include "app/versionen.h"
#include "platform/types.h"
#include "tests/host/sim_fixture.h"

namespace qm {
namespace {

struct ParseCase {
    const char* text;
    FormatSettings fs;
    std::optional<DateTime> expected;
};

TEST(DateParsing, OrderAndSeparatorComeFromTheFormat) {
    const FormatSettings de{"dd.MM.yyyy", '.', ':'};
    const FormatSettings wineDe{"d.M.yyyy", '.', ':'};
    const FormatSettings us{"M/d/yyyy", '/', ':'};
    const FormatSettings usDot{"MM.dd.yyyy", '.', ':'};
    const FormatSettings iso{"yyyy-MM-dd", '-', ':'};
    const std::vector<ParseCase> cases = {
        {"12.08.2024 5:18:25", de, DateTime{2024, 8, 12, 5, 18, 25}},
        {"21.02.2003 03:42:22", wineDe, DateTime{2003, 2, 21, 3, 42, 22}},
        {"25.01.2022 10:04:10", de, DateTime{2022, 1, 25, 10, 4, 10}},
        {"12.08.2024 5:18:25", us, std::nullopt},
        {"12.08.2024 5:18:25", usDot, DateTime{2024, 12, 8, 5, 18, 25}},
        {"25.01.2022 10:04:10", usDot, std::nullopt},  // no month 25
        {"2024-08-12 5:18", iso, DateTime{2024, 8, 12, 5, 18, 0}},
        {"29.02.2023", de, std::nullopt},
        {"29.02.2024", de, DateTime{2024, 2, 29}},
        {"12.08.24", de, DateTime{2024, 8, 12}},
        {"12.08.2024 25:00:00", de, std::nullopt},
        {"12.08.2024 5:18:25 x", de, std::nullopt},
        {"12.08", de, DateTime{2026, 8, 12}},
        {"12.08.", de, std::nullopt},
        {"", de, std::nullopt},
    };
    for (const auto& c : cases) {
        auto r = tryStrToDateTime(c.text, c.fs, 2026);
        EXPECT_EQ(r, c.expected) << "'" << c.text << "' with " << c.fs.shortDateFormat;
    }
}

TEST(DateParsing, InvalidTextRaisesAConvertError) {
    EXPECT_THROW(strToDateTime("31.13.2024", {"dd.MM.yyyy", '.', ':'}, 2026), EConvertError);
}

class DateFormatCheck : public test::SimTest {};

std::string expectedMessage(const std::string& format, bool vista) {
    std::string s =
        "Quillmark funktioniert nur mit deutschem Datumsformat.\r\n\r\n"
        "Es wurde folgendes Datumsformat erkannt: " + format + "\r\n\r\n"
        "Falls Sie eine deutsche Windows-Version verwenden,\r\n"
        "überprüfen Sie bitte in der Systemsteuerung die\r\n"
        "Regions- und Sprachoptionen oder wenden Sie sich\r\n"
        "an den Hersteller.\r\n\r\n";
    if (vista)
        s += "Unter einem deutschen Windows 7 hilft es in manchen Fällen,\r\n"
             "wenn Sie in der Systemsteuerung unter 'Region und Sprache'\r\n"
             "bei 'Formate' auf 'Weitere Einstellungen' und anschließend\r\n"
             "bei 'Zahlen' auf 'Zurücksetzen' klicken.\r\n\r\n";
    s += "Englische Windows-Versionen wurden nicht getestet\r\n"
         "und werden deshalb nicht unterstützt.\r\n\r\n"
         "Das Programm wird beendet.";
    return s;
}

TEST_F(DateFormatCheck, GermanFormatPassesSilently) {
    m.locale.settings = {"d.M.yyyy", '.', ':'};
    EXPECT_TRUE(Versionen::initialisiere(m.locale, m.user, m.ui, m.kernel));
    EXPECT_TRUE(m.user.shown.empty());
    EXPECT_FALSE(m.ui.terminated());
    EXPECT_EQ(Versionen::BuildZeitpunkt, (DateTime{2024, 8, 12, 5, 18, 25}));
    EXPECT_EQ(Versionen::ZeitstempelMsvcr71, (DateTime{2003, 2, 21, 3, 42, 22}));
    EXPECT_EQ(Versionen::ZeitstempelTeamViewer, (DateTime{2022, 1, 25, 10, 4, 10}));
}

struct Refused {
    FormatSettings fs;
    bool vista;
};

TEST_F(DateFormatCheck, OtherFormatsAreToldForcedToGermanAndEndTheProgram) {
    const std::vector<Refused> cases = {
        {{"M/d/yyyy", '/', ':'}, true},     // month first, slash
        {{"MM.dd.yyyy", '.', ':'}, true},   // month first, dot: fails at 25.01.2022
        {{"dd/MM/yyyy", '/', ':'}, false},  // day first, slash; an XP machine
    };
    for (const auto& c : cases) {
        sim::SimMachine mm;
        mm.locale.settings = c.fs;
        if (!c.vista) mm.kernel.exports = {"GetNativeSystemInfo"};
        mm.user.answer(mr::Ok);
        EXPECT_FALSE(Versionen::initialisiere(mm.locale, mm.user, mm.ui, mm.kernel));
        ASSERT_EQ(mm.user.shown.size(), 1u);
        const auto& d = mm.user.shown[0];
        EXPECT_EQ(d.kind, sim::DialogRecord::Kind::MessageDlg);
        EXPECT_EQ(d.type, MsgDlgType::Error);
        EXPECT_EQ(d.buttons, mb::OK);
        EXPECT_EQ(d.text, expectedMessage(c.fs.shortDateFormat, c.vista));
        EXPECT_EQ(mm.locale.settings.shortDateFormat, "dd.MM.yyyy");
        EXPECT_EQ(mm.locale.settings.dateSeparator, '.');
        EXPECT_TRUE(mm.ui.terminated());
    }
}

}  // namespace
}  // namespace qm
