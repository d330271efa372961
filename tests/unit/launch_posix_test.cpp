// ShellAndWait on POSIX: the program runs without a shell, the call returns
// only after it has ended, and failures to start come as a message box.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/clsQXGenRtns.h"
#include "core/msgbox.h"
#include "temp_folder.h"

using namespace qx;

TEST(LaunchPosix, WaitsRunsWithoutAShellAndShowsStartFailures) {
    std::vector<String> shown;
    setMessageBoxHandler([&shown](const String& text, std::int32_t style, const String& title) {
        shown.push_back(text + u"|" + toDecimal(style) + u"|" + title);
        return 1;
    });
    qxtest::TempFolder tmp("qxlaunch");
    const String dir = tmp.str();
    // The script writes its words after a pause: a call that did not wait finds nothing.
    const std::string script = tmp.write(u"my tools|run it.sh", "#!/bin/sh\nsleep 0.3\nout=$1; shift\n"
                                                                  "printf '[%s]' \"$@\" > \"$out\"\n").string();
    ::chmod(script.c_str(), 0755);
    clsQXGenRtns lib;
    lib.ShellAndWait(u"\"" + dir + u"my tools\"/run\\ it.sh " + dir + u"args plain \"two words\" 'a b' c\\\\d $HOME",
                     vbNormalFocus);
    std::ifstream in(tmp.path("args"));
    const std::string args{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(args, "[plain][two words][a b][c\\d][$HOME]");
    lib.ShellAndWait(u"touch " + dir + u"touched", vbMinimizedNoFocus);  // found on the path
    EXPECT_TRUE(std::filesystem::exists(tmp.path("touched")));

    tmp.write(u"plain", "data");
    lib.ShellAndWait(u"\"" + dir + u"no such\" -x", vbNormalFocus);
    lib.ShellAndWait(dir + u"plain", vbHide);
    lib.ShellAndWait(u"", vbHide);
    lib.ShellAndWait(u"touch 'unclosed", vbHide);
    lib.ShellAndWait(u"true", static_cast<VbAppWinStyle>(5));
    setMessageBoxHandler(nullptr);
    EXPECT_EQ(shown, (std::vector<String>{
                         u"Error starting task \"" + dir + u"no such\" -x\r\nFile not found|48|Error",
                         u"Error starting task " + dir + u"plain\r\nPermission denied|48|Error",
                         u"Error starting task \r\nInvalid procedure call or argument|48|Error",
                         u"Error starting task touch 'unclosed\r\nInvalid procedure call or argument|48|Error",
                         u"Error starting task true\r\nInvalid procedure call or argument|48|Error",
                     }));
}
