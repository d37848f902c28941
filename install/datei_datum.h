#pragma once
// File dates as the setup stores them: a local date-time goes through the DOS date-time
// format (two-second steps, years 1980 to 2107) and then to the file system's UTC time.
#include <cstdint>
#include <string>

#include "app/delphi_date.h"
#include "platform/files.h"

namespace qm {

// DOS date in the high word, DOS time in the low word; 0 for a year outside 1980..2107.
uint32_t dateTimeToFileDate(const DateTime& t);
// The local FILETIME of a DOS date and time, as DosDateTimeToFileTime; false when the
// fields are no valid date and time (the value 0 among them).
bool dosDateTimeToFileTime(uint16_t dosDate, uint16_t dosTime, FileTime& local);
// The UTC last-write time for a local date-time; false when it cannot be stored.
bool fileTimeFor(IFiles& files, const DateTime& t, FileTime& utc);
// FileSetDate on an open file: true when the time was set.
bool setFileDate(IFiles& files, FileHandle f, const DateTime& t);
// Opens the existing file for writing, sets its last-write time, closes it. Failures are
// silent: the file keeps the time of its writing.
void setDateiDatum(IFiles& files, const std::string& path, const DateTime& t);

}  // namespace qm
