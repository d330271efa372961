// Fuzzing the INI engine: a file of arbitrary bytes, the marker line
// "\n@@ops@@\n" (its last occurrence), then one call a line: g<section>|<key>|<default>
// (getIniString), w<section>|<key>|<value> (writeIniString), W<section>|<body>
// (writeIniSection), s<section> or l<section> (getIniSection and getSection),
// d (the file is deleted). Fields are UTF-8; "\r" and "\n" stand for CR and LF.
// After every call: no error but a file error escaped; nothing is left beside
// the file; every non-blank line the call does not own (the key line a write
// replaces, the body a section write replaces) is still there, in order;
// section reads write nothing, bodies are text of the file without a bracketed
// line, and getSection agrees; what a write stores reads back; saves settle.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "core/error.h"
#include "fuzz_support.h"
#include "ini/ini_engine.h"

using qx::String;
using qxfuzz::printable;
using qxfuzz::printableBytes;
namespace ini = qx::ini;

namespace {

const std::string& filePath() {
    static const qxfuzz::ScratchFolder folder("qxfuzz-ini");
    static const std::string path = folder.path() + "/fuzz.ini";
    return path;
}
String file() { return qx::fromNarrow(filePath()); }
std::string fileBytes() { return qxfuzz::readFile(filePath()); }

std::vector<String> linesOf(const String& text) {
    std::vector<String> out;
    for (std::size_t from = 0, at = 0; !text.empty() && from <= text.size(); from = at + 2) {
        at = std::min(text.find(u"\r\n", from), text.size());
        out.push_back(text.substr(from, at - from));
    }
    return out;
}
bool blank(qx::StringView l) { return qx::trimView(l).empty(); }
bool bracketed(qx::StringView l) {
    const qx::StringView t = qx::trimView(l);
    return t.size() > 1 && t.front() == u'[' && t.back() == u']';
}
// Section names, keys and values whose round trip through the file is promised.
bool plain(const String& s) {
    return !s.empty() && qx::trim(s) == s && s.find_first_of(u"=\r\n[]") == String::npos &&
           qx::fromNarrow(qx::toNarrow(s)) == s;
}

// The non-blank lines before and after agree but for one run of old lines,
// each of which `owned` accepts (given its place in the run).
template <typename Owned>
void checkKept(const std::string& op, const std::string& before, Owned&& owned) {
    std::vector<String> b = linesOf(qx::fromNarrow(before)), a = linesOf(qx::fromNarrow(fileBytes()));
    b.erase(std::remove_if(b.begin(), b.end(), blank), b.end());
    a.erase(std::remove_if(a.begin(), a.end(), blank), a.end());
    std::size_t head = 0, tail = 0;
    while (head < b.size() && head < a.size() && b[head] == a[head]) ++head;
    while (tail < b.size() - head && tail < a.size() - head && b[b.size() - 1 - tail] == a[a.size() - 1 - tail]) ++tail;
    for (std::size_t i = head; i < b.size() - tail; ++i)
        QXFUZZ_CHECK(owned(b[i], i - head), op, "lost " + printable(b[i]), "from " + printableBytes(before));
    for (const auto& e : std::filesystem::directory_iterator(std::filesystem::path(filePath()).parent_path()))
        QXFUZZ_CHECK(e.path().filename() == "fuzz.ini", op, "a save left " + e.path().string());
}

// getIniString (`read`, `text` the default) and writeIniString (`text` the value).
void checkKeyCall(const std::string& op, bool read, const String& section, const String& key, const String& text) {
    const std::string before = fileBytes();
    const String needle = key + u"=";
    if (read)
        ini::getIniString(section, key, text, file());
    else
        ini::writeIniString(section, key, text, file());
    // A write owns the key line it replaces; a read with an empty default may store it twice.
    checkKept(op, before, [&](const String& l, std::size_t n) {
        return n < (read ? 2u : 1u) && qx::findNoCase(l, needle) != String::npos;
    });
    // Plain text stored under a key on no line before reads back, and the same
    // write twice more settles: only the first save of a new section lays it out.
    const std::string stored = fileBytes();
    if ((read && stored == before) || !plain(section) || !plain(key) || !plain(text) ||
        qx::findNoCase(qx::fromNarrow(before), needle) != String::npos)
        return;
    const String got = ini::getIniString(section, key, text + u"x", file());
    QXFUZZ_CHECK(got == text && fileBytes() == stored, op, "read back " + printable(got), printableBytes(stored));
    ini::writeIniString(section, key, text, file());
    const std::string saved = fileBytes();
    ini::writeIniString(section, key, text, file());
    QXFUZZ_CHECK(fileBytes() == saved, op, "no settling at " + printableBytes(saved));
}

// getIniSection, and getSection, which must agree with it.
void checkSectionRead(const std::string& op, const String& section) {
    const std::string before = fileBytes();
    const String untouched = u"\r\n[untouched]";  // no body can be this
    String body = untouched;
    const bool found = ini::getIniSection(section, body, file());
    std::vector<String> elements;
    ini::getSection(section, file(), elements);
    QXFUZZ_CHECK(fileBytes() == before, op, "a section read wrote");
    const std::vector<String> lines = body != untouched ? linesOf(body) : std::vector<String>();
    QXFUZZ_CHECK(lines.empty() || (found && qx::fromNarrow(before).find(body) != String::npos), op, printable(body));
    QXFUZZ_CHECK(std::none_of(lines.begin(), lines.end(), bracketed), op, "a bracketed line in " + printable(body));
    if (body.size() < 32767)
        QXFUZZ_CHECK(elements == (lines.empty() ? std::vector<String>(2) : lines), op, "getSection of " + printable(body));
}

void checkSectionWrite(const std::string& op, const String& section, const String& body) {
    const std::string before = fileBytes();
    String old;
    ini::getIniSection(section, old, file());
    ini::writeIniSection(section, body, file());
    const std::vector<String> owned = linesOf(old);
    checkKept(op, before, [&](const String& l, std::size_t) {
        return std::find(owned.begin(), owned.end(), l) != owned.end();
    });
}

void run(std::string_view line) {
    std::string text;
    for (std::size_t i = 1; i < line.size(); ++i) {
        const bool escape = line[i] == '\\' && i + 1 < line.size() && (line[i + 1] == 'r' || line[i + 1] == 'n');
        text += escape ? (line[++i] == 'r' ? '\r' : '\n') : line[i];
    }
    std::vector<String> f;
    for (std::size_t from = 0, bar = 0; from <= text.size(); from = bar + 1) {
        bar = std::min(text.find('|', from), text.size());
        f.push_back(qx::fromUtf8(text.substr(from, bar - from)));
    }
    f.resize(std::max<std::size_t>(f.size(), 3));
    const std::string op = printableBytes(line, 200);
    try {
        if (line[0] == 'g' || line[0] == 'w') checkKeyCall(op, line[0] == 'g', f[0], f[1], f[2]);
        if (line[0] == 's' || line[0] == 'l') checkSectionRead(op, f[0]);
        if (line[0] == 'W') checkSectionWrite(op, f[0], f[1]);
        if (line[0] == 'd') std::filesystem::remove(filePath());
    } catch (const qx::RuntimeError& e) {
        // Only the file errors may escape (a file beyond 32,768 lines is out of the inputs' reach).
        using namespace qx::err;
        const auto fileErrors = {BadFileNameOrNumber, FileNotFound, DeviceIOError, DiskFull,
                                 PermissionDenied,    PathFileAccessError, PathNotFound};
        QXFUZZ_CHECK(std::count(fileErrors.begin(), fileErrors.end(), e.number()) == 1, op, e.what());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view in(reinterpret_cast<const char*>(data), size);
    QXFUZZ_CHECK(qx::toNarrow(qx::fromNarrow(in)) == in, "the narrow text of the input does not round-trip");
    const std::size_t at = in.rfind("\n@@ops@@\n");
    std::filesystem::remove(filePath());
    if (!in.substr(0, at).empty()) qxfuzz::writeFile(filePath(), std::string(in.substr(0, at)));
    for (std::size_t from = at + 9, n = 0; at != std::string_view::npos && from < in.size() && n < 32; ++n) {
        const std::size_t nl = std::min(in.find('\n', from), in.size());
        if (nl > from) run(in.substr(from, nl - from));
        from = nl + 1;
    }
    return 0;
}
