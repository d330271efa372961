// FindFilesAPI over a tree of 100,000 files against a bare walk of the same
// tree in the same run. The search is asked for names that are nowhere, so
// it walks the whole tree: once for a plain name, once for a pattern.
//   search [folder]   (the tree is made there once and reused afterwards)
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/qxstring.h"
#include "files/paths.h"
#include "files/search.h"
#include "search_bench.h"

namespace fs = std::filesystem;

namespace {

constexpr int kFanOut = 10;          // folders per level, three levels
constexpr int kFilesPerFolder = 100;  // in each of the 1,000 deepest folders

void makeTree(const fs::path& root) {
    const fs::path marker = root / "tree-complete";
    if (fs::exists(marker)) return;
    std::printf("making the tree in %s ...\n", root.string().c_str());
    for (int a = 0; a < kFanOut; ++a)
        for (int b = 0; b < kFanOut; ++b)
            for (int c = 0; c < kFanOut; ++c) {
                const fs::path leaf = root / ("d" + std::to_string(a)) / ("e" + std::to_string(b)) / ("f" + std::to_string(c));
                fs::create_directories(leaf);
                for (int i = 0; i < kFilesPerFolder; ++i) std::ofstream(leaf / ("file" + std::to_string(i) + ".dat")) << i;
            }
    std::ofstream(marker) << "1";
}

template <typename F>
double seconds(F&& f) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

}  // namespace

int main(int argc, char** argv) {
    const fs::path root = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "qx_search_bench";
    makeTree(root);
    const std::string rootText = root.string() + static_cast<char>(qx::files::separator());

    double bare = 1e9;
    double plain = 1e9;
    double pattern = 1e9;
    std::uint64_t entries = 0;
    for (int round = 0; round < 3; ++round) {
        bare = std::min(bare, seconds([&] { entries = bareWalk(rootText); }));
        plain = std::min(plain, seconds([&] {
                             qx::String path = qx::fromNarrow(rootText);
                             if (!qx::files::findFiles(path, u"absent.name").empty()) std::puts("unexpected match");
                         }));
        pattern = std::min(pattern, seconds([&] {
                               qx::String path = qx::fromNarrow(rootText);
                               if (!qx::files::findFiles(path, u"*.absent").empty()) std::puts("unexpected match");
                           }));
    }
    std::printf("tree: %llu entries (%d files)\n", static_cast<unsigned long long>(entries),
                kFanOut * kFanOut * kFanOut * kFilesPerFolder);
    std::printf("bare walk                  %8.3f s\n", bare);
    std::printf("FindFilesAPI \"absent.name\" %8.3f s  = %.2f x the bare walk\n", plain, plain / bare);
    std::printf("FindFilesAPI \"*.absent\"    %8.3f s  = %.2f x the bare walk\n", pattern, pattern / bare);
    return 0;
}
