#include "ini/ini_engine.h"

#include <atomic>
#include <map>
#include <memory>

#include "core/error.h"
#include "core/numeric.h"
#include "ini/ini_file.h"

namespace qx::ini {

namespace {

const String kCrLf = u"\r\n";

// The line list of the last load, one per thread: nested calls see what the
// innermost load left, as the engine's rules expect. Lists are shared with
// the load cache and copied before they are changed.
thread_local std::shared_ptr<const Lines> t_lines;

const Lines& lines() { return *t_lines; }

// Files loaded on this thread, with the stamp they had: a load whose stamp
// still matches is not read again. Only platforms that give stamps fill it.
struct Cached {
    FileStamp stamp;
    std::shared_ptr<const Lines> lines;
};
thread_local std::map<String, Cached> t_cache;
constexpr std::size_t kCachedFiles = 16;

void remember(const String& file, const FileStamp& stamp, std::shared_ptr<const Lines> l) {
    if (!stamp.cacheable) {
        t_cache.erase(file);
        return;
    }
    if (t_cache.size() >= kCachedFiles && !t_cache.count(file)) t_cache.erase(t_cache.begin());
    t_cache[file] = {stamp, std::move(l)};
}

std::atomic<long long> g_lockWaitMs{10000};

// The last line number. Line numbers are 16-bit: a file beyond 32,768 lines
// overflows here, before any lookup.
std::int16_t lastLine(const Lines& lines) { return checkedInt16(static_cast<std::int64_t>(lines.size()) - 1); }

bool isBracketed(const String& line) {
    const StringView t = trimView(line);
    return !t.empty() && t.front() == u'[' && t.back() == u']';
}

void loadIniLines(const String& file) {
    const auto it = t_cache.find(file);
    Loaded l = loadIniFile(file, it != t_cache.end() ? &it->second.stamp : nullptr);
    if (!l.visible) {
        t_lines = std::make_shared<const Lines>();
        return;
    }
    if (!l.read) {
        t_lines = it->second.lines;
        return;
    }
    t_lines = std::make_shared<const Lines>(splitLines(fromNarrow(l.bytes)));
    remember(file, l.stamp, t_lines);
}

void saveIniFile(IniSectionInfo& info, const String& file) {
    // The next load reads the file again: its stamp is new, and too young to trust.
    t_cache.erase(file);
    (void)saveIniBytes(file, toNarrow(renderSave(lines(), info)));
}

// One lookup of GetIniString, on the section the record describes.
String lookup(IniSectionInfo& info, const String& section, const String& key, const String& defaultValue,
              const String& file, bool alternate) {
    if (info.Found) {
        findIniKey(lines(), info, key);
        if (!info.KeyValue.empty()) return info.KeyValue;
        writeIniString(section, key, defaultValue, file);
        return defaultValue;
    }
    if (!alternate) {
        writeIniString(section, key, defaultValue, file);
        return defaultValue;
    }
    return {};
}

}  // namespace

void IniLock::setWaitLimit(std::chrono::milliseconds limit) { g_lockWaitMs = limit.count(); }
std::chrono::milliseconds IniLock::waitLimit() { return std::chrono::milliseconds(g_lockWaitMs.load()); }

Lines splitLines(const String& text) {
    Lines lines;
    if (text.empty()) return lines;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = text.find(kCrLf, from);
        if (at == String::npos) {
            lines.push_back(text.substr(from));
            return lines;
        }
        lines.push_back(text.substr(from, at - from));
        from = at + 2;
    }
}

void findIniSection(const Lines& lines, IniSectionInfo& info, const String& section, bool alternate) {
    const String name = trim(section);
    const String header = alternate ? u"[" + name + u" <0009>]" : u"[" + name + u"]";
    const std::int16_t last = lastLine(lines);
    info.Found = false;
    int i = 0;
    for (; i <= last; ++i) {
        if (equalsNoCase(trimView(lines[static_cast<std::size_t>(i)]), header)) {
            info.StartLine = static_cast<std::int16_t>(i);
            info.Found = true;
            break;
        }
    }
    if (!info.Found) return;
    // The section ends before the next bracketed line of any kind...
    while (i < last) {
        info.EndLine = static_cast<std::int16_t>(i);
        ++i;
        if (isBracketed(lines[static_cast<std::size_t>(i)])) return;
    }
    // ...or, when none follows, at the last non-empty line.
    for (int j = last; j >= info.StartLine; --j) {
        if (!lines[static_cast<std::size_t>(j)].empty()) {
            info.EndLine = static_cast<std::int16_t>(j);
            return;
        }
    }
}

// Case folding with the ASCII letters done inline: the lookup folds every
// character of the section once per call.
inline char16_t fold(char16_t c) {
    if (c < 0x80) return static_cast<char16_t>(c >= u'A' && c <= u'Z' ? c + 32 : c);
    return foldCase(c);
}

