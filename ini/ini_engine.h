#pragma once
// The library's INI engine: every call loads the whole file into a list of
// lines, works on the list and, for any change, writes the whole list back.
// The rules for sections, section ends, key matching (a substring test) and
// the layout of a save are the engine's own and are kept exactly.
#include <cstdint>
#include <string>
#include <vector>

#include "core/qxstring.h"

namespace qx::ini {

using Lines = std::vector<String>;

// The section record the operations of one public call share.
struct IniSectionInfo {
    std::int16_t StartLine = 0;
    std::int16_t EndLine = 0;
    bool Found = false;
    String NewText;
    String KeyValue;
    std::int16_t KeyLine = 0;
};

// Pure steps over a line list, reachable by tests without a file.
Lines splitLines(const String& text);
void findIniSection(const Lines& lines, IniSectionInfo& info, const String& section, bool alternate);
void findIniKey(const Lines& lines, IniSectionInfo& info, const String& key);
// The text a save writes for this list and record: kept lines through the
// line-writing rule, the new text verbatim. Every line ends in CR LF.
String renderSave(const Lines& lines, IniSectionInfo& info);

// The public operations.
String getIniString(const String& section, const String& key, const String& defaultValue, const String& file);
bool writeIniString(const String& section, const String& key, const String& value, const String& file);
bool getIniSection(const String& section, String& body, const String& file);
bool writeIniSection(const String& section, const String& body, const String& file);
void getSection(const String& section, const String& file, std::vector<String>& sectionLines);

}  // namespace qx::ini
