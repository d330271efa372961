// The bare walk on Windows: a FindFirstFile / FindNextFile loop per folder.
#include <windows.h>

#include "search_bench.h"

std::uint64_t bareWalk(const std::string& root) {
    std::uint64_t n = 0;
    WIN32_FIND_DATAA d;
    HANDLE h = FindFirstFileA((root + "*").c_str(), &d);
    if (h == INVALID_HANDLE_VALUE) return 0;
    do {
        const std::string name = d.cFileName;
        if (name == "." || name == "..") continue;
        ++n;
        if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) n += bareWalk(root + name + "\\");
    } while (FindNextFileA(h, &d));
    FindClose(h);
    return n;
}
