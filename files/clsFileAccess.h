#pragma once
// One open file, reached by its handle. Misuse and failures are written to
// the error log, never raised; only a handle beyond 16 bits (OpenFile) and a
// read of fewer than one byte raise the runtime's errors 6 and 9.
#include <cstdint>
#include <vector>

#include "core/types.h"

namespace qx {

class clsFileAccess {
public:
    clsFileAccess() = default;
    ~clsFileAccess();
    clsFileAccess(const clsFileAccess&) = delete;
    clsFileAccess& operator=(const clsFileAccess&) = delete;

    std::int32_t FileHandle();
    String Filename();
    bool IsOpen();
    bool AutoFlush();
    void AutoFlush(bool NewVal);
    // Opening while a file is open logs "already open", closes the earlier
    // file and opens the new one.
    std::int16_t OpenFile(String sFileName);
    std::int16_t OpenFileReadOnly(String sFileName);
    void CloseFile();
    double FileSize();
    // Always ByteCount bytes: what was read, then zeros.
    std::vector<std::uint8_t> ReadBytes(std::int32_t ByteCount);
    void WriteBytes(const std::vector<std::uint8_t>& DataBytes);
    void Flush();
    void SeekAbsolute(std::int32_t HighPos, std::int32_t LowPos);
    void SeekRelative(std::int32_t Offset);
    std::int32_t ChangeFileTime(const FileDateTimeInfo& FileInfo);
    std::int32_t ReturnFileTime(FileDateTimeInfo& FileInfo);

private:
    void ReportFileError(W32F_Errors number, const String& detail);
    void CloseCurrent();

    std::int32_t handle_ = -1;
    String fileName_;
    bool autoFlush_ = false;
};

// The system's message for an error code without its line end, or
// "Unknown Error." when the system has none.
String GetSystemErrorText(std::uint32_t code);

}  // namespace qx
