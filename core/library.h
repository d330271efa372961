#pragma once
// The library's set-up and version text as plain routines, for the library
// object and for the subsystems that call them (the logs write the version
// into their headers; the trace log may perform the first initialisation).
#include <cstdint>

#include "core/variant.h"

namespace qx {

// The first call on a thread sets the library up for the host application
// object in `appData`; later calls return the stored INI file path.
String initializeLibrary(const Variant& appData, std::int16_t appVerType);

// "Version <Major>.<Minor>  Build <Revision>" with the suffix of the version
// type, read afresh from the stored host object (error 91 without one).
String getVersion();

// The version text of an application object's numbers and a version type,
// and the VersionTypeString it implies; `typeString` is left as it was for a
// type outside the list.
String versionText(std::int16_t major, std::int16_t minor, std::int16_t revision, std::int16_t versionType,
                   String& typeString);

}  // namespace qx
