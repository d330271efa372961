// POSIX writers for the log benchmark: the bare open(O_APPEND)/write/close
// loop, and spdlog's file sink flushing after every line.
#include <fcntl.h>
#include <unistd.h>

#include <spdlog/pattern_formatter.h>
#include <spdlog/sinks/basic_file_sink.h>
#include <spdlog/spdlog.h>

#include "log_bench.h"

LogWriter bareAppendLoop() {
    return {"open/append/close loop", [](const std::string& file, const std::vector<std::string>& lines) {
                for (const std::string& line : lines) {
                    const int fd = ::open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
                    if (fd < 0) continue;
                    if (::write(fd, line.data(), line.size()) < 0) {
                        // counted all the same: the library's loop does not retry either
                    }
                    ::close(fd);
                }
            }};
}

std::vector<LogWriter> platformLoggers() {
    std::vector<LogWriter> out;
    out.push_back({"spdlog, flush every line", [](const std::string& file, const std::vector<std::string>& lines) {
                       // One logger per file, kept open as spdlog keeps it; the
                       // time stamp is spdlog's own, the message is the entry's.
                       static std::shared_ptr<spdlog::logger> logger;
                       static std::string openFile;
                       if (!logger || openFile != file) {
                           spdlog::drop("bench");
                           logger = spdlog::basic_logger_mt("bench", file);
                           logger->set_formatter(std::make_unique<spdlog::pattern_formatter>(
                               "%m/%d/%Y %H:%M:%S - %v", spdlog::pattern_time_type::local, std::string("\r\n")));
                           logger->flush_on(spdlog::level::trace);
                           openFile = file;
                       }
                       for (const std::string& line : lines) {
                           // The line less its stamp and its end: spdlog writes both itself.
                           const std::size_t dash = line.find(" - ");
                           logger->info(std::string_view(line).substr(dash + 3, line.size() - dash - 5));
                       }
                   }});
    return out;
}
