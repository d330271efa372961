// The INI file layer's rules, the same on every platform: when a file is
// seen, when a load may be trusted unchanged, how a save replaces a file or
// rewrites it in place, whose leftovers a save removes, and how locks nest.
#include "ini/ini_file.h"

#include <map>
#include <mutex>
#include <set>

#include "ini/ini_file_sys.h"

namespace qx::ini {

namespace sys {

File::~File() { (void)close(); }

File& File::operator=(File&& o) noexcept {
    if (this != &o) {
        (void)close();
        h_ = o.release();
    }
    return *this;
}

// A change time this much older than the clock is one every later change moves.
constexpr std::uint64_t kSettledChange = 1000000;  // 100 ms in 100 ns units

FileStamp stampOf(const FileInfo& info, std::uint64_t now) {
    FileStamp s;
    s.cacheable = info.changed != 0 && info.changed + kSettledChange < now;
    s.value[0] = info.created;
    s.value[1] = info.attributes;
    s.value[2] = info.size;
    s.value[3] = info.written;
    s.value[4] = info.changed;
    return s;
}

constexpr char kSaveSuffix[] = ".tmp";
constexpr std::size_t kRandomDigits = 16;

std::string saveFileName(const std::string& name, unsigned long pid, std::uint64_t random) {
    static const char hex[] = "0123456789abcdef";
    std::string digits(kRandomDigits, '0');
    for (std::size_t i = kRandomDigits; i-- > 0; random >>= 4) digits[i] = hex[random & 15];
    return "." + name + "." + std::to_string(pid) + "." + digits + kSaveSuffix;
}

unsigned long saveFileWriter(const std::string& entry) {
    // Read from the end: the INI file's own name may hold dots.
    const std::size_t suffix = sizeof kSaveSuffix - 1;
    if (entry.size() < 5 + kRandomDigits + suffix || entry[0] != '.' ||
        entry.compare(entry.size() - suffix, suffix, kSaveSuffix) != 0)
        return 0;
    const std::size_t randomAt = entry.size() - suffix - kRandomDigits;
    if (entry[randomAt - 1] != '.' ||
        entry.find_first_not_of("0123456789abcdef", randomAt) != entry.size() - suffix)
        return 0;
    const std::size_t pidEnd = randomAt - 1;
    const std::size_t pidAt = entry.find_last_of('.', pidEnd - 1) + 1;
    // Something between the leading dot and the process number: the file's name.
    if (pidAt < 3 || pidEnd - pidAt > 9 || pidEnd == pidAt) return 0;
    unsigned long pid = 0;
    for (std::size_t i = pidAt; i < pidEnd; ++i) {
        if (entry[i] < '0' || entry[i] > '9') return 0;
        pid = pid * 10 + static_cast<unsigned long>(entry[i] - '0');
    }
    return pid;
}

SaveWay saveWayFor(const FileInfo& target, bool mayCreateInFolder) {
    if (!target.exists) return SaveWay::Replace;
    // What the engine could not open for output, it leaves alone.
    if (target.folder || target.readOnly || target.hidden) return SaveWay::Leave;
    // A rename makes a new file: only where that new file is the same file to
    // everyone (one link, the caller's own, in a folder the caller may write).
    if (target.links > 1 || target.otherOwner || !mayCreateInFolder) return SaveWay::InPlace;
    return SaveWay::Replace;
}

}  // namespace sys

namespace {

bool seen(const sys::FileInfo& info) { return !info.folder && !info.hidden; }

bool sameRecord(const sys::FileInfo& a, const sys::FileInfo& b) {
    return a.changed != 0 && a.changed == b.changed && a.created == b.created && a.size == b.size &&
           a.written == b.written && a.attributes == b.attributes;
}

// The records of files this thread read, as their handles gave them: what a
// later load trusts (with a settled stamp only) and what the save of the same
// call takes the link count and owner from while the file is unchanged.
thread_local std::map<String, sys::FileInfo> t_known;
constexpr std::size_t kKnownFiles = 16;

void rememberRecord(const String& path, const sys::FileInfo& info) {
    if (t_known.size() >= kKnownFiles && !t_known.count(path)) t_known.erase(t_known.begin());
    t_known[path] = info;
}

// Folders this process has cleared of dead writers' save files; a forked
// child starts with none cleared.
std::mutex g_sweepLock;
std::set<std::string> g_swept;
unsigned long g_sweptBy = 0;

// Removes the save files in `folder` whose writer is gone: once per folder and
// process, and again whenever a save meets a name in use.
void sweepLeftovers(const std::string& folder, bool again) {
    const unsigned long me = sys::processId();
    {
        const std::lock_guard<std::mutex> guard(g_sweepLock);
        if (g_sweptBy != me) {
            g_swept.clear();
            g_sweptBy = me;
        }
        if (!g_swept.insert(folder).second && !again) return;
    }
    sys::listFolder(folder, [&](const std::string& entry) {
        const unsigned long pid = sys::saveFileWriter(entry);
        if (pid != 0 && pid != me && !sys::processAlive(pid)) sys::removeFile(folder + entry);
    });
}

enum class Replace { Done, NoNewFile, Refused };

// Writes the bytes into a new file beside `p` and moves it over `p` in one
// rename, leaving nothing behind when a step fails. NoNewFile: the folder
// takes no new file. Refused: a later step failed (a full disk, an identity
// that could not be given, a file another program keeps from being
// replaced), where writing in place would fare no better or race that program.
Replace replaceWith(const std::string& folder, const std::string& name, const std::string& p,
                    const std::string& bytes, const sys::FileInfo* old) {
    std::string tmp;
    sys::File f;
    for (int attempt = 0; attempt < 16 && !f; ++attempt) {
        tmp = folder + sys::saveFileName(name, sys::processId(), sys::randomBits());
        switch (sys::createExclusive(tmp, old, f)) {
            case sys::Create::Made: break;
            case sys::Create::Exists: sweepLeftovers(folder, true); break;
            case sys::Create::Failed: return Replace::NoNewFile;
        }
    }
    if (!f) return Replace::NoNewFile;
    bool ok = sys::writeAll(f, bytes);
    ok = ok && (!old || sys::copyIdentity(p, *old, f, tmp));
    ok = f.close() && ok;
    if (ok && sys::replaceFile(tmp, p)) return Replace::Done;
    sys::removeFile(tmp);
    return Replace::Refused;
}

}  // namespace

Loaded loadIniFile(const String& path, const FileStamp* cached) {
    Loaded l;
    if (path.empty() || path.find(u'\0') != String::npos) return l;  // names nothing
    sys::File f;
    sys::FileInfo quick;
    if (!sys::openForLoad(path, f, quick)) return l;
    const std::uint64_t now = sys::now();
    if (quick.exists) {
        if (!seen(quick)) return l;
        // Unchanged since this thread read it: the open alone is the load.
        const auto known = t_known.find(path);
        if (cached && known != t_known.end() && sameRecord(quick, known->second) &&
            sys::stampOf(quick, now) == *cached) {
            l.visible = true;
            l.stamp = *cached;
            return l;
        }
    }
    // What is read is stamped with the record of the same open, never with a
    // path query that may already name a newer file.
    sys::FileInfo held;
    if (!sys::infoOf(f, held)) {
        held = quick;
        held.exists = true;
        held.changed = 0;
    }
    if (!seen(held)) return l;
    l.visible = true;
    l.stamp = sys::stampOf(held, now);
    l.read = true;
    l.bytes = sys::readAll(f, held.size);
    rememberRecord(path, held);
    return l;
}

bool saveIniBytes(const String& path, const std::string& bytes) {
    if (path.find(u'\0') != String::npos) return false;  // names nothing: the save cannot open it
    const std::string p = sys::savePath(path);
    sys::FileInfo target = sys::pathInfo(p);
    const auto known = t_known.find(path);
    if (target.exists && target.links == 0) {
        // The load of this call opened the file: its record still holds while the file is unchanged.
        if (known != t_known.end() && sameRecord(target, known->second)) {
            target.links = known->second.links;
            target.otherOwner = known->second.otherOwner;
        }
        if (target.links == 0) target.links = sys::linkCount(p);
    }
    if (known != t_known.end()) t_known.erase(known);  // the save makes a new record
    const std::size_t cut = p.find_last_of(sys::kSeparators);
    const std::string folder = cut == std::string::npos ? std::string() : p.substr(0, cut + 1);
    const std::string name = cut == std::string::npos ? p : p.substr(cut + 1);
    const sys::SaveWay way =
        sys::saveWayFor(target, !target.exists || sys::mayCreateIn(folder.empty() ? "." : folder));
    if (way == sys::SaveWay::Leave) return false;
    sweepLeftovers(folder, false);
    if (way == sys::SaveWay::Replace) {
        switch (replaceWith(folder, name, p, bytes, target.exists ? &target : nullptr)) {
            case Replace::Done: return true;
            case Replace::Refused: return false;
            case Replace::NoNewFile: break;
        }
    }
    return sys::rewriteFile(p, bytes);
}

// ---- locks ------------------------------------------------------------------------------

namespace {

// Locks held by this thread: calls nested on one thread share the outermost.
struct Held {
    std::intptr_t token = 0;
    bool locked = false;
    int depth = 0;
};
thread_local std::map<std::string, Held> t_held;

}  // namespace

IniLock::IniLock(const String& path) {
    if (path.find(u'\0') != String::npos) return;  // names no file: nothing to guard
    key_ = sys::lockKey(path);
    Held& h = t_held[key_];
    if (h.depth++ > 0) return;
    h.locked = sys::lockAcquire(key_, h.token);  // false: a hung holder; the call goes on unguarded
}

IniLock::~IniLock() {
    if (key_.empty()) return;
    const auto it = t_held.find(key_);
    if (it == t_held.end() || --it->second.depth > 0) return;
    if (it->second.locked) sys::lockRelease(key_, it->second.token);
    t_held.erase(it);
}

}  // namespace qx::ini
