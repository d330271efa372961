// What InitializeDll sets up on disk: the special folders, the local
// application-data folder of the host, and the INI file path inside it.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/clsQXGenRtns.h"
#include "core/hostapp.h"
#include "core/state.h"
#include "files/paths.h"
#include "sysinfo/clsSpecialFolders.h"
#include "temp_folder.h"
#include "test_support.h"

using qx::String;

TEST(InitializeDllFolders, CreatesTheLocalDataFolderAndNamesTheIniFile) {
    const qxtest::UserFoldersInTempFolder user;
    qxtest::runOnFreshThread([&] {
        qx::clsQXGenRtns lib;
        const auto app = qx::host::makeApp(u"InitProbe", u"", u"Probe", u"QX Init Co", 1, 2, 3);
        const String ini = lib.InitializeDll(qx::Variant(app), qx::Release);
        const qx::LibraryState& st = qx::state();
        ASSERT_TRUE(st.Folders);
        const String sep(1, qx::files::separator());
        const String local = st.Folders->ApplicationDataFolderLocal();
        EXPECT_EQ(local, st.Folders->ApplicationDataFolderLocalReg() + u"QX Init Co" + sep + u"InitProbe" + sep);
        EXPECT_EQ(ini, local + u"InitProbe.ini");
        // On POSIX the user's folders come from the environment: all of it
        // lands in the test's own folder, none in the real home.
        if (sep == u"/") {
            EXPECT_EQ(local.rfind(user.root().str(), 0), 0u) << qx::toUtf8(local);
        }
        EXPECT_EQ(st.AppIniFile, ini);
        EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::u8path(qx::toUtf8(local))))
            << "the folder of the INI file exists: " << qx::toUtf8(local);
        EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::u8path(qx::toUtf8(ini))))
            << "the logs' switches are written into the INI file";
        // A second initialisation returns the same path and does not look again.
        const auto other = qx::host::makeApp(u"Other", u"", u"Other", u"Other Co", 1, 2, 3);
        EXPECT_EQ(lib.InitializeDll(qx::Variant(other), qx::Beta), ini);
    });
}
