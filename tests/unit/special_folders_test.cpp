// GetSpecialFolders: the rows of the record from a scripted system (every
// row asks anew, per-application folders joined as they come, program files
// derived from common files, the probe file between the system folder and
// the all-users folder), the errors that end it, and one pass over the real
// system. Compiled into the native and the Windows test binaries.
#include "sysinfo/special_folders.h"

#include <gtest/gtest.h>

#include <algorithm>
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
    String temp = p(u"T:|tmp|");
    std::vector<std::string> log;
    bool failCreate = false;

    sysinfo::FolderSource source() {
        return {[this](std::int32_t n) {
                    log.push_back(std::to_string(n));
                    return shell.count(n) ? shell[n] : String();
                },
                [this] { return temp; },
                [this](const String& path) {
                    log.push_back("create " + qx::toUtf8(path));
                    if (failCreate) qx::raise(qx::err::PathNotFound);
                },
                [this](const String& path) {
                    log.push_back("long");
                    return u"L" + path;
                }};
    }
};

Script windowsLike() {
    Script s;
    s.shell = {{28, p(u"C:|U|AppData|Local")},
               {26, p(u"C:|U|AppData|Roaming")},
               {43, p(u"C:|PF|Common Files")},
               {42, p(u"C:|PF")},
               {40, p(u"  C:|U  ")},
               {36, p(u"C:|WINDOWS")},
               {37, p(u"C:|WINDOWS|system32|")},
               {35, p(u"C:|ProgramData")}};
    return s;
}
}  // namespace

TEST(SpecialFolderRows, EveryFieldInTableOrder) {
    Script s = windowsLike();
    const auto r = sysinfo::buildSpecialFolders(s.source(), app(u"MyApp", u"Acme"));
    EXPECT_EQ(r->ApplicationDataFolderLocalReg(), p(u"C:|U|AppData|Local|"));
    EXPECT_EQ(r->ApplicationDataFolderLocal(), p(u"C:|U|AppData|Local|Acme|MyApp|"));
    EXPECT_EQ(r->ApplicationDataFolderRoamingReg(), p(u"C:|U|AppData|Roaming|"));
    EXPECT_EQ(r->ApplicationDataFolderRoaming(), p(u"C:|U|AppData|Roaming|Acme|MyApp|"));
    EXPECT_EQ(r->CommonFilesFolder(), p(u"C:|PF|Common Files|"));
    EXPECT_EQ(r->ProgramFilesFolder(), p(u"C:|PF|"));
    EXPECT_EQ(r->UserProfileFolder(), p(u"C:|U|"));  // trimmed by FixPath
    EXPECT_EQ(r->WindowsFolder(), p(u"C:|WINDOWS|"));
    EXPECT_EQ(r->WindowsSystemFolder(), p(u"C:|WINDOWS|system32|"));
    EXPECT_EQ(r->AllUsersAppDataFolder(), p(u"C:|ProgramData|"));
    EXPECT_EQ(r->SystemDrive(), u"C:");
    EXPECT_EQ(r->UserProfileTempFolder(), p(u"LT:|tmp|"));
    EXPECT_FALSE(r->UsingAppData());
    const std::string probe = "create " + qx::toUtf8(p(u"T:|tmp|MyApp.tmp"));
    EXPECT_EQ(s.log,
              (std::vector<std::string>{"28", "28", "26", "26", "43", "42", "40", "36", "37", probe, "long", "35"}));
}

TEST(SpecialFolderRows, MissingFoldersAndUnnormalisedJoins) {
    Script s;
    s.shell = {{26, p(u"R:|Roaming")}, {43, p(u"D:|Apps|Common")}};
    auto r = sysinfo::buildSpecialFolders(s.source(), app(u"App", u""));
    EXPECT_EQ(r->ApplicationDataFolderLocal(), p(u"|App|"));  // no base, no company
    EXPECT_EQ(r->ApplicationDataFolderRoaming(), p(u"R:|Roaming||App|"));
    EXPECT_EQ(r->ProgramFilesFolder(), p(u"D:|Apps|"));
    EXPECT_EQ(r->WindowsFolder(), u"");
    EXPECT_EQ(r->SystemDrive(), u"");
    r = sysinfo::buildSpecialFolders(s.source(), app(u" App ", u"Co"));
    EXPECT_EQ(r->ApplicationDataFolderLocal(), p(u"Co| App |"));

    s.shell[42] = p(u"E:|Programs");  // only derived when the shell has none
    EXPECT_EQ(sysinfo::buildSpecialFolders(s.source(), app(u"A", u"B"))->ProgramFilesFolder(), p(u"E:|Programs|"));
    s.shell.clear();
    EXPECT_EQ(sysinfo::buildSpecialFolders(s.source(), app(u"A", u"B"))->ProgramFilesFolder(), u"");
}

