#pragma once
// Application manifests written beside an executable: the themed look of the
// common controls, a request to run elevated, or both. Three templates, chosen
// by number (XMLFile); the third names the executable it is written for.
#include <cstdint>
#include <string>

#include "core/qxstring.h"

namespace qx::ui {

// The template's bytes: 101 XPThemes, 102 VistaRunAsAdminXPThemes,
// 103 VistaRunAsAdmin; any other number selects 101.
const std::string& manifestTemplate(std::int16_t id);

// The file's text: the template, one character per byte, with every
// "ExeName" (exact case) replaced by exeName & ".exe", then CR LF.
String manifestText(const String& exeName, std::int16_t id);

// Writes (or overwrites) folder\exeName.exe.manifest and answers its path,
// or "" when the file could not be written.
String createManifestFile(const String& exeName, const String& pathName, std::int16_t id);

// Writes the manifest of the host executable (the host application object's
// EXEName and Path), then sets up the common controls' extended classes.
void initXPStyles(std::int16_t style);

}  // namespace qx::ui
