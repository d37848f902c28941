// File dates through the DOS date-time format: two-second steps, years 1980 to 2107.
#include <gtest/gtest.h>

#include "install/datei_datum.h"
#include "platform/sim/sim_machine.h"

namespace qm {
namespace {

// FILETIME of a local date-time, counted independently of the code under test.
FileTime ft(int y, int mo, int d, int h, int mi, int s) {
    auto days = [](int yy, int mm, int dd) {
        // Days since 1601-01-01 through the civil-from-days formula.
        yy -= mm <= 2;
        const int era = yy / 400;
        const int yoe = yy - era * 400;
        const int doy = (153 * (mm + (mm > 2 ? -3 : 9)) + 2) / 5 + dd - 1;
        const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
        return int64_t(era) * 146097 + doe;
    };
    const int64_t secs = (days(y, mo, d) - days(1601, 1, 1)) * 86400 + h * 3600 + mi * 60 + s;
    return FileTime(secs) * 10000000ULL;
}

TEST(DateiDatum, LocalDateTimesRoundDownToTheEvenSecond) {
    struct Case {
        DateTime in;
        uint32_t dos;
        FileTime local;
    };
    const Case cases[] = {
        {{2024, 8, 12, 5, 18, 25}, 0x590C2A4C, ft(2024, 8, 12, 5, 18, 24)},  // the build date
        {{2024, 8, 12, 5, 18, 24}, 0x590C2A4C, ft(2024, 8, 12, 5, 18, 24)},
        {{2022, 1, 25, 10, 4, 10}, 0x54395085, ft(2022, 1, 25, 10, 4, 10)},
        {{2003, 2, 21, 3, 42, 22}, 0x2E551D4B, ft(2003, 2, 21, 3, 42, 22)},
        {{1980, 1, 1, 0, 0, 1}, 0x00210000, ft(1980, 1, 1, 0, 0, 0)},
        {{2107, 12, 31, 23, 59, 59}, 0xFF9FBF7D, ft(2107, 12, 31, 23, 59, 58)},
        {{2024, 2, 29, 12, 0, 0, 999}, 0x585D6000, ft(2024, 2, 29, 12, 0, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.in.year) + "-" + std::to_string(c.in.month) + "-" + std::to_string(c.in.day));
        EXPECT_EQ(dateTimeToFileDate(c.in), c.dos);
        FileTime local = 0;
        ASSERT_TRUE(dosDateTimeToFileTime(uint16_t(c.dos >> 16), uint16_t(c.dos), local));
        EXPECT_EQ(local, c.local);
    }
}

TEST(DateiDatum, DatesTheDosFormatCannotHoldGiveNoTime) {
    EXPECT_EQ(dateTimeToFileDate({1979, 12, 31, 23, 59, 59}), 0u);
    EXPECT_EQ(dateTimeToFileDate({2108, 1, 1, 0, 0, 0}), 0u);
    struct Case {
        uint16_t date, time;
    };
    const Case invalid[] = {
        {0, 0},                                  // the value of an out-of-range year
        {(44 << 9) | (13 << 5) | 1, 0},          // month 13
        {(44 << 9) | (2 << 5) | 30, 0},          // 30 February
        {(43 << 9) | (2 << 5) | 29, 0},          // 29 February 2023
        {(44 << 9) | (1 << 5) | 1, 24 << 11},    // hour 24
        {(44 << 9) | (1 << 5) | 1, 60 << 5},     // minute 60
        {(44 << 9) | (1 << 5) | 1, 30},          // second 60
    };
    for (const auto& c : invalid) {
        FileTime t = 42;
        EXPECT_FALSE(dosDateTimeToFileTime(c.date, c.time, t)) << c.date << " " << c.time;
    }
}

TEST(DateiDatum, SetDateiDatumStoresUtcAndFailsSilently) {
    sim::SimMachine m;
    m.files.utcOffsetMinutes = 120;
    m.files.write("C:\\d\\a.txt", "x");
    setDateiDatum(m.files, "C:\\d\\a.txt", {2024, 8, 12, 5, 18, 25});
    EXPECT_EQ(m.files.stat("C:\\d\\a.txt")->lastWriteTime, ft(2024, 8, 12, 3, 18, 24));

    const FileTime before = m.files.stat("C:\\d\\a.txt")->lastWriteTime;
    setDateiDatum(m.files, "C:\\d\\a.txt", {1970, 1, 1, 0, 0, 0});
    EXPECT_EQ(m.files.stat("C:\\d\\a.txt")->lastWriteTime, before) << "a year before 1980 leaves the time";

    m.files.lock("C:\\d\\a.txt");
    setDateiDatum(m.files, "C:\\d\\a.txt", {2022, 1, 25, 10, 4, 10});
    EXPECT_EQ(m.files.stat("C:\\d\\a.txt")->lastWriteTime, before) << "a file in use keeps its time";
    setDateiDatum(m.files, "C:\\d\\fehlt.txt", {2022, 1, 25, 10, 4, 10});
    EXPECT_FALSE(m.files.exists("C:\\d\\fehlt.txt")) << "never creates the file";
    EXPECT_EQ(m.files.openHandles(), 0u);
}

}  // namespace
}  // namespace qm
