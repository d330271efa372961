#include "files/clsFileAccess.h"

#include "core/error.h"

namespace qx {

namespace {
[[noreturn]] void na(const char* member) { notAvailable("clsFileAccess", member); }
}  // namespace

std::int32_t clsFileAccess::FileHandle() { na("FileHandle"); }
String clsFileAccess::Filename() { na("Filename"); }
bool clsFileAccess::IsOpen() { na("IsOpen"); }
bool clsFileAccess::AutoFlush() { na("AutoFlush"); }
void clsFileAccess::AutoFlush(bool) { na("AutoFlush"); }
std::int16_t clsFileAccess::OpenFile(String) { na("OpenFile"); }
std::int16_t clsFileAccess::OpenFileReadOnly(String) { na("OpenFileReadOnly"); }
void clsFileAccess::CloseFile() { na("CloseFile"); }
double clsFileAccess::FileSize() { na("FileSize"); }
Variant clsFileAccess::ReadBytes(std::int32_t) { na("ReadBytes"); }
void clsFileAccess::WriteBytes(const std::vector<std::uint8_t>&) { na("WriteBytes"); }
void clsFileAccess::Flush() { na("Flush"); }
void clsFileAccess::SeekAbsolute(std::int32_t, std::int32_t) { na("SeekAbsolute"); }
void clsFileAccess::SeekRelative(std::int32_t) { na("SeekRelative"); }
std::int32_t clsFileAccess::ChangeFileTime(const FileDateTimeInfo&) { na("ChangeFileTime"); }
std::int32_t clsFileAccess::ReturnFileTime(FileDateTimeInfo&) { na("ReturnFileTime"); }

}  // namespace qx
