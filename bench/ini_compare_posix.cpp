// Native comparison engines: SimpleIni (load, look up, save) and inih (a
// reading parser), each loading the file on every call as ours does.
#include <SimpleIni.h>
#include <ini.h>

#include <cstring>

#include "ini_bench.h"

namespace {
struct Lookup {
    const char* section;
    const char* key;
    std::string value;
};

int onEntry(void* user, const char* section, const char* name, const char* value) {
    auto* l = static_cast<Lookup*>(user);
    if (strcasecmp(section, l->section) == 0 && strcasecmp(name, l->key) == 0) l->value = value;
    return 1;
}
}  // namespace

std::vector<Competitor> platformCompetitors() {
    std::vector<Competitor> out;
    out.push_back({"SimpleIni",
                   [](const std::string& f, const std::string& s, const std::string& k) {
                       CSimpleIniA ini;
                       ini.LoadFile(f.c_str());
                       (void)ini.GetValue(s.c_str(), k.c_str(), "missing");
                   },
                   [](const std::string& f, const std::string& s, const std::string& k, const std::string& v) {
                       CSimpleIniA ini;
                       ini.LoadFile(f.c_str());
                       ini.SetValue(s.c_str(), k.c_str(), v.c_str());
                       ini.SaveFile(f.c_str());
                   }});
    out.push_back({"inih",
                   [](const std::string& f, const std::string& s, const std::string& k) {
                       Lookup l{s.c_str(), k.c_str(), {}};
                       ini_parse(f.c_str(), onEntry, &l);
                   },
                   {}});
    return out;
}
