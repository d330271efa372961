// The file search and the existence test on real folders: pre-order depth
// first, hidden folders, the caller's path, wildcards, cancellation before
// and during a search. Compiled into the native and the Windows test binaries.
#include "files/search.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "core/clsQXGenRtns.h"
#include "core/screen.h"
#include "core/state.h"
#include "temp_folder.h"
#include "test_support.h"

using qx::String;
using qxtest::p;
using qxtest::TempFolder;
namespace files = qx::files;
namespace fs = std::filesystem;

namespace {

// The names of a folder's subfolders in the order the system lists them.
std::vector<String> listed(const fs::path& folder) {
    std::vector<String> names;
    for (const auto& e : fs::directory_iterator(folder))
        if (e.is_directory()) names.push_back(e.path().filename().u16string());
    return names;
}

// Clears the thread's cancel flag and message pump however a test ends.
struct CancelGuard {
    ~CancelGuard() {
        qx::state().AppCancel = false;
        qx::setMessagePump(nullptr);
    }
};

}  // namespace

TEST(FindFiles, FindsInSubfolderAndAddsTheSeparatorToTheCallersPath) {
    TempFolder t("search");
    t.write(u"Data|Sub|a.txt");
    String path = t / u"Data";
    EXPECT_EQ(files::findFiles(path, u"a.txt"), t / u"Data|Sub|");
    EXPECT_EQ(path, t / u"Data|");

    // Through the library object, the argument is written back the same way.
    qx::clsQXGenRtns lib;
    String viaLib = t / u"Data";
    EXPECT_EQ(lib.FindFilesAPI(viaLib, u"A.TX?"), t / u"Data|Sub|");  // patterns match without regard to case
    EXPECT_EQ(viaLib, t / u"Data|");

    String none = t / u"Data|";
    EXPECT_EQ(files::findFiles(none, u"b.txt"), u"");
    EXPECT_EQ(none, t / u"Data|");
}

TEST(FindFiles, OwnMatchWinsAndSubfoldersAreSearchedDepthFirstInListingOrder) {
    TempFolder t("search");
    // A match in the start folder beats one in a subfolder, whatever the names.
    t.write(u"Own|zzz.log");
    t.write(u"Own|aaa|bbb.log");
    String own = t / u"Own";
    EXPECT_EQ(files::findFiles(own, u"*.log"), t / u"Own|");

    // Two subfolders: a match deep below the first listed one comes before a
    // match directly in the second (depth first, not level by level).
    fs::create_directories(fs::path(t / u"Tree|p"));
    fs::create_directories(fs::path(t / u"Tree|q"));
    const std::vector<String> order = listed(fs::path(t / u"Tree"));
    ASSERT_EQ(order.size(), 2u);
    t.write(u"Tree|" + order[0] + u"|deep|er|hit.dat");
    t.write(u"Tree|" + order[1] + u"|hit.dat");
    String tree = t / u"Tree";
    EXPECT_EQ(files::findFiles(tree, u"hit.dat"), t / (u"Tree|" + order[0] + u"|deep|er|"));
}

TEST(FindFiles, SearchesHiddenFoldersAndMatchesFoldersAndWildcards) {
    TempFolder t("search");
    t.write(u"Root|.hidden|inside|target.cfg");
    String root = t / u"Root";
    EXPECT_EQ(files::findFiles(root, u"target.cfg"), t / u"Root|.hidden|inside|");
    String wild = t / u"Root";
    EXPECT_EQ(files::findFiles(wild, u"targ?t.*"), t / u"Root|.hidden|inside|");
    // A folder's name is a match too.
    String folderName = t / u"Root";
    EXPECT_EQ(files::findFiles(folderName, u"insid*"), t / u"Root|.hidden|");
}

TEST(FindFiles, MissingFoldersAndFilesGivenAsFoldersFindNothing) {
    TempFolder t("search");
    t.write(u"plain.txt");
    String missing = t / u"nowhere|deeper";
    EXPECT_EQ(files::findFiles(missing, u"*"), u"");
    EXPECT_EQ(missing, t / u"nowhere|deeper|");
    String file = t / u"plain.txt";
    EXPECT_EQ(files::findFiles(file, u"plain.txt"), u"");
    String empty = t / u"";
    fs::create_directories(fs::path(t / u"Empty"));
    String emptyFolder = t / u"Empty";
    EXPECT_EQ(files::findFiles(emptyFolder, u"*"), u"");  // only "." and ".." match
    EXPECT_EQ(files::findFiles(empty, u"plain.txt"), t.str());
}

TEST(FindFiles, CancelFlagStopsBeforeAndDuringTheSearch) {
    CancelGuard guard;
    TempFolder t("search");
    t.write(u"C|one|two|three|deep.txt");
    String path = t / u"C";
    qx::state().AppCancel = true;
    EXPECT_EQ(files::findFiles(path, u"deep.txt"), u"");
    EXPECT_EQ(path, t / u"C");  // nothing touched, not even the trailing separator
    EXPECT_EQ(files::doesExist(t / u"C"), 0);

    // The host sets the flag from its message loop while the search runs.
    qx::state().AppCancel = false;
    int yields = 0;
    qx::setMessagePump([&] {
        if (++yields == 2) qx::state().AppCancel = true;
    });
    String during = t / u"C";
    EXPECT_EQ(files::findFiles(during, u"deep.txt"), u"");
    EXPECT_GE(yields, 2);
    EXPECT_LT(yields, 6);  // it stopped soon after, not at the end of the tree

    // Without cancelling, the same search finds the file and yields at every folder.
    qx::state().AppCancel = false;
    yields = 0;
    qx::setMessagePump([&] { ++yields; });
    String whole = t / u"C";
    EXPECT_EQ(files::findFiles(whole, u"deep.txt"), t / u"C|one|two|three|");
    EXPECT_GE(yields, 4);
}

TEST(DoesExist, FilesFoldersTrailingSeparatorsWildcardsAndMissingPaths) {
    CancelGuard guard;
    TempFolder t("exist");
    t.write(u"Data|settings.ini");
    qx::clsQXGenRtns lib;
    EXPECT_EQ(lib.DoesExist(t / u"Data|settings.ini"), 1);
    EXPECT_EQ(lib.DoesExist(t / u"Data"), 1);
    EXPECT_EQ(lib.DoesExist(t / u"Data|"), 2);
    EXPECT_EQ(lib.DoesExist(t / u"Data|*.ini"), 1);
    EXPECT_EQ(lib.DoesExist(t / u"Data|*.txt"), 0);
    EXPECT_EQ(lib.DoesExist(t / u"Data|missing.ini"), 0);
    EXPECT_EQ(lib.DoesExist(t / u"Missing|"), 0);
    EXPECT_EQ(lib.DoesExist(t / u"Data|settings.ini|"), 0);  // a file is no folder
    // "" names no entry, and "" + "*" lists the current folder, "." first.
    EXPECT_EQ(lib.DoesExist(u""), 2);
    qx::state().AppCancel = true;
    EXPECT_EQ(lib.DoesExist(t / u"Data|settings.ini"), 0);
    EXPECT_EQ(lib.DoesExist(t / u"Data|"), 0);
}
