#pragma once
// The process's date and time format settings. They start from the user's locale and
// can be changed for this process only (nothing is written back to the user's settings).
#include <string>

namespace qm {

struct FormatSettings {
    std::string shortDateFormat;
    char dateSeparator = '.';
    char timeSeparator = ':';
};

class ILocale {
public:
    virtual ~ILocale() = default;
    virtual FormatSettings formatSettings() = 0;
    virtual void setShortDateFormat(const std::string& format) = 0;
    virtual void setDateSeparator(char separator) = 0;
    virtual int currentYear() = 0;
    // The text in the Windows ANSI code page, for files that older programs read.
    virtual std::string ansiFromUtf8(const std::string& text) = 0;
};

}  // namespace qm
