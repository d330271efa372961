#pragma once
// What the logs and the trace log share: the INI switch, the folder they
// live under, the time stamp and the line end.
#include "core/qxstring.h"

namespace qx::logging {

inline constexpr char16_t kLineEnd[] = u"\r\n";

// Whether the key of the host's INI section enables its log: a missing or
// empty key is written as "True" and enables it; only "True", without regard
// to case, does.
bool enabledByIniKey(const String& key);

// The host's local application-data folder, ending in the separator, as the
// first initialisation stored it; error 91 before there is one.
String localDataFolder();

// The local date and time now, whole seconds, in the general date form.
String timeStamp();

}  // namespace qx::logging
