#pragma once
// One open file, reached by its handle.
#include <cstdint>
#include <vector>

#include "core/types.h"
#include "core/variant.h"

namespace qx {

class clsFileAccess {
public:
    std::int32_t FileHandle();
    String Filename();
    bool IsOpen();
    bool AutoFlush();
    void AutoFlush(bool NewVal);
    std::int16_t OpenFile(String sFileName);
    std::int16_t OpenFileReadOnly(String sFileName);
    void CloseFile();
    double FileSize();
    Variant ReadBytes(std::int32_t ByteCount);
    void WriteBytes(const std::vector<std::uint8_t>& DataBytes);
    void Flush();
    void SeekAbsolute(std::int32_t HighPos, std::int32_t LowPos);
    void SeekRelative(std::int32_t Offset);
    std::int32_t ChangeFileTime(const FileDateTimeInfo& FileInfo);
    std::int32_t ReturnFileTime(FileDateTimeInfo& FileInfo);
};

}  // namespace qx
