#pragma once
// The system side of launch.cpp (launch_win.cpp, launch_posix.cpp).
#include <cstdint>
#include <string>

#include "launch/launch.h"

namespace qx::launch::sys {

// A started process, released by its destructor.
class Process {
public:
    Process() = default;
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    std::uint32_t id = 0;
    void* handle = nullptr;  // the system's own reference, where it has one
};

// Starts the command line with the show-window code.
StartFailure start(const std::string& commandLine, int showWindow, Process& process);

// Waits without a time limit until the process has ended; returns at once
// when it can no longer be waited on.
void waitFor(Process& process);

}  // namespace qx::launch::sys
