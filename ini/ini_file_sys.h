#pragma once
// The INI file layer's contact with the system. ini_file.cpp makes every
// decision (when a file is seen, when a load is trusted unchanged, how a save
// is made, which leftovers are whose, how locks nest); ini_file_win.cpp and
// ini_file_posix.cpp only ask the system through the primitives below.
#include <cstdint>
#include <functional>
#include <string>

#include "core/qxstring.h"
#include "ini/ini_file.h"

namespace qx::ini::sys {

// What the system tells of one file, from a path query or through a handle.
struct FileInfo {
    bool exists = false;
    bool folder = false;
    bool readOnly = false;    // the caller may not write it
    bool hidden = false;      // hidden or system: the engine does not see it
    bool otherOwner = false;  // another user's: a new file in its place would be the caller's
    std::uint32_t links = 0;  // 0: this query does not tell
    std::uint64_t size = 0;
    std::uint64_t attributes = 0;  // the attribute bits, or the mode
    std::uint32_t group = 0;       // the owning group, where a new file must be given it
    std::uint64_t created = 0;
    std::uint64_t written = 0;
    std::uint64_t changed = 0;  // the change time in 100 ns units; 0: the system gives none
};

// An open file of the platform, closed when dropped.
class File {
public:
    File() = default;
    explicit File(std::intptr_t h) : h_(h) {}
    ~File();
    File(File&& o) noexcept : h_(o.release()) {}
    File& operator=(File&& o) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    explicit operator bool() const { return h_ != kNone; }
    std::intptr_t get() const { return h_; }
    std::intptr_t release() {
        const std::intptr_t h = h_;
        h_ = kNone;
        return h;
    }
    // Closes it; false when what was written did not all reach the file.
    bool close();

private:
    static constexpr std::intptr_t kNone = -1;
    std::intptr_t h_ = kNone;
};

// ---- decisions (ini_file.cpp), reachable by tests ----

// The stamp of a record taken at `now` (the change time's clock and units).
FileStamp stampOf(const FileInfo& info, std::uint64_t now);

// The name of a save file for `name` (".<name>.<pid>.<16 hex digits>.tmp"),
// and, for a folder entry, the process that wrote it when it is one (0 when not).
std::string saveFileName(const std::string& name, unsigned long pid, std::uint64_t random);
unsigned long saveFileWriter(const std::string& entry);

// How a save treats a file it found (`links` known).
enum class SaveWay { Leave, Replace, InPlace };
SaveWay saveWayFor(const FileInfo& target, bool mayCreateInFolder);

// ---- primitives (ini_file_win.cpp / ini_file_posix.cpp) ----

extern const char kSeparators[];  // what ends a folder in a path

// Opens a file for a load, with the sharing the engine has always used, and
// gives the quickest record the system has of it. False: there is no file of
// that name to open (missing, or a name the engine never opens); raises the
// runtime's file error for a file that exists but cannot be opened.
bool openForLoad(const String& path, File& f, FileInfo& quick);
// The record of the open file itself; false when the system gives none.
bool infoOf(const File& f, FileInfo& info);
// The whole content; raises the runtime's read error.
std::string readAll(const File& f, std::uint64_t sizeHint);
std::uint64_t now();

// The file a save writes: the path in the system's form, links followed.
std::string savePath(const String& path);
FileInfo pathInfo(const std::string& p);  // links may be 0
std::uint32_t linkCount(const std::string& p);
bool mayCreateIn(const std::string& folder);

enum class Create { Made, Exists, Failed };
// Creates a new file, failing when the name is taken; `like`: the file it is
// to replace, whose attributes it takes where the system sets them at creation.
Create createExclusive(const std::string& p, const FileInfo* like, File& f);
bool writeAll(const File& f, const std::string& bytes);
// Gives the new file what made the old one itself to its users (times,
// attributes, rights, group), skipping what it already has.
bool copyIdentity(const std::string& from, const FileInfo& old, const File& to, const std::string& toPath);
bool replaceFile(const std::string& from, const std::string& to);
void removeFile(const std::string& p);
// Rewrites the file in place: truncated and written, or created.
bool rewriteFile(const std::string& p, const std::string& bytes);
void listFolder(const std::string& folder, const std::function<void(const std::string&)>& each);
unsigned long processId();
bool processAlive(unsigned long pid);
std::uint64_t randomBits();

// The lock table: a key per file (two spellings of one file share it), and
// a lock on it taken within IniLock::waitLimit(); false: not to be had.
std::string lockKey(const String& path);
bool lockAcquire(const std::string& key, std::intptr_t& token);
void lockRelease(const std::string& key, std::intptr_t token);

}  // namespace qx::ini::sys
