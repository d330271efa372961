#include "files/paths.h"

#include <cerrno>
#include <optional>
#include <utility>

#include "core/file_errors.h"

#include "core/error.h"
#include "files/path_logic.h"
#include "files/paths_sys.h"

namespace qx::files {

// ---- the decisions ----

String textBeforeNulOrRaise(StringView buffer) {
    const std::size_t nul = buffer.find(u'\0');
    if (nul == StringView::npos) raise(err::InvalidProcedureCall);
    return String(buffer.substr(0, nul));
}

String canonicalFromBuffer(StringView buffer) {
    const std::size_t nul = buffer.substr(0, kFullPathChars).find(u'\0');
    if (nul == StringView::npos) return String();
    return String(buffer.substr(0, nul));
}

String fullPathFromFolder(const String& path, const String& currentFolder, char16_t sep) {
    if (path.empty()) raise(err::InvalidProcedureCall);
    (void)systemPath(path, FileOp::Read);  // a name with a NUL names nothing, whatever its length
    const String full = foldDotSegments(path.front() == sep ? path : currentFolder + sep + path, sep);
    // The bound of the buffer the system's own call fills: a longer full path does not fit.
    if (toNarrow(full).size() >= kFullPathChars) raise(err::InvalidProcedureCall);
    return full;
}

String searchPattern(const String& filename, char16_t sep) {
    if (!filename.empty() && filename.back() == sep) return filename + u'*';
    return filename;
}

bool isPlainFileEntry(std::uint32_t attributes) {
    return (attributes & (attr::Hidden | attr::System | attr::VolumeLabel | attr::Directory)) == 0;
}

std::uint32_t posixAttributes(StringView name, EntryKind kind, bool wildcardMatch) {
    std::uint32_t a = 0;
    if (wildcardMatch && !name.empty() && name.front() == u'.') a |= attr::Hidden;
    if (kind == EntryKind::Folder) a |= attr::Directory;
    if (kind == EntryKind::Other) a |= attr::System;
    return a;
}

String foldDotSegments(StringView path, char16_t sep) {
    if (path.empty()) return String();
    const bool absolute = path.front() == sep;
    std::vector<StringView> kept;
    std::size_t climbs = 0;  // leading ".." of a relative path
    bool endsInFolder = path.back() == sep;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(sep, start);
        if (end == StringView::npos) end = path.size();
        const StringView part = path.substr(start, end - start);
        const bool last = end == path.size();
        if (part == u"..") {
            if (!kept.empty()) {
                kept.pop_back();
            } else if (!absolute) {
                ++climbs;
            }
        } else if (!part.empty() && part != u".") {
            kept.push_back(part);
        }
        // A path ending in "." or ".." names a folder without a trailing separator.
        if (last && (part == u"." || part == u"..")) endsInFolder = false;
        start = end + 1;
    }
    String out;
    if (absolute) out += sep;
    for (std::size_t i = 0; i < climbs; ++i) {
        out += u"..";
        out += sep;
    }
    for (const StringView part : kept) {
        out += part;
        out += sep;
    }
    // Every level was written with a separator after it; keep the last one
    // only where the path itself ended in one (and always for the root).
    if (!out.empty() && !(absolute && out.size() == 1) && !(endsInFolder && !kept.empty())) {
        out.pop_back();
    }
    if (out.empty()) return String(1, u'.');
    return out;
}

String longNameWalk(const String& fullPath, char16_t sep, const std::function<String(const String&)>& findName) {
    String f = fullPath;
    String acc;
    for (;;) {
        const String name = findName(f);
        if (f.size() <= 2 || name.size() <= 2) {
            acc = f + sep + acc;
            break;
        }
        acc = name + sep + acc;
        const std::size_t cut = f.rfind(sep);
        f = (cut == String::npos || cut == 0) ? String() : f.substr(0, cut);
    }
    acc.pop_back();
    return acc;
}

std::vector<String> foldersToCreate(const String& path, char16_t sep, bool uncNames) {
    std::vector<String> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = path.find(sep, start);
        parts.push_back(path.substr(start, end == String::npos ? String::npos : end - start));
        if (end == String::npos) break;
        start = end + 1;
    }

    std::vector<String> out;
    String acc;
    std::size_t next = 0;
    const bool rooted = !path.empty() && path[0] == sep;
    const bool unc = rooted && uncNames && path.size() > 1 && path[1] == sep;
    if (unc) {
        // "\\server\share\": the first two parts that are not blank after
        // the leading pair. Without both, no part is left to make a folder of.
        acc.assign(2, sep);
        int named = 0;
        for (next = 2; next < parts.size() && named < 2; ++next) {
            if (trim(parts[next]).empty()) continue;
            acc += parts[next];
            acc += sep;
            ++named;
        }
    } else if (rooted) {
        acc.assign(1, sep);
    }
    for (; next < parts.size(); ++next) {
        if (trim(parts[next]).empty()) continue;
        acc += parts[next];
        acc += sep;
        out.push_back(acc);
    }
    return out;
}

// ---- the routines ----

bool isAscii(std::uint8_t b) { return b >= 0x21 && b <= 0x7E; }

String fixPath(const String& folder) {
    String t = trim(folder);
    if (!t.empty() && t.back() != separator()) t += separator();
    return t;
}

String stripTerminator(const String& buffer) {
    const std::size_t nul = buffer.find(u'\0');
    return nul == String::npos ? buffer : buffer.substr(0, nul);
}

std::optional<std::string> systemPathIfAny(const String& path) {
    if (path.find(u'\0') != String::npos) return std::nullopt;
    return toNarrow(path);
}

std::string systemPath(const String& path, FileOp op) {
    std::optional<std::string> name = systemPathIfAny(path);
    if (!name) raise(fileErrorFromErrno(ENOENT, op));
    return std::move(*name);
}

bool fileExists(const String& filename) {
    try {
        if (filename.empty()) return false;
        return sys::anyPlainFile(searchPattern(filename, separator()));
    } catch (const RuntimeError&) {
        return false;
    }
}

String getAbsolutePath(const String& relPathName) {
    // Where the system has no canonicalizing call, the path is folded as text
    // and nothing bounds it.
    const std::optional<String> buffer = sys::canonicalBuffer(relPathName);
    return buffer ? canonicalFromBuffer(*buffer) : foldDotSegments(relPathName, separator());
}

String getShortName(const String& longPath) {
    // A name with a NUL names nothing, nor does an empty one: neither has a short form.
    if (longPath.empty() || longPath.find(u'\0') != String::npos) return String();
    String shortForm;
    return sys::shortPathName(longPath, shortForm) ? shortForm : String();
}

String getLongName(const String& fileName) {
    const String path = getAbsolutePath(fileName);
    const std::optional<String> buffer = sys::fullPathBuffer(path);
    const String full =
        buffer ? textBeforeNulOrRaise(*buffer) : fullPathFromFolder(path, sys::currentFolder(), separator());
    return longNameWalk(full, separator(), sys::firstEntryName);
}

void createFolders(const String& pathName) {
    // Share names ("\\server\share\") exist where the separator is the backslash.
    for (const String& folder : foldersToCreate(pathName, separator(), separator() == u'\\')) {
        try {
            sys::createFolder(folder);
        } catch (const RuntimeError&) {
            // Nothing is reported: a folder that cannot be made (or named) is skipped.
        }
    }
}

}  // namespace qx::files
