#include "ini_bench.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "ini/ini_engine.h"

namespace {

const char* const kSection = "Bench";
const char* const kLastKey = "key0999";
const char* const kMidKey = "key0500";

std::string makeFile(const std::filesystem::path& p) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << "[Other]\r\nx=1\r\n\r\n[" << kSection << "]\r\n";
    for (int i = 0; i < 1000; ++i) {
        char line[64];
        std::snprintf(line, sizeof line, "key%04d=value number %d\r\n", i, i);
        out << line;
    }
    return p.string();
}

std::string readWhole(const std::string& f) {
    std::ifstream in(f, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

template <typename F>
double opsPerSecond(F&& op) {
    using clock = std::chrono::steady_clock;
    for (int i = 0; i < 20; ++i) op(i);  // warm the caches
    int n = 0;
    const auto start = clock::now();
    auto elapsed = clock::duration::zero();
    while (elapsed < std::chrono::seconds(2)) {
        for (int i = 0; i < 50; ++i) op(n++);
        elapsed = clock::now() - start;
    }
    return n / std::chrono::duration<double>(elapsed).count();
}

}  // namespace

int main() {
    std::random_device rd;
    const auto dir = std::filesystem::temp_directory_path() / ("qxbench-" + std::to_string(rd()));
    std::filesystem::create_directories(dir);

    std::vector<Competitor> all;
    all.push_back({"QXGenRtns",
                   [](const std::string& f, const std::string& s, const std::string& k) {
                       qx::ini::getIniString(qx::fromUtf8(s), qx::fromUtf8(k), u"missing", qx::fromUtf8(f));
                   },
                   [](const std::string& f, const std::string& s, const std::string& k, const std::string& v) {
                       qx::ini::writeIniString(qx::fromUtf8(s), qx::fromUtf8(k), qx::fromUtf8(v), qx::fromUtf8(f));
                   }});
    for (auto& c : platformCompetitors()) all.push_back(std::move(c));
    // What a read costs without the file: the lookup on lines already split.
    all.push_back({"lookup on lines in memory", [](const std::string& f, const std::string& s, const std::string& k) {
                       static const qx::ini::Lines lines = qx::ini::splitLines(qx::fromUtf8(readWhole(f)));
                       qx::ini::IniSectionInfo info;
                       qx::ini::findIniSection(lines, info, qx::fromUtf8(s), false);
                       qx::ini::findIniKey(lines, info, qx::fromUtf8(k));
                   }, nullptr});

    std::printf("%-28s %14s %14s\n", "engine (1,000-key section)", "reads/s", "writes/s");
    double ourRead = 0;
    double ourWrite = 0;
    std::vector<std::pair<std::string, std::pair<double, double>>> rows;
    for (const Competitor& c : all) {
        const std::string file = makeFile(dir / (c.name + ".ini"));
        const double r = opsPerSecond([&](int) { c.read(file, kSection, kLastKey); });
        double w = 0;
        if (c.write) w = opsPerSecond([&](int i) { c.write(file, kSection, kMidKey, "value " + std::to_string(i)); });
        if (rows.empty()) {
            ourRead = r;
            ourWrite = w;
        }
        rows.push_back({c.name, {r, w}});
        if (c.write) std::printf("%-28s %14.0f %14.0f\n", c.name.c_str(), r, w);
        else std::printf("%-28s %14.0f %14s\n", c.name.c_str(), r, "-");
    }
    std::printf("\nratios (QXGenRtns / other)\n");
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const auto& [name, rw] = rows[i];
        if (rw.second > 0)
            std::printf("%-28s reads x%.2f, writes x%.2f\n", name.c_str(), ourRead / rw.first, ourWrite / rw.second);
        else
            std::printf("%-28s reads x%.2f\n", name.c_str(), ourRead / rw.first);
    }
    std::filesystem::remove_all(dir);
    return 0;
}