TEST(SpecialFolderRows, DerivationAndFolderPart) {
    const char16_t sep = qx::files::separator();
    EXPECT_EQ(sysinfo::programFilesFromCommonFiles(p(u"C:|Program Files|Common Files|"), sep), p(u"C:|Program Files|"));
    EXPECT_EQ(sysinfo::programFilesFromCommonFiles(p(u"C:|x"), sep), p(u"C:|"));
    EXPECT_EQ(sysinfo::programFilesFromCommonFiles(p(u"Common|"), sep), u"");
    EXPECT_EQ(sysinfo::folderPart(p(u"C:|Temp|App.tmp"), sep), p(u"C:|Temp|"));
    EXPECT_EQ(sysinfo::folderPart(u"App.tmp", sep), u"");
}

TEST(SpecialFolderRows, HostReadsAndErrors) {
    Script s = windowsLike();
    int reads = 0;
    auto host = qx::MemoryObject::create(u"App");
    host->prop(u"CompanyName", String(u"Co")).method(u"EXEName", [&](const std::vector<qx::Variant>&) {
        return qx::Variant(u"Exe" + qx::toDecimal(++reads));
    });
    const auto r = sysinfo::buildSpecialFolders(s.source(), host);
    EXPECT_EQ(r->ApplicationDataFolderRoaming(), p(u"C:|U|AppData|Roaming|Co|Exe2|"));
    EXPECT_NE(std::find(s.log.begin(), s.log.end(), "create " + qx::toUtf8(p(u"T:|tmp|Exe3.tmp"))), s.log.end());

    // No host object: 91 at the first per-application row. No member: 438.
    s.log.clear();
    EXPECT_RAISES(qx::err::ObjectNotSet, sysinfo::buildSpecialFolders(s.source(), nullptr));
    EXPECT_EQ(s.log, (std::vector<std::string>{"28", "28"}));
    auto noCompany = qx::MemoryObject::create(u"App");
    noCompany->prop(u"EXEName", String(u"X"));
    EXPECT_RAISES(qx::err::MemberNotSupported, sysinfo::buildSpecialFolders(s.source(), noCompany));
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
        auto r = lib.GetSpecialFolders();
        const fs::path probe(r->UserProfileTempFolder() + exe + u".tmp");
        ASSERT_TRUE(fs::is_regular_file(probe));
        EXPECT_EQ(fs::file_size(probe), 0u);
        EXPECT_TRUE(fs::equivalent(probe, user.root().path() / "tmp" / fs::path(exe + u".tmp")));
        std::ofstream(probe, std::ios::binary) << "left over";
        const auto again = lib.GetSpecialFolders();
        EXPECT_EQ(fs::file_size(probe), 0u);
        EXPECT_NE(again, r);  // a fresh record every call
        fs::remove(probe);

        const char16_t sep = qx::files::separator();
        for (const String& f : {r->ApplicationDataFolderLocalReg(), r->ApplicationDataFolderRoamingReg(),
                                r->ProgramFilesFolder(), r->CommonFilesFolder(), r->UserProfileFolder(),
                                r->WindowsFolder(), r->WindowsSystemFolder(), r->AllUsersAppDataFolder()}) {
            EXPECT_TRUE(f.empty() || f.back() == sep) << qx::toUtf8(f);
        }
        EXPECT_EQ(r->ApplicationDataFolderLocal(), r->ApplicationDataFolderLocalReg() + u"QX Test" + sep + exe + sep);
        EXPECT_EQ(r->SystemDrive(), r->WindowsFolder().substr(0, 2));
    });
}
