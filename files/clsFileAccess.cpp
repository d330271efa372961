#include "files/clsFileAccess.h"

#include "core/error.h"
#include "core/numeric.h"
#include "files/file_access_sys.h"
#include "logging/logs.h"

namespace qx {

namespace fs = files::sys;

clsFileAccess::~clsFileAccess() {
    if (handle_ != fs::kNoHandle) fs::closeFile(handle_);
}

std::int32_t clsFileAccess::FileHandle() { return handle_; }
String clsFileAccess::Filename() { return fileName_; }
bool clsFileAccess::IsOpen() { return handle_ != fs::kNoHandle; }
bool clsFileAccess::AutoFlush() { return autoFlush_; }
void clsFileAccess::AutoFlush(bool NewVal) { autoFlush_ = NewVal; }

void clsFileAccess::CloseCurrent() {
    if (handle_ == fs::kNoHandle) return;
    fs::closeFile(handle_);
    handle_ = fs::kNoHandle;
}

std::int16_t clsFileAccess::OpenFile(String sFileName) {
    if (IsOpen()) {
        ReportFileError(W32F_FILE_ALREADY_OPEN, fileName_);
        CloseCurrent();
    }
    handle_ = fs::openReadWrite(sFileName);
    if (handle_ == fs::kNoHandle) ReportFileError(W32F_PROBLEM_OPENING_FILE, sFileName);
    fileName_ = sFileName;
    return checkedInt16(handle_);  // the file stays open in the object when this overflows
}

std::int16_t clsFileAccess::OpenFileReadOnly(String sFileName) {
    if (IsOpen()) {
        ReportFileError(W32F_FILE_ALREADY_OPEN, fileName_);
        CloseCurrent();
    }
    handle_ = fs::openReadOnly(sFileName);
    std::int16_t result = 0;
    if (handle_ == fs::kNoHandle) {
        ReportFileError(W32F_PROBLEM_OPENING_FILE, sFileName);
        result = -1;
    }
    fileName_ = sFileName;
    return result;
}

void clsFileAccess::CloseFile() {
    if (!IsOpen()) ReportFileError(W32F_FILE_ALREADY_CLOSED, String());
    CloseCurrent();
    fileName_.clear();
    autoFlush_ = false;
}

double clsFileAccess::FileSize() {
    if (!IsOpen()) ReportFileError(W32F_FILE_NOT_OPEN, fileName_);
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    if (!fs::fileSize(handle_, low, high)) return -1;
    return static_cast<double>(high) * 4294967296.0 + static_cast<double>(low);
}

std::vector<std::uint8_t> clsFileAccess::ReadBytes(std::int32_t ByteCount) {
    if (!IsOpen()) ReportFileError(W32F_FILE_ALREADY_CLOSED, String());
    if (ByteCount < 1) raise(err::SubscriptOutOfRange);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(ByteCount), 0);
    fs::readFile(handle_, bytes.data(), bytes.size());
    return bytes;
}

void clsFileAccess::WriteBytes(const std::vector<std::uint8_t>& DataBytes) {
    if (!IsOpen()) ReportFileError(W32F_FILE_ALREADY_CLOSED, String());
    fs::writeFile(handle_, DataBytes.data(), DataBytes.size());
    if (autoFlush_) Flush();
}

void clsFileAccess::Flush() {
    if (!IsOpen()) ReportFileError(W32F_FILE_ALREADY_CLOSED, String());
    fs::flushFile(handle_);
}

void clsFileAccess::SeekAbsolute(std::int32_t HighPos, std::int32_t LowPos) {
    if (!IsOpen()) ReportFileError(W32F_FILE_ALREADY_CLOSED, String());
    std::int32_t high = HighPos;
    fs::setFilePointer(handle_, LowPos, &high, fs::SeekFrom::Begin);
}

void clsFileAccess::SeekRelative(std::int32_t Offset) {
    if (!IsOpen()) ReportFileError(W32F_FILE_ALREADY_CLOSED, String());
    if (fs::setFilePointer(handle_, Offset, nullptr, fs::SeekFrom::Current) != 0xFFFFFFFFu) return;
    const std::uint32_t e = fs::lastError();
    if (e == 0) return;
    const String number = fromUtf8(std::to_string(e));
    ReportFileError(W32F_Problem_seeking, u"Error " + number + u".\r\n" + number);
}

std::int32_t clsFileAccess::ChangeFileTime(const FileDateTimeInfo& FileInfo) {
    return fs::setFileTimes(handle_, FileInfo) ? 1 : 0;
}

std::int32_t clsFileAccess::ReturnFileTime(FileDateTimeInfo& FileInfo) {
    return fs::getFileTimes(handle_, FileInfo) ? 1 : 0;
}

void clsFileAccess::ReportFileError(W32F_Errors number, const String& detail) {
    const std::uint32_t e = fs::lastError();
    String suffix;
    if (e != 0) suffix = u" - Error " + fromUtf8(std::to_string(e)) + u" - " + GetSystemErrorText(e);
    String message;
    switch (number) {
        case W32F_FILE_ALREADY_OPEN: message = u"The file '" + detail + u"' is already open." + suffix; break;
        case W32F_PROBLEM_OPENING_FILE: message = u"Error opening '" + detail + u"'." + suffix; break;
        case W32F_FILE_ALREADY_CLOSED: return;
        case W32F_FILE_NOT_OPEN: message = u"Size can not be gotten on a closed file - " + detail; break;
        case W32F_Problem_seeking: message = u"Seek Error. - " + detail; break;
        default: message = u"Unknown error." + suffix; break;
    }
    logging::writeLog(logging::Log::Error, message);
}

String GetSystemErrorText(std::uint32_t code) {
    String text = files::sys::systemMessage(code);
    if (text.empty()) return u"Unknown Error.";
    // The message table ends its texts with a line end.
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, u"\r\n") == 0) text.resize(text.size() - 2);
    return text;
}

}  // namespace qx
