#pragma once
// The INI engine's contact with the file system. Loading raises the runtime's
// file error for a file that exists but cannot be read; saving never raises
// and never leaves a half-written file: the new content is written beside the
// file and replaces it in one step, or the file stays as it was.
#include <cstdint>
#include <string>

#include "core/qxstring.h"

namespace qx::ini {

// What a load needs to know of a file before reading it: whether the engine
// sees it at all (hidden, system files and folders count as missing) and, where
// the platform can tell cheaply, a stamp that changes whenever its content may
// have changed, so that an unchanged file need not be read again.
struct FileStamp {
    bool visible = false;
    bool cacheable = false;  // false: the platform gives no stamp; read every time
    std::uint64_t value[4] = {0, 0, 0, 0};
    bool operator==(const FileStamp& o) const {
        return visible == o.visible && cacheable == o.cacheable && value[0] == o.value[0] &&
               value[1] == o.value[1] && value[2] == o.value[2] && value[3] == o.value[3];
    }
};

// The stamp of a file named without wildcards.
FileStamp fileStamp(const String& path);

// The file's bytes. The caller has checked that the file exists.
std::string readIniBytes(const String& path);

// Replaces the file's content with `bytes`; a missing folder, or an existing
// file that is read-only, hidden, system or locked, leaves everything as it
// was. Answers whether the new content is in place.
bool saveIniBytes(const String& path, const std::string& bytes);

// An exclusive lock on one INI file's path, between the threads of this
// process and between processes, held by a public call across its load and
// save. Calls nested on one thread share the outermost lock. A process that
// dies releases its locks.
class IniLock {
public:
    explicit IniLock(const String& path);
    ~IniLock();
    IniLock(const IniLock&) = delete;
    IniLock& operator=(const IniLock&) = delete;

private:
    std::string key_;
};

}  // namespace qx::ini
