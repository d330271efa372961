// The bare walk on POSIX: the standard library's recursive directory iterator.
#include <filesystem>

#include "search_bench.h"

std::uint64_t bareWalk(const std::string& root) {
    std::uint64_t n = 0;
    for (auto it = std::filesystem::recursive_directory_iterator(root); it != std::filesystem::recursive_directory_iterator();
         ++it)
        ++n;
    return n;
}
