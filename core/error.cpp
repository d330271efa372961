#include "core/error.h"

namespace qx {

String standardErrorText(std::int32_t number) {
    switch (number) {
        case 5: return u"Invalid procedure call or argument";
        case 6: return u"Overflow";
        case 7: return u"Out of memory";
        case 9: return u"Subscript out of range";
        case 10: return u"This array is fixed or temporarily locked";
        case 11: return u"Division by zero";
        case 13: return u"Type mismatch";
        case 52: return u"Bad file name or number";
        case 53: return u"File not found";
        case 55: return u"File already open";
        case 57: return u"Device I/O error";
        case 61: return u"Disk full";
        case 62: return u"Input past end of file";
        case 70: return u"Permission denied";
        case 75: return u"Path/File access error";
        case 76: return u"Path not found";
        case 91: return u"Object variable or With block variable not set";
        case 94: return u"Invalid use of Null";
        case 438: return u"Object doesn't support this property or method";
        case 445: return u"Object doesn't support this action";
        case 449: return u"Argument not optional";
        default: return u"Application-defined or object-defined error";
    }
}

RuntimeError::RuntimeError(std::int32_t number) : RuntimeError(number, standardErrorText(number)) {}

RuntimeError::RuntimeError(std::int32_t number, String description)
    : std::runtime_error(toUtf8(description)), number_(number), description_(std::move(description)) {}

void raise(std::int32_t number) { throw RuntimeError(number); }

void raise(std::int32_t number, const String& description) { throw RuntimeError(number, description); }

}  // namespace qx
