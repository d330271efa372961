#pragma once
// The INI engine's contact with the file system. Loading raises the runtime's
// file error for a file that exists but cannot be read. Saving never raises;
// where the file can be written it is written: the new content goes into a
// new file beside it that then replaces it in one step, so a writer killed
// half-way leaves the old file whole. Where a replace would change the file's
// identity (a hard link, another owner, a folder the caller may not write
// in) or cannot be made, the file is rewritten in place instead. A symbolic
// link is followed: its target is what is written.
#include <chrono>
#include <cstdint>
#include <string>

#include "core/qxstring.h"

namespace qx::ini {

// What tells a platform that a file it loaded before has not changed since.
// Only what an outside writer cannot keep counts (the file's identity and
// its change time, which no one sets at will), and only a change time old
// enough that any later change must show a later one.
struct FileStamp {
    bool cacheable = false;  // false: the platform gives no such stamp; read every time
    std::uint64_t value[5] = {0, 0, 0, 0, 0};
    bool operator==(const FileStamp& o) const {
        if (!cacheable || !o.cacheable) return false;
        for (int i = 0; i < 5; ++i)
            if (value[i] != o.value[i]) return false;
        return true;
    }
};

// The result of one load: whether the engine sees the file at all (a missing
// file, a folder, a hidden or system file, a name holding a NUL count as
// missing), and when it does, either its bytes (`read`) or, when the stamp
// matches the one the caller passed, nothing, meaning unchanged.
struct Loaded {
    bool visible = false;
    bool read = false;
    std::string bytes;
    FileStamp stamp;
};

// Loads the file as LoadIniLines does: the existence test, then one open for
// reading with the sharing the engine has always used, so a file another
// process holds without sharing raises 70 whether or not it is cached.
Loaded loadIniFile(const String& path, const FileStamp* cached);

// Replaces the file's content with `bytes` as described above; a missing
// folder, or an existing file that is read-only, a folder or (on Windows)
// hidden or system, leaves everything as it was. Answers whether the new
// content is in place.
bool saveIniBytes(const String& path, const std::string& bytes);

// An exclusive lock on one INI file's path, between the threads of this
// process and between processes, held by a public call across its load and
// save. Calls nested on one thread share the outermost lock. A process that
// dies releases its locks. A holder that keeps the lock longer than the wait
// limit is taken to be hung: the waiter then goes on without the lock, as the
// engine did before it had one, rather than hang its host for good.
class IniLock {
public:
    explicit IniLock(const String& path);
    ~IniLock();
    IniLock(const IniLock&) = delete;
    IniLock& operator=(const IniLock&) = delete;

    // How long a call waits for a lock another holder keeps (10 s unless set).
    static void setWaitLimit(std::chrono::milliseconds limit);
    static std::chrono::milliseconds waitLimit();

private:
    std::string key_;
};

}  // namespace qx::ini
