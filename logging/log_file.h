#pragma once
// The logs' contact with the file system. A log entry reaches its file in a
// single write on a handle opened for appending, so that processes appending
// to one log never tear each other's lines. Failures raise the host runtime's
// file error numbers (76 for a missing folder, 75 for access refused, 70 for
// a file another process holds locked, ...).
#include <cstdint>
#include <functional>
#include <string>

#include "core/qxstring.h"

namespace qx::logging {

// Appends `bytes` to the file in one write, creating the file when it does not
// exist. The file is opened and closed by this call.
void appendBlock(const String& path, const std::string& bytes);

// Creates the file, or empties an existing one, then asks `content` for the
// bytes and writes them in one write. When `content` throws, the file is left
// empty and closed and the exception goes on to the caller.
void replaceFile(const String& path, const std::function<std::string()>& content);


}  // namespace qx::logging
