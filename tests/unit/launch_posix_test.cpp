// ShellAndWait on POSIX: the program runs without a shell, the call returns
// only after it has ended, and failures to start come as a message box.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/clsQXGenRtns.h"
#include "core/msgbox.h"
#include "temp_folder.h"

using namespace qx;
namespace fs = std::filesystem;

namespace {

struct Shown {
    int count = 0;
    String text;
    std::int32_t style = 0;
    String title;
};

class LaunchPosix : public ::testing::Test {
protected:
    LaunchPosix() {
        setMessageBoxHandler([this](const String& text, std::int32_t style, const String& title) {
            ++shown_.count;
            shown_.text = text;
            shown_.style = style;
            shown_.title = title;
            return 1;
        });
    }
    ~LaunchPosix() override { setMessageBoxHandler(nullptr); }

    // An executable script in a folder whose name has a space.
    fs::path script(const std::string& body) {
        const fs::path dir = tmp_.path() / "my tools";
        fs::create_directories(dir);
        const fs::path p = dir / "run it.sh";
        std::ofstream(p) << "#!/bin/sh\n" << body;
        ::chmod(p.c_str(), 0755);
        return p;
    }
    std::string read(const fs::path& p) {
        std::ifstream in(p);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    qxtest::TempFolder tmp_{"qxlaunch"};
    Shown shown_;
    clsQXGenRtns lib_;
};

}  // namespace

TEST_F(LaunchPosix, WaitsUntilTheProgramHasEnded) {
    const fs::path out = tmp_.path() / "done";
    const fs::path s = script("sleep 0.4\necho finished > \"$1\"\n");
    const auto t0 = std::chrono::steady_clock::now();
    lib_.ShellAndWait(fromNarrow("\"" + s.string() + "\" '" + out.string() + "'"), vbHide);
    EXPECT_EQ(read(out), "finished\n");
    EXPECT_GE(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(350));
    EXPECT_EQ(shown_.count, 0);
}

TEST_F(LaunchPosix, ArgumentsArriveAsTheShellWouldSplitThem) {
    const fs::path out = tmp_.path() / "args";
    const fs::path s = script("for a in \"$@\"; do printf '[%s]' \"$a\" >> \"" + out.string() + "\"; done\n");
    const std::string dir = s.parent_path().string();
    lib_.ShellAndWait(fromNarrow("\"" + dir + "\"/run\\ it.sh plain \"two words\" 'sin gle' back\\\\slash $HOME"),
                      vbNormalFocus);
    EXPECT_EQ(read(out), "[plain][two words][sin gle][back\\slash][$HOME]");
    EXPECT_EQ(shown_.count, 0);
}

TEST_F(LaunchPosix, ProgramsAreFoundOnThePath) {
    const fs::path out = tmp_.path() / "touched";
    lib_.ShellAndWait(fromNarrow("touch " + out.string()), vbMinimizedNoFocus);
    EXPECT_TRUE(fs::exists(out));
}

TEST_F(LaunchPosix, StartFailuresAreShownAndTheCallReturns) {
    const String missing = fromNarrow((tmp_.path() / "no such program").string());
    lib_.ShellAndWait(u"\"" + missing + u"\" -x", vbNormalFocus);
    EXPECT_EQ(shown_.count, 1);
    EXPECT_EQ(shown_.text, u"Error starting task \"" + missing + u"\" -x\r\nFile not found");
    EXPECT_EQ(shown_.style, 48);
    EXPECT_EQ(shown_.title, u"Error");

    lib_.ShellAndWait(u"qx-surely-not-a-command-anywhere", vbHide);
    EXPECT_EQ(shown_.text, u"Error starting task qx-surely-not-a-command-anywhere\r\nFile not found");

    const fs::path plain = tmp_.path() / "not executable";
    std::ofstream(plain) << "data";
    ::chmod(plain.c_str(), 0644);
    lib_.ShellAndWait(u"'" + fromNarrow(plain.string()) + u"'", vbHide);
    EXPECT_EQ(shown_.text, u"Error starting task '" + fromNarrow(plain.string()) + u"'\r\nPermission denied");

    lib_.ShellAndWait(u"", vbHide);
    EXPECT_EQ(shown_.text, u"Error starting task \r\nInvalid procedure call or argument");
    lib_.ShellAndWait(u"   ", vbHide);
    EXPECT_EQ(shown_.text, u"Error starting task    \r\nInvalid procedure call or argument");
    lib_.ShellAndWait(u"touch 'unclosed", vbHide);
    EXPECT_EQ(shown_.text, u"Error starting task touch 'unclosed\r\nInvalid procedure call or argument");
    lib_.ShellAndWait(u"true", static_cast<VbAppWinStyle>(5));
    EXPECT_EQ(shown_.text, u"Error starting task true\r\nInvalid procedure call or argument");
    EXPECT_EQ(shown_.count, 7);
}
