#pragma once
// The host's date value: days since 30 December 1899 as a double, the time of
// day as the fraction (for dates before 1899 the fraction still counts forward).
#include <cstdint>

#include "core/qxstring.h"

namespace qx {

struct DateParts {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

double toDateValue(const DateParts& p);
DateParts fromDateValue(double d);

// The local date and time now, in whole seconds.
double nowLocal();

// Text in the user's general date form: the date alone when the time is
// midnight, the time alone when the date is 30 December 1899.
String dateToText(double d);
// Reads text written in that form back; raises error 13 when it is not a date.
double textToDate(const String& text);

}  // namespace qx
