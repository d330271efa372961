// Fuzzing the INI engine: a file of arbitrary bytes, then a script of calls
// to the five public operations, each checked against the engine's rules.
//
// The input is the file's bytes, the marker line "\n@@ops@@\n" (its last
// occurrence), then one operation per line:
//   g<section>|<key>|<default>   getIniString
//   w<section>|<key>|<value>     writeIniString
//   s<section>|<initial body>    getIniSection
//   W<section>|<body>            writeIniSection
//   l<section>                   getSection
//   r<count>                     the file becomes its own bytes <count> times over
//   d                            the file is deleted
// Fields take the escapes \r \n \t \0 \\ \| and \uXXXX (one UTF-16 code unit);
// all other bytes are UTF-8. Without the marker the whole input is the file,
// and every bracketed line of it is looked up as a section.
//
// What every call must keep to (a plain model of the rules below is the judge):
// - only error 6 (a file beyond 32,768 lines) or a file error escapes a call;
// - the writes answer whether the section's header was in the file before;
// - getIniSection answers whether the header is in the file, gives the body
//   the rules give, and writes nothing; getSection agrees with that body;
// - a value getIniString finds is in the file, and finding it writes nothing;
// - after key=value is written (by writeIniString, or by getIniString storing
//   its default), reading the key gives the value back, and the same write
//   again leaves the file as it is: at once when the section existed, else
//   from the second time on (the first save of a new section lays it out).
//   Both are asserted only where the rules promise them: a plain key and
//   value, and no other line of the section holding key + "=";
// - a section body written with writeIniSection reads back whole;
// - no save leaves a file beside the INI file;
// - the file's bytes, whatever they are, survive the narrow/wide conversion
//   unchanged, so the lines a save keeps are written back byte for byte.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "core/qxstring.h"
#include "fuzz_support.h"
#include "ini/ini_engine.h"

using qx::String;
using qx::StringView;
using qxfuzz::printable;
using qxfuzz::printableBytes;
namespace ini = qx::ini;

namespace {

constexpr std::string_view kMarker = "\n@@ops@@\n";
constexpr std::size_t kMaxOps = 32;
constexpr std::size_t kMaxFileBytes = 70000;  // room for 32,769 empty lines: the overflow
// Every call on a file of tens of thousands of lines takes milliseconds: only
// a few operations run once the file is that large.
constexpr std::size_t kLargeFileBytes = 16384;
constexpr int kMaxOpsOnLargeFile = 2;
constexpr std::size_t kMaxLines = 32768;
constexpr std::size_t kSectionBuffer = 32767;  // GetSection's work buffer

// ---- the scratch file ----

const qxfuzz::ScratchFolder& scratch() {
    static const qxfuzz::ScratchFolder folder("qxfuzz-ini");
    return folder;
}
const std::string& filePath() {
    static const std::string p = scratch().path() + "/fuzz.ini";
    return p;
}
const String& iniFile() {
    static const String f = qx::fromNarrow(filePath());
    return f;
}

std::string fileBytes() {
    std::string b;
    qxfuzz::readFile(filePath(), b);  // a missing file reads as no bytes
    return b;
}

// The engine saves by writing beside the file and renaming: nothing else may remain.
void checkNoStrayFiles(const char* op) {
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(scratch().path(), ec)) {
        if (e.path().filename() != "fuzz.ini") qxfuzz::fail("a save left a file behind", {op, e.path().string()});
    }
}

// ---- the rules, written out plainly as the model the engine is held to ----

using Lines = std::vector<String>;

// Lines as a load sees them: cut at every CR LF pair and nothing else.
Lines modelLines(const String& text) {
    Lines out;
    if (text.empty()) return out;
    String cur;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            out.push_back(cur);
            cur.clear();
            ++i;
        } else {
            cur += text[i];
        }
    }
    out.push_back(cur);
    return out;
}
Lines modelLinesOfBytes(const std::string& bytes) { return modelLines(qx::fromNarrow(bytes)); }

