// Windows: a log file is opened for appending (FILE_APPEND_DATA), so that the
// system places every write at the end of the file as it is at that moment,
// and shared for reading and writing, so that other processes may append to
// the same log at the same time; the entry goes out in one WriteFile call.
// Not every implementation of the system finds the end and writes in one
// step, so appenders of this library also take turns on a lock of one byte
// far beyond any real end of file; readers and the file's content are never
// locked.
#include <windows.h>

#include "core/error.h"
#include "core/file_errors.h"
#include "core/scoped_win.h"
#include "logging/log_file.h"

namespace qx::logging {

namespace {

[[noreturn]] void raiseLastError() { raise(fileErrorFromWin32(GetLastError(), FileOp::Create)); }

// Waits for this appender's turn: an exclusive lock of one byte far beyond
// any real end of file. The lock belongs to the handle and closing the handle
// ends the turn, which spares the system a separate unlock call per entry.
// Where the file system has no locks, the write goes ahead without one.
void takeTurn(HANDLE h) {
    OVERLAPPED ov{};
    ov.Offset = 0xFFFFFFF0u;
    ov.OffsetHigh = 0x7FFFFFFFu;
    LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &ov);
}

HANDLE openOrRaise(const String& path, DWORD access, DWORD disposition) {
    const std::string p = toNarrow(path);
    // The system would stop reading the name at a NUL and open another file.
    if (p.find('\0') != std::string::npos) raise(err::BadFileNameOrNumber);
    HANDLE h = CreateFileA(p.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) raiseLastError();
    return h;
}

void writeBlock(HANDLE h, const std::string& bytes) {
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const DWORD chunk = left > 0x40000000u ? 0x40000000u : static_cast<DWORD>(left);
        DWORD written = 0;
        if (!WriteFile(h, data, chunk, &written, nullptr)) raiseLastError();
        if (written == 0) raise(err::DiskFull);
        data += written;
        left -= written;
    }
}

}  // namespace

void appendBlock(const String& path, const std::string& bytes) {
    // Reading is asked for only because a lock needs it; nothing is read.
    const UniqueHandle h(openOrRaise(path, FILE_APPEND_DATA | FILE_READ_DATA | SYNCHRONIZE, OPEN_ALWAYS));
    takeTurn(h.get());
    writeBlock(h.get(), bytes);
}

void replaceFile(const String& path, const std::function<std::string()>& content) {
    const UniqueHandle h(openOrRaise(path, GENERIC_WRITE, CREATE_ALWAYS));
    writeBlock(h.get(), content());
}

}  // namespace qx::logging
