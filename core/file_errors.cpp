// A folder that does not exist is 76, access refused 75, a file held locked
// by another process 70, a full disk 61, a name the system rejects 52, a
// failing device 57; anything else is the general 75.
#include "core/file_errors.h"

#include <system_error>

#include "core/error.h"

namespace qx {

std::int32_t fileErrorFromErrno(int code, FileOp op) {
    switch (static_cast<std::errc>(code)) {
        case std::errc::no_such_file_or_directory: return op == FileOp::Read ? err::FileNotFound : err::PathNotFound;
        case std::errc::not_a_directory:
        case std::errc::too_many_symbolic_link_levels: return err::PathNotFound;
        case std::errc::permission_denied:
        case std::errc::operation_not_permitted:
        case std::errc::read_only_file_system:
        case std::errc::is_a_directory: return err::PathFileAccessError;
        case std::errc::text_file_busy:
        case std::errc::device_or_resource_busy:
        case std::errc::no_lock_available: return err::PermissionDenied;
        case std::errc::no_space_on_device:
        case std::errc::file_too_large: return err::DiskFull;
        case std::errc::io_error: return err::DeviceIOError;
        case std::errc::filename_too_long:
        case std::errc::invalid_argument:
        case std::errc::illegal_byte_sequence: return err::BadFileNameOrNumber;
        default: return err::PathFileAccessError;
    }
}

std::int32_t fileErrorFromWin32(std::uint32_t code, FileOp op) {
    // The Win32 codes by number, so that this table needs no system header.
    switch (code) {
        case 2:  // ERROR_FILE_NOT_FOUND
            return op == FileOp::Read ? err::FileNotFound : err::PathNotFound;
        case 3:   // ERROR_PATH_NOT_FOUND
        case 15:  // ERROR_INVALID_DRIVE
        case 53:  // ERROR_BAD_NETPATH
        case 67:  // ERROR_BAD_NET_NAME
            return err::PathNotFound;
        case 5:     // ERROR_ACCESS_DENIED
        case 1920:  // ERROR_CANT_ACCESS_FILE
            return err::PathFileAccessError;
        case 19:  // ERROR_WRITE_PROTECT
        case 32:  // ERROR_SHARING_VIOLATION
        case 33:  // ERROR_LOCK_VIOLATION
            return err::PermissionDenied;
        case 39:   // ERROR_HANDLE_DISK_FULL
        case 112:  // ERROR_DISK_FULL
            return err::DiskFull;
        case 23:    // ERROR_CRC
        case 29:    // ERROR_WRITE_FAULT
        case 30:    // ERROR_READ_FAULT
        case 1117:  // ERROR_IO_DEVICE
            return err::DeviceIOError;
        case 123:  // ERROR_INVALID_NAME
        case 161:  // ERROR_BAD_PATHNAME
        case 206:  // ERROR_FILENAME_EXCED_RANGE
            return err::BadFileNameOrNumber;
        default: return err::PathFileAccessError;
    }
}

}  // namespace qx
