#pragma once
// The INI benchmark: operations per second of one read of the last key of a
// 1,000-key section and one rewrite of an existing key, for the library and
// for the comparison engines of the platform, each loading the file per call.
#include <functional>
#include <string>
#include <vector>

struct Competitor {
    std::string name;
    std::function<void(const std::string& file, const std::string& section, const std::string& key)> read;
    // Empty when the engine cannot write.
    std::function<void(const std::string& file, const std::string& section, const std::string& key,
                       const std::string& value)>
        write;
};

// The engines this platform compares against.
std::vector<Competitor> platformCompetitors();
