// Local time and the locale's date and time texts from the C library.
#include <langinfo.h>

#include <ctime>
#include <string>

#include "core/date.h"
#include "core/error.h"

namespace qx {

double nowLocal() {
    // The same clock as the waits read their milliseconds from (time() may lag it).
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    const std::time_t t = ts.tv_sec;
    std::tm tm{};
    localtime_r(&t, &tm);
    return toDateValue({tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec});
}

namespace {
std::tm toTm(const DateParts& p) {
    std::tm tm{};
    tm.tm_year = p.year - 1900;
    tm.tm_mon = p.month - 1;
    tm.tm_mday = p.day;
    tm.tm_hour = p.hour;
    tm.tm_min = p.minute;
    tm.tm_sec = p.second;
    tm.tm_isdst = -1;
    return tm;
}

// The locale's date form with the year in four digits, so that every date
// reads back as it was written (a two-digit year would fold 1950 into 2050).
std::string dateFormat() {
    std::string f = nl_langinfo(D_FMT);
    for (std::size_t at = f.find("%y"); at != std::string::npos; at = f.find("%y", at + 2)) f[at + 1] = 'Y';
    return f.empty() ? "%m/%d/%Y" : f;
}

std::string format(const std::string& fmt, const std::tm& tm) {
    char buf[128];
    const std::size_t n = std::strftime(buf, sizeof buf, fmt.c_str(), &tm);
    return std::string(buf, n);
}
}  // namespace

String dateToText(double d) {
    const DateParts p = fromDateValue(d);
    const std::tm tm = toTm(p);
    const bool noTime = p.hour == 0 && p.minute == 0 && p.second == 0;
    const bool noDate = p.year == 1899 && p.month == 12 && p.day == 30;
    if (noDate && !noTime) return fromNarrow(format("%X", tm));
    if (noTime) return fromNarrow(format(dateFormat(), tm));
    return fromNarrow(format(dateFormat() + " %X", tm));
}

double textToDate(const String& text) {
    const std::string s = toNarrow(trim(text));
    const std::string date = dateFormat();
    for (const std::string& fmt : {date + " %X", date, std::string("%X")}) {
        std::tm tm{};
        tm.tm_year = -1;  // marks "no date read"
        tm.tm_mday = 0;
        const char* end = strptime(s.c_str(), fmt.c_str(), &tm);
        if (end == nullptr || *end != '\0') continue;
        DateParts p;
        if (tm.tm_mday != 0) {
            p.year = tm.tm_year + 1900;
            p.month = tm.tm_mon + 1;
            p.day = tm.tm_mday;
        }
        p.hour = tm.tm_hour;
        p.minute = tm.tm_min;
        p.second = tm.tm_sec;
        return toDateValue(p);
    }
    raise(err::TypeMismatch);
}

}  // namespace qx
