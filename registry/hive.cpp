#include "registry/hive.h"

#include <cstdio>

#include "core/text.h"

namespace qx::reg {

namespace {

bool isRootName(const std::string& line, const std::string& root) {
    if (line.size() < root.size()) return false;
    for (std::size_t i = 0; i < root.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(line[i])) != std::toupper(static_cast<unsigned char>(root[i])))
            return false;
    return line.size() == root.size() || line[root.size()] == '\\';
}

std::string quoted(const std::string& s) {
    std::string out = "\"";
    for (const char c : s) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + "\"";
}

// Reads a quoted text starting at s[i] == '"'; i ends after the closing quote.
bool readQuoted(const std::string& s, std::size_t& i, std::string& out) {
    if (i >= s.size() || s[i] != '"') return false;
    out.clear();
    for (++i; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            out += s[++i];
        } else if (s[i] == '"') {
            ++i;
            return true;
        } else {
            out += s[i];
        }
    }
    return false;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool readHexBytes(const std::string& s, std::string& out) {
    out.clear();
    std::size_t i = 0;
    auto skip = [&] {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    };
    skip();
    if (i == s.size()) return true;
    for (;;) {
        skip();
        if (i >= s.size()) return false;
        const int hi = i < s.size() ? hexDigit(s[i]) : -1;
        const int lo = i + 1 < s.size() ? hexDigit(s[i + 1]) : -1;
        if (hi < 0 || lo < 0) return false;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
        skip();
        if (i == s.size()) return true;
        if (s[i] != ',') return false;
        ++i;
    }
}

// A value line whose text is a plain string: NUL-terminated once, no NUL
// inside, nothing that would break the line.
bool plainString(const std::string& data) {
    if (data.empty() || data.back() != '\0') return false;
    for (std::size_t i = 0; i + 1 < data.size(); ++i)
        if (data[i] == '\0' || data[i] == '\r' || data[i] == '\n') return false;
    return true;
}

// Whether a value line's data is a hex list (which may continue on the next line).
bool isHexValueLine(const std::string& line) {
    std::size_t i = 0;
    std::string name;
    if (!line.empty() && line[0] == '@')
        i = 1;
    else if (!readQuoted(line, i, name))
        return false;
    return line.compare(i, 4, "=hex") == 0;
}

}  // namespace

