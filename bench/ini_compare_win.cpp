// The system's profile functions, on the same file in the same run.
#include <windows.h>

#include "ini_bench.h"

std::vector<Competitor> platformCompetitors() {
    std::vector<Competitor> out;
    out.push_back({"GetPrivateProfileStringA",
                   [](const std::string& f, const std::string& s, const std::string& k) {
                       char buf[256];
                       GetPrivateProfileStringA(s.c_str(), k.c_str(), "missing", buf, sizeof buf, f.c_str());
                   },
                   [](const std::string& f, const std::string& s, const std::string& k, const std::string& v) {
                       WritePrivateProfileStringA(s.c_str(), k.c_str(), v.c_str(), f.c_str());
                   }});
    return out;
}
