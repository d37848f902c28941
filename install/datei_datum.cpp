#include "install/datei_datum.h"

namespace qm {

namespace {
bool leapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }
int daysInMonth(int y, int m) {
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && leapYear(y) ? 29 : days[m - 1];
}
// Days from 1601-01-01 to the given date.
int64_t daysSince1601(int y, int m, int d) {
    int64_t days = 0;
    const int years = y - 1601;
    days += int64_t(years) * 365 + years / 4 - years / 100 + years / 400;
    for (int k = 1; k < m; ++k) days += daysInMonth(y, k);
    return days + d - 1;
}
}  // namespace

uint32_t dateTimeToFileDate(const DateTime& t) {
    if (t.year < 1980 || t.year > 2107) return 0;
    const uint32_t time = uint32_t(t.second >> 1) | uint32_t(t.minute << 5) | uint32_t(t.hour << 11);
    const uint32_t date = uint32_t(t.day) | uint32_t(t.month << 5) | uint32_t((t.year - 1980) << 9);
    return (date << 16) | time;
}

bool dosDateTimeToFileTime(uint16_t dosDate, uint16_t dosTime, FileTime& local) {
    const int year = (dosDate >> 9) + 1980, month = (dosDate >> 5) & 0x0F, day = dosDate & 0x1F;
    const int hour = dosTime >> 11, minute = (dosTime >> 5) & 0x3F, second = (dosTime & 0x1F) * 2;
    if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month)) return false;
    if (hour > 23 || minute > 59 || second > 59) return false;
    const int64_t secs = daysSince1601(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
    local = FileTime(secs) * 10000000ULL;
    return true;
}

bool fileTimeFor(IFiles& files, const DateTime& t, FileTime& utc) {
    const uint32_t dos = dateTimeToFileDate(t);
    FileTime local = 0;
    return dosDateTimeToFileTime(uint16_t(dos >> 16), uint16_t(dos & 0xFFFF), local) &&
           files.localFileTimeToFileTime(local, utc);
}

bool setFileDate(IFiles& files, FileHandle f, const DateTime& t) {
    FileTime utc = 0;
    return fileTimeFor(files, t, utc) && files.setFileTime(f, nullptr, nullptr, &utc);
}

void setDateiDatum(IFiles& files, const std::string& path, const DateTime& t) {
    FileHandle f = files.createFile(path, fileaccess::GenericWrite, 0, filecreate::OpenExisting, fileattr::Normal);
    if (!f) return;
    setFileDate(files, f, t);
    files.closeFile(f);
}

}  // namespace qm