std::string Hive::fold(const std::string& s) {
    std::string out = s;
    for (auto& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

bool Hive::normalise(const std::string& path, std::string& out) {
    out = path;
    while (!out.empty() && out.back() == '\\') out.pop_back();
    if (!out.empty() && out.front() == '\\') return false;
    if (out.find("\\\\") != std::string::npos) return false;
    return true;
}

std::string Hive::join(const std::string& parent, const std::string& sub) {
    if (parent.empty()) return sub;
    if (sub.empty()) return parent;
    return parent + "\\" + sub;
}

Hive::Key* Hive::find(const std::string& path) {
    auto it = keys_.find(fold(path));
    return it == keys_.end() ? nullptr : &it->second;
}

const Hive::Key* Hive::find(const std::string& path) const {
    auto it = keys_.find(fold(path));
    return it == keys_.end() ? nullptr : &it->second;
}

bool Hive::exists(const std::string& path) const { return path.empty() || find(path) != nullptr; }

long Hive::create(const std::string& path) {
    std::string p;
    if (!normalise(path, p)) return code::BadPathName;
    std::size_t pos = 0;
    while (!p.empty()) {
        const std::size_t slash = p.find('\\', pos);
        const std::string level = p.substr(0, slash);
        auto& k = keys_[fold(level)];
        if (k.path.empty()) {
            // Levels already present keep their spelling.
            const std::size_t parentEnd = level.rfind('\\');
            const Key* parent = parentEnd == std::string::npos ? nullptr : find(level.substr(0, parentEnd));
            k.path = parent ? parent->path + level.substr(parentEnd) : level;
        }
        if (slash == std::string::npos) break;
        pos = slash + 1;
    }
    return code::Success;
}

long Hive::removeKey(const std::string& path) {
    std::string p;
    if (!normalise(path, p)) return code::BadPathName;
    if (p.empty()) return code::AccessDenied;
    auto it = keys_.find(fold(p));
    if (it == keys_.end()) return code::FileNotFound;
    const std::string prefix = it->first + "\\";
    auto next = std::next(it);
    if (next != keys_.end() && next->first.compare(0, prefix.size(), prefix) == 0) return code::AccessDenied;
    for (auto& k : keys_)  // a subkey may sort elsewhere when names hold characters below "\"
        if (k.first.compare(0, prefix.size(), prefix) == 0) return code::AccessDenied;
    keys_.erase(it);
    return code::Success;
}

const HiveValue* Hive::value(const std::string& path, const std::string& name) const {
    const Key* k = find(path);
    if (!k) return nullptr;
    const std::string n = fold(name);
    for (const auto& v : k->values)
        if (fold(v.name) == n) return &v;
    return nullptr;
}

long Hive::setValue(const std::string& path, const std::string& name, std::uint32_t type, const std::string& data) {
    if (!exists(path)) return code::KeyDeleted;
    Key* k = find(path);
    if (!k) {
        keys_[std::string()].path.clear();  // the root's own values
        k = &keys_[std::string()];
    }
    const std::string n = fold(name);
    for (auto& v : k->values) {
        if (fold(v.name) == n) {
            v.type = type;
            v.data = data;
            return code::Success;
        }
    }
    k->values.push_back(HiveValue{name, type, data});
    return code::Success;
}

long Hive::removeValue(const std::string& path, const std::string& name) {
    Key* k = find(path);
    if (!k) return path.empty() ? code::FileNotFound : code::KeyDeleted;
    const std::string n = fold(name);
    for (auto it = k->values.begin(); it != k->values.end(); ++it) {
        if (fold(it->name) == n) {
            k->values.erase(it);
            return code::Success;
        }
    }
    return code::FileNotFound;
}

bool Hive::parse(const std::string& text, const std::string& rootName) {
    keys_.clear();
    // Logical lines: CR LF or LF ends, and a trailing "\" continues a hex list.
    std::vector<std::string> lines;
    std::string current;
    bool continued = false;
    for (const std::string_view piece : splitLines(text)) {
        std::string line(piece);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (continued) {
            const std::size_t b = line.find_first_not_of(" \t");
            line = b == std::string::npos ? std::string() : line.substr(b);
            current += line;
        } else {
            current = line;
        }
        continued = !current.empty() && current.back() == '\\' && isHexValueLine(current);
        if (continued) {
            current.pop_back();
            continue;
        }
        lines.push_back(current);
    }
    if (continued) lines.push_back(current);

    std::size_t i = 0;
    while (i < lines.size() && lines[i].empty()) ++i;
    if (i == lines.size()) return true;  // an empty file is an empty hive
    if (lines[i] != "REGEDIT4" && lines[i] != "Windows Registry Editor Version 5.00") return false;
    const std::string* key = nullptr;
    std::string keyPath;
    bool inKey = false;
    for (++i; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            if (line.back() != ']') return false;
            const std::string full = line.substr(1, line.size() - 2);
            if (!isRootName(full, rootName)) return false;
            std::string rel = full.size() > rootName.size() ? full.substr(rootName.size() + 1) : std::string();
            std::string p;
            if (!normalise(rel, p)) return false;
            create(p);
            if (p.empty()) keys_[std::string()];
            keyPath = p;
            inKey = true;
            key = &keyPath;
            continue;
        }
        if (!inKey) return false;
        std::size_t j = 0;
        std::string name;
        if (line[0] == '@') {
            j = 1;
        } else if (!readQuoted(line, j, name)) {
            return false;
        }
        if (j >= line.size() || line[j] != '=') return false;
        const std::string rhs = line.substr(j + 1);
        std::uint32_t type = 0;
        std::string data;
        if (!rhs.empty() && rhs[0] == '"') {
            std::size_t k = 0;
            if (!readQuoted(rhs, k, data) || k != rhs.size()) return false;
            data += '\0';
            type = 1;
        } else if (rhs.compare(0, 6, "dword:") == 0) {
            if (rhs.size() != 14) return false;
            std::uint32_t n = 0;
            for (std::size_t k = 6; k < 14; ++k) {
                const int d = hexDigit(rhs[k]);
                if (d < 0) return false;
                n = n * 16 + static_cast<std::uint32_t>(d);
            }
            for (int b = 0; b < 4; ++b) data += static_cast<char>((n >> (8 * b)) & 0xFF);
            type = 4;
        } else if (rhs.compare(0, 4, "hex:") == 0) {
            if (!readHexBytes(rhs.substr(4), data)) return false;
            type = 3;
        } else if (rhs.compare(0, 4, "hex(") == 0) {
            const std::size_t close = rhs.find("):", 4);
            if (close == std::string::npos || close == 4 || close > 12) return false;
            std::uint32_t t = 0;
            for (std::size_t k = 4; k < close; ++k) {
                const int d = hexDigit(rhs[k]);
                if (d < 0) return false;
                t = t * 16 + static_cast<std::uint32_t>(d);
            }
            if (!readHexBytes(rhs.substr(close + 2), data)) return false;
            type = t;
        } else {
            return false;
        }
        setValue(*key, name, type, data);
    }
    return true;
}

std::string Hive::text(const std::string& rootName) const {
    std::string out = "REGEDIT4\r\n";
    for (const auto& [folded, k] : keys_) {
        out += "\r\n[" + (folded.empty() ? rootName : rootName + "\\" + k.path) + "]\r\n";
        for (const auto& v : k.values) {
            std::string line = v.name.empty() ? std::string("@") : quoted(v.name);
            line += '=';
            if (v.type == 1 && plainString(v.data)) {
                line += quoted(v.data.substr(0, v.data.size() - 1));
            } else if (v.type == 4 && v.data.size() == 4) {
                std::uint32_t n = 0;
                for (int b = 3; b >= 0; --b) n = n * 256 + static_cast<unsigned char>(v.data[static_cast<std::size_t>(b)]);
                char buf[16];
                std::snprintf(buf, sizeof buf, "dword:%08x", n);
                line += buf;
            } else {
                char buf[24];
                if (v.type == 3)
                    std::snprintf(buf, sizeof buf, "hex:");
                else
                    std::snprintf(buf, sizeof buf, "hex(%x):", v.type);
                line += buf;
                for (std::size_t b = 0; b < v.data.size(); ++b) {
                    std::snprintf(buf, sizeof buf, b ? ",%02x" : "%02x", static_cast<unsigned char>(v.data[b]));
                    line += buf;
                }
            }
            out += line + "\r\n";
        }
    }
    return out;
}

}  // namespace qx::reg
