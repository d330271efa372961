// POSIX: a registry store of one hive per root, each a text file in the .reg
// export format. The current user's hive is
// $XDG_CONFIG_HOME/QXGenRtns/registry/HKEY_CURRENT_USER.reg (else under
// ~/.config); the per-machine roots are kept in /var/lib/QXGenRtns/registry/,
// or in the folder $QXGENRTNS_MACHINE_REGISTRY names. Every call reads the
// hive under the INI engine's file lock and a change is saved beside the
// file and renamed over it, so another process never sees half a hive.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <map>
#include <mutex>
#include <vector>

#include "core/error.h"
#include "ini/ini_file.h"
#include "registry/hive.h"
#include "registry/registry.h"
#include "registry/registry_sys.h"

namespace qx::reg::sys {

namespace {

constexpr std::uint32_t kFirstRoot = 0x80000000u;
const char* const kRootNames[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS"};

struct KeyRef {
    int root = -1;
    std::string path;
};

// Open keys of the process: a handle names a root and a key path.
std::mutex g_mutex;
std::map<Handle, KeyRef> g_open;
Handle g_next = 0x100;

bool resolve(Handle h, KeyRef& out) {
    const auto u = static_cast<std::uint32_t>(h);
    if (u >= kFirstRoot && u < kFirstRoot + 4) {
        out = KeyRef{static_cast<int>(u - kFirstRoot), std::string()};
        return true;
    }
    std::lock_guard<std::mutex> lock(g_mutex);
    auto it = g_open.find(h);
    if (it == g_open.end()) return false;
    out = it->second;
    return true;
}

Handle remember(const KeyRef& k) {
    std::lock_guard<std::mutex> lock(g_mutex);
    do {
        g_next += 4;
        if (g_next <= 0 || g_next >= 0x40000000) g_next = 0x100;
    } while (g_open.count(g_next));
    g_open[g_next] = k;
    return g_next;
}

std::string envFolder(const char* name) {
    const char* v = std::getenv(name);
    if (!v || !*v) return std::string();
    std::string s(v);
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return s;
}

std::string homeFolder() {
    std::string home = envFolder("HOME");
    if (!home.empty()) return home;
    std::vector<char> buf(16384);
    struct passwd pw {};
    struct passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &pw, buf.data(), buf.size(), &found) == 0 && found && found->pw_dir)
        return found->pw_dir;
    return std::string();
}

std::string hiveFolder(int root) {
    if (root == 1) {
        std::string config = envFolder("XDG_CONFIG_HOME");
        if (config.empty()) {
            const std::string home = homeFolder();
            if (home.empty()) return std::string();
            config = home + "/.config";
        }
        return config + "/QXGenRtns/registry";
    }
    const std::string machine = envFolder("QXGENRTNS_MACHINE_REGISTRY");
    return machine.empty() ? std::string("/var/lib/QXGenRtns/registry") : machine;
}

bool makeFolders(const std::string& folder) {
    struct stat st {};
    if (::stat(folder.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    const std::size_t slash = folder.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !makeFolders(folder.substr(0, slash))) return false;
    return ::mkdir(folder.c_str(), 0755) == 0 || errno == EEXIST;
}

// One call's view of a hive: locked, loaded, and saved when changed.
class HiveSession {
public:
    explicit HiveSession(int root)
        : root_(root), folder_(hiveFolder(root)), file_(folder_ + "/" + kRootNames[root] + ".reg"),
          lock_(fromNarrow(file_)) {
        struct stat st {};
        if (folder_.empty()) {
            readable_ = false;
            return;
        }
        if (::stat(file_.c_str(), &st) != 0) return;  // no file yet: an empty hive
        try {
            readable_ = hive_.parse(ini::loadIniFile(fromNarrow(file_), nullptr).bytes, kRootNames[root]);
        } catch (const RuntimeError&) {
            readable_ = false;
        }
    }
    Hive& hive() { return hive_; }
    // A hive that could not be read whole is never written over.
    long save() {
        if (!readable_) return code::RegistryCorrupt;
        if (!makeFolders(folder_)) return code::AccessDenied;
        return ini::saveIniBytes(fromNarrow(file_), hive_.text(kRootNames[root_])) ? code::Success
                                                                                   : code::AccessDenied;
    }

private:
    int root_;
    std::string folder_;
    std::string file_;
    ini::IniLock lock_;
    Hive hive_;
    bool readable_ = true;
};

long openCommon(Handle root, const std::string& subKey, bool create, Handle& out) {
    out = 0;
    KeyRef base;
    if (!resolve(root, base)) return code::InvalidHandle;
    std::string sub;
    if (!Hive::normalise(subKey, sub)) return code::BadPathName;
    KeyRef target{base.root, Hive::join(base.path, sub)};
    HiveSession s(base.root);
    if (!s.hive().exists(base.path)) return code::KeyDeleted;
    if (!s.hive().exists(target.path)) {
        if (!create) return code::FileNotFound;
        s.hive().create(target.path);
        if (const long rc = s.save()) return rc;
    }
    if (target.path.empty() && sub.empty() && base.path.empty()) {
        out = root;  // the root itself, as the system hands it back
        return code::Success;
    }
    out = remember(target);
    return code::Success;
}

}  // namespace

long openKeyEx(Handle root, const std::string& subKey, std::uint32_t, Handle& out) {
    return openCommon(root, subKey, false, out);
}

long openKey(Handle root, const std::string& subKey, Handle& out) { return openCommon(root, subKey, false, out); }

long createKeyEx(Handle root, const std::string& subKey, std::uint32_t, Handle& out) {
    return openCommon(root, subKey, true, out);
}

long queryValue(Handle key, const std::string& name, std::uint32_t* type, unsigned char* data, std::uint32_t* size) {
    KeyRef k;
    if (!resolve(key, k)) return code::InvalidHandle;
    HiveSession s(k.root);
    if (!s.hive().exists(k.path)) return code::KeyDeleted;
    const HiveValue* v = s.hive().value(k.path, name);
    if (!v) return code::FileNotFound;
    if (type) *type = v->type;
    if (!size) return data ? code::InvalidParameter : code::Success;
    const auto n = static_cast<std::uint32_t>(v->data.size());
    if (data && *size < n) {
        *size = n;
        return code::MoreData;
    }
    if (data) v->data.copy(reinterpret_cast<char*>(data), n);
    *size = n;
    return code::Success;
}

long setValue(Handle key, const std::string& name, std::uint32_t type, const unsigned char* data, std::uint32_t size) {
    KeyRef k;
    if (!resolve(key, k)) return code::InvalidHandle;
    HiveSession s(k.root);
    const std::string bytes(reinterpret_cast<const char*>(data), data ? size : 0);
    if (const long rc = s.hive().setValue(k.path, name, type, bytes)) return rc;
    return s.save();
}

long deleteKey(Handle key, const std::string& subKey) {
    KeyRef k;
    if (!resolve(key, k)) return code::InvalidHandle;
    std::string sub;
    if (!Hive::normalise(subKey, sub)) return code::BadPathName;
    HiveSession s(k.root);
    if (const long rc = s.hive().removeKey(Hive::join(k.path, sub))) return rc;
    return s.save();
}

long deleteValue(Handle key, const std::string& name) {
    KeyRef k;
    if (!resolve(key, k)) return code::InvalidHandle;
    HiveSession s(k.root);
    if (const long rc = s.hive().removeValue(k.path, name)) return rc;
    return s.save();
}

long closeKey(Handle key) {
    const auto u = static_cast<std::uint32_t>(key);
    if (u >= kFirstRoot && u < kFirstRoot + 4) return code::Success;
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_open.erase(key) ? code::Success : code::InvalidHandle;
}

std::string expandEnvironment(const std::string& text) {
    return expandPercentReferences(text, [](const std::string& name, std::string& value) {
        const char* v = std::getenv(name.c_str());
        if (!v) return false;
        value = v;
        return true;
    });
}

// The store keeps the layout of the NT family's registry.
std::uint32_t registryPlatform() { return 2; }

}  // namespace qx::reg::sys
