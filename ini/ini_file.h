#pragma once
// The INI engine's contact with the file system. Loading raises the runtime's
// file error for a file that exists but cannot be read; saving never raises
// and never leaves a half-written file: the new content is written beside the
// file and replaces it in one step, or the file stays as it was.
#include <string>

#include "core/qxstring.h"

namespace qx::ini {

// The file's bytes. The caller has checked that the file exists.
std::string readIniBytes(const String& path);

// Replaces the file's content with `bytes`; a missing folder, or an existing
// file that is read-only, hidden, system or locked, leaves everything as it was.
void saveIniBytes(const String& path, const std::string& bytes);

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
