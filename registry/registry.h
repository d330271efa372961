#pragma once
// Registry keys and values under the predefined roots: create, test, read,
// write and delete, with the library's rules for value types, defaults and
// results. Writing acts only for an administrator.
#include <cstdint>
#include <string>

#include "core/types.h"
#include "core/variant.h"

namespace qx::reg {

bool createNewKey(std::int32_t root, const String& name);
bool keyExists(std::int32_t root, const String& name);
bool deleteKey(std::int32_t root, const String& name);
bool deleteValue(std::int32_t root, const String& keyName, const String& valueName);
void setKeyValue(std::int32_t root, const String& keyName, const String& valueName, const Variant& value,
                 std::int32_t type);
std::int32_t setValueEx(std::int32_t key, const String& valueName, std::int32_t type, const Variant& value);
Variant getValue(std::int32_t root, const String& keyLoc, const Variant& valueName, const Variant& defaultValue);
Variant regQueryStringValue(std::int32_t key, const String& valueName);
String getString(std::int32_t key, const String& path, const String& valueName);
void getRegistryInfo(WindowsRegistryInfo& wri);

// The data of a text value as written: the narrow text and one NUL.
std::string textValueBytes(const String& text);
// A string of one character per byte, each byte through the narrow code page.
String charsFromBytes(const std::string& bytes);
// The string whose UTF-16 code units are the bytes in pairs (a last odd byte is dropped).
String stringFromBytePairs(const std::string& bytes);
// Windows' expansion of %NAME% references; `lookup` answers false for an undefined name.
template <typename Lookup>
std::string expandPercentReferences(const std::string& text, Lookup lookup);

// The test the writing routines ask; a C++ host or a test may replace it on
// its thread (nullptr restores the system's administrator test).
using AdminTest = bool (*)();
void setAdminTest(AdminTest test);

template <typename Lookup>
std::string expandPercentReferences(const std::string& text, Lookup lookup) {
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t open = text.find('%', i);
        if (open == std::string::npos) break;
        const std::size_t close = text.find('%', open + 1);
        if (close == std::string::npos) break;
        out.append(text, i, open - i);
        std::string value;
        if (close > open + 1 && lookup(text.substr(open + 1, close - open - 1), value)) {
            out += value;
            i = close + 1;
        } else {
            // Not a defined name: the first "%" stays, and the second may open the next reference.
            out.append(text, open, close - open);
            i = close;
        }
    }
    out.append(text, i, std::string::npos);
    return out;
}

}  // namespace qx::reg
