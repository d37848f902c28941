// The DOS date-time rule of our own code against the real DosDateTimeToFileTime.
#include <windows.h>

#include <gtest/gtest.h>

#include "install/datei_datum.h"

namespace qm {
namespace {

TEST(DateiDatumUnterWindows, SameResultAsDosDateTimeToFileTime) {
    struct Case {
        uint16_t date, time;
    };
    std::vector<Case> cases = {
        {0x590C, 0x2A4C}, {0x5439, 0x5085}, {0x2E55, 0x1D4B}, {0x0021, 0x0000}, {0xFF9F, 0xBF7D},
        {0, 0}, {(44 << 9) | (13 << 5) | 1, 0}, {(44 << 9) | (2 << 5) | 30, 0},
        {(44 << 9) | (2 << 5) | 29, 0}, {(20 << 9) | (2 << 5) | 29, 0}, {(44 << 9) | (1 << 5) | 1, 24 << 11},
        {(44 << 9) | (1 << 5) | 1, 60 << 5}, {(44 << 9) | (1 << 5) | 1, 30}, {(44 << 9) | (1 << 5) | 1, 29},
        {(44 << 9) | (1 << 5) | 0, 0}, {(44 << 9) | (4 << 5) | 31, 0}, {(44 << 9) | (12 << 5) | 31, 0xBF7D},
    };
    // Not compared: 29 February of a common year, which Wine 8 takes as 1 March.
    for (uint32_t d = 0; d < 0x10000; d += 0x1F3) cases.push_back({uint16_t(d), uint16_t((d * 7919) & 0xFFFF)});
    for (const auto& c : cases) {
        FILETIME real{};
        const bool realOk = DosDateTimeToFileTime(c.date, c.time, &real) != 0;
        FileTime ours = 0;
        const bool oursOk = dosDateTimeToFileTime(c.date, c.time, ours);
        ASSERT_EQ(oursOk, realOk) << std::hex << c.date << " " << c.time;
        if (realOk) EXPECT_EQ(ours, (uint64_t(real.dwHighDateTime) << 32) | real.dwLowDateTime) << std::hex << c.date;
    }
}

}  // namespace
}  // namespace qm