// findNoCase for a needle folded beforehand.
std::size_t findFolded(const String& hay, const String& folded) {
    if (folded.size() > hay.size()) return String::npos;
    const std::size_t last = hay.size() - folded.size();
    for (std::size_t i = 0; i <= last; ++i) {
        std::size_t j = 0;
        while (j < folded.size() && fold(hay[i + j]) == folded[j]) ++j;
        if (j == folded.size()) return i;
    }
    return String::npos;
}

void findIniKey(const Lines& lines, IniSectionInfo& info, const String& key) {
    String needle = key + u"=";
    for (char16_t& c : needle) c = fold(c);
    for (int i = info.StartLine; i <= info.EndLine; ++i) {
        const String& line = lines[static_cast<std::size_t>(i)];
        const std::size_t at = findFolded(line, needle);
        if (at != String::npos) {
            info.KeyLine = static_cast<std::int16_t>(i);
            info.KeyValue = trim(StringView(line).substr(at + needle.size()));
            return;
        }
    }
}

String renderSave(const Lines& lines, IniSectionInfo& info) {
    if (lines.empty()) {
        info.StartLine = -1;
        info.EndLine = -1;
    }
    String out;
    std::size_t size = info.NewText.size() + 2;
    for (const String& l : lines) size += l.size() + 2;
    out.reserve(size + size / 8);
    // A kept line ending in "]" stands between two empty lines; empty and
    // all-space lines are dropped; other lines are written unchanged.
    auto writeIniLine = [&out](const String& line) {
        const bool bracket = !line.empty() && line.back() == u']';
        if (bracket) out += kCrLf;
        if (!trimView(line).empty()) {
            out += line;
            out += kCrLf;
        }
        if (bracket) out += kCrLf;
    };
    const int last = static_cast<int>(lines.size()) - 1;
    for (int i = 0; i <= info.StartLine && i <= last; ++i) writeIniLine(lines[static_cast<std::size_t>(i)]);
    if (!trimView(info.NewText).empty()) {
        out += info.NewText;
        out += kCrLf;
    }
    for (int i = info.EndLine + 1; i <= last; ++i) writeIniLine(lines[static_cast<std::size_t>(i)]);
    return out;
}

String getIniString(const String& section, const String& key, const String& defaultValue, const String& file) {
    IniLock lock(file);
    loadIniLines(file);
    IniSectionInfo info;
    findIniSection(lines(), info, section, false);
    String r = lookup(info, section, key, defaultValue, file, false);
    if (r.empty()) {
        // The alternate header is looked up on the lines already loaded.
        findIniSection(lines(), info, section, true);
        r = lookup(info, section, key, defaultValue, file, true);
    }
    return r;
}

bool writeIniString(const String& section, const String& key, const String& value, const String& file) {
    IniLock lock(file);
    loadIniLines(file);
    IniSectionInfo info;
    findIniSection(lines(), info, section, false);
    const bool found = info.Found;
    String newLine = key + u"=" + value;
    if (!found) {
        writeIniSection(section, newLine, file);
        return found;
    }
    findIniKey(lines(), info, key);
    if (info.KeyLine != 0) {
        if (value.empty()) newLine.clear();  // the save drops the emptied line: the key is deleted
        auto changed = std::make_shared<Lines>(lines());
        (*changed)[static_cast<std::size_t>(info.KeyLine)] = newLine;
        t_lines = std::move(changed);
        info.StartLine = info.EndLine;
        info.NewText.clear();
    } else {
        info.StartLine = info.EndLine;
        info.NewText = value.empty() ? String() : newLine;
    }
    saveIniFile(info, file);
    return found;
}

bool writeIniSection(const String& section, const String& body, const String& file) {
    IniLock lock(file);
    loadIniLines(file);
    IniSectionInfo info;
    findIniSection(lines(), info, section, false);
    const bool found = info.Found;
    if (found) {
        info.NewText = body;
    } else {
        info.StartLine = lastLine(lines());
        info.EndLine = info.StartLine;
        info.NewText = u"[" + section + u"]" + kCrLf + kCrLf + body;
    }
    saveIniFile(info, file);
    return found;
}

bool getIniSection(const String& section, String& body, const String& file) {
    IniLock lock(file);
    loadIniLines(file);
    IniSectionInfo info;
    findIniSection(lines(), info, section, false);
    if (!info.Found) return false;
    String text;
    for (int i = info.StartLine + 1; i <= info.EndLine; ++i) {
        const String& line = lines()[static_cast<std::size_t>(i)];
        if (i == info.StartLine + 1 && trimView(line).empty()) continue;
        text += line;
        text += kCrLf;
    }
    if (!text.empty()) body = text.substr(0, text.size() - 2);
    return true;
}

void getSection(const String& section, const String& file, std::vector<String>& sectionLines) {
    constexpr std::size_t kBuffer = 32767;
    const String untouched(kBuffer, u'\0');
    String buffer = untouched;
    const bool found = getIniSection(section, buffer, file);
    // A body of one empty line comes back as "": empty, like no body at all.
    if (!found || buffer == untouched || buffer.empty()) {
        sectionLines.assign(2, String());
        return;
    }
    if (buffer.size() > kBuffer) buffer.resize(kBuffer);
    sectionLines = splitLines(buffer);
}

}  // namespace qx::ini
