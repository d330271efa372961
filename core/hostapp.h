#pragma once
// The host application object's seven properties, read by name each time
// they are needed. Reading from no object raises 91; a member the object
// lacks raises 438; a value of the wrong kind raises 13 or 6.
#include <cstdint>

#include "core/object.h"

namespace qx::host {

String exeName(const ObjectRef& app);
String path(const ObjectRef& app);
String title(const ObjectRef& app);
String companyName(const ObjectRef& app);
std::int16_t versionMajor(const ObjectRef& app);
std::int16_t versionMinor(const ObjectRef& app);
std::int16_t versionRevision(const ObjectRef& app);

// An in-memory application object carrying the seven values, for C++ hosts.
ObjectRef makeApp(const String& exeName, const String& path, const String& title, const String& companyName,
                  std::int16_t major, std::int16_t minor, std::int16_t revision);

}  // namespace qx::host
