#pragma once
// A fresh folder under the system's temporary folder for one test, removed
// with everything in it when the test ends, and a helper that writes paths
// with "|" for the platform's separator.
#include <atomic>
#include <cstdlib>
#include <optional>
#include <random>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/qxstring.h"
#include "files/paths.h"

namespace qxtest {

// "|" becomes the platform's separator: p("a|b|") is "a\b\" or "a/b/".
inline qx::String p(qx::StringView text) {
    qx::String out(text);
    for (auto& c : out)
        if (c == u'|') c = qx::files::separator();
    return out;
}

class TempFolder {
public:
    explicit TempFolder(const char* tag = "qx") {
        static std::atomic<unsigned> counter{0};
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                (std::string(tag) + "_" + std::to_string(rd()) + std::to_string(rd()) + "_" + std::to_string(counter++));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        // Folders a test made read-only are opened again, so that all of it goes.
        namespace fs = std::filesystem;
        std::error_code ec;
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
        for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::recursive_directory_iterator();
             it.increment(ec)) {
            std::error_code ec2;
            if (it->is_directory(ec2) && !it->is_symlink(ec2))
                fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec2);
        }
        fs::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // A file or folder directly inside, by its narrow name.
    std::filesystem::path path(const std::string& name) const { return path_ / name; }
    // The same as the library takes it.
    qx::String file(const std::string& name) const { return qx::fromUtf8(path(name).string()); }
    // The folder as the library's text, ending in the separator.
    qx::String str() const { return path_.u16string() + qx::files::separator(); }
    // A path inside the folder; "|" separates levels.
    qx::String operator/(qx::StringView rel) const { return str() + p(rel); }

    // Writes a file (relative name, "|" between levels) with the given content.
    std::filesystem::path write(qx::StringView rel, const std::string& content = "x") const {
        const std::filesystem::path file = std::filesystem::path(*this / rel);
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << content;
        return file;
    }

private:
    std::filesystem::path path_;
};

#ifdef _WIN32
inline void setEnvironment(const char* name, const char* value) { _putenv_s(name, value ? value : ""); }
#else
inline void setEnvironment(const char* name, const char* value) {
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
}
#endif

// Sets (or, with nullopt, removes) an environment variable for one scope.
class EnvVar {
public:
    EnvVar(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        setEnvironment(name, value ? value->c_str() : nullptr);
    }
    ~EnvVar() { setEnvironment(name_, old_ ? old_->c_str() : nullptr); }
    EnvVar(const EnvVar&) = delete;
    EnvVar& operator=(const EnvVar&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

// The user's folders for one scope: the home folder, the XDG base folders
// and the temporary folder all point into a fresh folder, so that routines
// that write under them never touch the real ones.
class UserFoldersInTempFolder {
public:
    UserFoldersInTempFolder()
        : home_("HOME", sub("home")),
          data_("XDG_DATA_HOME", sub("home/.local/share")),
          config_("XDG_CONFIG_HOME", sub("home/.config")),
          cache_("XDG_CACHE_HOME", sub("home/.cache")),
          state_("XDG_STATE_HOME", sub("home/.local/state")),
          tmpdir_("TMPDIR", sub("tmp")),
          tmp_("TMP", sub("tmp")),
          temp_("TEMP", sub("tmp")) {}

    const TempFolder& root() const { return root_; }

private:
    std::string sub(const char* rel) const {
        const std::filesystem::path p = root_.path() / rel;
        std::filesystem::create_directories(p);
        return p.string();
    }
    TempFolder root_{"qx_user"};
    EnvVar home_, data_, config_, cache_, state_, tmpdir_, tmp_, temp_;
};

inline bool isFolder(const qx::String& path) { return std::filesystem::is_directory(std::filesystem::path(path)); }

}  // namespace qxtest
