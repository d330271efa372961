// The file search and the existence test on real folders: depth first in
// listing order, hidden folders, the caller's path, wildcards, cancellation.
// Native and Windows test binaries.
#include "files/search.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "core/clsQXGenRtns.h"
#include "core/screen.h"
#include "core/state.h"
#include "temp_folder.h"

using qx::String;
using qxtest::TempFolder;
namespace files = qx::files;
namespace fs = std::filesystem;

namespace {
// Clears the thread's cancel flag and message pump however a test ends.
struct CancelGuard {
    ~CancelGuard() {
        qx::state().AppCancel = false;
        qx::setMessagePump(nullptr);
    }
};

String find(const String& start, const String& pattern) {
    String path = start;
    return files::findFiles(path, pattern);
}
}  // namespace

TEST(FindFiles, OwnMatchFirstThenDepthFirstAndDoesExist) {
    TempFolder t("search");
    t.write(u"Own|zzz.log");
    t.write(u"Own|aaa|bbb.log");
    t.write(u"Own|.hidden|inside|target.cfg");
    // The caller's path gets its separator, through the library object too.
    qx::clsQXGenRtns lib;
    String path = t / u"Own";
    EXPECT_EQ(lib.FindFilesAPI(path, u"*.LOG"), t / u"Own|");  // a match here beats one below
    EXPECT_EQ(path, t / u"Own|");
    EXPECT_EQ(find(t / u"Own", u"targ?t.*"), t / u"Own|.hidden|inside|");
    EXPECT_EQ(find(t / u"Own", u"insid*"), t / u"Own|.hidden|");  // a folder's name is a match too
    // A match deep below the first listed subfolder comes before one directly
    // in the second (depth first, not level by level).
    fs::create_directories(fs::path(t / u"Tree|p"));
    fs::create_directories(fs::path(t / u"Tree|q"));
    std::vector<String> order;
    for (const auto& e : fs::directory_iterator(fs::path(t / u"Tree")))
        order.push_back(e.path().filename().u16string());
    t.write(u"Tree|" + order[0] + u"|deep|er|hit.dat");
    t.write(u"Tree|" + order[1] + u"|hit.dat");
    EXPECT_EQ(find(t / u"Tree", u"hit.dat"), t / (u"Tree|" + order[0] + u"|deep|er|"));
    fs::create_directories(fs::path(t / u"Empty"));
    EXPECT_EQ(find(t / u"Empty", u"*"), u"");  // only "." and ".." match
    EXPECT_EQ(find(t / u"Own|zzz.log", u"zzz.log"), u"");  // a file is no folder
    // DoesExist: 1 for an entry, 2 for a folder's listing, "." first.
    EXPECT_EQ(files::doesExist(t / u"Own|zzz.log"), 1);
    EXPECT_EQ(files::doesExist(t / u"Own|"), 2);
    EXPECT_EQ(files::doesExist(t / u"Own|zzz.log|"), 0);
    EXPECT_EQ(files::doesExist(u""), 2);  // "" + "*" lists the current folder
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
    EXPECT_EQ(find(t / u"C", u"deep.txt"), u"");
    EXPECT_LT(yields, 6);  // it stopped soon after, not at the end of the tree
}