StringView spaceTrim(StringView s) {
    while (!s.empty() && s.front() == u' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == u' ') s.remove_suffix(1);
    return s;
}
bool blank(StringView s) { return spaceTrim(s).empty(); }
bool bracketed(StringView s) {
    const StringView t = spaceTrim(s);
    return !t.empty() && t.front() == u'[' && t.back() == u']';
}
bool sameNoCase(StringView a, StringView b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (qx::foldCase(a[i]) != qx::foldCase(b[i])) return false;
    return true;
}
bool containsNoCase(StringView hay, StringView needle) {
    if (needle.size() > hay.size()) return false;
    for (std::size_t i = 0; i + needle.size() <= hay.size(); ++i)
        if (sameNoCase(hay.substr(i, needle.size()), needle)) return true;
    return false;
}

// Index of the first header line of the section, or -1.
long headerIndex(const Lines& lines, const String& section) {
    const String header = u"[" + String(spaceTrim(section)) + u"]";
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (sameNoCase(spaceTrim(lines[i]), header)) return static_cast<long>(i);
    return -1;
}

// The body GetIniSection gives for a section that exists: the lines after its
// header up to the next bracketed line, or up to the last non-empty line when
// none follows; an empty or all-space first line is left out. Each line is
// followed by CR LF and the last CR LF dropped; no line at all leaves the
// caller's text as it was (nullopt), one empty line gives "".
std::optional<String> modelBody(const Lines& lines, std::size_t header) {
    std::size_t end = header;  // last line of the section
    bool closed = false;
    for (std::size_t i = header + 1; i < lines.size(); ++i) {
        if (bracketed(lines[i])) {
            end = i - 1;
            closed = true;
            break;
        }
    }
    if (!closed) {
        end = header;
        for (std::size_t j = lines.size(); j-- > header + 1;) {
            if (!lines[j].empty()) {
                end = j;
                break;
            }
        }
    }
    String text;
    for (std::size_t i = header + 1; i <= end; ++i) {
        if (i == header + 1 && blank(lines[i])) continue;
        text += lines[i];
        text += u"\r\n";
    }
    if (text.empty()) return std::nullopt;
    text.resize(text.size() - 2);
    return text;
}

std::size_t lineCount(const std::string& bytes) { return modelLinesOfBytes(bytes).size(); }

// ---- calls ----

bool documentedFileError(std::int32_t n) {
    using namespace qx::err;
    return n == BadFileNameOrNumber || n == FileNotFound || n == DeviceIOError || n == DiskFull ||
           n == PermissionDenied || n == PathFileAccessError || n == PathNotFound;
}

// Runs one public call. Answers false when it raised an error the engine
// documents: 6 for a file beyond 32,768 lines, a file error for a file that
// cannot be read. Anything else is a fault and stops the run.
template <typename F>
bool call(const std::string& what, F&& f) {
    const std::string before = fileBytes();
    try {
        f();
        return true;
    } catch (const qx::RuntimeError& e) {
        const std::string after = fileBytes();
        if (e.number() == qx::err::Overflow) {
            const std::size_t linesBefore = lineCount(before);
            // A read may write its default and then load the grown file again.
            QXFUZZ_CHECK(linesBefore > kMaxLines || lineCount(after) > kMaxLines, what,
                         "lines before: " + std::to_string(linesBefore));
            if (linesBefore > kMaxLines)
                QXFUZZ_CHECK(after == before, what, "an overflowing load must write nothing");
        } else if (!documentedFileError(e.number())) {
            qxfuzz::fail("undocumented runtime error " + std::to_string(e.number()), {what, e.what()});
        }
        return false;
    }
}

// ---- invariants ----

// A key or value whose round trip through the file the engine's rules promise.
bool plainText(const String& s) {
    if (s.empty() || spaceTrim(s).size() != s.size()) return false;
    if (s.find_first_of(u"=\r\n[]") != String::npos) return false;
    return qx::fromNarrow(qx::toNarrow(s)) == s;
}

// After a write of key=value into a section (by writeIniString, or by
// getIniString storing its default): the value reads back, and the same write
// again is a fixed point of the save.
void checkWrittenValue(const std::string& op, const String& section, const String& key, const String& value,
                       bool sectionExisted) {
    if (!plainText(key) || !plainText(value)) return;
    const std::string bytes1 = fileBytes();
    const Lines lines = modelLinesOfBytes(bytes1);
    const long h = headerIndex(lines, section);
    if (h < 0) return;

    // The section as the engine shows it: its header and its body.
    String body = u"\x01untouched";
    const String untouched = body;
    bool found = false;
    if (!call(op, [&] { found = ini::getIniSection(section, body, iniFile()); })) return;
    QXFUZZ_CHECK(found, op, "the section's header is in the file");
    Lines sectionLines{lines[static_cast<std::size_t>(h)]};
    if (body != untouched)
        for (String& l : modelLines(body)) sectionLines.push_back(std::move(l));
    const String needle = key + u"=";
    const String written = needle + value;
    bool seenWritten = false;
    for (std::size_t i = 0; i < sectionLines.size(); ++i) {
        const String& l = sectionLines[i];
        if (i > 0 && !seenWritten && l == written) {
            seenWritten = true;
            continue;
        }
        if (containsNoCase(l, needle)) return;  // another line would answer first
        const std::size_t eq = l.find(u'=');
        if (i > 0 && eq != String::npos && containsNoCase(StringView(l).substr(0, eq), key)) return;
    }

    const String dflt = value == u"dflt" ? u"dflt2" : u"dflt";
    String got;
    if (!call(op, [&] { got = ini::getIniString(section, key, dflt, iniFile()); })) return;
    QXFUZZ_CHECK(got == value, op, "read back: " + printable(got), "written: " + printable(value),
                 "file: " + printableBytes(bytes1));
    QXFUZZ_CHECK(fileBytes() == bytes1, op, "a read that finds its key writes nothing");

    if (!call(op, [&] { ini::writeIniString(section, key, value, iniFile()); })) return;
    const std::string bytes2 = fileBytes();
    if (sectionExisted)
        QXFUZZ_CHECK(bytes2 == bytes1, op, "the same write again changed the file", "first: " + printableBytes(bytes1),
                     "second: " + printableBytes(bytes2));
    if (!call(op, [&] { ini::writeIniString(section, key, value, iniFile()); })) return;
    const std::string bytes3 = fileBytes();
    QXFUZZ_CHECK(bytes3 == bytes2, op, "a save of a saved file is not stable", "before: " + printableBytes(bytes2),
                 "after: " + printableBytes(bytes3));
}

// getIniSection answers whether the header is in the file, and the body the rules give.
void checkGetIniSection(const std::string& op, const String& section, const String& initial) {
    const std::string before = fileBytes();
    String body = initial;
    bool found = false;
    if (!call(op, [&] { found = ini::getIniSection(section, body, iniFile()); })) return;
    QXFUZZ_CHECK(fileBytes() == before, op, "getIniSection changed the file");
    const Lines lines = modelLinesOfBytes(before);
    const long h = headerIndex(lines, section);
    QXFUZZ_CHECK(found == (h >= 0), op, std::string("found: ") + (found ? "true" : "false"),
                 "file: " + printableBytes(before));
    if (!found) {
        QXFUZZ_CHECK(body == initial, op, "a missing section changed the body argument");
        return;
    }
    const String expected = modelBody(lines, static_cast<std::size_t>(h)).value_or(initial);
    QXFUZZ_CHECK(body == expected, op, "body: " + printable(body), "expected: " + printable(expected),
                 "file: " + printableBytes(before));
}

void checkGetSection(const std::string& op, const String& section) {
    const std::string before = fileBytes();
    std::vector<String> got{u"old"};
    if (!call(op, [&] { ini::getSection(section, iniFile(), got); })) return;
    QXFUZZ_CHECK(fileBytes() == before, op, "getSection changed the file");
    const Lines lines = modelLinesOfBytes(before);
    const long h = headerIndex(lines, section);
    // No section, a section without body lines, and an empty body all give two empty strings.
    String body = h < 0 ? String() : modelBody(lines, static_cast<std::size_t>(h)).value_or(String());
    std::vector<String> expected;
    const bool allNul = body.size() == kSectionBuffer && body.find_first_not_of(u'\0') == String::npos;
    if (body.empty() || allNul) {
        expected.assign(2, String());
    } else {
        if (body.size() > kSectionBuffer) body.resize(kSectionBuffer);
        expected = modelLines(body);
    }
    QXFUZZ_CHECK(got == expected, op, "elements: " + std::to_string(got.size()),
                 "expected: " + std::to_string(expected.size()), "file: " + printableBytes(before));
}

// A body whose lines survive as a section: not blank at the start, nothing
// bracketed that would end the section, no empty last line.
bool plainBody(const String& body) {
    if (qx::fromNarrow(qx::toNarrow(body)) != body) return false;
    const Lines l = modelLines(body);
    if (l.empty() || blank(l.front()) || l.back().empty()) return false;
    return std::none_of(l.begin(), l.end(), [](const String& s) { return bracketed(s); });
}

void checkWriteIniSection(const std::string& op, const String& section, const String& body) {
    const std::string before = fileBytes();
    const bool existed = headerIndex(modelLinesOfBytes(before), section) >= 0;
    bool found = false;
    if (!call(op, [&] { found = ini::writeIniSection(section, body, iniFile()); })) return;
    QXFUZZ_CHECK(found == existed, op, "writeIniSection answered whether the section existed");
    const std::string bytes1 = fileBytes();
    if (!plainBody(body) || headerIndex(modelLinesOfBytes(bytes1), section) < 0) return;

    String got = u"\x01untouched";
    bool now = false;
    if (!call(op, [&] { now = ini::getIniSection(section, got, iniFile()); })) return;
    QXFUZZ_CHECK(now, op);
    QXFUZZ_CHECK(got == body || got == body + u"\r\n", op, "body: " + printable(got), "written: " + printable(body));

    if (!call(op, [&] { ini::writeIniSection(section, body, iniFile()); })) return;
    const std::string bytes2 = fileBytes();
    if (existed)
        QXFUZZ_CHECK(bytes2 == bytes1, op, "the same section write again changed the file",
                     "first: " + printableBytes(bytes1), "second: " + printableBytes(bytes2));
    if (!call(op, [&] { ini::writeIniSection(section, body, iniFile()); })) return;
    QXFUZZ_CHECK(fileBytes() == bytes2, op, "a save of a saved file is not stable");
}

// Whether some line holds key= followed by text that trims to value.
bool fileHolds(const std::string& bytes, const String& key, const String& value) {
    const String needle = key + u"=";
    for (const String& l : modelLinesOfBytes(bytes)) {
        for (std::size_t i = 0; i + needle.size() <= l.size(); ++i) {
            if (sameNoCase(StringView(l).substr(i, needle.size()), needle) &&
                spaceTrim(StringView(l).substr(i + needle.size())) == value)
                return true;
        }
    }
    return false;
}

void checkGetIniString(const std::string& op, const String& section, const String& key, const String& dflt) {
    const std::string before = fileBytes();
    const bool existed = headerIndex(modelLinesOfBytes(before), section) >= 0;
    String got;
    if (!call(op, [&] { got = ini::getIniString(section, key, dflt, iniFile()); })) return;
    const std::string after = fileBytes();
    if (got != dflt) {
        // A value from the file: trimmed, not empty, and in the file.
        QXFUZZ_CHECK(!got.empty() && spaceTrim(got).size() == got.size() && fileHolds(after, key, got), op,
                     "got: " + printable(got), "file: " + printableBytes(after));
        if (!dflt.empty()) QXFUZZ_CHECK(after == before, op, "a read that finds its key writes nothing");
    }
    if (after != before) checkWrittenValue(op, section, key, dflt, existed);
}

void checkWriteIniString(const std::string& op, const String& section, const String& key, const String& value) {
    const bool existed = headerIndex(modelLinesOfBytes(fileBytes()), section) >= 0;
    bool found = false;
    if (!call(op, [&] { found = ini::writeIniString(section, key, value, iniFile()); })) return;
    QXFUZZ_CHECK(found == existed, op, "writeIniString answered whether the section existed");
    checkWrittenValue(op, section, key, value, existed);
}

// ---- the script ----

struct Op {
    char code = 0;
    std::vector<String> fields;
    std::string text;  // for reports
};

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::vector<String> parseFields(std::string_view s) {
    std::vector<String> fields(1);
    std::string pending;  // UTF-8 bytes not yet decoded
    auto flush = [&] {
        fields.back() += qx::fromUtf8(pending);
        pending.clear();
    };
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '|') {
            flush();
            fields.emplace_back();
            continue;
        }
        if (c != '\\' || i + 1 == s.size()) {
            pending += c;
            continue;
        }
        const char e = s[++i];
        switch (e) {
            case 'r': pending += '\r'; break;
            case 'n': pending += '\n'; break;
            case 't': pending += '\t'; break;
            case '0': pending += '\0'; break;
            case 'u': {
                int v = 0;
                std::size_t k = 0;
                for (; k < 4 && i + 1 + k < s.size(); ++k) {
                    const int d = hexValue(s[i + 1 + k]);
                    if (d < 0) break;
                    v = v * 16 + d;
                }
                if (k < 4) {
                    pending += 'u';
                    break;
                }
                flush();
                fields.back() += static_cast<char16_t>(v);
                i += 4;
                break;
            }
            default: pending += e; break;  // "\\", "\|" and any other character stand for themselves
        }
    }
    flush();
    return fields;
}

