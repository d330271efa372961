// GetSpecialFolders on a scripted system: every row asks anew, program files
// come from common files, the probe file comes before the all-users folder.
#include "sysinfo/special_folders.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/hostapp.h"
#include "sysinfo/special_folders_logic.h"
#include "temp_folder.h"
#include "test_support.h"

using qx::String;
using qxtest::p;

TEST(SpecialFolderRows, EveryFieldInTableOrderAndErrors) {
    std::map<std::int32_t, String> shell = {{28, p(u"C:|U|Local")},  {26, p(u"C:|U|Roaming")},
                                            {43, p(u"C:|PF|Common")}, {40, p(u"  C:|U  ")},
                                            {36, p(u"C:|WIN")},       {37, p(u"C:|WIN|sys|")}};
    std::vector<std::string> log;  // every call, in order
    bool failCreate = false;
    const qx::sysinfo::FolderSource source{[&](std::int32_t n) {
                                               log.push_back(std::to_string(n));
                                               return shell.count(n) ? shell[n] : String();
                                           },
                                           [] { return p(u"T:|tmp|"); },
                                           [&](const String& path) {
                                               log.push_back(qx::toUtf8(path));
                                               if (failCreate) qx::raise(qx::err::PathNotFound);
                                           },
                                           [](const String& path) { return u"L" + path; }};
    const auto r = qx::sysinfo::buildSpecialFolders(source, qx::host::makeApp(u"MyApp", u"", u"", u"Acme", 1, 0, 0));
    EXPECT_EQ(r->ApplicationDataFolderLocal(), p(u"C:|U|Local|Acme|MyApp|"));
    EXPECT_EQ(r->ApplicationDataFolderRoaming(), p(u"C:|U|Roaming|Acme|MyApp|"));
    EXPECT_EQ(r->ProgramFilesFolder(), p(u"C:|PF|"));  // derived from common files
    EXPECT_EQ(r->WindowsSystemFolder(), p(u"C:|WIN|sys|"));
    EXPECT_EQ(r->SystemDrive(), u"C:");
    EXPECT_EQ(r->UserProfileTempFolder(), p(u"LT:|tmp|"));
    const std::string probe = qx::toUtf8(p(u"T:|tmp|MyApp.tmp"));
    EXPECT_EQ(log, (std::vector<std::string>{"28", "28", "26", "26", "43", "42", "40", "36", "37", probe, "35"}));
    // Every row reads the host anew; the shell's own program files win.
    shell = {{26, p(u"R:|Roaming")}, {42, p(u"E:|Programs")}};
    int reads = 0;
    auto host = qx::MemoryObject::create(u"App");
    host->prop(u"CompanyName", String(u"Co")).method(u"EXEName", [&](const std::vector<qx::Variant>&) {
        return qx::Variant(u"Exe" + qx::toDecimal(++reads));
    });
    const auto m = qx::sysinfo::buildSpecialFolders(source, host);
    EXPECT_EQ(m->ApplicationDataFolderRoaming(), p(u"R:|Roaming|Co|Exe2|"));
    EXPECT_EQ(m->ProgramFilesFolder(), p(u"E:|Programs|"));
    // No host object: 91 at the first per-application row; a probe file that
    // cannot be written ends the routine there.
    log.clear();
    EXPECT_RAISES(qx::err::ObjectNotSet, qx::sysinfo::buildSpecialFolders(source, nullptr));
    EXPECT_EQ(log, (std::vector<std::string>{"28", "28"}));
    failCreate = true;
    EXPECT_RAISES(qx::err::PathNotFound, qx::sysinfo::buildSpecialFolders(source, host));
    EXPECT_EQ(log.back(), qx::toUtf8(p(u"T:|tmp|Exe6.tmp")));
}
