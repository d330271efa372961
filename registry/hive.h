#pragma once
// One registry hive held in memory and kept on disk as text in the .reg export
// format (REGEDIT4): a bracketed line per key and a line per value. Names are
// narrow bytes, matched without regard to ASCII case and kept as first
// written. Operations answer the system's error codes (0 success, 2 not found,
// 5 access denied, 161 bad path name).
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace qx::reg {

namespace code {
constexpr long Success = 0;
constexpr long FileNotFound = 2;
constexpr long AccessDenied = 5;
constexpr long InvalidHandle = 6;
constexpr long InvalidParameter = 87;
constexpr long BadPathName = 161;
constexpr long MoreData = 234;
constexpr long RegistryCorrupt = 1015;
constexpr long KeyDeleted = 1018;
}  // namespace code

struct HiveValue {
    std::string name;  // "" is the key's default value
    std::uint32_t type = 0;
    std::string data;  // the value's bytes
};

class Hive {
public:
    // Parses a hive file's text for the root named `rootName`
    // ("HKEY_CURRENT_USER"); false when a line cannot be read, in which case
    // the hive holds what came before it.
    bool parse(const std::string& text, const std::string& rootName);
    // The text of the whole hive, CR LF line ends.
    std::string text(const std::string& rootName) const;

    // Key paths are relative to the root ("" is the root itself), levels
    // separated by "\".
    bool exists(const std::string& path) const;
    // Creates the key and any missing levels above it.
    long create(const std::string& path);
    // Deletes a key that has no subkeys; the root cannot be deleted.
    long removeKey(const std::string& path);

    const HiveValue* value(const std::string& path, const std::string& name) const;
    long setValue(const std::string& path, const std::string& name, std::uint32_t type, const std::string& data);
    long removeValue(const std::string& path, const std::string& name);

    // A key path in the form the hive stores it, or false when the path is not
    // a valid key name (a leading "\" or an empty level).
    static bool normalise(const std::string& path, std::string& out);
    static std::string join(const std::string& parent, const std::string& sub);

private:
    struct Key {
        std::string path;  // as first written
        std::vector<HiveValue> values;
    };
    static std::string fold(const std::string& s);
    Key* find(const std::string& path);
    const Key* find(const std::string& path) const;

    std::map<std::string, Key> keys_;  // by folded path
};

}  // namespace qx::reg