std::vector<Op> parseOps(std::string_view s) {
    std::vector<Op> ops;
    while (!s.empty() && ops.size() < kMaxOps) {
        const std::size_t nl = s.find('\n');
        const std::string_view line = s.substr(0, nl);
        s = nl == std::string_view::npos ? std::string_view() : s.substr(nl + 1);
        if (line.empty()) continue;
        Op op;
        op.code = line[0];
        op.fields = parseFields(line.substr(1));
        op.text = printableBytes(std::string(line), 200);
        ops.push_back(std::move(op));
    }
    return ops;
}

void setFile(const std::string& bytes) {
    std::error_code ec;
    std::filesystem::remove(filePath(), ec);
    if (!bytes.empty()) qxfuzz::writeFile(filePath(), bytes);
}

void run(const Op& op) {
    auto f = [&op](std::size_t i) { return i < op.fields.size() ? op.fields[i] : String(); };
    switch (op.code) {
        case 'g': checkGetIniString(op.text, f(0), f(1), f(2)); break;
        case 'w': checkWriteIniString(op.text, f(0), f(1), f(2)); break;
        case 's': checkGetIniSection(op.text, f(0), op.fields.size() > 1 ? f(1) : String(u"\x01untouched")); break;
        case 'W': checkWriteIniSection(op.text, f(0), f(1)); break;
        case 'l': checkGetSection(op.text, f(0)); break;
        case 'r': {
            std::size_t n = 0;
            for (const char16_t c : f(0)) {
                if (c < u'0' || c > u'9') break;
                n = std::min<std::size_t>(n * 10 + (c - u'0'), 1000000);
            }
            const std::string b = fileBytes();
            if (b.empty() || n < 2) break;
            n = std::min(n, kMaxFileBytes / b.size());
            std::string grown;
            grown.reserve(b.size() * n);
            for (std::size_t i = 0; i < n; ++i) grown += b;
            setFile(grown);
            break;
        }
        case 'd': setFile(std::string()); break;
        default: return;  // not an operation
    }
    checkNoStrayFiles(op.text.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view in(reinterpret_cast<const char*>(data), size);
    QXFUZZ_CHECK(qx::toNarrow(qx::fromNarrow(in)) == in, "the narrow text of the input does not round-trip",
                 printableBytes(std::string(in)));
    const std::size_t at = in.rfind(kMarker);
    if (at == std::string_view::npos) {
        setFile(std::string(in));
        // Every section the file names, looked up.
        int probes = 0;
        for (const String& l : modelLinesOfBytes(std::string(in))) {
            if (!bracketed(l)) continue;
            const StringView t = spaceTrim(l);
            const String name(t.substr(1, t.size() - 2));
            checkGetIniSection("probe " + printable(name), name, u"\x01untouched");
            checkGetSection("probe " + printable(name), name);
            if (++probes == 8) break;
        }
        return 0;
    }
    setFile(std::string(in.substr(0, at)));
    int onLargeFile = 0;
    for (const Op& op : parseOps(in.substr(at + kMarker.size()))) {
        if (fileBytes().size() > kLargeFileBytes && ++onLargeFile > kMaxOpsOnLargeFile) break;
        run(op);
    }
    return 0;
}
