#include "app/delphi_date.h"

#include <cctype>

#include "platform/types.h"

namespace qm {

namespace {

struct Scanner {
    const std::string& s;
    size_t pos = 0;

    void blanks() {
        while (pos < s.size() && s[pos] == ' ') ++pos;
    }
    bool number(int& n, int& digits) {
        blanks();
        n = 0;
        digits = 0;
        size_t i = pos;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])) && n < 1000) {
            n = n * 10 + (s[i] - '0');
            ++i;
            ++digits;
        }
        if (digits == 0) return false;
        pos = i;
        return true;
    }
    bool ch(char c) {
        blanks();
        if (pos < s.size() && s[pos] == c) {
            ++pos;
            return true;
        }
        return false;
    }
    bool word(const char* w) {
        blanks();
        size_t n = std::char_traits<char>::length(w);
        if (s.size() - pos < n) return false;
        for (size_t i = 0; i < n; ++i)
            if (std::toupper(static_cast<unsigned char>(s[pos + i])) != std::toupper(static_cast<unsigned char>(w[i])))
                return false;
        pos += n;
        return true;
    }
    bool atEnd() const { return pos >= s.size(); }
};

bool isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

bool validDate(int y, int m, int d) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1) return false;
    int max = days[m - 1] + (m == 2 && isLeap(y) ? 1 : 0);
    return d <= max;
}

bool scanDate(Scanner& sc, const FormatSettings& fs, int currentYear, DateTime& out) {
    const DateOrder order = dateOrderOf(fs.shortDateFormat);
    int n1, n2, n3, l1, l2, l3;
    if (!(sc.number(n1, l1) && sc.ch(fs.dateSeparator) && sc.number(n2, l2))) return false;
    int y, m, d, yearLen;
    if (sc.ch(fs.dateSeparator)) {
        if (!sc.number(n3, l3)) return false;
        switch (order) {
        case DateOrder::MDY: y = n3; yearLen = l3; m = n1; d = n2; break;
        case DateOrder::DMY: y = n3; yearLen = l3; m = n2; d = n1; break;
        default: y = n1; yearLen = l1; m = n2; d = n3; break;
        }
        if (yearLen <= 2) {
            // Two-digit years fall into the 100 years around now (window of 50).
            int century = currentYear - 50;
            int base = century - century % 100;
            y += base;
            if (y < century) y += 100;
        }
    } else {
        y = currentYear;
        if (order == DateOrder::DMY) { d = n1; m = n2; } else { m = n1; d = n2; }
    }
    sc.ch(fs.dateSeparator);
    sc.blanks();
    if (!validDate(y, m, d)) return false;
    out.year = y;
    out.month = m;
    out.day = d;
    return true;
}

bool scanTime(Scanner& sc, const FormatSettings& fs, DateTime& out) {
    int baseHour = -1;
    if (sc.word("AM")) baseHour = 0;
    else if (sc.word("PM")) baseHour = 12;
    int h, mi = 0, se = 0, ms = 0, len;
    if (!sc.number(h, len)) return false;
    if (sc.ch(fs.timeSeparator)) {
        if (!sc.number(mi, len)) return false;
        if (sc.ch(fs.timeSeparator)) {
            if (!sc.number(se, len)) return false;
            if (sc.ch(',') || sc.ch('.')) {
                if (!sc.number(ms, len)) return false;
            }
        }
    }
    if (baseHour < 0) {
        if (sc.word("AM")) baseHour = 0;
        else if (sc.word("PM")) baseHour = 12;
    }
    if (baseHour >= 0) {
        if (h == 0 || h > 12) return false;
        if (h == 12) h = 0;
        h += baseHour;
    }
    sc.blanks();
    if (h > 23 || mi > 59 || se > 59 || ms > 999) return false;
    out.hour = h;
    out.minute = mi;
    out.second = se;
    out.millisecond = ms;
    return true;
}

}  // namespace

DateOrder dateOrderOf(const std::string& f) {
    for (char c : f) {
        switch (std::toupper(static_cast<unsigned char>(c))) {
        case 'E':
        case 'Y': return DateOrder::YMD;
        case 'M': return DateOrder::MDY;
        case 'D': return DateOrder::DMY;
        default: break;
        }
    }
    return DateOrder::MDY;
}

std::optional<DateTime> tryStrToDateTime(const std::string& text, const FormatSettings& fs,
                                         int currentYear) {
    DateTime dt;
    Scanner sc{text};
    if (scanDate(sc, fs, currentYear, dt)) {
        if (sc.atEnd()) return dt;
        if (scanTime(sc, fs, dt) && sc.atEnd()) return dt;
        return std::nullopt;
    }
    // A time without a date.
    DateTime t;
    Scanner st{text};
    if (scanTime(st, fs, t) && st.atEnd()) {
        t.year = 1899;
        t.month = 12;
        t.day = 30;
        return t;
    }
    return std::nullopt;
}

DateTime strToDateTime(const std::string& text, const FormatSettings& fs, int currentYear) {
    auto r = tryStrToDateTime(text, fs, currentYear);
    if (!r) throw EConvertError("'" + text + "' ist kein gültiges Datum und Uhrzeit");
    return *r;
}

}  // namespace qm
