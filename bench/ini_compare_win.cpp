// The system's profile functions, on the same file in the same run, and the
// bare open and close a load makes.
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
    // The floor of a read that sees what a load sees: the load's open alone.
    out.push_back({"CreateFileA+CloseHandle",
                   [](const std::string& f, const std::string&, const std::string&) {
                       CloseHandle(CreateFileA(f.c_str(), GENERIC_READ,
                                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
                   },
                   nullptr});
    return out;
}
