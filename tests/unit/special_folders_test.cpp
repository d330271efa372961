// GetSpecialFolders: the rows of the record from a scripted system (every
// row asks anew, per-application folders joined as they come, program files
// derived from common files, the probe file between the system folder and
// the all-users folder), the errors that end it, and one pass over the real
// system. Compiled into the native and the Windows test binaries.
#include "sysinfo/special_folders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "core/clsQXGenRtns.h"
#include "core/error.h"
#include "core/hostapp.h"
#include "files/paths.h"
#include "sysinfo/special_folders_logic.h"
#include "temp_folder.h"
#include "test_support.h"

using qx::String;
using qxtest::p;
namespace sysinfo = qx::sysinfo;
namespace fs = std::filesystem;

namespace {
qx::ObjectRef app(const String& exe, const String& company) {
    return qx::host::makeApp(exe, u"", u"Title", company, 1, 0, 0);
}

// A scripted system: shell folders by number, a temporary path, and a log
// of every call in order.
struct Script {
    std::map<std::int32_t, String> shell;
    std::vector<std::string> log;
    bool failCreate = false;

    sysinfo::FolderSource source() {
        return {[this](std::int32_t n) {
                    log.push_back(std::to_string(n));
                    return shell.count(n) ? shell[n] : String();
                },
                [] { return p(u"T:|tmp|"); },
                [this](const String& path) {
                    log.push_back("create " + qx::toUtf8(path));
                    if (failCreate) qx::raise(qx::err::PathNotFound);
                },
                [](const String& path) { return u"L" + path; }};
    }
};
}  // namespace

TEST(SpecialFolderRows, EveryFieldInTableOrder) {
    Script s;
    s.shell = {{28, p(u"C:|U|Local")},   {26, p(u"C:|U|Roaming")}, {43, p(u"C:|PF|Common Files")},
               {40, p(u"  C:|U  ")},     {36, p(u"C:|WINDOWS")},   {37, p(u"C:|WINDOWS|system32|")},
               {35, p(u"C:|ProgramData")}};
    const auto r = sysinfo::buildSpecialFolders(s.source(), app(u"MyApp", u"Acme"));
    EXPECT_EQ(r->ApplicationDataFolderLocalReg(), p(u"C:|U|Local|"));
    EXPECT_EQ(r->ApplicationDataFolderLocal(), p(u"C:|U|Local|Acme|MyApp|"));
    EXPECT_EQ(r->ApplicationDataFolderRoaming(), p(u"C:|U|Roaming|Acme|MyApp|"));
    EXPECT_EQ(r->ProgramFilesFolder(), p(u"C:|PF|"));  // derived from common files
    EXPECT_EQ(r->UserProfileFolder(), p(u"C:|U|"));  // trimmed by FixPath
    EXPECT_EQ(r->WindowsSystemFolder(), p(u"C:|WINDOWS|system32|"));
    EXPECT_EQ(r->AllUsersAppDataFolder(), p(u"C:|ProgramData|"));
    EXPECT_EQ(r->SystemDrive(), u"C:");
    EXPECT_EQ(r->UserProfileTempFolder(), p(u"LT:|tmp|"));
    const std::string probe = "create " + qx::toUtf8(p(u"T:|tmp|MyApp.tmp"));
    EXPECT_EQ(s.log, (std::vector<std::string>{"28", "28", "26", "26", "43", "42", "40", "36", "37", probe, "35"}));

    // Missing folders: no base, no company, no drive; the shell's own program files win.
    s.shell = {{26, p(u"R:|Roaming")}, {42, p(u"E:|Programs")}};
    const auto m = sysinfo::buildSpecialFolders(s.source(), app(u"App", u""));
    EXPECT_EQ(m->ApplicationDataFolderLocal(), p(u"|App|"));
    EXPECT_EQ(m->ApplicationDataFolderRoaming(), p(u"R:|Roaming||App|"));
    EXPECT_EQ(m->ProgramFilesFolder(), p(u"E:|Programs|"));
    EXPECT_EQ(m->SystemDrive(), u"");
}

TEST(SpecialFolderRows, HostReadsAndErrors) {
    Script s;
    int reads = 0;
    auto host = qx::MemoryObject::create(u"App");
    host->prop(u"CompanyName", String(u"Co")).method(u"EXEName", [&](const std::vector<qx::Variant>&) {
        return qx::Variant(u"Exe" + qx::toDecimal(++reads));
    });
    const auto r = sysinfo::buildSpecialFolders(s.source(), host);
    EXPECT_EQ(r->ApplicationDataFolderRoaming(), p(u"Co|Exe2|"));
    EXPECT_EQ(s.log.at(9), "create " + qx::toUtf8(p(u"T:|tmp|Exe3.tmp")));

    // No host object: 91 at the first per-application row.
    s.log.clear();
    EXPECT_RAISES(qx::err::ObjectNotSet, sysinfo::buildSpecialFolders(s.source(), nullptr));
    EXPECT_EQ(s.log, (std::vector<std::string>{"28", "28"}));
    // A probe file that cannot be written ends the routine there.
    s.log.clear();
    s.failCreate = true;
    EXPECT_RAISES(qx::err::PathNotFound, sysinfo::buildSpecialFolders(s.source(), app(u"A", u"B")));
    EXPECT_EQ(s.log.back(), "create " + qx::toUtf8(p(u"T:|tmp|A.tmp")));
}

TEST(GetSpecialFolders, RealSystemAndProbeFile) {
    const qxtest::UserFoldersInTempFolder user;
    qxtest::runOnFreshThread([&] {
        qx::clsQXGenRtns lib;
        EXPECT_RAISES(qx::err::ObjectNotSet, lib.GetSpecialFolders());
        const String exe = u"qx_probe_test";
        (void)lib.InitializeDll(qx::Variant(app(exe, u"QX Test")), 3);
        const auto r = lib.GetSpecialFolders();
        const fs::path probe(r->UserProfileTempFolder() + exe + u".tmp");
        EXPECT_TRUE(fs::equivalent(probe, user.root().path() / "tmp" / fs::path(exe + u".tmp")));
        std::ofstream(probe, std::ios::binary) << "left over";
        EXPECT_NE(lib.GetSpecialFolders(), r);  // a fresh record every call
        EXPECT_EQ(fs::file_size(probe), 0u);
        fs::remove(probe);
        const char16_t sep = qx::files::separator();
        EXPECT_EQ(r->ApplicationDataFolderLocal(), r->ApplicationDataFolderLocalReg() + u"QX Test" + sep + exe + sep);
    });
}
