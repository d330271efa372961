// The special folders on Windows: the shell's folder locations, the
// temporary path of kernel32, and the probe file.
#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "core/error.h"
#include "core/file_errors.h"
#include "core/scoped_win.h"
#include "files/path_logic.h"
#include "files/paths.h"
#include "sysinfo/special_folders_sys.h"

namespace qx::sysinfo::sys {

namespace {
// The owner window value handed to the shell; no window is ever shown for it.
const HWND kOwner = reinterpret_cast<HWND>(static_cast<INT_PTR>(100));
}  // namespace

String specialFolderPath(std::int32_t csidl) {
    LPITEMIDLIST items = nullptr;
    if (SHGetSpecialFolderLocation(kOwner, csidl, &items) != 0) return String();
    String path;
    char buffer[MAX_PATH + 1];
    std::memset(buffer, ' ', MAX_PATH);
    buffer[MAX_PATH] = '\0';
    if (SHGetPathFromIDListA(items, buffer)) {
        path = fromNarrow(std::string(buffer, strnlen(buffer, MAX_PATH)));
    }
    CoTaskMemFree(items);
    return path;
}

String tempPath() {
    char buffer[kTempPathChars] = {};
    const DWORD n = GetTempPathA(static_cast<DWORD>(kTempPathChars), buffer);
    // A path that does not fit is not written: the buffer stays empty.
    if (n == 0 || n >= kTempPathChars) return String();
    return fromNarrow(std::string(buffer, strnlen(buffer, kTempPathChars)));
}

void createEmptyFile(const String& path) {
    const UniqueHandle h(CreateFileA(files::systemPath(path, FileOp::Create).c_str(), GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h) raise(fileErrorFromWin32(GetLastError(), FileOp::Create));
}

}  // namespace qx::sysinfo::sys
