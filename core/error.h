#pragma once
// Errors raised to the host carry the host runtime's error numbers and texts.
#include <cstdint>
#include <stdexcept>

#include "core/qxstring.h"

namespace qx {

namespace err {
constexpr std::int32_t InvalidProcedureCall = 5;
constexpr std::int32_t Overflow = 6;
constexpr std::int32_t SubscriptOutOfRange = 9;
constexpr std::int32_t ArrayFixedOrLocked = 10;
constexpr std::int32_t TypeMismatch = 13;
constexpr std::int32_t BadFileNameOrNumber = 52;
constexpr std::int32_t FileNotFound = 53;
constexpr std::int32_t DeviceIOError = 57;
constexpr std::int32_t DiskFull = 61;
constexpr std::int32_t PermissionDenied = 70;
constexpr std::int32_t PathFileAccessError = 75;
constexpr std::int32_t PathNotFound = 76;
constexpr std::int32_t ObjectNotSet = 91;
constexpr std::int32_t InvalidUseOfNull = 94;
constexpr std::int32_t MemberNotSupported = 438;
constexpr std::int32_t ActionNotSupported = 445;
}  // namespace err

// The standard text of a host runtime error number ("Application-defined or
// object-defined error" for a number the runtime does not know).
String standardErrorText(std::int32_t number);

class RuntimeError : public std::runtime_error {
public:
    explicit RuntimeError(std::int32_t number);
    RuntimeError(std::int32_t number, String description);

    std::int32_t number() const noexcept { return number_; }
    const String& description() const noexcept { return description_; }

private:
    std::int32_t number_;
    String description_;
};

[[noreturn]] void raise(std::int32_t number);
[[noreturn]] void raise(std::int32_t number, const String& description);

}  // namespace qx
