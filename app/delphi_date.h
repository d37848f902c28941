#pragma once
// Date-time parsing as the setup's original toolkit does it: the order of day, month and
// year comes from the short date format, the separators from the format settings.
#include <optional>
#include <string>

#include "platform/locale.h"

namespace qm {

struct DateTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
    bool operator==(const DateTime&) const = default;
};

enum class DateOrder { MDY, DMY, YMD };

DateOrder dateOrderOf(const std::string& shortDateFormat);

// Date with optional time, or time alone. Empty when the text is no valid date-time.
std::optional<DateTime> tryStrToDateTime(const std::string& text, const FormatSettings& fs,
                                         int currentYear);

// As above; raises EConvertError for an invalid text.
DateTime strToDateTime(const std::string& text, const FormatSettings& fs, int currentYear);

}  // namespace qm
