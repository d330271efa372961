// Local time and the locale's date and time texts from the C library.
#include <ctime>
#include <string>

#include "core/date.h"
#include "core/error.h"

namespace qx {

double nowLocal() {
    const std::time_t t = std::time(nullptr);
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

std::string format(const char* fmt, const std::tm& tm) {
    char buf[128];
    const std::size_t n = std::strftime(buf, sizeof buf, fmt, &tm);
    return std::string(buf, n);
}
}  // namespace

String dateToText(double d) {
    const DateParts p = fromDateValue(d);
    const std::tm tm = toTm(p);
    const bool noTime = p.hour == 0 && p.minute == 0 && p.second == 0;
    const bool noDate = p.year == 1899 && p.month == 12 && p.day == 30;
    if (noDate && !noTime) return fromNarrow(format("%X", tm));
    if (noTime) return fromNarrow(format("%x", tm));
    return fromNarrow(format("%x %X", tm));
}

double textToDate(const String& text) {
    const std::string s = toNarrow(trim(text));
    for (const char* fmt : {"%x %X", "%x", "%X"}) {
        std::tm tm{};
        tm.tm_year = -1;  // marks "no date read"
        tm.tm_mday = 0;
        const char* end = strptime(s.c_str(), fmt, &tm);
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
