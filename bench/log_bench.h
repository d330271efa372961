#pragma once
// The log benchmark: entries per second of the library's WriteLog against
// writers that append the same lines by other means, in the same run.
#include <functional>
#include <string>
#include <vector>

struct LogWriter {
    std::string name;
    // Appends these whole lines (each ending in CR LF) to the file, one entry at a time.
    std::function<void(const std::string& file, const std::vector<std::string>& lines)> write;
};

// The bare loop of the platform: open for appending, one write, close, per line.
LogWriter bareAppendLoop();
// Other loggers of the platform, each flushing every line to the file.
std::vector<LogWriter> platformLoggers();
