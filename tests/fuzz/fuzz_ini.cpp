// Fuzzing the INI engine: a file of arbitrary bytes, the marker line
// "\n@@ops@@\n" (its last occurrence), then one call a line: g<section>|<key>|<default>
// (getIniString), w<section>|<key>|<value> (writeIniString), W<section>|<body>
// (writeIniSection), s<section> or l<section> (getIniSection and getSection),
// d (the file is deleted). Fields are UTF-8; "\r" and "\n" stand for CR and LF,
// "\" before any other character for that character. After every call:
// - no error but a file error escaped, and nothing is left beside the file;
// - every non-blank line the call does not own (the key line a write
//   replaces, the body a section write replaces) is still there, in order;
// - reads write nothing, unless getIniString stores its default;
// - a section is found exactly when its header is in the file; its body is
//   text of the file without a bracketed line, and getSection agrees;
// - what a write stores (plain text, the key on no line before) reads back,
//   and the same write again leaves the bytes as they are from the second save on.
#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
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
std::string fileBytes() {
    std::ifstream in(filePath(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

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
bool hasHeader(const std::string& bytes, const String& section) {
    const std::vector<String> l = linesOf(qx::fromNarrow(bytes));
    return std::any_of(l.begin(), l.end(), [&](const String& s) {
        return qx::equalsNoCase(qx::trimView(s), u"[" + qx::trim(section) + u"]");
    });
}
// Section names, keys and values whose round trip through the file is promised.
bool plain(const String& s) {
    return !s.empty() && qx::trim(s) == s && s.find_first_of(u"=\r\n[]") == String::npos &&
           qx::fromNarrow(qx::toNarrow(s)) == s;
}

// Runs one public call; answers false when it raised a file error.
template <typename F>
bool call(const std::string& op, F&& f) {
    try {
        f();
        return true;
    } catch (const qx::RuntimeError& e) {
        using namespace qx::err;
        const auto fileErrors = {BadFileNameOrNumber, FileNotFound, DeviceIOError, DiskFull,
                                 PermissionDenied,    PathFileAccessError, PathNotFound};
        QXFUZZ_CHECK(std::count(fileErrors.begin(), fileErrors.end(), e.number()) == 1, op, e.what());
        return false;
    }
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
    const bool existed = hasHeader(before, section);
    const String needle = key + u"=";
    String got;
    bool found = false;
    auto write = [&] { found = ini::writeIniString(section, key, text, file()); };
    if (!call(op, [&] { read ? void(got = ini::getIniString(section, key, text, file())) : write(); })) return;
    // A write owns the key line it replaces; a read with an empty default may store it twice.
    checkKept(op, before, [&](const String& l, std::size_t n) {
        return n < (read ? 2u : 1u) && qx::findNoCase(l, needle) != String::npos;
    });
    QXFUZZ_CHECK(read || found == existed, op, "a write answers whether the section was there");
    // A value found is trimmed text of the file, and finding it wrote nothing
    // (an empty default may be stored before the alternate header answers).
    if (read && got != text)
        QXFUZZ_CHECK(!got.empty() && qx::trim(got) == got && qx::fromNarrow(before).find(got) != String::npos &&
                         (text.empty() || fileBytes() == before),
                     op, "got " + printable(got), "from " + printableBytes(before));
    if ((read && fileBytes() == before) || !plain(section) || !plain(key) || !plain(text) ||
        qx::findNoCase(qx::fromNarrow(before), needle) != String::npos)
        return;
    const std::string stored = fileBytes();
    if (!call(op, [&] { got = ini::getIniString(section, key, text + u"x", file()); })) return;
    QXFUZZ_CHECK(got == text && fileBytes() == stored, op, "read back " + printable(got), printableBytes(stored));
    // The same write twice more settles at once when the section existed,
    // else (the first save lays out the new section) at the second.
    for (int again = 0; again < 2; ++again) {
        const std::string saved = fileBytes();
        if (!call(op, write)) return;
        QXFUZZ_CHECK(fileBytes() == saved || (!existed && again == 0), op, "no settling at " + printableBytes(saved));
    }
}

// getIniSection, and getSection, which must agree with it.
void checkSectionRead(const std::string& op, const String& section) {
    const std::string before = fileBytes();
    const String untouched = u"\r\n[untouched]";  // no body can be this
    String body = untouched;
    bool found = false;
    std::vector<String> elements;
    if (!call(op, [&] { found = ini::getIniSection(section, body, file()); }) ||
        !call(op, [&] { ini::getSection(section, file(), elements); }))
        return;
    QXFUZZ_CHECK(fileBytes() == before && found == hasHeader(before, section), op, printableBytes(before));
    const std::vector<String> lines = body != untouched ? linesOf(body) : std::vector<String>();
    QXFUZZ_CHECK(lines.empty() || (found && qx::fromNarrow(before).find(body) != String::npos), op, printable(body));
    QXFUZZ_CHECK(std::none_of(lines.begin(), lines.end(), bracketed), op, "a bracketed line in " + printable(body));
    if (body.size() < 32767)
        QXFUZZ_CHECK(elements == (lines.empty() ? std::vector<String>(2) : lines), op, "getSection of " + printable(body));
}

void checkSectionWrite(const std::string& op, const String& section, const String& body) {
    const std::string before = fileBytes();
    String old;
    bool existed = false, found = false;
    if (!call(op, [&] { existed = ini::getIniSection(section, old, file()); }) ||
        !call(op, [&] { found = ini::writeIniSection(section, body, file()); }))
        return;
    QXFUZZ_CHECK(found == existed, op, "a section write answers whether the section was there");
    const std::vector<String> owned = linesOf(old);
    checkKept(op, before, [&](const String& l, std::size_t) {
        return std::find(owned.begin(), owned.end(), l) != owned.end();
    });
}

void run(std::string_view line) {
    std::vector<std::string> f(1);
    for (std::size_t i = 1; i < line.size(); ++i) {
        if (line[i] == '|') {
            f.emplace_back();
        } else if (line[i] == '\\' && i + 1 < line.size()) {
            ++i;
            f.back() += line[i] == 'r' ? '\r' : line[i] == 'n' ? '\n' : line[i];
        } else {
            f.back() += line[i];
        }
    }
    f.resize(std::max<std::size_t>(f.size(), 3));
    const std::string op = printableBytes(line, 200);
    const String a = qx::fromUtf8(f[0]), b = qx::fromUtf8(f[1]), c = qx::fromUtf8(f[2]);
    switch (line[0]) {
        case 'g': checkKeyCall(op, true, a, b, c); break;
        case 'w': checkKeyCall(op, false, a, b, c); break;
        case 's':
        case 'l': checkSectionRead(op, a); break;
        case 'W': checkSectionWrite(op, a, b); break;
        case 'd': std::filesystem::remove(filePath()); break;
        default: break;
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
